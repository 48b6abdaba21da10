// The engine's light and its pixel-shader constants.
#pragma once

#include "engine/M3DLIGHT11.h"

class CM3Dzq;

class CMLight0Shade {
public:
    // Uploads the light to the pixel shader's light constants and binds them. 0 without engine
    // or context.
    int constBufPxlShadUpdate();

    M3DLIGHT11 m_light;
    CM3Dzq* m_pM3D = nullptr;
};
