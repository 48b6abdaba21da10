// CPU vertex array of a vertex buffer.
#include "engine/CMVB.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

CMVB::CMVB() = default;

CMVB::~CMVB() {
    std::free(m_pVtx);
}

int CMVB::initBuf4triangVtx(long long n) {
    // A device buffer holds at most 2 GiB, so larger arrays could never be drawn.
    constexpr long long kMax =
        static_cast<long long>(std::numeric_limits<std::int32_t>::max() / sizeof(D3DVTX_PNCd));
    if (n <= 0 || n > kMax) {
        return 0;
    }
    // calloc reports failure instead of throwing, and zeroes the vertices.
    auto* fresh =
        static_cast<D3DVTX_PNCd*>(std::calloc(static_cast<std::size_t>(n), sizeof(D3DVTX_PNCd)));
    if (!fresh) {
        return 0;
    }
    std::free(m_pVtx);
    m_pVtx = fresh;
    m_nVtxCapacity = n;
    m_nVtx = 0;
    m_vtxStride = static_cast<int>(sizeof(D3DVTX_PNCd));
    return 1;
}

int CMVB::releaseMVB() {
    releaseDeviceObjects();
    std::free(m_pVtx);
    m_pVtx = nullptr;
    m_nVtx = 0;
    m_nVtxCapacity = 0;
    return 1;
}

void CMVB::releaseDeviceObjects() {
    // Shaders and layout belong to the engine.
    m_pVS = nullptr;
    m_pIL = nullptr;
    m_pPS = nullptr;
}
