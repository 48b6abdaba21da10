// Picking a sensor with a ray through a pixel.
#include "viewbase/CStatD3DM06Pick.h"

#include "SceneMath.h"
#include "engine/CM3Dzq.h"
#include "recording/CMEGDatazq.h"

#include <cmath>
#include <limits>

int CStatD3DM06Pick::cleanD3DPick() {
    m_pickChn = -1;
    return 1;
}

double CStatD3DM06Pick::glyphRadius() const {
    if (m_chnType == kChnEeg) {
        return 0.6 * eltSize() * m_snsSizeScale;
    }
    const double coil = m_pMEGData ? m_pMEGData->megCoilSize : 0.008;
    // Half the diagonal of the coil plate.
    return 1.45 * coil * m_snsSizeScale;
}

int CStatD3DM06Pick::scene2ClientPoint(const double xyz[3], double& px, double& py) const {
    if (!m_pM3D) {
        return 0;
    }
    float wvp[16], wv[16];
    m_pM3D->computeWvp(nullptr, wvp, wv);
    const double in[4] = {xyz[0], xyz[1], xyz[2], 1.0};
    double clip[4];
    scenemath::transform4(wvp, in, clip);
    if (!(clip[3] > 0)) {
        return 0;
    }
    px = (clip[0] / clip[3] + 1.0) * 0.5 * m_pM3D->getTargetWidth() - 0.5;
    py = (1.0 - clip[1] / clip[3]) * 0.5 * m_pM3D->getTargetHeight() - 0.5;
    return std::isfinite(px) && std::isfinite(py) ? 1 : 0;
}

int CStatD3DM06Pick::pick3DSnsr02(CPoint point) {
    updateMEGData();
    if (!m_pM3D || !m_pTrial) {
        return 0;
    }
    float wvp[16], wv[16], inv[16];
    m_pM3D->computeWvp(nullptr, wvp, wv);
    if (!scenemath::invert4(wvp, inv)) {
        return 0;
    }
    // Two points of the pixel's ray, both inside the depth range of either clip convention.
    const double nx = 2.0 * (point.x + 0.5) / m_pM3D->getTargetWidth() - 1.0;
    const double ny = 1.0 - 2.0 * (point.y + 0.5) / m_pM3D->getTargetHeight();
    const double ndcA[4] = {nx, ny, 0.0, 1.0}, ndcB[4] = {nx, ny, 0.9, 1.0};
    double a[4], b[4];
    scenemath::transform4(inv, ndcA, a);
    scenemath::transform4(inv, ndcB, b);
    double o[3], d[3];
    for (int k = 0; k < 3; ++k) {
        o[k] = a[k] / a[3];
        d[k] = b[k] / b[3] - o[k];
    }
    const double len = scenemath::length3(d);
    if (!(len > 0) || !std::isfinite(len) || !scenemath::finite3(o)) {
        return 0;
    }
    for (double& v : d) {
        v /= len;
    }
    const double r = glyphRadius();
    int best = -1;
    double bestT = std::numeric_limits<double>::infinity();
    for (int i = 0; i < m_pTrial->getTotalChannel(); ++i) {
        double p[3];
        if (!checkMegEegSensorVisibility(m_pTrial->getChannel(i), i, -1) ||
            !getSnsPositionD(m_pTrial->getChannel(i), m_chnType, p)) {
            continue;
        }
        const double q[3] = {p[0] - o[0], p[1] - o[1], p[2] - o[2]};
        const double t = q[0] * d[0] + q[1] * d[1] + q[2] * d[2];
        const double off[3] = {q[0] - t * d[0], q[1] - t * d[1], q[2] - t * d[2]};
        if (scenemath::length3(off) <= r && t < bestT) {
            best = i;
            bestT = t;
        }
    }
    if (best < 0 || !m_pTrial->setCurrentChannel(best)) {
        return 0;
    }
    m_pickChn = best;
    return 1;
}
