// The immediate context: pipeline state and draws, mirroring the Direct3D 11 calls.
// Bound objects are not reference-counted; callers keep them alive while bound.
#pragma once

#include "gfx/CGfxObject.h"
#include "gfx/D3D11Types.h"
#include "gfx/GfxResult.h"

#include <cstddef>
#include <cstdint>

class ID3D11Buffer;
class ID3D11VertexShader;
class ID3D11PixelShader;
class ID3D11InputLayout;
class ID3D11ClassInstance;
class CGfxRenderTarget;

class ID3D11DeviceContext : public CGfxObject {
public:
    static constexpr unsigned kConstantSlots = 8;
    // GL shares uniform-block bindings between stages: pixel-shader slots come after the vertex's.
    static constexpr unsigned kPsBindingBase = kConstantSlots;
    static constexpr unsigned kVertexSlots = 4;

    void IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY topology) { m_topology = topology; }
    void IASetInputLayout(ID3D11InputLayout* layout) { m_layout = layout; }
    void IASetVertexBuffers(unsigned startSlot, unsigned numBuffers, ID3D11Buffer* const* buffers,
                            const unsigned* strides, const unsigned* offsets);
    void VSSetShader(ID3D11VertexShader* shader, ID3D11ClassInstance* const* = nullptr,
                     unsigned = 0) {
        m_vs = shader;
    }
    void PSSetShader(ID3D11PixelShader* shader, ID3D11ClassInstance* const* = nullptr,
                     unsigned = 0) {
        m_ps = shader;
    }
    void VSSetConstantBuffers(unsigned startSlot, unsigned num, ID3D11Buffer* const* buffers);
    void PSSetConstantBuffers(unsigned startSlot, unsigned num, ID3D11Buffer* const* buffers);
    // box null: the whole buffer; else bytes [left, right) of it.
    void UpdateSubresource(ID3D11Buffer* dst, unsigned subresource, const D3D11_BOX* box,
                           const void* src, unsigned rowPitch, unsigned depthPitch);
    // Draws with what is bound; does nothing when shaders, layout or buffer 0 are missing.
    void Draw(unsigned vertexCount, unsigned startVertex);

    // Binds the target (null: none) and sets the viewport to all of it.
    void OMSetRenderTargets(CGfxRenderTarget* target);
    void RSSetViewports(unsigned num, const D3D11_VIEWPORT* viewports);
    void RSSetState(const D3D11_RASTERIZER_DESC* desc);
    // Clears colour to rgba and depth to the far plane.
    void ClearRenderTargetView(CGfxRenderTarget* target, const float rgba[4]);
    // Copies the target's pixels into its image, top row first.
    HRESULT ReadBack(CGfxRenderTarget* target);

    // Program links this context found failing (the log is in gfxLastError).
    int linkFailures() const { return m_linkFailures; }
    // Drops every binding of obj; objects call it as they go.
    void forgetObject(const CGfxObject* obj);

private:
    friend HRESULT D3D11CreateDevice(class ID3D11Device**, ID3D11DeviceContext**);
    ID3D11DeviceContext() = default;
    ~ID3D11DeviceContext() override;

    unsigned programFor(ID3D11VertexShader* vs, ID3D11PixelShader* ps);
    long long applyVertexInputs();

    D3D11_PRIMITIVE_TOPOLOGY m_topology = D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST;
    ID3D11InputLayout* m_layout = nullptr;
    ID3D11VertexShader* m_vs = nullptr;
    ID3D11PixelShader* m_ps = nullptr;
    ID3D11Buffer* m_vb[kVertexSlots] = {};
    unsigned m_strides[kVertexSlots] = {};
    unsigned m_offsets[kVertexSlots] = {};
    unsigned m_vao = 0;
    int m_linkFailures = 0;
};
