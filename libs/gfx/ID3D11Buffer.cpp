// GL buffer objects behind vertex and constant buffers.
#include "gfx/ID3D11Buffer.h"

#include "gfx/CGfxEglContext.h"

#include <epoxy/gl.h>

ID3D11Buffer::~ID3D11Buffer() {
    if (m_glName && CGfxEglContext::ensureCurrent()) {
        glDeleteBuffers(1, &m_glName);
    }
}
