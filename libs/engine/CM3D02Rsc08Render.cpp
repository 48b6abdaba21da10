// Frames: begin (bind, clear, set the pipeline), end, present (read back), release.
#include "engine/CM3D02Rsc08Render.h"

#include "gfx/ID3D11DeviceContext.h"

#include <utility>

int CM3D02Rsc08Render::rendB() {
    if (!ensureTarget()) {
        return 0;
    }
    ID3D11DeviceContext* ctx = getImmediateContext();
    ctx->OMSetRenderTargets(target());
    D3D11_RASTERIZER_DESC rs;
    rs.FillMode = m_fillWireframe ? D3D11_FILL_WIREFRAME : D3D11_FILL_SOLID;
    rs.CullMode = m_cullMode == 1   ? D3D11_CULL_BACK
                  : m_cullMode == 2 ? D3D11_CULL_FRONT
                                    : D3D11_CULL_NONE;
    ctx->RSSetState(&rs);
    ctx->ClearRenderTargetView(target(), m_bgColor);
    ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    ctx->VSSetShader(getDefaultVS());
    ctx->PSSetShader(getDefaultPS());
    ctx->IASetInputLayout(getDefaultIL());
    // Bind every constant block as it stands, so draws never see stale bindings.
    m_inFrame = 1;
    return updateCnstBufWvp() && m_light.constBufPxlShadUpdate() &&
           m_material.constBufPxlShadRenderSet() && m_outmerg.applySetting();
}

int CM3D02Rsc08Render::rendE() {
    const int was = m_inFrame;
    m_inFrame = 0;
    return was;
}

int CM3D02Rsc08Render::show(int, void*) {
    if (!target() || FAILED(getImmediateContext()->ReadBack(target()))) {
        return 0;
    }
    if (m_presentSink) {
        m_presentSink(getImage(), getImageWidth(), getImageHeight());
    }
    return 1;
}

void CM3D02Rsc08Render::setPresentSink(PresentSink sink) {
    m_presentSink = std::move(sink);
}

int CM3D02Rsc08Render::releaseTargetSCB(int) {
    if (!getImmediateContext()) {
        return 0;
    }
    getImmediateContext()->OMSetRenderTargets(nullptr);
    return 1;
}
