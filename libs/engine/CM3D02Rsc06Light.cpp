// The engine's light.
#include "engine/CM3D02Rsc06Light.h"

int CM3D02Rsc06Light::setLight(M3DLIGHT11* light) {
    m_light.m_light = light ? *light : M3DLIGHT11{};
    return m_light.constBufPxlShadUpdate();
}
