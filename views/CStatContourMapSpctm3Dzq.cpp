// The contour-map view: paint, sensors, contour surfaces, keys, text line and colour fit.
#include "views/CStatContourMapSpctm3Dzq.h"

#include "engine/CM3Dzq.h"
#include "engine/CMDXdefine.h"
#include "engine/CMFramePng.h"
#include "gfx/ID3D11DeviceContext.h"
#include "recording/CMEGDatazq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CSpctmColorBar.h"
#include "views/CSpctmUnit.h"
#include "views/CViewPicture.h"
#include "win/AfxApi.h"
#include "win/CPaintDC.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const char16_t* const kClassLabels[] = {u"Active", u"Control", u"Result"};
const char16_t* const kComponentLabels[] = {u"Real Data", u"Imag Data", u"Power/Phase"};

const char16_t* labelOf(const char16_t* const (&labels)[3], int i) {
    return i >= 0 && i < 3 ? labels[i] : u"?";
}

// Position of the channel's probe of the type: coil 0 of the MEG sensor or the electrode.
bool probePosition(CMDChannelzq* ch, int chnType, double p[3]) {
    if (chnType == CStatD3DM::kChnMeg) {
        CBscMagSnszq* coil = ch->getMEGCoilzq(0);
        return coil && coil->getCoilPositionD(p);
    }
    CEEGelectrodezq* electrode = ch->getEegElectrode(0);
    return electrode && electrode->getElectrodePositionD(p);
}

// FNV-1a over the bytes of v, continuing from h.
template <typename T>
unsigned long long mix(unsigned long long h, const T& v) {
    const auto* b = reinterpret_cast<const unsigned char*>(&v);
    for (size_t i = 0; i < sizeof(T); ++i)
        h = (h ^ b[i]) * 1099511628211ULL;
    return h;
}

// Radial normal: (x, y, z, 1) / |(x, y, z)| in 32-bit floats; zero at the origin, not a
// number for an infinite length.
void radialNormal(D3DVTX_PNCd& v) {
    const float* p = v.pos;
    const float len = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    if (std::isinf(len)) {
        std::fill(v.nml, v.nml + 4, std::numeric_limits<float>::quiet_NaN());
        return;
    }
    if (len == 0.0f) {
        std::fill(v.nml, v.nml + 4, 0.0f);
        return;
    }
    for (int k = 0; k < 3; ++k)
        v.nml[k] = p[k] / len;
    v.nml[3] = 1.0f / len;
}

} // namespace

IMPLEMENT_DYNAMIC(CStatContourMapSpctm3Dzq, CStatContourMapSpctm3D)

BEGIN_MESSAGE_MAP(CStatContourMapSpctm3Dzq, CStatD3DMzq)
ON_WM_PAINT()
END_MESSAGE_MAP()

CStatContourMapSpctm3Dzq::CStatContourMapSpctm3Dzq() {
    m_matSpctm.initMaterialDAS(0.5f, 0.5f, 0.5f);
    m_cntmpOn = 1;
}

int CStatContourMapSpctm3Dzq::checkInitScene() {
    if (m_bScene3DInit && m_pM3D) {
        checkTargetSize();
        return 1;
    }
    if (!snsSrc3Dinit(m_pOwner))
        return 0;
    m_bScene3DInit = 1;
    return 1;
}

void CStatContourMapSpctm3Dzq::OnPaint() {
    CPaintDC dc(this);
    if (!GetSafeHwnd() || !IsWindowVisible() || !checkInitScene())
        return;
    renderFrame();
    CRect client;
    GetClientRect(&client);
    drawTimeFreqInfo(&dc, &client);
    drawOverlays(dc, client);
}

void CStatContourMapSpctm3Dzq::renderFrame() {
    m_pM3D->rendB();
    m_pM3D->setLight(nullptr);
    m_pM3D->setMaterial(nullptr);
    m_pM3D->setVPCamera(nullptr);
    m_pM3D->setWorldTRS(nullptr);
    drawSpctmCntmp3D();
    m_pM3D->rendE();
    m_pM3D->show(-1, nullptr);
    m_pM3D->releaseTargetSCB(0);
}

int CStatContourMapSpctm3Dzq::savePicture(const char* path, int scale) {
    return CViewPicture::save(
        *this, [this] { return checkInitScene() != 0; }, [this] { renderFrame(); }, path, scale);
}

