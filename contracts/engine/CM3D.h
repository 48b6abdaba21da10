// Base layer of the engine: the device, the immediate context, the render target the frames
// go to, the scene's centre and size, and the render states applied at each frame.
#pragma once

#include <cstdint>
#include <string>

class ID3D11Device;
class ID3D11DeviceContext;
class ID3D11Buffer;
class ID3D11VertexShader;
class ID3D11PixelShader;
class ID3D11InputLayout;
class CGfxRenderTarget;

class CM3D {
public:
    CM3D();
    virtual ~CM3D();
    CM3D(const CM3D&) = delete;
    CM3D& operator=(const CM3D&) = delete;

    // Creates device, shaders and constants on the process's GL context (once). 0 when there
    // is no context; getLastError says why.
    int initM3D();
    // Size of the frames in pixels (1..16384); the target is made again at the next frame.
    int setTargetSize(int width, int height);
    int getTargetWidth() const { return m_targetW; }
    int getTargetHeight() const { return m_targetH; }
    // The last presented frame: RGBA (red in bits 0-7), top row first; null before one.
    const std::uint32_t* getImage() const;
    int getImageWidth() const;
    int getImageHeight() const;

    ID3D11Device* getDevice() const { return m_pDevice; }
    ID3D11DeviceContext* getImmediateContext() const { return m_pContext; }
    const char* getLastError() const { return m_lastError.c_str(); }

    // Shared pipeline for D3DVTX_PNCd vertices (owned by the engine).
    ID3D11VertexShader* getDefaultVS() const { return m_pVS; }
    ID3D11PixelShader* getDefaultPS() const { return m_pPS; }
    ID3D11InputLayout* getDefaultIL() const { return m_pIL; }
    // Constant buffers: VS slot 0 world-view-projection; PS slots 0 light, 1 material,
    // 2 output merger. Null before initM3D.
    ID3D11Buffer* getConstBuf(int which) const;
    enum { kCbWvp = 0, kCbLight = 1, kCbMaterial = 2, kCbOutmerg = 3, kCbCount = 4 };

    // Scene extent: the camera frames a sphere of m_sceneSize around m_sceneCenter. The size
    // also serves as the tallest surface peak worth showing. Kept positive.
    float m_sceneSize = 512.0f;
    float m_sceneCenter[3] = {0, 0, 0};

    // Render states, applied at the next frame.
    int m_fillWireframe = 0; // 0 solid, 1 wireframe
    int m_cullMode = 0;      // 0 none, 1 back faces, 2 front faces
    int m_lightingOn = 1;
    float m_bgColor[4] = {0.23f, 0.26f, 0.32f, 1.0f}; // mid-dark grey-blue

protected:
    int ensureTarget();
    CGfxRenderTarget* target() const { return m_pTarget; }
    std::string m_lastError;

private:
    int createPipeline();
    void releaseAll();

    ID3D11Device* m_pDevice = nullptr;
    ID3D11DeviceContext* m_pContext = nullptr;
    ID3D11VertexShader* m_pVS = nullptr;
    ID3D11PixelShader* m_pPS = nullptr;
    ID3D11InputLayout* m_pIL = nullptr;
    ID3D11Buffer* m_pCB[kCbCount] = {};
    CGfxRenderTarget* m_pTarget = nullptr;
    int m_targetW = 640, m_targetH = 480;
};
