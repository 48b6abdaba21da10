// Material layer that feeds the pixel shader's material constants through the engine.
#pragma once

#include "engine/CMMaterial.h"

class CM3Dzq;

class CMMaterial01Shade : public CMMaterial {
public:
    // Packs the material into the engine's material constants. 0 without engine.
    int ConstBufPxlShadMake();
    // Uploads those constants and binds them for the next draws. 0 without engine or context.
    int constBufPxlShadRenderSet();

    CM3Dzq* m_pM3D = nullptr; // engine, set by the caller
};