int CStatContourMapSpctm3Dzq::drawSpctmCntmp3D() {
    if (!m_pMEGData && (!checkGetNewMEGData() || !m_pMEGData))
        return 0;
    if (m_chnType != kChnMeg && m_chnType != kChnEeg)
        return 0;
    const ColorQueryScope queries(*this);
    const bool shown = m_chnType == kChnMeg ? m_pMEGData->megSnsShown : m_pMEGData->eegEltShown;
    if (shown)
        m_chnType == kChnMeg ? drawMegSnsSpctm() : drawEegEltSpctm();
    if (!m_cntmpOn)
        return 1;
    return drawContourSurface(m_chnType);
}

int CStatContourMapSpctm3Dzq::drawContourSurface(int chnType) {
    const bool meg = chnType == kChnMeg;
    if (m_surfHullMode) {
        CSnsCnvxHull4Cntmp& hull = meg ? m_hullMeg : m_hullEeg;
        const CntmpWindow w = getCntmpWindow();
        setCntmpWindow4Hull(w.t0, w.f0, w.t1, w.f1);
        hull.setColorKey(colorKey());
        if (!hull.check4update(m_pMEGData) &&
            !(meg ? initTriMegSnsHullVtx(m_pMEGData) : initTriEegEltHullVtx(m_pMEGData)))
            return 1;
        setSurfaceColorMode();
        if (hull.m_pTriVtx && hull.m_pTriVtx->m_nVtx > 0)
            drawTriangles(*hull.m_pTriVtx, hull.m_drawRuns);
        return 1;
    }
    if (!(meg ? initTriMegSnsFanVtx() : initTriEegEltFanVtx()))
        return 1;
    setSurfaceColorMode();
    CSnsFanData4ContourMapx& fans = meg ? m_fanMeg : m_fanEeg;
    makeFanTriangles(fans, chnType);
    if (m_fanDraw.m_nVtx > 0)
        drawTriangles(m_fanDraw, {{0, m_fanDraw.m_nVtx / 3}});
    return 1;
}

unsigned long long CStatContourMapSpctm3Dzq::colorKey() const {
    unsigned long long h = 1469598103934665603ULL;
    h = mix(mix(mix(h, m_spectralClass), m_component), m_cntmpColorOn);
    for (const float c : m_surfColor)
        h = mix(h, c);
    if (!m_pRnd)
        return h;
    const CMEGSpctm3DRndzq& r = *m_pRnd;
    h = mix(mix(mix(mix(h, r.colorCount), r.standardMode), r.polarity), r.proDisplayMode);
    for (const double v :
         {r.stdLower, r.stdUpper, r.proLower, r.proUpper, r.proLowerLimit, r.proUpperLimit})
        h = mix(h, v);
    return h;
}

void CStatContourMapSpctm3Dzq::setSurfaceColorMode() {
    if (m_cntmpColorOn)
        m_outmerg.setVertexColor1SrcMode(m_vtxColorSrc, 1);
    else
        m_outmerg.setMat2disableVtxColor(1);
    m_pM3D->m_outmerg.m_colorSource = m_outmerg.m_colorSource;
    m_pM3D->setMaterial(&m_matSurf);
}

void CStatContourMapSpctm3Dzq::drawTriangles(
    CMVBzq& vb, const std::vector<std::pair<long long, long long>>& runs) {
    // The pipeline is bound here, not inherited from whatever the glyphs left bound.
    m_pM3D->m_light.constBufPxlShadUpdate();
    vb.m_pM3D = m_pM3D;
    if (!vb.updateCnstBuf4Wvp(1) || !vb.makeContent())
        return;
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    vb.bindForDraw();
    const long long facets = vb.m_nVtx / 3;
    for (const auto& [first, end] : runs) {
        const long long last = std::min(end, facets);
        if (first < last)
            ctx->Draw(static_cast<unsigned>(3 * (last - first)), static_cast<unsigned>(3 * first));
    }
}

