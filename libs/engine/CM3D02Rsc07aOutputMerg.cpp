// The engine's colour source.
#include "engine/CM3D02Rsc07aOutputMerg.h"

int CM3D02Rsc07aOutputMerg::setOutmergVtxColor1(int mode, int apply) {
    switch (mode) {
    case 14:
        m_outmerg.m_colorSource = CMOutputMerg01Setting::kVertexLit;
        break;
    case 13:
        m_outmerg.m_colorSource = CMOutputMerg01Setting::kVertexUnlit;
        break;
    default:
        m_outmerg.m_colorSource = CMOutputMerg01Setting::kMaterial;
        break;
    }
    return apply ? m_outmerg.applySetting() : 1;
}
