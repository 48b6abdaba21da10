// Colour source of what is drawn.
#include "engine/CMOutputMerg01Setting.h"

#include "engine/CM3Dzq.h"
#include "gfx/ID3D11DeviceContext.h"

int CMOutputMerg01Setting::setVertexColor1SrcMode(int source, int apply) {
    m_vtxColor1Src = source;
    m_colorSource = kVertexLit;
    return apply ? applySetting() : 1;
}

int CMOutputMerg01Setting::setMat2disableVtxColor(int apply) {
    m_colorSource = kMaterial;
    return apply ? applySetting() : 1;
}

int CMOutputMerg01Setting::applySetting() {
    if (!m_pM3D || !m_pM3D->initM3D()) {
        return 0;
    }
    // Layout of the shader's PSCB2 block: colour source, lighting on.
    const int data[4] = {m_colorSource, m_pM3D->m_lightingOn ? 1 : 0, 0, 0};
    ID3D11Buffer* cb = m_pM3D->getConstBuf(CM3D::kCbOutmerg);
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    ctx->UpdateSubresource(cb, 0, nullptr, data, 0, 0);
    ctx->PSSetConstantBuffers(2, 1, &cb);
    return 1;
}
