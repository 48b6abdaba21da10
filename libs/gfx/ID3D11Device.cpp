// Device: creation of GL-backed objects, and the process's one device context.
#include "gfx/ID3D11Device.h"

#include "CGfxShaderCache.h"
#include "GfxInternal.h"
#include "gfx/CGfxEglContext.h"
#include "gfx/CGfxRenderTarget.h"
#include "gfx/ID3D11Buffer.h"
#include "gfx/ID3D11DeviceContext.h"
#include "gfx/ID3D11InputLayout.h"
#include "gfx/ID3D11PixelShader.h"
#include "gfx/ID3D11VertexShader.h"

#include <epoxy/gl.h>
#include <string>
#include <vector>

namespace {

std::string& lastError() {
    static std::string text;
    return text;
}

HRESULT fail(std::string reason) {
    gfxSetError(std::move(reason));
    return E_FAIL;
}

} // namespace

void gfxSetError(std::string reason) {
    lastError() = std::move(reason);
}

const char* gfxLastError() {
    return lastError().c_str();
}

ID3D11DeviceContext*& gfxImmediateContext() {
    static ID3D11DeviceContext* context = nullptr;
    return context;
}

HRESULT D3D11CreateDevice(ID3D11Device** ppDevice, ID3D11DeviceContext** ppContext) {
    if (!ppDevice) {
        return fail("D3D11CreateDevice needs somewhere to put the device");
    }
    *ppDevice = nullptr;
    if (!CGfxEglContext::ensureCurrent()) {
        return E_FAIL;
    }
    ID3D11DeviceContext*& context = gfxImmediateContext();
    if (context) {
        context->AddRef();
    } else {
        context = new ID3D11DeviceContext();
    }
    *ppDevice = new ID3D11Device(context);
    if (ppContext) {
        context->AddRef();
        *ppContext = context;
    }
    return S_OK;
}

ID3D11Device::~ID3D11Device() {
    m_context->Release();
}

void ID3D11Device::GetImmediateContext(ID3D11DeviceContext** ppContext) {
    if (ppContext) {
        m_context->AddRef();
        *ppContext = m_context;
    }
}

HRESULT ID3D11Device::CreateBuffer(const D3D11_BUFFER_DESC* desc, const void* initData,
                                   ID3D11Buffer** ppBuffer) {
    if (!ppBuffer || !desc || desc->ByteWidth == 0 ||
        desc->ByteWidth > static_cast<std::size_t>(INT32_MAX)) {
        return fail("CreateBuffer: no output, no description or a size of 0 or over 2 GiB");
    }
    *ppBuffer = nullptr;
    if (!CGfxEglContext::ensureCurrent()) {
        return E_FAIL;
    }
    const GLenum target =
        (desc->BindFlags & D3D11_BIND_CONSTANT_BUFFER) ? GL_UNIFORM_BUFFER : GL_ARRAY_BUFFER;
    GLuint name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(target, name);
    while (glGetError() != GL_NO_ERROR) {
    }
    glBufferData(target, static_cast<GLsizeiptr>(desc->ByteWidth), initData, GL_DYNAMIC_DRAW);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteBuffers(1, &name);
        return fail("CreateBuffer: the driver refused " + std::to_string(desc->ByteWidth) +
                    " bytes (out of memory?)");
    }
    *ppBuffer = new ID3D11Buffer(name, desc->ByteWidth, desc->BindFlags);
    return S_OK;
}

HRESULT ID3D11Device::CreateVertexShader(const char* glsl, ID3D11VertexShader** ppShader) {
    if (!ppShader || !glsl) {
        return fail("CreateVertexShader: no source or no output");
    }
    *ppShader = nullptr;
    if (!CGfxEglContext::ensureCurrent()) {
        return E_FAIL;
    }
    const GLuint name = CGfxShaderCache::shader(GL_VERTEX_SHADER, glsl);
    if (!name) {
        return E_FAIL;
    }
    *ppShader = new ID3D11VertexShader(name);
    return S_OK;
}

HRESULT ID3D11Device::CreatePixelShader(const char* glsl, ID3D11PixelShader** ppShader) {
    if (!ppShader || !glsl) {
        return fail("CreatePixelShader: no source or no output");
    }
    *ppShader = nullptr;
    if (!CGfxEglContext::ensureCurrent()) {
        return E_FAIL;
    }
    const GLuint name = CGfxShaderCache::shader(GL_FRAGMENT_SHADER, glsl);
    if (!name) {
        return E_FAIL;
    }
    *ppShader = new ID3D11PixelShader(name);
    return S_OK;
}

HRESULT ID3D11Device::CreateInputLayout(const D3D11_INPUT_ELEMENT_DESC* elements, unsigned count,
                                        ID3D11InputLayout** ppLayout) {
    if (!ppLayout || !elements || count == 0 || count > 16) {
        return fail("CreateInputLayout: needs 1 to 16 elements and an output");
    }
    *ppLayout = nullptr;
    for (unsigned i = 0; i < count; ++i) {
        const D3D11_INPUT_ELEMENT_DESC& e = elements[i];
        if (e.Components < 1 || e.Components > 4 ||
            e.InputSlot >= ID3D11DeviceContext::kVertexSlots) {
            return fail("CreateInputLayout: element " + std::to_string(i) +
                        " needs 1 to 4 float components and a slot below 4");
        }
    }
    *ppLayout = new ID3D11InputLayout(std::vector(elements, elements + count));
    return S_OK;
}

HRESULT ID3D11Device::CreateRenderTarget(int width, int height, CGfxRenderTarget** ppTarget) {
    if (!ppTarget || width < 1 || height < 1 || width > 16384 || height > 16384) {
        return fail("CreateRenderTarget: sizes must be 1 to 16384 pixels");
    }
    *ppTarget = nullptr;
    if (!CGfxEglContext::ensureCurrent()) {
        return E_FAIL;
    }
    GLuint fbo = 0, rbs[2] = {0, 0};
    glGenFramebuffers(1, &fbo);
    glGenRenderbuffers(2, rbs);
    glBindRenderbuffer(GL_RENDERBUFFER, rbs[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, rbs[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rbs[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, rbs[1]);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    auto* target = new CGfxRenderTarget(fbo, rbs[0], rbs[1], width, height);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        target->Release();
        return fail("CreateRenderTarget: framebuffer incomplete (out of memory?)");
    }
    *ppTarget = target;
    return S_OK;
}
