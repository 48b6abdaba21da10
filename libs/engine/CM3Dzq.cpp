// The engine callers instantiate: ties the parts to the engine.
#include "engine/CM3Dzq.h"

namespace {
CM3Dzq::RendStatesDialogFn g_rendStatesDialog = nullptr;
}

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
