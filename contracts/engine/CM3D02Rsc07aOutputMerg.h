// Engine layer: where the drawn colour comes from.
#pragma once

#include "engine/CM3D02Rsc06Materials.h"
#include "engine/CMOutputMerg01Setting.h"

class CM3D02Rsc07aOutputMerg : public CM3D02Rsc06Materials {
public:
    // Mode 14: lit vertex colours; 13: unlit vertex colours; any other: the material colour.
    // Nonzero apply sends it to the shaders now.
    int setOutmergVtxColor1(int mode, int apply);

    CMOutputMerg01Setting m_outmerg;
};
