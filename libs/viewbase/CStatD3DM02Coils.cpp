// Sensor glyphs: making them and drawing them at the sensors.
#include "viewbase/CStatD3DM02Coils.h"

#include "GlyphGeometry.h"
#include "SceneMath.h"
#include "engine/CM3Dzq.h"
#include "gfx/ID3D11DeviceContext.h"
#include "recording/CMEGDatazq.h"

#include <algorithm>
#include <cmath>

namespace {

bool positive(float v) {
    return v > 0 && std::isfinite(v);
}

// Thickness of a coil plate relative to its side.
constexpr float kPlateThickness = 0.2f;
// Defaults when no session gives sizes (metres).
constexpr float kCoilSize = 0.008f;
constexpr float kEltSize = 0.006f;

} // namespace

bool CStatD3DM02Coils::isMade(const CMBasicShape& shape, int which, float a, float b) const {
    return shape.m_vb.m_nVtx > 0 && m_shapeMade[which][0] == a && m_shapeMade[which][1] == b;
}

int CStatD3DM02Coils::made(int which, float a, float b) {
    m_shapeMade[which][0] = a;
    m_shapeMade[which][1] = b;
    return 1;
}

int CStatD3DM02Coils::makeCoilShape(float size) {
    // The size is the plate's half side, as a radius is a ball's.
    const float s = 2.0f * size * m_snsSizeScale;
    if (!positive(s) || isMade(m_coilShape, 0, s, s)) {
        return positive(s) ? 1 : 0;
    }
    return m_coilShape.makeMCube(s, s, s * kPlateThickness, nullptr) ? made(0, s, s) : 0;
}

int CStatD3DM02Coils::makeDirShape(float width, float length) {
    const float w = width * m_snsSizeScale, len = length * m_snsSizeScale;
    if (!positive(w) || !positive(len) || isMade(m_dirShape, 1, w, len)) {
        return positive(w) && positive(len) ? 1 : 0;
    }
    if (!m_dirShape.makeMCube(w, w, len, nullptr)) {
        return 0;
    }
    // The rod starts at the coil and points along its normal.
    glyphgeometry::shiftZ(m_dirShape, len / 2);
    return made(1, w, len);
}

int CStatD3DM02Coils::makeMarkShape(float thickness, float diameter) {
    const float t = thickness * m_snsSizeScale, d = diameter * m_snsSizeScale;
    if (!positive(t) || !positive(d) || isMade(m_markShape, 2, t, d)) {
        return positive(t) && positive(d) ? 1 : 0;
    }
    return glyphgeometry::makeTorus(m_markShape, d / 2, t, 32, 8) ? made(2, t, d) : 0;
}

void CStatD3DM02Coils::outwardDir(const double pos[3], double dir[3]) const {
    const float* c = m_snsSphereRadius > 0 ? m_snsSphereCenter : m_snsCenter;
    for (int k = 0; k < 3; ++k) {
        dir[k] = pos[k] - c[k];
    }
}

int CStatD3DM02Coils::rendShapeOriented(CMBasicShape& shape, const double pos[3],
                                        const double dir[3]) {
    if (!m_pM3D || shape.m_vb.m_nVtx <= 0) {
        return 0;
    }
    CMVBzq& vb = shape.m_vb;
    scenemath::orientedModel(pos, dir, 1.0f, vb.m_model);
    if (m_batching) {
        appendToBatch(shape, vb.m_model);
        return 1;
    }
    vb.m_pM3D = m_pM3D;
    if (!vb.updateCnstBuf4Wvp(1) || !vb.makeContent()) {
        return 0;
    }
    // Glyphs take the material's colour; the surface's colour source comes back afterwards.
    CMOutputMerg01Setting& om = m_pM3D->m_outmerg;
    const int source = om.m_colorSource;
    if (source != CMOutputMerg01Setting::kMaterial) {
        om.setMat2disableVtxColor(1);
    }
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    vb.bindForDraw();
    ctx->Draw(static_cast<unsigned>(vb.m_nVtx), 0);
    if (source != CMOutputMerg01Setting::kMaterial) {
        om.m_colorSource = source;
        om.applySetting();
    }
    return 1;
}

void CStatD3DM02Coils::appendToBatch(const CMBasicShape& shape, const float model[16]) {
    const CMVBzq& vb = shape.m_vb;
    const float* colour = m_pM3D->m_material.m_color;
    for (long long k = 0; k < vb.m_nVtx; ++k) {
        const D3DVTX_PNCd& in = vb.m_pVtx[k];
        D3DVTX_PNCd out{};
        for (int r = 0; r < 3; ++r) {
            out.pos[r] = model[12 + r];
            for (int c = 0; c < 3; ++c) {
                out.pos[r] += model[c * 4 + r] * in.pos[c];
                out.nml[r] += model[c * 4 + r] * in.nml[c];
            }
        }
        out.pos[3] = 1.0f;
        std::copy(colour, colour + 4, out.clr);
        m_batchVtx.push_back(out);
    }
}

void CStatD3DM02Coils::beginGlyphBatch() {
    m_batching = true;
    m_batchVtx.clear();
}

