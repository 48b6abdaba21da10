// CPU side of a vertex buffer: the D3DVTX_PNCd array that callers fill, and the device handles
// that later layers create from it.
#pragma once

#include "engine/D3DVTX_PNCd.h"

class CM3Dzq;
class ID3D11Buffer;
class ID3D11VertexShader;
class ID3D11InputLayout;
class ID3D11PixelShader;

class CMVB {
public:
    CMVB();
    virtual ~CMVB();
    CMVB(const CMVB&) = delete;
    CMVB& operator=(const CMVB&) = delete;

    // Room for n vertices (contents zeroed, m_nVtx reset to 0). Needs no GL context.
    // 0 for n <= 0, above the 2 GiB a device buffer holds, or a size that cannot be allocated;
    // the old buffer is kept then.
    int initBuf4triangVtx(long long n);
    // The writable vertex array, null when there is none.
    D3DVTX_PNCd* getBufPtr() { return m_pVtx; }
    // Frees the vertex array and every device object; the buffer is empty afterwards.
    virtual int releaseMVB();

    D3DVTX_PNCd* m_pVtx = nullptr;
    long long m_nVtx = 0;         // vertices in use, set by the caller after filling
    long long m_nVtxCapacity = 0; // vertices the array holds
    int m_bufFlags = 0;           // usage bits of the device buffer (0: default)
    int m_vtxStride = 0;          // bytes per vertex, sizeof(D3DVTX_PNCd) once allocated
    ID3D11Buffer* m_pVB = nullptr;
    ID3D11VertexShader* m_pVS = nullptr; // owned by the engine, shared by all buffers
    ID3D11InputLayout* m_pIL = nullptr;  // owned by the engine
    ID3D11PixelShader* m_pPS = nullptr;  // owned by the engine
    CM3Dzq* m_pM3D = nullptr;            // engine, set by the caller before makeContent

protected:
    // Releases the device objects this buffer owns (a layer adds its own).
    virtual void releaseDeviceObjects();
};
