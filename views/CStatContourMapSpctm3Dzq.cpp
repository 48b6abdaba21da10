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
    if (!GetSafeHwnd() || !IsWindowVisible())
        return;
    CRect client;
    GetClientRect(&client);
    // The frame stays above the text and the colour bar, so that they never cover the head.
    setFrameMarginBottom(overlayBandHeight(dc, client));
    if (!checkInitScene())
        return;
    renderFrame();
    const CRect band(client.left, frameRect().bottom, client.right, client.bottom);
    dc.FillSolidRect(band, 0);
    drawTimeFreqInfo(&dc, &client);
    drawOverlays(dc, client);
    if (m_pM3D)
        m_marks.drawLetters(dc, *m_pM3D, frameRect());
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
    findPairs(m_pMEGData->getCurrentTrialPt());
    const bool shown = m_chnType == kChnMeg ? m_pMEGData->megSnsShown : m_pMEGData->eegEltShown;
    if (shown)
        m_chnType == kChnMeg ? drawMegSnsSpctm() : drawEegEltSpctm();
    drawHeadMarks();
    if (!m_cntmpOn)
        return 1;
    return drawContourSurface(m_chnType);
}

void CStatContourMapSpctm3Dzq::drawHeadMarks() {
    std::vector<CHeadMarks::Point> positions;
    CMDTrialzq* trial = m_pMEGData->getCurrentTrialPt();
    for (int i = 0; trial && i < trial->getTotalChannel(); ++i) {
        CHeadMarks::Point p;
        if (getSnsPositionD(trial->getChannel(i), m_chnType, p.data()))
            positions.push_back(p);
    }
    if (!m_marks.place(m_pMEGData->getHeadFrame(), positions) || !m_marks.build(m_marksDraw))
        return;
    // The marks always show their own vertex colour.
    setSurfaceColorMode(true);
    drawTriangles(m_marksDraw, {{0, m_marksDraw.m_nVtx / 3}});
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
        setSurfaceColorMode(m_cntmpColorOn != 0);
        if (hull.m_pTriVtx && hull.m_pTriVtx->m_nVtx > 0)
            drawTriangles(*hull.m_pTriVtx, hull.m_drawRuns);
        return 1;
    }
    if (!(meg ? initTriMegSnsFanVtx() : initTriEegEltFanVtx()))
        return 1;
    setSurfaceColorMode(m_cntmpColorOn != 0);
    CSnsFanData4ContourMapx& fans = meg ? m_fanMeg : m_fanEeg;
    makeFanTriangles(fans, chnType);
    if (m_fanDraw.m_nVtx > 0)
        drawTriangles(m_fanDraw, {{0, m_fanDraw.m_nVtx / 3}});
    return 1;
}