int CStatD3DM02Coils::endGlyphBatch() {
    m_batching = false;
    const long long n = static_cast<long long>(m_batchVtx.size());
    if (!m_pM3D || n == 0) {
        return 0;
    }
    if (m_batchVb.m_nVtxCapacity < n && !m_batchVb.initBuf4triangVtx(n)) {
        return 0;
    }
    std::copy(m_batchVtx.begin(), m_batchVtx.end(), m_batchVb.getBufPtr());
    m_batchVb.m_nVtx = n;
    m_batchVb.m_pM3D = m_pM3D;
    if (!m_batchVb.updateCnstBuf4Wvp(1) || !m_batchVb.makeContent()) {
        return 0;
    }
    CMOutputMerg01Setting& om = m_pM3D->m_outmerg;
    const int source = om.m_colorSource;
    om.m_colorSource = CMOutputMerg01Setting::kVertexLit;
    om.applySetting();
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    m_batchVb.bindForDraw();
    ctx->Draw(static_cast<unsigned>(n), 0);
    om.m_colorSource = source;
    om.applySetting();
    return 1;
}

int CStatD3DM02Coils::drawSnsCoils(CMEGSensorzq* sensor, int drawMode) {
    if (!m_pM3D || !sensor) {
        return 0;
    }
    if (m_coilShape.m_vb.m_nVtx <= 0 &&
        !makeCoilShape(m_pMEGData ? static_cast<float>(m_pMEGData->megCoilSize) : kCoilSize)) {
        return 0;
    }
    for (int i = 0; i < sensor->getCoilCount(); ++i) {
        const CBscMagSnszq* coil = sensor->getCoil(i);
        double pos[3], dir[3];
        if (!coil || !coil->getCoilPositionD(pos) || !scenemath::finite3(pos)) {
            continue;
        }
        coil->getCoilOrientationD(dir);
        if (!(scenemath::length3(dir) > 0)) {
            outwardDir(pos, dir);
        }
        if (drawMode != kDrawDir && !rendShapeOriented(m_coilShape, pos, dir)) {
            return 0;
        }
        if (drawMode != kDrawCoil && m_dirShape.m_vb.m_nVtx > 0) {
            rendShapeOriented(m_dirShape, pos, dir);
        }
    }
    return 1;
}

float CStatD3DM02Coils::eltSize() const {
    const CMVBzq& vb = m_snsShape.m_vb;
    float half = 0.0f;
    for (long long k = 0; vb.m_pVtx && k < vb.m_nVtx; ++k) {
        for (int c = 0; c < 3; ++c) {
            half = std::max(half, std::fabs(vb.m_pVtx[k].pos[c]));
        }
    }
    if (positive(half)) {
        return 2.0f * half;
    }
    return 2.0f * (m_pMEGData ? static_cast<float>(m_pMEGData->eegEltSize) : kEltSize);
}

CMBasicShape* CStatD3DM02Coils::eltGlyph(float size) {
    const int sel = std::clamp(m_snsShapeSel, 0, 2);
    CMBasicShape* shapes[3] = {&m_eltCube, &m_eltBall, &m_eltTorus};
    CMBasicShape* shape = shapes[sel];
    if (shape->m_vb.m_nVtx > 0 && m_eltBuilt[sel] == size) {
        return shape;
    }
    const int ok = sel == kShapeCube ? shape->makeMCube(size, size, size, nullptr)
                   : sel == kShapeBall
                       ? shape->makeMSphere(size / 2, 16, 12, nullptr)
                       : glyphgeometry::makeTorus(*shape, size * 0.4f, size * 0.15f, 24, 8);
    m_eltBuilt[sel] = ok ? size : 0.0f;
    return ok ? shape : nullptr;
}

int CStatD3DM02Coils::drawElectrode(CEEGelectrodezq* electrode, int) {
    double pos[3], dir[3];
    if (!m_pM3D || !electrode || !electrode->getElectrodePositionD(pos) ||
        !scenemath::finite3(pos)) {
        return 0;
    }
    const float size = eltSize() * m_snsSizeScale;
    CMBasicShape* glyph = positive(size) ? eltGlyph(size) : nullptr;
    if (!glyph) {
        return 0;
    }
    outwardDir(pos, dir);
    return rendShapeOriented(*glyph, pos, dir);
}

int CStatD3DM02Coils::rendMark(float x, float y, float z) {
    const double pos[3] = {x, y, z};
    if (!m_pM3D || !scenemath::finite3(pos)) {
        return 0;
    }
    if (m_markShape.m_vb.m_nVtx <= 0) {
        const double coil = m_pMEGData ? m_pMEGData->megCoilSize : kCoilSize;
        const double thick = m_pMEGData ? m_pMEGData->dirGlyphSize2 : 0.002;
        if (!makeMarkShape(static_cast<float>(thick), static_cast<float>(6 * coil))) {
            return 0;
        }
    }
    double dir[3];
    outwardDir(pos, dir);
    CMMaterialzq saved = m_pM3D->m_material;
    m_pM3D->setMaterial(&m_matMark);
    const int ok = rendShapeOriented(m_markShape, pos, dir);
    m_pM3D->setMaterial(&saved);
    return ok;
}
