// A vertex shader: GLSL 3.30 source compiled at creation (once per source in a process),
// linked with a pixel shader on first draw. Constant buffer slot i is the uniform block "VSCB<i>".
#pragma once

#include "gfx/CGfxObject.h"

class ID3D11VertexShader : public CGfxObject {
public:
    explicit ID3D11VertexShader(unsigned glName) : m_glName(glName) {}
    unsigned glName() const { return m_glName; }

protected:
    ~ID3D11VertexShader() override = default;

private:
    unsigned m_glName;
};
