// Material factors and colour.
#include "engine/CMMaterial.h"

#include <algorithm>
#include <cmath>

namespace {
float unit(float v) {
    return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}
} // namespace

int CMMaterial::initMaterialDAS(float diffuse, float ambient, float specular) {
    m_diffuse = unit(diffuse);
    m_ambient = unit(ambient);
    m_specular = unit(specular);
    m_color[0] = m_color[1] = m_color[2] = 0.75f;
    m_color[3] = 1.0f;
    return 1;
}

int CMMaterial::initMaterialColorDAS(const std::uint32_t& color) {
    for (int i = 0; i < 3; ++i) {
        m_color[i] = static_cast<float>((color >> (8 * i)) & 0xFFu) / 255.0f;
    }
    m_color[3] = 1.0f;
    return 1;
}
