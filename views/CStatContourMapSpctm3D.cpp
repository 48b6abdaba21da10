// The contour-map view's window, colour query and convex-hull mesh.
#include "views/CStatContourMapSpctm3D.h"

#include "envelope/ConvexHull3Dzq.h"
#include "recording/CMEGDatazq.h"
#include "render/CMEGSpctm3DRndzq.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatContourMapSpctm3D, CStatD3DMzq)

BEGIN_MESSAGE_MAP(CStatContourMapSpctm3D, CStatD3DMzq)
END_MESSAGE_MAP()

CStatContourMapSpctm3D::CStatContourMapSpctm3D() = default;

CStatContourMapSpctm3D::~CStatContourMapSpctm3D() = default;

CStatContourMapSpctm3D::CntmpWindow CStatContourMapSpctm3D::getCntmpWindow() const {
    CntmpWindow w;
    if (!m_pRnd)
        return w;
    w.t0 = m_pRnd->timePos;
    w.f0 = m_pRnd->freqPos;
    // Wrapping sums would turn a far window into one at the grid's origin.
    w.t1 = CMEGSpctm3DRnd::addSaturated(w.t0, m_winWidth);
    w.f1 = CMEGSpctm3DRnd::addSaturated(w.f0, m_winHeight);
    return w;
}

int CStatContourMapSpctm3D::querySnsColor(const CntmpWindow& w, CSpctmChnlzq* chnl,
                                          CMMaterialzq* material, float* colour) {
    if (!m_pRnd || m_queriesOff)
        return 0;
    if (m_pRnd->standardMode)
        m_pRnd->drawSpctmContourmapStd(w.t0, w.f0, w.t1, w.f1, chnl, m_spectralClass, m_component,
                                       material, colour);
    else
        m_pRnd->drawSpctmContourmapPro(w.t0, w.f0, w.t1, w.f1, chnl, m_spectralClass, m_component,
                                       material, colour);
    // A renderer without session or trial has just said "No MEG data?": once is enough.
    if (!m_pRnd->session || !m_pRnd->trial) {
        m_queriesOff = true;
        return 0;
    }
    return 1;
}

void CStatContourMapSpctm3D::findPairs(CMDTrialzq* trial) {
    m_pairs.update(combinesPairs() ? trial : nullptr);
}

int CStatContourMapSpctm3D::windowValue(const CntmpWindow& w, CMDTrialzq* trial, int i,
                                        double& value) {
    CMDChannelzq* ch = trial && m_pRnd ? trial->getChannel(i) : nullptr;
    CSpctmChnlzq* spctm = ch ? ch->getSpctmChnl(false, m_spectralClass) : nullptr;
    if (!spctm || !m_pRnd->windowMean4Std(spctm, m_component, w.t0, w.f0, w.t1, w.f1, value))
        return 0;
    CMDChannelzq* other = trial->getChannel(m_pairs.partnerOf(i));
    CSpctmChnlzq* otherSpctm = other ? other->getSpctmChnl(false, m_spectralClass) : nullptr;
    double second = 0.0;
    if (otherSpctm &&
        m_pRnd->windowMean4Std(otherSpctm, m_component, w.t0, w.f0, w.t1, w.f1, second))
        value = CGradPairs::combine(value, second, m_component);
    return 1;
}

int CStatContourMapSpctm3D::querySnsColor(const CntmpWindow& w, CMDTrialzq* trial, int i,
                                          CMMaterialzq* material, float* colour) {
    CMDChannelzq* ch = trial ? trial->getChannel(i) : nullptr;
    CSpctmChnlzq* spctm = ch ? ch->getSpctmChnl(false, m_spectralClass) : nullptr;
    if (!querySnsColor(w, spctm, material, colour))
        return 0;
    if (m_pRnd->standardMode && m_pairs.partnerOf(i) >= 0) {
        double value = 0.0;
        const bool any = windowValue(w, trial, i, value) != 0;
        m_pRnd->drawContourmapStdValue(value, any, material, colour);
    }
    return 1;
}

