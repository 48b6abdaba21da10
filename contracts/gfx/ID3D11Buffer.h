// A vertex or constant buffer (a GL buffer object; constants are a uniform block).
#pragma once

#include "gfx/CGfxObject.h"

#include <cstddef>

class ID3D11Buffer : public CGfxObject {
public:
    ID3D11Buffer(unsigned glName, std::size_t bytes, unsigned bindFlags)
        : m_glName(glName), m_bytes(bytes), m_bindFlags(bindFlags) {}

    unsigned glName() const { return m_glName; }
    std::size_t byteWidth() const { return m_bytes; }
    unsigned bindFlags() const { return m_bindFlags; }

protected:
    ~ID3D11Buffer() override;

private:
    unsigned m_glName;
    std::size_t m_bytes;
    unsigned m_bindFlags;
};
