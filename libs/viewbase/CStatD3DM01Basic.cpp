// Sensor sphere fit and channel colours.
#include "viewbase/CStatD3DM01Basic.h"

#include "SceneMath.h"
#include "recording/CMEGDatazq.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

int CStatD3DM01Basic::fitSnsSphere(CMEGDatazq* session, int chnType) {
    CMEGDatazq* s = session ? session : m_pMEGData;
    CMDTrialzq* trial = s ? s->getCurrentTrialPt() : nullptr;
    if (!trial) {
        return 0;
    }
    std::vector<std::array<double, 3>> pts;
    for (int i = 0; i < trial->getTotalChannel(); ++i) {
        std::array<double, 3> p;
        if (getSnsPositionD(trial->getChannel(i), chnType, p.data())) {
            pts.push_back(p);
        }
    }
    scenemath::Sphere sph{};
    if (!scenemath::fitSphere(pts, sph)) {
        return 0;
    }
    double reach = 0.0;
    for (const auto& p : pts) {
        const double d[3] = {p[0] - sph.c[0], p[1] - sph.c[1], p[2] - sph.c[2]};
        reach = std::max(reach, scenemath::length3(d));
    }
    // The sphere is kept in floats; a layout beyond their range has none.
    constexpr double kMax = std::numeric_limits<float>::max();
    if (!(reach < kMax) || !(scenemath::length3(sph.c) < kMax)) {
        return 0;
    }
    for (int k = 0; k < 3; ++k) {
        m_snsSphereCenter[k] = static_cast<float>(sph.c[k]);
    }
    m_snsSphereFit = static_cast<float>(sph.r);
    m_snsSphereRadius = static_cast<float>(reach);
    return 1;
}

int CStatD3DM01Basic::findMegSnsSphere(CMEGDatazq* session) {
    return fitSnsSphere(session, kChnMeg);
}

int CStatD3DM01Basic::findEegEltSphere(CMEGDatazq* session) {
    return fitSnsSphere(session, kChnEeg);
}

void CStatD3DM01Basic::valueRatio2Color(double t, float color[4]) {
    // Stops of the scale: blue, cyan, green, yellow, red.
    static constexpr float kStops[5][3] = {{0.1f, 0.2f, 0.9f},
                                           {0.0f, 0.8f, 0.9f},
                                           {0.1f, 0.8f, 0.2f},
                                           {0.95f, 0.9f, 0.1f},
                                           {0.9f, 0.1f, 0.1f}};
    const double u = std::isfinite(t) ? std::clamp(t, 0.0, 1.0) * 4.0 : 0.0;
    const int i = std::min(static_cast<int>(u), 3);
    const float f = static_cast<float>(u - i);
    for (int k = 0; k < 3; ++k) {
        color[k] = kStops[i][k] + (kStops[i + 1][k] - kStops[i][k]) * f;
    }
    color[3] = 1.0f;
}

int CStatD3DM01Basic::getD3DColor4ChnVStd(CMEGDatazq* session, CMDTrialzq* trial, int index,
                                          float color[4]) {
    CMEGDatazq* s = session ? session : m_pMEGData;
    CMDTrialzq* t = trial ? trial : (s ? s->getCurrentTrialPt() : nullptr);
    double v = 0.0;
    if (!color || !t || index < 0 || index >= t->getTotalChannel() ||
        !getChnValue4Color(t->getChannel(index), v) || !(m_clrUpper >= m_clrLower)) {
        return 0;
    }
    const double span = m_clrUpper - m_clrLower;
    valueRatio2Color(span > 0 ? (v - m_clrLower) / span : 0.5, color);
    return 1;
}
