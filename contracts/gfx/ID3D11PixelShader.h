// A pixel (fragment) shader in GLSL 3.30. Constant buffer slot i is the uniform block "PSCB<i>".
#pragma once

#include "gfx/CGfxObject.h"

class ID3D11PixelShader : public CGfxObject {
public:
    explicit ID3D11PixelShader(unsigned glName) : m_glName(glName) {}
    unsigned glName() const { return m_glName; }

protected:
    ~ID3D11PixelShader() override = default;

private:
    unsigned m_glName;
};
