// Light constants of the pixel shader.
#include "engine/CMLight0Shade.h"

#include "engine/CM3Dzq.h"
#include "gfx/ID3D11DeviceContext.h"

#include <algorithm>

int CMLight0Shade::constBufPxlShadUpdate() {
    if (!m_pM3D || !m_pM3D->initM3D()) {
        return 0;
    }
    // Layout of the shader's PSCB0 block: ambient, diffuse, specular, direction.
    float data[16];
    std::copy_n(m_light.ambient, 4, data);
    std::copy_n(m_light.diffuse, 4, data + 4);
    std::copy_n(m_light.specular, 4, data + 8);
    std::copy_n(m_light.direction, 4, data + 12);
    ID3D11Buffer* cb = m_pM3D->getConstBuf(CM3D::kCbLight);
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    ctx->UpdateSubresource(cb, 0, nullptr, data, 0, 0);
    ctx->PSSetConstantBuffers(0, 1, &cb);
    return 1;
}
