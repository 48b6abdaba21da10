// Sphere and box glyphs as triangle lists.
#include "engine/CMBasicShape.h"

#include "engine/CM3Dzq.h"
#include "gfx/ID3D11DeviceContext.h"

#include <cmath>
#include <numbers>

namespace {

void putVertex(D3DVTX_PNCd& v, const float p[3], const float n[3], const float c[4]) {
    v = D3DVTX_PNCd{{p[0], p[1], p[2], 1}, {n[0], n[1], n[2], 0}, {c[0], c[1], c[2], c[3]}};
}

bool positive(float v) {
    return v > 0 && std::isfinite(v);
}

} // namespace

void CMBasicShape::keepMaterial(CMMaterialzq* material) {
    m_hasMaterial = material ? 1 : 0;
    m_material = material ? *material : CMMaterialzq{};
}

int CMBasicShape::makeMSphere(float r, unsigned slices, unsigned stacks, CMMaterialzq* material) {
    if (!positive(r) || slices < 3 || stacks < 2 || slices > 1024 || stacks > 1024 ||
        !m_vb.initBuf4triangVtx(6LL * slices * stacks)) {
        return 0;
    }
    keepMaterial(material);
    const float pi = std::numbers::pi_v<float>;
    // Unit direction at grid point (i around, j from the north pole).
    const auto dir = [&](unsigned i, unsigned j, float out[3]) {
        const float th = pi * static_cast<float>(j) / static_cast<float>(stacks);
        const float ph = 2 * pi * static_cast<float>(i) / static_cast<float>(slices);
        out[0] = std::sin(th) * std::cos(ph);
        out[1] = std::cos(th);
        out[2] = -std::sin(th) * std::sin(ph);
    };
    D3DVTX_PNCd* v = m_vb.getBufPtr();
    long long k = 0;
    for (unsigned j = 0; j < stacks; ++j) {
        for (unsigned i = 0; i < slices; ++i) {
            const unsigned corners[6][2] = {{i, j}, {i, j + 1},     {i + 1, j + 1},
                                            {i, j}, {i + 1, j + 1}, {i + 1, j}};
            for (const auto& c : corners) {
                float n[3];
                dir(c[0], c[1], n);
                const float p[3] = {n[0] * r, n[1] * r, n[2] * r};
                putVertex(v[k++], p, n, m_material.m_color);
            }
        }
    }
    m_vb.m_nVtx = k;
    return 1;
}

int CMBasicShape::makeMCube(float dx, float dy, float dz, CMMaterialzq* material) {
    if (!positive(dx) || !positive(dy) || !positive(dz) || !m_vb.initBuf4triangVtx(36)) {
        return 0;
    }
    keepMaterial(material);
    const float h[3] = {dx / 2, dy / 2, dz / 2};
    D3DVTX_PNCd* v = m_vb.getBufPtr();
    long long k = 0;
    // Each face: its axis, its side, and the two axes spanning it (counter-clockwise outside).
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = -1; side <= 1; side += 2) {
            const int u = (axis + (side > 0 ? 1 : 2)) % 3, w = (axis + (side > 0 ? 2 : 1)) % 3;
            const float su[4] = {-1, 1, 1, -1}, sw[4] = {-1, -1, 1, 1};
            const int order[6] = {0, 1, 2, 0, 2, 3};
            float n[3] = {0, 0, 0};
            n[axis] = static_cast<float>(side);
            for (int o : order) {
                float p[3];
                p[axis] = h[axis] * static_cast<float>(side);
                p[u] = h[u] * su[o];
                p[w] = h[w] * sw[o];
                putVertex(v[k++], p, n, m_material.m_color);
            }
        }
    }
    m_vb.m_nVtx = k;
    return 1;
}

int CMBasicShape::rendShape(CM3Dzq* m3d, const float* pos) {
    if (!m3d || m_vb.m_nVtx <= 0) {
        return 0;
    }
    if (m_hasMaterial) {
        m3d->setMaterial(&m_material);
    }
    m_vb.m_pM3D = m3d;
    m_vb.m_model[12] = pos ? pos[0] : 0.0f;
    m_vb.m_model[13] = pos ? pos[1] : 0.0f;
    m_vb.m_model[14] = pos ? pos[2] : 0.0f;
    if (!m_vb.updateCnstBuf4Wvp(1) || !m_vb.makeContent()) {
        return 0;
    }
    ID3D11DeviceContext* ctx = m3d->getImmediateContext();
    ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    m_vb.bindForDraw();
    ctx->Draw(static_cast<unsigned>(m_vb.m_nVtx), 0);
    return 1;
}
