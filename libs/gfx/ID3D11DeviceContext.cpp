// Immediate context: Direct3D 11 pipeline calls mapped onto GL state and draws.
#include "gfx/ID3D11DeviceContext.h"

#include "CGfxShaderCache.h"
#include "GfxInternal.h"
#include "gfx/CGfxEglContext.h"
#include "gfx/CGfxRenderTarget.h"
#include "gfx/ID3D11Buffer.h"
#include "gfx/ID3D11InputLayout.h"
#include "gfx/ID3D11PixelShader.h"
#include "gfx/ID3D11VertexShader.h"

#include <algorithm>
#include <epoxy/gl.h>
#include <string>
#include <vector>

namespace {

GLenum glMode(D3D11_PRIMITIVE_TOPOLOGY t) {
    switch (t) {
    case D3D11_PRIMITIVE_TOPOLOGY_POINTLIST:
        return GL_POINTS;
    case D3D11_PRIMITIVE_TOPOLOGY_LINELIST:
        return GL_LINES;
    case D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP:
        return GL_LINE_STRIP;
    case D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP:
        return GL_TRIANGLE_STRIP;
    case D3D11_PRIMITIVE_TOPOLOGY_TRIANGLEFAN:
        return GL_TRIANGLE_FAN;
    default:
        return GL_TRIANGLES;
    }
}

constexpr long long kMinPiecePrimitives = 8192;
constexpr long long kMaxPieces = 4;

// How a draw of this topology splits into pieces: vertices per piece and those two pieces share.
struct Split {
    long long step = 0;
    long long shared = 0;
};

// A software rasteriser bins a whole draw before it rasterises any of it; drawn in flushed
// pieces, its threads rasterise the first pieces while the rest are binned, and the pieces'
// scene memory is reused. Every piece has a cost of its own (a surface of 400,000 triangles drew a
// third slower in pieces of 4096), so a draw gets a few large ones. Pieces keep
// the primitives and their order, so pixels are the same.
Split splitOf(D3D11_PRIMITIVE_TOPOLOGY t, long long vertices) {
    if (!CGfxEglContext::softwareRasteriser()) {
        return {};
    }
    const auto primitives = [vertices](long long perPrimitive) {
        const long long all = vertices / perPrimitive;
        return std::max(kMinPiecePrimitives, (all + kMaxPieces - 1) / kMaxPieces);
    };
    switch (t) {
    case D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP:
        return {2 * ((primitives(1) + 1) / 2), 2}; // an even step keeps every triangle's winding
    case D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST:
        return {3 * primitives(3), 0};
    case D3D11_PRIMITIVE_TOPOLOGY_LINELIST:
        return {2 * primitives(2), 0};
    default:
        return {};
    }
}

void bindConstants(unsigned base, unsigned start, unsigned num, ID3D11Buffer* const* buffers) {
    if (!buffers || !CGfxEglContext::ensureCurrent()) {
        return;
    }
    for (unsigned i = 0; i < num && start + i < ID3D11DeviceContext::kConstantSlots; ++i) {
        glBindBufferBase(GL_UNIFORM_BUFFER, base + start + i,
                         buffers[i] ? buffers[i]->glName() : 0);
    }
}

} // namespace

void gfxForget(const CGfxObject* obj) {
    if (ID3D11DeviceContext* context = gfxImmediateContext()) {
        context->forgetObject(obj);
    }
}

ID3D11DeviceContext::~ID3D11DeviceContext() {
    if (CGfxEglContext::ensureCurrent()) {
        glDeleteVertexArrays(1, &m_vao);
    }
    gfxImmediateContext() = nullptr;
}

void ID3D11DeviceContext::forgetObject(const CGfxObject* obj) {
    if (obj == m_layout) {
        m_layout = nullptr;
    }
    for (unsigned i = 0; i < kVertexSlots; ++i) {
        if (obj == m_vb[i]) {
            m_vb[i] = nullptr;
        }
    }
    m_vs = obj == m_vs ? nullptr : m_vs;
    m_ps = obj == m_ps ? nullptr : m_ps;
}

