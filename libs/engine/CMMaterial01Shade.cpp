// Material constants of the pixel shader.
#include "engine/CMMaterial01Shade.h"

#include "engine/CM3Dzq.h"
#include "gfx/ID3D11DeviceContext.h"

int CMMaterial01Shade::ConstBufPxlShadMake() {
    if (!m_pM3D) {
        return 0;
    }
    return m_pM3D->initM3D();
}

int CMMaterial01Shade::constBufPxlShadRenderSet() {
    if (!m_pM3D || !m_pM3D->initM3D()) {
        return 0;
    }
    // Layout of the shader's PSCB1 block: colour, then diffuse, ambient, specular, power.
    const float data[8] = {m_color[0], m_color[1], m_color[2], m_color[3],
                           m_diffuse,  m_ambient,  m_specular, m_power};
    ID3D11Buffer* cb = m_pM3D->getConstBuf(CM3D::kCbMaterial);
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    ctx->UpdateSubresource(cb, 0, nullptr, data, 0, 0);
    ctx->PSSetConstantBuffers(1, 1, &cb);
    return 1;
}
