// GL shader objects behind vertex and pixel shaders.
#include "gfx/CGfxEglContext.h"
#include "gfx/ID3D11PixelShader.h"
#include "gfx/ID3D11VertexShader.h"

#include <epoxy/gl.h>

namespace {
void deleteShader(unsigned name) {
    if (name && CGfxEglContext::ensureCurrent()) {
        glDeleteShader(name);
    }
}
} // namespace

ID3D11VertexShader::~ID3D11VertexShader() {
    deleteShader(m_glName);
}

ID3D11PixelShader::~ID3D11PixelShader() {
    deleteShader(m_glName);
}