void ID3D11DeviceContext::IASetVertexBuffers(unsigned startSlot, unsigned numBuffers,
                                             ID3D11Buffer* const* buffers, const unsigned* strides,
                                             const unsigned* offsets) {
    for (unsigned i = 0; i < numBuffers && startSlot + i < kVertexSlots; ++i) {
        const unsigned slot = startSlot + i;
        m_vb[slot] = buffers ? buffers[i] : nullptr;
        m_strides[slot] = strides ? strides[i] : 0;
        m_offsets[slot] = offsets ? offsets[i] : 0;
    }
}

void ID3D11DeviceContext::VSSetConstantBuffers(unsigned startSlot, unsigned num,
                                               ID3D11Buffer* const* buffers) {
    bindConstants(0, startSlot, num, buffers);
}

void ID3D11DeviceContext::PSSetConstantBuffers(unsigned startSlot, unsigned num,
                                               ID3D11Buffer* const* buffers) {
    bindConstants(kPsBindingBase, startSlot, num, buffers);
}

void ID3D11DeviceContext::UpdateSubresource(ID3D11Buffer* dst, unsigned, const D3D11_BOX* box,
                                            const void* src, unsigned, unsigned) {
    if (!dst || !src || !CGfxEglContext::ensureCurrent()) {
        return;
    }
    const std::size_t size = dst->byteWidth();
    const std::size_t left = box ? std::min<std::size_t>(box->left, size) : 0;
    const std::size_t right = box ? std::min<std::size_t>(box->right, size) : size;
    if (right <= left) {
        return;
    }
    const GLenum target =
        (dst->bindFlags() & D3D11_BIND_CONSTANT_BUFFER) ? GL_COPY_WRITE_BUFFER : GL_ARRAY_BUFFER;
    glBindBuffer(target, dst->glName());
    glBufferSubData(target, static_cast<GLintptr>(left), static_cast<GLsizeiptr>(right - left),
                    src);
}

unsigned ID3D11DeviceContext::programFor(ID3D11VertexShader* vs, ID3D11PixelShader* ps) {
    bool linkedNow = false;
    const unsigned program = CGfxShaderCache::program(vs->glName(), ps->glName(), linkedNow);
    if (!program && linkedNow) {
        ++m_linkFailures;
    }
    return program;
}

// Points each attribute at its bound buffer; the vertices that fit in every buffer.
long long ID3D11DeviceContext::applyVertexInputs() {
    if (!m_vao) {
        glGenVertexArrays(1, &m_vao);
    }
    glBindVertexArray(m_vao);
    long long fit = -1;
    const auto& elements = m_layout->elements();
    for (unsigned i = 0; i < elements.size(); ++i) {
        const D3D11_INPUT_ELEMENT_DESC& e = elements[i];
        const ID3D11Buffer* vb = m_vb[e.InputSlot];
        const unsigned stride = m_strides[e.InputSlot];
        const std::size_t first = m_offsets[e.InputSlot] + e.AlignedByteOffset;
        const std::size_t bytes = e.Components * sizeof(float);
        if (!vb || stride == 0 || first + bytes > vb->byteWidth()) {
            return 0;
        }
        const long long n = static_cast<long long>((vb->byteWidth() - first - bytes) / stride) + 1;
        fit = fit < 0 ? n : std::min(fit, n);
        glBindBuffer(GL_ARRAY_BUFFER, vb->glName());
        glEnableVertexAttribArray(i);
        glVertexAttribPointer(i, static_cast<GLint>(e.Components), GL_FLOAT, GL_FALSE,
                              static_cast<GLsizei>(stride), reinterpret_cast<const void*>(first));
    }
    for (unsigned i = static_cast<unsigned>(elements.size()); i < 16; ++i) {
        glDisableVertexAttribArray(i);
    }
    return std::max(fit, 0LL);
}

