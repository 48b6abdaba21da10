// The device: creates buffers, shaders, input layouts and render targets on the process-wide
// GL context. Every creation fails with E_FAIL (reason in gfxLastError) when there is none.
#pragma once

#include "gfx/CGfxObject.h"
#include "gfx/D3D11Types.h"
#include "gfx/GfxResult.h"

class ID3D11Buffer;
class ID3D11VertexShader;
class ID3D11PixelShader;
class ID3D11InputLayout;
class ID3D11DeviceContext;
class CGfxRenderTarget;

class ID3D11Device : public CGfxObject {
public:
    // initData may be null (contents undefined); a zero size is refused.
    HRESULT CreateBuffer(const D3D11_BUFFER_DESC* desc, const void* initData,
                         ID3D11Buffer** ppBuffer);
    // GLSL 3.30 core source, compiled now; the compile log becomes the reason on failure.
    HRESULT CreateVertexShader(const char* glsl, ID3D11VertexShader** ppShader);
    HRESULT CreatePixelShader(const char* glsl, ID3D11PixelShader** ppShader);
    HRESULT CreateInputLayout(const D3D11_INPUT_ELEMENT_DESC* elements, unsigned count,
                              ID3D11InputLayout** ppLayout);
    // Sizes from 1 to 16384 pixels per side.
    HRESULT CreateRenderTarget(int width, int height, CGfxRenderTarget** ppTarget);
    // The immediate context, with a reference added for the caller.
    void GetImmediateContext(ID3D11DeviceContext** ppContext);

private:
    friend HRESULT D3D11CreateDevice(ID3D11Device**, ID3D11DeviceContext**);
    explicit ID3D11Device(ID3D11DeviceContext* context) : m_context(context) {}
    ~ID3D11Device() override;

    ID3D11DeviceContext* m_context;
};

// Makes the GL context current (creating it on first use) and returns a new device and its
// immediate context, each with one reference. E_FAIL without EGL or GL 3.3.
HRESULT D3D11CreateDevice(ID3D11Device** ppDevice, ID3D11DeviceContext** ppContext);
