// Engine layer: the material of the next draws.
#pragma once

#include "engine/CM3D02Rsc06Light.h"
#include "engine/CMMaterialzq.h"

class CM3D02Rsc06Materials : public CM3D02Rsc06Light {
public:
    // Material for the next draws: a copy of *material, or the engine's default when null.
    int setMaterial(CMMaterialzq* material);

    CMMaterialzq m_defaultMaterial;
    CMMaterialzq m_material; // in use
};