int CStatContourMapSpctm3Dzq::drawMegSnsSpctm() {
    if (!updateMEGData() || !m_pMEGData || !m_pMEGData->megSnsShown || m_chnType != kChnMeg ||
        !m_pMEGData->getCurrentTrialPt())
        return 0;
    const CMEGDatazq& s = *m_pMEGData;
    if (!makeCoilShape(static_cast<float>(s.megCoilSize)) ||
        !makeDirShape(static_cast<float>(s.dirGlyphSize2), static_cast<float>(s.dirGlyphSize1)) ||
        !makeMarkShape(static_cast<float>(s.dirGlyphSize2), static_cast<float>(6 * s.megCoilSize)))
        return 0;
    return drawSnsSpctm(kChnMeg);
}

int CStatContourMapSpctm3Dzq::drawEegEltSpctm() {
    if (!updateMEGData() || !m_pMEGData || !m_pMEGData->eegEltShown || m_chnType != kChnEeg ||
        !m_pMEGData->getCurrentTrialPt())
        return 0;
    const float size = static_cast<float>(m_pMEGData->eegEltSize);
    if (m_eltShapeSw == 0)
        m_snsShape.makeMCube(size, size, size, nullptr);
    else
        m_snsShape.makeMSphere(size, 16, 16, nullptr);
    return drawSnsSpctm(kChnEeg);
}

