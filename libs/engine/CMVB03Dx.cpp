// World-view-projection constants of a vertex buffer.
#include "engine/CMVB03Dx.h"

#include "engine/CM3Dzq.h"
#include "gfx/ID3D11Buffer.h"
#include "gfx/ID3D11Device.h"
#include "gfx/ID3D11DeviceContext.h"

CMVB03Dx::~CMVB03Dx() {
    CMVB03Dx::releaseDeviceObjects();
}

int CMVB03Dx::updateCnstBuf4Wvp(int bApply) {
    if (!m_pM3D) {
        return 0;
    }
    m_pM3D->computeWvp(m_model, m_wvp, m_wv);
    if (!bApply) {
        return 1;
    }
    if (!m_pM3D->initM3D()) {
        return 0;
    }
    if (!m_pCBWvp) {
        D3D11_BUFFER_DESC desc{sizeof m_wvp + sizeof m_wv, D3D11_BIND_CONSTANT_BUFFER};
        if (FAILED(m_pM3D->getDevice()->CreateBuffer(&desc, nullptr, &m_pCBWvp))) {
            return 0;
        }
    }
    float data[32];
    std::copy(m_wvp, m_wvp + 16, data);
    std::copy(m_wv, m_wv + 16, data + 16);
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    ctx->UpdateSubresource(m_pCBWvp, 0, nullptr, data, 0, 0);
    ctx->VSSetConstantBuffers(0, 1, &m_pCBWvp);
    return 1;
}

void CMVB03Dx::releaseDeviceObjects() {
    if (m_pCBWvp) {
        m_pCBWvp->Release();
        m_pCBWvp = nullptr;
    }
    CMVB::releaseDeviceObjects();
}
