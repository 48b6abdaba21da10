// Engine base: device, pipeline, constant buffers and the render target.
#include "engine/CM3D.h"

#include "EngineShaders.h"
#include "engine/D3DVTX_PNCd.h"
#include "gfx/CGfxRenderTarget.h"
#include "gfx/ID3D11Buffer.h"
#include "gfx/ID3D11Device.h"
#include "gfx/ID3D11DeviceContext.h"
#include "gfx/ID3D11InputLayout.h"
#include "gfx/ID3D11PixelShader.h"
#include "gfx/ID3D11VertexShader.h"

namespace {
template <typename T>
void release(T*& p) {
    if (p) {
        p->Release();
        p = nullptr;
    }
}
// Bytes of each constant block, in the order of the kCb enumeration.
constexpr std::size_t kCbBytes[CM3D::kCbCount] = {128, 64, 32, 16};
} // namespace

CM3D::CM3D() = default;

CM3D::~CM3D() {
    releaseAll();
}

void CM3D::releaseAll() {
    release(m_pTarget);
    for (ID3D11Buffer*& cb : m_pCB) {
        release(cb);
    }
    release(m_pIL);
    release(m_pPS);
    release(m_pVS);
    release(m_pContext);
    release(m_pDevice);
}

int CM3D::initM3D() {
    if (m_pDevice) {
        return 1;
    }
    if (FAILED(D3D11CreateDevice(&m_pDevice, &m_pContext))) {
        m_lastError = gfxLastError();
        return 0;
    }
    if (!createPipeline()) {
        m_lastError = gfxLastError();
        releaseAll();
        return 0;
    }
    m_lastError.clear();
    return 1;
}

int CM3D::createPipeline() {
    if (FAILED(m_pDevice->CreateVertexShader(kEngineVertexShader, &m_pVS)) ||
        FAILED(m_pDevice->CreatePixelShader(kEnginePixelShader, &m_pPS))) {
        return 0;
    }
    const D3D11_INPUT_ELEMENT_DESC layout[3] = {
        {"POSITION", 0, 4, 0, offsetof(D3DVTX_PNCd, pos)},
        {"NORMAL", 0, 4, 0, offsetof(D3DVTX_PNCd, nml)},
        {"COLOR", 0, 4, 0, offsetof(D3DVTX_PNCd, clr)},
    };
    if (FAILED(m_pDevice->CreateInputLayout(layout, 3, &m_pIL))) {
        return 0;
    }
    for (int i = 0; i < kCbCount; ++i) {
        const D3D11_BUFFER_DESC desc{kCbBytes[i], D3D11_BIND_CONSTANT_BUFFER};
        if (FAILED(m_pDevice->CreateBuffer(&desc, nullptr, &m_pCB[i]))) {
            return 0;
        }
    }
    return 1;
}

ID3D11Buffer* CM3D::getConstBuf(int which) const {
    return which >= 0 && which < kCbCount ? m_pCB[which] : nullptr;
}

int CM3D::setTargetSize(int width, int height) {
    if (width < 1 || height < 1 || width > 16384 || height > 16384) {
        m_lastError = "target size must be 1 to 16384 pixels per side";
        return 0;
    }
    m_targetW = width;
    m_targetH = height;
    return 1;
}

int CM3D::ensureTarget() {
    if (!initM3D()) {
        return 0;
    }
    if (m_pTarget && m_pTarget->width() == m_targetW && m_pTarget->height() == m_targetH) {
        return 1;
    }
    release(m_pTarget);
    if (FAILED(m_pDevice->CreateRenderTarget(m_targetW, m_targetH, &m_pTarget))) {
        m_lastError = gfxLastError();
        return 0;
    }
    return 1;
}

const std::uint32_t* CM3D::getImage() const {
    return m_pTarget && !m_pTarget->image().empty() ? m_pTarget->image().data() : nullptr;
}

int CM3D::getImageWidth() const {
    return getImage() ? m_pTarget->width() : 0;
}

int CM3D::getImageHeight() const {
    return getImage() ? m_pTarget->height() : 0;
}
