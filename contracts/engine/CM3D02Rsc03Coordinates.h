// Engine layer: the world transform: the scene centre moved to the origin, the zoom, and an
// arc-ball rotation that turns the scene about the eye's axes (so drags follow the mouse).
#pragma once

#include "engine/CM3D.h"
#include "engine/CTRSmArchBallzq.h"

class CM3D02Rsc03Coordinates : public CM3D {
public:
    // World transform for the next draws: trs, or the engine's own arc-ball when null.
    int setWorldTRS(CTRSmArchBallzq* trs);
    // Returns the engine's arc-ball to its start.
    int resetWorldArchBall();
    // Zoom times the move of the scene centre to the origin (column-major).
    void getWorldMatrix(float out[16]) const;
    // The arc-ball in use for draws.
    const CTRSmArchBallzq& worldTRS() const { return m_useOwnWorld ? m_archBall : m_worldTRS; }

    CTRSmArchBallzq m_archBall; // what mouse rotation, zoom and pan change

protected:
    CTRSmArchBallzq m_worldTRS; // in use for draws
    int m_useOwnWorld = 1;
};