unsigned long long CStatContourMapSpctm3Dzq::colorKey() const {
    unsigned long long h = 1469598103934665603ULL;
    h = mix(mix(mix(mix(h, m_spectralClass), m_component), m_cntmpColorOn), m_megSnsKind);
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

void CStatContourMapSpctm3Dzq::setSurfaceColorMode(bool vertexColours) {
    if (vertexColours)
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
            if (querySnsColor(w, trial, i, &m_matSpctm, nullptr))
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

namespace {

// The lines naming the window are read from pictures and movies: larger than the window's text.
constexpr double kWindowLineScale = 1.35;
constexpr COLORREF kCaptionColor = RGB(232, 234, 238);
constexpr COLORREF kCaptionTextColor = RGB(16, 18, 24);

// Height of the line naming the window with the text of dc.
int windowLineHeight(CDC& dc) {
    const double previous = dc.SetTextScale(kWindowLineScale);
    const int height = dc.GetTextExtent(CString(u"0")).cy;
    dc.SetTextScale(previous);
    return height;
}

// The client area above the text lines: where the colour bar goes.
CRect aboveTextLines(CDC& dc, const CRect& client) {
    CRect above = client;
    above.bottom -= dc.GetTextExtent(CString(u"0")).cy + 2 * windowLineHeight(dc) + 2;
    return above;
}

} // namespace

int CStatContourMapSpctm3Dzq::overlayBandHeight(CDC& dc, const CRect& client) const {
    const CRect above = aboveTextLines(dc, client);
    const CRect bar = CSpctmColorBar::area(dc, above);
    return client.bottom - (bar.IsRectEmpty() ? above.bottom : bar.top) + 2;
}

CString CStatContourMapSpctm3Dzq::shownUnit() {
    if (!m_pMEGData || !m_pTrial)
        return CString();
    return CSpctmUnit::ofChannels(
        *m_pMEGData, *m_pTrial,
        [this](CMDChannelzq* ch, int i) { return checkMegEegSensorVisibility(ch, i, -1) != 0; },
        m_spectralClass, m_component);
}

CString CStatContourMapSpctm3Dzq::sensorLabel() const {
    if (m_chnType == kChnEeg)
        return u"EEG electrodes";
    switch (m_megSnsKind) {
    case kMegMagnetometer:
        return u"Magnetometers";
    case kMegPlanarGrad:
        return u"Planar gradiometers";
    case kMegAxialGrad:
        return u"Axial gradiometers";
    default:
        return u"All MEG sensors";
    }
}

std::vector<CString> CStatContourMapSpctm3Dzq::describeWindow() {
    if (!m_pRnd || !updateMEGData())
        return {};
    CSpctmTrialzq* st = m_pTrial->getSpctmTrial(false, m_spectralClass);
    if (!st)
        return {};
    // The window averaged is the part of it that lies on the grid.
    const CntmpWindow w = getCntmpWindow();
    const long long nTime = st->getTrialSpctmTimePt();
    const long long nFreq = st->getTrialSpctmFreqPt();
    const long long t0 = std::clamp(w.t0, 0LL, std::max(nTime - 1, 0LL));
    const long long f0 = std::clamp(w.f0, 0LL, std::max(nFreq - 1, 0LL));
    const long long t1 = std::clamp(w.t1, t0, std::max(nTime - 1, t0));
    const long long f1 = std::clamp(w.f1, f0, std::max(nFreq - 1, f0));
    double msStart = 0.0, msEnd = 0.0, hzStart = 0.0, hzEnd = 0.0;
    m_pMEGData->getTrialSpctmGivenTime2LatencyMsec(t0, t1, msStart, msEnd, m_spectralClass,
                                                   m_component);
    st->getTrialSpctmGivenFreqID4Hz(f0, f1, hzStart, hzEnd);
    CString window, what;
    window.Format(u"%0.1f to %0.1f ms   %0.1f to %0.1f Hz", msStart, msEnd, hzStart, hzEnd);
    what.Format(u"%s  |  %s  |  %s", labelOf(kClassLabels, m_spectralClass),
                labelOf(kComponentLabels, m_component), sensorLabel().GetString());
    return {window, what};
}

void CStatContourMapSpctm3Dzq::drawOverlays(CDC& dc, const CRect& client) {
    if (!m_pRnd)
        return;
    const CString unit = shownUnit();
    const std::vector<CString> lines = describeWindow();
    const int infoHeight = dc.GetTextExtent(CString(u"0")).cy;
    const COLORREF text = dc.SetTextColor(0xFFFFFF);
    const COLORREF back = dc.SetBkColor(0);
    const double previous = dc.SetTextScale(kWindowLineScale);
    const int height = dc.GetTextExtent(CString(u"0")).cy;
    int y = client.Height() - infoHeight - 1 - height * static_cast<int>(lines.size());
    // Dark on a light caption strip: how a reader (and text recognition) expects a caption.
    if (!lines.empty())
        dc.FillSolidRect(0, y - 1, client.Width(), height * static_cast<int>(lines.size()) + 1,
                         kCaptionColor);
    dc.SetTextColor(kCaptionTextColor);
    dc.SetBkMode(TRANSPARENT);
    for (const CString& line : lines) {
        dc.TextOut(4, y, line);
        y += height;
    }
    dc.SetTextScale(previous);
    dc.SetTextColor(text);
    dc.SetBkColor(back);
    dc.SetBkMode(TRANSPARENT);
    // The bar stands above the two text lines, under the frame.
    CSpctmColorBar::draw(dc, aboveTextLines(dc, client), *m_pRnd,
                         m_pMEGData && m_pTrial ? m_component : -1, unit);
}

int CStatContourMapSpctm3Dzq::setMegSnsKind(int kind) {
    if (kind < kMegAllKinds || kind > kMegAxialGrad)
        return 0;
    m_megSnsKind = kind;
    return 1;
}

std::vector<int> CStatContourMapSpctm3Dzq::getMegSnsKinds() {
    return megSnsKindsOf(updateMEGData() ? m_pTrial : nullptr);
}

std::vector<int> CStatContourMapSpctm3Dzq::megSnsKindsOf(CMDTrialzq* trial) {
    bool seen[3] = {false, false, false};
    for (int i = 0; trial && i < trial->getTotalChannel(); ++i) {
        CMEGSensorzq* sensor =
            trial->getChannel(i) ? trial->getChannel(i)->getMEGSensorzq() : nullptr;
        if (sensor && sensor->getKind() >= 0 && sensor->getKind() < 3)
            seen[sensor->getKind()] = true;
    }
    std::vector<int> kinds;
    for (int k = 0; k < 3; ++k)
        if (seen[k])
            kinds.push_back(k);
    return kinds;
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
    findPairs(trial);
    bool any = false;
    double lo = 0.0, hi = 0.0;
    for (int i = 0; i < count; ++i) {
        CSpctmChnlzq* spctm =
            channels[i] ? channels[i]->getSpctmChnl(false, m_spectralClass) : nullptr;
        double mean = 0.0;
        // A gradiometer pair is fitted by its combined value, as it is coloured.
        if (!checkMegEegSensorVisibility(channels[i], i, -1) || !spctm ||
            (m_pairs.partnerOf(i) >= 0 ? !windowValue(w, trial, i, mean)
                                       : !m_pRnd->autoFitStdViewRng4CrntShowStd(
                                             spctm, m_component, w.t0, w.f0, w.t1, w.f1)))
            continue;
        const double v = std::fabs(m_pairs.partnerOf(i) >= 0 ? mean : m_pRnd->proLowerLimit);
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
    }
    m_pRnd->stdUpper = hi;
    m_pRnd->stdLower = lo;
    return 1;
}

int CStatContourMapSpctm3Dzq::fitColor4Quantity(bool chooseDrawing) {
    if (!m_pRnd)
        return 0;
    if (chooseDrawing) {
        const bool power = m_component == 2 && (m_spectralClass == 0 || m_spectralClass == 1);
        m_pRnd->polarity = power ? 0 : 1;
    }
    if (!autofitColor4SnsWin())
        return 0;
    // The polarity drawing colours magnitudes from 0: the bar runs from -upper to upper.
    if (m_pRnd->polarity != 0)
        m_pRnd->stdLower = 0.0;
    return 1;
}

int CStatContourMapSpctm3Dzq::fitColor4Sweep(long long ticks) {
    if (!m_pRnd || ticks < 1)
        return 0;
    const long long t = m_pRnd->timePos, f = m_pRnd->freqPos;
    bool any = false;
    double lo = 0.0, hi = 0.0;
    for (long long i = 0; i < ticks; ++i) {
        if (!m_pRnd->animateSpctm(m_stepTime, m_stepFreq, m_spectralClass) ||
            !autofitColor4SnsWin())
            break;
        lo = any ? std::min(lo, m_pRnd->stdLower) : m_pRnd->stdLower;
        hi = any ? std::max(hi, m_pRnd->stdUpper) : m_pRnd->stdUpper;
        any = true;
    }
    m_pRnd->timePos = t;
    m_pRnd->freqPos = f;
    if (!any)
        return 0;
    m_pRnd->stdLower = m_pRnd->polarity != 0 ? 0.0 : lo;
    m_pRnd->stdUpper = hi;
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
    findPairs(trial);
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
        querySnsColor(m_buildWin, m_pBuildTrial, channel, nullptr, out.clr);
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