int CStatContourMapSpctm3D::initTriMegSnsHullVtx(CMEGDatazq* data) {
    return initTriHullVtx(data, kChnMeg);
}

int CStatContourMapSpctm3D::initTriEegEltHullVtx(CMEGDatazq* data) {
    return initTriHullVtx(data, kChnEeg);
}

void CStatContourMapSpctm3D::collectHullPoints(CMDTrialzq* trial, int chnType,
                                               std::vector<R3>& pts) {
    CMDChannelzq** channels = trial->getAllChannelPt();
    const int count = channels ? trial->getTotalChannel() : 0;
    for (int i = 0; i < count; ++i) {
        CMDChannelzq* ch = channels[i];
        if (!checkMegEegSensorVisibility(ch, i, -1) || !ch->getSpctmChnl(false, m_spectralClass))
            continue;
        double p[3] = {0.0, 0.0, 0.0};
        if (chnType == kChnMeg) {
            CBscMagSnszq* coil = ch->getMEGCoilzq(0);
            if (!coil)
                continue;
            coil->getCoilPositionD(p);
        } else {
            CEEGelectrodezq* electrode = ch->getEegElectrode(0);
            if (!electrode)
                continue;
            electrode->getElectrodePositionD(p);
        }
        R3 r;
        r.id = static_cast<int>(pts.size());
        r.x = static_cast<float>(p[0]);
        r.y = static_cast<float>(p[1]);
        r.z = static_cast<float>(p[2]);
        r.chIdx = i;
        pts.push_back(r);
    }
}

void CStatContourMapSpctm3D::writeHullVertices(CMDTrialzq* trial, const std::vector<R3>& unique,
                                               const std::vector<Tri>& tris, D3DVTX_PNCd* vtx) {
    const CntmpWindow w = getCntmpWindow();
    const ColorQueryScope queries(*this);
    findPairs(trial);
    long long v = 0;
    for (const Tri& t : tris) {
        for (const int corner : {t.a, t.b, t.c}) {
            const R3& p = unique[static_cast<size_t>(corner)];
            D3DVTX_PNCd& out = vtx[v++];
            out.pos[0] = p.x;
            out.pos[1] = p.y;
            out.pos[2] = p.z;
            out.pos[3] = 1.0f;
            out.nml[0] = t.nx;
            out.nml[1] = t.ny;
            out.nml[2] = t.nz;
            out.nml[3] = 1.0f;
            std::copy(m_surfColor, m_surfColor + 4, out.clr);
            if (m_cntmpColorOn)
                querySnsColor(w, trial, p.chIdx, nullptr, out.clr);
        }
    }
}

int CStatContourMapSpctm3D::initTriHullVtx(CMEGDatazq* data, int chnType) {
    if (data)
        m_pMEGData = data;
    CMEGDatazq* session = m_pMEGData;
    if (!session || !m_cntmpOn)
        return 0;
    CMDTrialzq* trial = session->getCurrentTrialPt();
    if (!trial)
        return 0;
    std::vector<R3> pts, unique;
    std::vector<int> index;
    std::vector<Tri> tris;
    collectHullPoints(trial, chnType, pts);
    ConvexHull3Dzq hull;
    hull.de_duplicateR3(pts, index, unique);
    hull.NewtonApple_hull_3D(unique, tris);
    CSnsCnvxHull4Cntmp& holder = chnType == kChnEeg ? m_hullEeg : m_hullMeg;
    if (!holder.checkInitTriVtx(unique, tris, m_pM3D, true) || !holder.m_pTriVtx)
        return 0;
    CMVBzq& vb = *holder.m_pTriVtx;
    vb.m_nVtx = 0;
    writeHullVertices(trial, unique, tris, vb.getBufPtr());
    vb.m_nVtx = 3 * static_cast<long long>(tris.size());
    holder.m_pMEGData = session;
    session->getSelect(holder.m_select, holder.m_select);
    holder.markBuiltWindow();
    holder.findDrawRuns(unique, tris);
    m_pMEGData = session;
    m_pTrial = trial;
    return 1;
}
