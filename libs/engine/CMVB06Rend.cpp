// Device buffer of a vertex buffer, uploaded from the CPU array.
#include "engine/CMVB06Rend.h"

#include "engine/CM3Dzq.h"
#include "gfx/ID3D11Buffer.h"
#include "gfx/ID3D11Device.h"
#include "gfx/ID3D11DeviceContext.h"

#include <algorithm>
#include <cstring>

namespace {
// Vertices compared and uploaded as one piece when looking for changes.
constexpr long long kChunk = 1024;
} // namespace

CMVB06Rend::~CMVB06Rend() {
    CMVB06Rend::releaseDeviceObjects();
}

int CMVB06Rend::bindForDraw() {
    if (!m_pM3D || !m_pVB) {
        return 0;
    }
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    const unsigned stride = static_cast<unsigned>(m_vtxStride), offset = 0;
    ctx->VSSetShader(m_pVS);
    ctx->IASetInputLayout(m_pIL);
    ctx->PSSetShader(m_pPS);
    ctx->IASetVertexBuffers(0, 1, &m_pVB, &stride, &offset);
    return 1;
}

int CMVB06Rend::makeContent() {
    if (!m_pM3D || !m_pVtx || m_nVtx <= 0 || !m_pM3D->initM3D()) {
        return 0;
    }
    m_pVS = m_pM3D->getDefaultVS();
    m_pIL = m_pM3D->getDefaultIL();
    m_pPS = m_pM3D->getDefaultPS();
    if (!m_pVB || m_deviceCapacity != m_nVtxCapacity) {
        if (m_pVB) {
            m_pVB->Release();
            m_pVB = nullptr;
        }
        m_uploaded.clear();
        D3D11_BUFFER_DESC desc{static_cast<std::size_t>(m_nVtxCapacity) * sizeof(D3DVTX_PNCd),
                               D3D11_BIND_VERTEX_BUFFER};
        if (FAILED(m_pM3D->getDevice()->CreateBuffer(&desc, nullptr, &m_pVB))) {
            m_deviceCapacity = 0;
            return 0;
        }
        m_deviceCapacity = m_nVtxCapacity;
    }
    return uploadChanged();
}

// Uploads everything when the count changed, else the runs of chunks that differ from the
// last upload.
int CMVB06Rend::uploadChanged() {
    const long long n = std::min(m_nVtx, m_nVtxCapacity);
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    const auto upload = [&](long long first, long long last) {
        D3D11_BOX box;
        box.left = static_cast<unsigned>(first * sizeof(D3DVTX_PNCd));
        box.right = static_cast<unsigned>(last * sizeof(D3DVTX_PNCd));
        ctx->UpdateSubresource(m_pVB, 0, &box, m_pVtx + first, 0, 0);
    };
    if (static_cast<long long>(m_uploaded.size()) != n) {
        upload(0, n);
        m_uploaded.assign(m_pVtx, m_pVtx + n);
        return 1;
    }
    long long runStart = -1;
    for (long long c = 0; c < n + kChunk; c += kChunk) {
        const long long end = std::min(c + kChunk, n);
        const bool changed =
            c < n && std::memcmp(m_pVtx + c, m_uploaded.data() + c,
                                 static_cast<std::size_t>(end - c) * sizeof(D3DVTX_PNCd)) != 0;
        if (changed && runStart < 0) {
            runStart = c;
        } else if (!changed && runStart >= 0) {
            const long long runEnd = std::min(c, n);
            upload(runStart, runEnd);
            std::copy(m_pVtx + runStart, m_pVtx + runEnd, m_uploaded.begin() + runStart);
            runStart = -1;
        }
    }
    return 1;
}

void CMVB06Rend::releaseDeviceObjects() {
    if (m_pVB) {
        m_pVB->Release();
        m_pVB = nullptr;
    }
    m_uploaded.clear();
    m_uploaded.shrink_to_fit();
    m_deviceCapacity = 0;
    CMVB03Dx::releaseDeviceObjects();
}