void ID3D11DeviceContext::Draw(unsigned vertexCount, unsigned startVertex) {
    if (!m_vs || !m_ps || !m_layout || vertexCount == 0 || !CGfxEglContext::ensureCurrent()) {
        return;
    }
    const GLuint program = programFor(m_vs, m_ps);
    if (!program) {
        return;
    }
    const long long fit = applyVertexInputs();
    const long long count = std::min<long long>(vertexCount, fit - startVertex);
    if (count <= 0) {
        return;
    }
    glUseProgram(program);
    const GLenum mode = glMode(m_topology);
    const Split split = splitOf(m_topology, count);
    long long at = 0;
    while (split.step > 0 && count - at > split.step + split.shared) {
        glDrawArrays(mode, static_cast<GLint>(startVertex + at),
                     static_cast<GLsizei>(split.step + split.shared));
        glFlush();
        at += split.step;
    }
    glDrawArrays(mode, static_cast<GLint>(startVertex + at), static_cast<GLsizei>(count - at));
}

void ID3D11DeviceContext::OMSetRenderTargets(CGfxRenderTarget* target) {
    if (!CGfxEglContext::ensureCurrent()) {
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, target ? target->glFramebuffer() : 0);
    if (target) {
        glViewport(0, 0, target->width(), target->height());
    }
}

void ID3D11DeviceContext::RSSetViewports(unsigned num, const D3D11_VIEWPORT* viewports) {
    if (num == 0 || !viewports || !CGfxEglContext::ensureCurrent()) {
        return;
    }
    const D3D11_VIEWPORT& v = viewports[0];
    glViewport(static_cast<GLint>(v.TopLeftX), static_cast<GLint>(v.TopLeftY),
               static_cast<GLsizei>(v.Width), static_cast<GLsizei>(v.Height));
    glDepthRange(v.MinDepth, v.MaxDepth);
}

void ID3D11DeviceContext::RSSetState(const D3D11_RASTERIZER_DESC* desc) {
    if (!CGfxEglContext::ensureCurrent()) {
        return;
    }
    const D3D11_RASTERIZER_DESC d = desc ? *desc : D3D11_RASTERIZER_DESC{};
    glPolygonMode(GL_FRONT_AND_BACK, d.FillMode == D3D11_FILL_WIREFRAME ? GL_LINE : GL_FILL);
    if (d.CullMode == D3D11_CULL_NONE) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(d.CullMode == D3D11_CULL_FRONT ? GL_FRONT : GL_BACK);
    }
    glFrontFace(d.FrontCounterClockwise ? GL_CCW : GL_CW);
    if (d.DepthEnable) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
}

void ID3D11DeviceContext::ClearRenderTargetView(CGfxRenderTarget* target, const float rgba[4]) {
    if (!target || !rgba || !CGfxEglContext::ensureCurrent()) {
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, target->glFramebuffer());
    glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

HRESULT ID3D11DeviceContext::ReadBack(CGfxRenderTarget* target) {
    if (!target) {
        gfxSetError("ReadBack: no render target");
        return E_FAIL;
    }
    if (!CGfxEglContext::ensureCurrent()) {
        return E_FAIL;
    }
    const int w = target->width(), h = target->height();
    // Read straight into the frame's image and turn it upright there: a fresh buffer per frame
    // costs more (allocation, zeroing, page faults) than the drawing of a small scene.
    std::vector<std::uint32_t>& image = target->image();
    image.resize(static_cast<std::size_t>(w) * h);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target->glFramebuffer());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    // GL's first row is the bottom one.
    for (int y = 0; y < h / 2; ++y) {
        std::swap_ranges(image.begin() + static_cast<std::ptrdiff_t>(y) * w,
                         image.begin() + static_cast<std::ptrdiff_t>(y + 1) * w,
                         image.begin() + static_cast<std::ptrdiff_t>(h - 1 - y) * w);
    }
    return S_OK;
}