int CStatContourMapSpctm3Dzq::drawSnsSpctm(int chnType) {
    if (!m_pM3D)
        return 0;
    CMDTrialzq* trial = m_pMEGData->getCurrentTrialPt();
    const int drawMode = m_pMEGData->snsDrawMode;
    const int current = trial->getCurntChnlIndx();
    CMDChannelzq** channels = trial->getAllChannelPt();
    const int count = channels ? trial->getTotalChannel() : 0;
    const CntmpWindow w = getCntmpWindow();
    const bool coloured = m_pMEGData->snsColored && m_pRnd;
    // Glyphs take their material's colour, all drawn at once at the end.
    beginGlyphBatch();
    int result = 1;
    for (int i = 0; i < count; ++i) {
        CMDChannelzq* ch = channels[i];
        CSpctmChnlzq* spctm = ch ? ch->getSpctmChnl(false, m_spectralClass) : nullptr;
        if (!checkMegEegSensorVisibility(ch, i, chnType) || !spctm)
            continue;
        CMMaterialzq* material = &m_matSns;
        if (coloured) {
            // A channel whose grid gives no colour looks plain, not like the sensor before it.
            std::copy(m_matSns.m_color, m_matSns.m_color + 4, m_matSpctm.m_color);
            if (querySnsColor(w, spctm, &m_matSpctm, nullptr))
                material = &m_matSpctm;
        }
        m_pM3D->setMaterial(material);
        CMEGSensorzq* sensor = chnType == kChnMeg ? ch->getMEGSensorzq() : nullptr;
        CEEGelectrodezq* electrode = chnType == kChnEeg ? ch->getEegElectrode(0) : nullptr;
        if (!sensor && !electrode)
            continue;
        if (!(sensor ? drawSnsCoils(sensor, drawMode) : drawElectrode(electrode, drawMode)))
            break;
        if (i != current || !m_markOn)
            continue;
        double p[3] = {0.0, 0.0, 0.0};
        if (sensor) {
            CBscMagSnszq* coil = sensor->getCoil(0);
            if (!coil) {
                result = 0;
                break;
            }
            coil->getCoilPositionD(p);
        } else {
            electrode->getElectrodePositionD(p);
        }
        rendMark(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
    }
    endGlyphBatch();
    return result;
}

BOOL CStatContourMapSpctm3Dzq::PreTranslateMessage(MSG* pMsg) {
    if (!pMsg || pMsg->message != WM_KEYDOWN || m_operMode != kModeWindowMove)
        return preTranslateMessage(pMsg) ? TRUE : FALSE;
    updateMEGData();
    if (!m_pTrial || !m_pRnd)
        return TRUE;
    CSpctmTrialzq* st = m_pTrial->getSpctmTrial(false, m_spectralClass);
    if (!st)
        return FALSE;
    const long long nTime = st->getTrialSpctmTimePt();
    const long long nFreq = st->getTrialSpctmFreqPt();
    long long& t = m_pRnd->timePos;
    long long& f = m_pRnd->freqPos;
    switch (pMsg->wParam) {
    case VK_LEFT:
        t = std::max(CMEGSpctm3DRnd::subSaturated(t, m_stepTime), 0LL);
        break;
    case VK_RIGHT:
        t = CMEGSpctm3DRnd::addSaturated(t, m_stepTime);
        if (t >= nTime)
            t = nTime - 1;
        break;
    case VK_UP:
        f = CMEGSpctm3DRnd::addSaturated(f, m_stepFreq);
        if (f >= nFreq)
            f = nFreq - 1;
        break;
    case VK_DOWN:
        f = std::max(CMEGSpctm3DRnd::subSaturated(f, m_stepFreq), 0LL);
        break;
    default:
        return TRUE;
    }
    Invalidate(FALSE);
    return TRUE;
}

int CStatContourMapSpctm3Dzq::drawTimeFreqInfo(CDC* dc, const RECT* client) {
    if (!m_pRnd)
        return 1;
    if (!updateMEGData())
        return 0;
    CSpctmTrialzq* st = m_pTrial->getSpctmTrial(false, m_spectralClass);
    if (!st || !dc || !client)
        return 0;
    const COLORREF text = dc->SetTextColor(0xFFFFFF);
    const COLORREF back = dc->SetBkColor(0);
    const CntmpWindow w = getCntmpWindow();
    const long long nTime = st->getTrialSpctmTimePt();
    double msStart = 0.0, msEnd = 0.0, hzStart = 0.0, hzEnd = 0.0;
    m_pMEGData->getTrialSpctmGivenTime2LatencyMsec(w.t0, w.t1, msStart, msEnd, m_spectralClass,
                                                   m_component);
    const long long nFreq = st->getTrialSpctmFreqPt();
    st->getTrialSpctmGivenFreqID4Hz(w.f0, w.f1, hzStart, hzEnd);
    CString line;
    line.Format(u"Time:%0.1f~%0.1fms(%I64d->%I64d); Freq:%0.1f~%0.1fHz (%I64d->%I64d)", msStart,
                msEnd, w.t0, nTime, hzStart, hzEnd, w.f0, nFreq);
    const CSize size = dc->GetTextExtent(line);
    dc->TextOut(0, (client->bottom - client->top) - size.cy, line);
    dc->SetTextColor(text);
    dc->SetBkColor(back);
    return 1;
}

void CStatContourMapSpctm3Dzq::drawOverlays(CDC& dc, const CRect& client) {
    if (!m_pRnd)
        return;
    const double lower = m_pRnd->standardMode ? m_pRnd->stdLower : m_pRnd->proLower;
    const double upper = m_pRnd->standardMode ? m_pRnd->stdUpper : m_pRnd->proUpper;
    const CString unit = m_pMEGData && m_pTrial
                             ? CSpctmUnit::ofChannels(*m_pMEGData, *m_pTrial, m_chnType,
                                                      m_spectralClass, m_component)
                             : CString();
    CString line;
    line.Format(u"%s  |  %s  |  colour range %.4g ~ %.4g %s",
                labelOf(kClassLabels, m_spectralClass), labelOf(kComponentLabels, m_component),
                lower, upper, unit);
    const int height = dc.GetTextExtent(line).cy;
    const COLORREF text = dc.SetTextColor(0xFFFFFF);
    const COLORREF back = dc.SetBkColor(0);
    dc.TextOut(0, client.Height() - 2 * height, line);
    dc.SetTextColor(text);
    dc.SetBkColor(back);
    dc.SetBkMode(TRANSPARENT);
    // The bar stands above the two text lines.
    CRect above = client;
    above.bottom -= 2 * height;
    CSpctmColorBar::draw(dc, above, *m_pRnd,
                         m_pMEGData && m_pTrial ? CSpctmUnit::valueTitle(m_component, unit)
                                                : CString());
}

int CStatContourMapSpctm3Dzq::autofitColor4SnsWin() {
    if (!updateMEGData())
        return 0;
    CMDTrialzq* trial = m_pMEGData->getCurrentTrialPt();
    if (!trial || !m_pRnd || !trial->getSpctmTrial(false, m_spectralClass))
        return 0;
    CMDChannelzq** channels = trial->getAllChannelPt();
    const int count = channels ? trial->getTotalChannel() : 0;
    const CntmpWindow w = getCntmpWindow();
    bool any = false;
    double lo = 0.0, hi = 0.0;
    for (int i = 0; i < count; ++i) {
        CSpctmChnlzq* spctm =
            channels[i] ? channels[i]->getSpctmChnl(false, m_spectralClass) : nullptr;
        if (!checkMegEegSensorVisibility(channels[i], i, -1) || !spctm ||
            !m_pRnd->autoFitStdViewRng4CrntShowStd(spctm, m_component, w.t0, w.f0, w.t1, w.f1))
            continue;
        const double v = std::fabs(m_pRnd->proLowerLimit);
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
    }
    m_pRnd->stdUpper = hi;
    m_pRnd->stdLower = lo;
    return 1;
}

int CStatContourMapSpctm3Dzq::initTriMegSnsFanVtx() {
    return initTriFanVtx(kChnMeg);
}

int CStatContourMapSpctm3Dzq::initTriEegEltFanVtx() {
    return initTriFanVtx(kChnEeg);
}

int CStatContourMapSpctm3Dzq::initTriFanVtx(int chnType) {
    CMEGDatazq* session = m_pMEGData;
    if (!session || !m_cntmpOn)
        return 0;
    chnType == kChnMeg ? findMegSnsSphere(session) : findEegEltSphere(session);
    CMDTrialzq* trial = session->getCurrentTrialPt();
    if (!trial)
        return 0;
    const int count = trial->getTotalChannel();
    CSnsFanData4ContourMapx& fans = chnType == kChnMeg ? m_fanMeg : m_fanEeg;
    // Sized by this member's channel type: its capacity bounds the vertices written below.
    if (!fans.checkInitTriSnsVtx(chnType, m_pM3D, count, false) || !fans.m_pTriVtx)
        return 0;
    fans.m_pTriVtx->m_nVtx = 0;
    fans.m_nFan = 0;
    m_buildWin = getCntmpWindow();
    m_pBuildTrial = trial;
    std::copy(m_snsSphereCenter, m_snsSphereCenter + 3, m_buildSphere);
    m_buildSphere[3] = m_snsSphereRadius;
    const ColorQueryScope queries(*this);
    long long v = 0;
    for (int i = 0; i < count; ++i)
        if (!buildFan(fans, chnType, i, v))
            return 0;
    fans.m_pTriVtx->m_nVtx = v;
    D3DVTX_PNCd* vtx = fans.m_pTriVtx->getBufPtr();
    for (long long k = 0; k < v; ++k)
        radialNormal(vtx[k]);
    m_pTrial = trial;
    return 1;
}

void CStatContourMapSpctm3Dzq::writeFanVertex(D3DVTX_PNCd& out, const double pos[3], int channel) {
    for (int k = 0; k < 3; ++k)
        out.pos[k] = static_cast<float>(pos[k]);
    out.pos[3] = 1.0f;
    std::fill(out.nml, out.nml + 4, 0.0f);
    std::copy(m_surfColor, m_surfColor + 4, out.clr);
    if (m_cntmpColorOn)
        querySnsColor(m_buildWin,
                      m_pBuildTrial->getChannel(channel)->getSpctmChnl(false, m_spectralClass),
                      nullptr, out.clr);
}

bool CStatContourMapSpctm3Dzq::isNeighbour(int chnType, const double p[3],
                                           const double q[3]) const {
    const double d = std::hypot(q[0] - p[0], q[1] - p[1], q[2] - p[2]);
    if (chnType == kChnEeg)
        return d <= m_nbrDistEeg;
    const double e =
        std::hypot((p[0] + q[0]) / 2 - m_buildSphere[0], (p[1] + q[1]) / 2 - m_buildSphere[1],
                   (p[2] + q[2]) / 2 - m_buildSphere[2]);
    return d <= m_nbrDistMeg && e <= m_buildSphere[3];
}

int CStatContourMapSpctm3Dzq::buildFan(CSnsFanData4ContourMapx& fans, int chnType, int i,
                                       long long& v) {
    CMDChannelzq** channels = m_pBuildTrial->getAllChannelPt();
    const int count = m_pBuildTrial->getTotalChannel();
    CMDChannelzq* ch = channels[i];
    if (!checkMegEegSensorVisibility(ch, i, -1) || !ch->getSpctmChnl(false, m_spectralClass))
        return 1;
    CSnsFan4ContourMapx* fan = fans.getFanAt(fans.m_nFan);
    double p[3];
    if (!fan || !probePosition(ch, chnType, p))
        return 1;
    D3DVTX_PNCd* vtx = fans.m_pTriVtx->getBufPtr();
    fan->m_chnIdx = i;
    fan->m_vtxFirst = v;
    writeFanVertex(vtx[v++], p, i);
    fan->m_nbrChn.clear();
    fan->m_nNbr = 0;
    const int cap = fans.getNbrCapacity(chnType) - 1;
    m_chain.begin();
    for (int j = 0; j < count; ++j) {
        double q[3];
        if (j == i || !checkMegEegSensorVisibility(channels[j], j, -1) ||
            !channels[j]->getSpctmChnl(false, m_spectralClass) ||
            !probePosition(channels[j], chnType, q) || !isNeighbour(chnType, p, q))
            continue;
        const float qf[3] = {static_cast<float>(q[0]), static_cast<float>(q[1]),
                             static_cast<float>(q[2])};
        const float dist = CSnsFanChain::distance(qf, vtx[fan->m_vtxFirst].pos);
        if (fan->m_nNbr < cap) {
            writeFanVertex(vtx[v++], q, j);
            fan->m_nbrChn.push_back(static_cast<unsigned>(j));
            ++fan->m_nNbr;
            m_chain.add(dist);
            continue;
        }
        const int k = m_chain.replacedPlace(dist);
        if (k < 0)
            continue;
        if (!replaceNeighbour(*fan, chnType, k, j, q))
            return 0;
        m_chain.replace(k, dist);
    }
    m_chain.order(vtx + fan->m_vtxFirst + 1, fan->m_nbrChn);
    fan->m_vtxEnd = v;
    ++fans.m_nFan;
    return 1;
}

int CStatContourMapSpctm3Dzq::replaceNeighbour(CSnsFan4ContourMapx& fan, int chnType, int k, int j,
                                               const double q[3]) {
    CSnsFanData4ContourMapx& fans = chnType == kChnMeg ? m_fanMeg : m_fanEeg;
    D3DVTX_PNCd& out = fans.m_pTriVtx->getBufPtr()[fan.m_vtxFirst + 1 + k];
    if (chnType == kChnMeg && m_cntmpColorOn &&
        !getD3DColor4ChnVStd(m_pMEGData, m_pBuildTrial, j, out.clr)) {
        AfxMessageBox(u"Initialize Triangle error!");
        return 0;
    }
    writeFanVertex(out, q, j);
    fan.m_nbrChn[static_cast<size_t>(k)] = static_cast<unsigned>(j);
    return 1;
}

void CStatContourMapSpctm3Dzq::makeFanTriangles(CSnsFanData4ContourMapx& fans, int chnType) {
    m_fanDraw.m_nVtx = 0;
    const D3DVTX_PNCd* vtx = fans.m_pTriVtx ? fans.m_pTriVtx->getBufPtr() : nullptr;
    if (!vtx)
        return;
    const double reach = chnType == kChnMeg ? m_nbrDistMeg : m_nbrDistEeg;
    const long long need = 3LL * fans.getNbrCapacity(chnType) * std::max(fans.m_nFan, 1);
    if (m_fanDraw.m_nVtxCapacity < need && !m_fanDraw.initBuf4triangVtx(need))
        return;
    D3DVTX_PNCd* out = m_fanDraw.getBufPtr();
    long long n = 0;
    for (int i = 0; i < fans.m_nFan; ++i) {
        const CSnsFan4ContourMapx* fan = fans.getFanAt(i);
        if (!fan)
            continue;
        const long long first = fan->m_vtxFirst, end = fan->m_vtxEnd;
        const long long tris =
            CMDXdefine::vertexCount2primitiveCount(D3DPT_TRIANGLEFAN, end - first);
        for (long long t = 0; t < tris; ++t) {
            out[n++] = vtx[first];
            out[n++] = vtx[first + 1 + t];
            out[n++] = vtx[first + 2 + t];
        }
        // The ring closes when its last and first neighbours are themselves neighbours.
        const D3DVTX_PNCd& a = vtx[end - 1];
        const D3DVTX_PNCd& b = vtx[first + 1];
        if (tris >= 2 &&
            std::hypot(a.pos[0] - b.pos[0], a.pos[1] - b.pos[1], a.pos[2] - b.pos[2]) <= reach) {
            out[n++] = vtx[first];
            out[n++] = a;
            out[n++] = b;
        }
    }
    m_fanDraw.m_nVtx = n;
}
