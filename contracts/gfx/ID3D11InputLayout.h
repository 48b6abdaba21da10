// Vertex attribute layout: element i feeds shader input location i.
#pragma once

#include "gfx/CGfxObject.h"
#include "gfx/D3D11Types.h"

#include <vector>

class ID3D11InputLayout : public CGfxObject {
public:
    explicit ID3D11InputLayout(std::vector<D3D11_INPUT_ELEMENT_DESC> elements)
        : m_elements(std::move(elements)) {}
    const std::vector<D3D11_INPUT_ELEMENT_DESC>& elements() const { return m_elements; }

private:
    std::vector<D3D11_INPUT_ELEMENT_DESC> m_elements;
};
