// State of the sensor-scene control and the release of its geometry.
#include "viewbase/CStatD3DM.h"

#include "engine/CM3Dzq.h"

#include <cstdint>

namespace {

void initMaterial(CMMaterialzq& m, float diffuse, float ambient, float specular,
                  std::uint32_t color) {
    m.initMaterialDAS(diffuse, ambient, specular);
    m.initMaterialColorDAS(color);
}

} // namespace

CStatD3DM::CStatD3DM() {
    // Sensors a light steel blue, the surface a neutral grey, the mark a bright amber.
    initMaterial(m_mat, 1.0f, 1.0f, 0.3f, 0xBFBFBF);
    initMaterial(m_matSns, 1.0f, 1.0f, 0.4f, 0xE0C8A0);
    initMaterial(m_matSurf, 1.0f, 1.0f, 0.2f, 0xC8CCCC);
    initMaterial(m_matMark, 1.0f, 1.0f, 0.5f, 0x10C0FF);
}

CStatD3DM::~CStatD3DM() {
    // Device objects go before the engine whose context made them.
    releaseSnsCoilD3DAll();
    cleanTriMegSnsVtx();
    delete m_pM3D;
    m_pM3D = nullptr;
}

int CStatD3DM::releaseSnsCoilD3DAll() {
    for (CMBasicShape* s : {&m_coilShape, &m_dirShape, &m_markShape, &m_eltCube, &m_eltBall,
                            &m_eltTorus, &m_snsShape}) {
        s->m_vb.releaseMVB();
    }
    return 1;
}

int CStatD3DM::cleanTriMegSnsVtx() {
    m_hullMeg.release();
    m_hullEeg.release();
    m_fanMeg.release();
    m_fanEeg.release();
    return 1;
}
