// The engine's current material.
#include "engine/CM3D02Rsc06Materials.h"

int CM3D02Rsc06Materials::setMaterial(CMMaterialzq* material) {
    CM3Dzq* self = m_material.m_pM3D;
    m_material = material ? *material : m_defaultMaterial;
    m_material.m_pM3D = self;
    return m_material.ConstBufPxlShadMake() && m_material.constBufPxlShadRenderSet();
}
