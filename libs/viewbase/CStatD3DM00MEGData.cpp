// Data binding, sensor visibility and the fits of the scene frame and colour range.
#include "viewbase/CStatD3DM00MEGData.h"

#include "SceneMath.h"
#include "engine/CM3Dzq.h"
#include "recording/CArrayMEDataSetzq.h"

#include <algorithm>
#include <cmath>
#include <limits>

int CStatD3DM00MEGData::setCbfGetMEGData(CArrayMEDataSetzq* data) {
    m_pMEDataSet = data;
    m_pMEGData = nullptr;
    m_pTrial = nullptr;
    return 1;
}

void CStatD3DM00MEGData::releaseMEGData() {
    m_pMEDataSet = nullptr;
    m_pMEGData = nullptr;
    m_pTrial = nullptr;
    cleanTriMegSnsVtx();
}

int CStatD3DM00MEGData::checkGetNewMEGData() {
    if (!m_pMEGData && m_pMEDataSet) {
        m_pMEGData = m_pMEDataSet->getSessionData(-1);
    }
    return m_pMEGData ? 1 : 0;
}

int CStatD3DM00MEGData::updateMEGData() {
    if (m_pMEDataSet) {
        m_pMEGData = m_pMEDataSet->getSessionData(-1);
    }
    m_pTrial = m_pMEGData ? m_pMEGData->getCurrentTrialPt() : nullptr;
    return m_pTrial ? 1 : 0;
}

int CStatD3DM00MEGData::getSnsPositionD(CMDChannelzq* channel, int chnType, double xyz[3]) {
    if (!channel || !xyz) {
        return 0;
    }
    if (chnType == kChnMeg) {
        const CBscMagSnszq* coil = channel->getMEGCoilzq(0);
        return coil && coil->getCoilPositionD(xyz) && scenemath::finite3(xyz) ? 1 : 0;
    }
    if (chnType == kChnEeg) {
        const CEEGelectrodezq* e = channel->getEegElectrode(0);
        return e && e->getElectrodePositionD(xyz) && scenemath::finite3(xyz) ? 1 : 0;
    }
    return 0;
}

int CStatD3DM00MEGData::checkMegEegSensorVisibility(CMDChannelzq* channel, int index,
                                                    int selector) {
    double xyz[3];
    const int type = selector < 0 ? m_chnType : selector;
    return index >= 0 && getSnsPositionD(channel, type, xyz) &&
           (type != kChnMeg || checkMegSnsKind(channel, m_megSnsKind));
}

int CStatD3DM00MEGData::checkMegSnsKind(CMDChannelzq* channel, int kind) {
    if (kind == kMegAllKinds)
        return 1;
    const CMEGSensorzq* sensor = channel ? channel->getMEGSensorzq() : nullptr;
    return sensor && sensor->getKind() == kind ? 1 : 0;
}

CMEGDatazq* CStatD3DM00MEGData::sessionOrBound(CMEGDatazq* session) {
    if (session) {
        return session;
    }
    updateMEGData();
    return m_pMEGData;
}

int CStatD3DM00MEGData::autofitSensorCenter(CMEGDatazq* session) {
    CMEGDatazq* s = sessionOrBound(session);
    CMDTrialzq* trial = s ? s->getCurrentTrialPt() : nullptr;
    if (!trial) {
        return 0;
    }
    constexpr double kInf = std::numeric_limits<double>::infinity();
    double lo[3] = {kInf, kInf, kInf}, hi[3] = {-kInf, -kInf, -kInf};
    int n = 0;
    for (int i = 0; i < trial->getTotalChannel(); ++i) {
        double p[3];
        if (getSnsPositionD(trial->getChannel(i), m_chnType, p)) {
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], p[k]);
                hi[k] = std::max(hi[k], p[k]);
            }
            ++n;
        }
    }
    if (n == 0) {
        return 0;
    }
    double center[3];
    for (int k = 0; k < 3; ++k) {
        center[k] = 0.5 * lo[k] + 0.5 * hi[k];
    }
    // The sphere about the centre that holds every sensor, with room for the glyphs.
    double reach = 0.0;
    for (int i = 0; i < trial->getTotalChannel(); ++i) {
        double p[3];
        if (getSnsPositionD(trial->getChannel(i), m_chnType, p)) {
            const double d[3] = {p[0] - center[0], p[1] - center[1], p[2] - center[2]};
            reach = std::max(reach, scenemath::length3(d));
        }
    }
    const double extent = reach * 1.12;
    // Positions beyond float range cannot frame a scene.
    if (!(extent < std::numeric_limits<float>::max()) ||
        !(scenemath::length3(center) < std::numeric_limits<float>::max())) {
        return 0;
    }
    for (int k = 0; k < 3; ++k) {
        m_snsCenter[k] = static_cast<float>(center[k]);
    }
    m_snsExtent = static_cast<float>(std::max(extent, 0.01));
    applySceneFrame();
    return 1;
}

int CStatD3DM00MEGData::autofitColor2MeasureData(CMEGDatazq* session) {
    CMEGDatazq* s = sessionOrBound(session);
    CMDTrialzq* trial = s ? s->getCurrentTrialPt() : nullptr;
    if (!trial) {
        return 0;
    }
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (int i = 0; i < trial->getTotalChannel(); ++i) {
        CMDChannelzq* ch = trial->getChannel(i);
        double v = 0.0;
        if (checkMegEegSensorVisibility(ch, i, -1) && getChnValue4Color(ch, v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    if (!(lo <= hi)) {
        return 0;
    }
    m_clrLower = lo;
    m_clrUpper = hi;
    return 1;
}

int CStatD3DM00MEGData::getChnValue4Color(CMDChannelzq* channel, double& value) {
    CSpctmChnlzq* sp = channel ? channel->getSpctmChnl(false, 0) : nullptr;
    long long nt = 0, nf = 0;
    const double* grid = sp ? sp->getSpctmDataPtr(2, &nt, &nf) : nullptr;
    if (!grid || nt < 1 || nf < 1) {
        return 0;
    }
    double sum = 0.0;
    long long n = 0;
    for (long long k = 0; k < nt * nf; ++k) {
        if (std::isfinite(grid[k])) {
            sum += grid[k];
            ++n;
        }
    }
    if (n == 0 || !std::isfinite(sum)) {
        return 0;
    }
    value = sum / static_cast<double>(n);
    return 1;
}
