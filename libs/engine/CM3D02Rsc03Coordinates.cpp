// World transform of the engine.
#include "engine/CM3D02Rsc03Coordinates.h"

#include "M3DMath.h"

int CM3D02Rsc03Coordinates::setWorldTRS(CTRSmArchBallzq* trs) {
    m_useOwnWorld = trs ? 0 : 1;
    if (trs) {
        m_worldTRS = *trs;
    }
    return 1;
}

int CM3D02Rsc03Coordinates::resetWorldArchBall() {
    m_archBall.reset();
    return 1;
}

void CM3D02Rsc03Coordinates::getWorldMatrix(float out[16]) const {
    float zoom[16], move[16];
    m3dmath::scaling(worldTRS().m_zoom, zoom);
    m3dmath::translation(-m_sceneCenter[0], -m_sceneCenter[1], -m_sceneCenter[2], move);
    m3dmath::multiply(zoom, move, out);
}
