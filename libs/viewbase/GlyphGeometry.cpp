// Torus mesh and vertex shifts for the sensor glyphs.
#include "GlyphGeometry.h"

#include "engine/CMBasicShape.h"

#include <cmath>
#include <numbers>

namespace glyphgeometry {

int makeTorus(CMBasicShape& shape, float R, float r, unsigned ringSteps, unsigned tubeSteps) {
    if (!(R > 0) || !(r > 0) || !std::isfinite(R) || !std::isfinite(r) || ringSteps < 3 ||
        tubeSteps < 3 || !shape.m_vb.initBuf4triangVtx(6LL * ringSteps * tubeSteps)) {
        return 0;
    }
    shape.m_hasMaterial = 0;
    const float twoPi = 2.0f * std::numbers::pi_v<float>;
    const auto vertex = [&](unsigned i, unsigned j, D3DVTX_PNCd& v) {
        const float u = twoPi * static_cast<float>(i) / static_cast<float>(ringSteps);
        const float w = twoPi * static_cast<float>(j) / static_cast<float>(tubeSteps);
        const float n[3] = {std::cos(w) * std::cos(u), std::cos(w) * std::sin(u), std::sin(w)};
        v = D3DVTX_PNCd{{R * std::cos(u) + r * n[0], R * std::sin(u) + r * n[1], r * n[2], 1},
                        {n[0], n[1], n[2], 0},
                        {1, 1, 1, 1}};
    };
    D3DVTX_PNCd* v = shape.m_vb.getBufPtr();
    long long k = 0;
    for (unsigned i = 0; i < ringSteps; ++i) {
        for (unsigned j = 0; j < tubeSteps; ++j) {
            const unsigned quad[6][2] = {{i, j}, {i + 1, j},     {i + 1, j + 1},
                                         {i, j}, {i + 1, j + 1}, {i, j + 1}};
            for (const auto& q : quad) {
                vertex(q[0], q[1], v[k++]);
            }
        }
    }
    shape.m_vb.m_nVtx = k;
    return 1;
}

void shiftZ(CMBasicShape& shape, float dz) {
    D3DVTX_PNCd* v = shape.m_vb.getBufPtr();
    for (long long k = 0; v && k < shape.m_vb.m_nVtx; ++k) {
        v[k].pos[2] += dz;
    }
}

} // namespace glyphgeometry
