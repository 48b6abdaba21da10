// Engine layer: the light.
#pragma once

#include "engine/CM3D02Rsc04WorldViewProjectTRS.h"
#include "engine/CMLight0Shade.h"

class CM3D02Rsc06Light : public CM3D02Rsc04WorldViewProjectTRS {
public:
    // Light for the next draws: a copy of *light, or the engine's default when null.
    int setLight(M3DLIGHT11* light);

    CMLight0Shade m_light; // m_pM3D set by the engine
};
