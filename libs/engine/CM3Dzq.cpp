// The engine callers instantiate: ties the parts to the engine.
#include "engine/CM3Dzq.h"

#include "engine/CMVBzq.h"
#include "gfx/ID3D11DeviceContext.h"

namespace {
CM3Dzq::RendStatesDialogFn g_rendStatesDialog = nullptr;

// A square around the scene's centre, facing the camera, as a strip.
bool fillSquare(CMVBzq& vb) {
    constexpr float kHalf = 100.0f;
    if (!vb.initBuf4triangVtx(4))
        return false;
    for (int i = 0; i < 4; ++i) {
        D3DVTX_PNCd& v = vb.m_pVtx[i];
        v.pos[0] = (i & 1) ? kHalf : -kHalf;
        v.pos[1] = (i & 2) ? kHalf : -kHalf;
        v.pos[2] = 0.0f;
        v.pos[3] = 1.0f;
        v.nml[2] = 1.0f;
        v.clr[0] = v.clr[3] = 1.0f;
    }
    vb.m_nVtx = 4;
    return true;
}
} // namespace

CM3Dzq::CM3Dzq() {
    m_light.m_pM3D = this;
    m_material.m_pM3D = this;
    m_defaultMaterial.m_pM3D = this;
    m_outmerg.m_pM3D = this;
}

int CM3Dzq::showDlgM3DRendStates(CWnd* parent) {
    return g_rendStatesDialog != nullptr ? g_rendStatesDialog(this, parent) : 0;
}

void CM3Dzq::setRendStatesDialog(RendStatesDialogFn fn) {
    g_rendStatesDialog = fn;
}

CM3Dzq::RendStatesDialogFn CM3Dzq::getRendStatesDialog() {
    return g_rendStatesDialog;
}

int CM3Dzq::prepareFrames() {
    static int prepared = 0;
    if (prepared)
        return 1;
    CM3Dzq engine;
    CMVBzq square;
    if (!engine.setTargetSize(64, 64) || !fillSquare(square) || !engine.rendB())
        return 0;
    square.m_pM3D = &engine;
    ID3D11DeviceContext* ctx = engine.getImmediateContext();
    engine.setOutmergVtxColor1(14, 1);
    square.updateCnstBuf4Wvp(1);
    if (!square.makeContent() || !square.bindForDraw())
        return 0;
    ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    ctx->Draw(4, 0);
    ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    ctx->Draw(3, 0);
    engine.setOutmergVtxColor1(13, 1);
    ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINELIST);
    ctx->Draw(4, 0);
    engine.rendE();
    prepared = engine.show(-1, nullptr);
    engine.releaseTargetSCB(0);
    return prepared;
}
