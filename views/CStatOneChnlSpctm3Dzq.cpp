// The single-channel 3D view: rebuild of the spectrogram surface and its paint paths.
#include "views/CStatOneChnlSpctm3Dzq.h"

#include "dialogs/CDlgM3DRendStates.h"
#include "engine/CM3Dzq.h"
#include "geometry/COneSpctm3DVtx.h"
#include "gfx/ID3D11DeviceContext.h"
#include "recording/CMEGDatazq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CSpctmColorBar.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

namespace {

constexpr float kInitialViewAngle = -90.0f;
constexpr float kInitialTiltDeg = 30.0f;
// Share of the scene sphere the surface's bounding sphere fills.
constexpr float kSurfaceFill = 0.95f;

const char16_t* const kClassLabels[] = {u"Active", u"Control", u"Act-Ctl"};
const char16_t* const kComponentLabels[] = {u"Real Data", u"Imag Data", u"Power/Phase"};
const char16_t* const kSourceLabels[] = {
    u"MEG Sensor",       u"Group Mean",       u"Group Min",       u"Group Max",
    u"Average Positive", u"Average Negative", u"Root-Mean-Square"};

template <std::size_t N>
const char16_t* labelOf(const char16_t* const (&labels)[N], int i) {
    return i >= 0 && static_cast<std::size_t>(i) < N ? labels[i] : u"?";
}

// Bounds of the finite positions of a buffer's vertices.
struct Bounds {
    float lo[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                   std::numeric_limits<float>::max()};
    float hi[3] = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                   std::numeric_limits<float>::lowest()};
    bool any = false;

    void add(const CMVBzq& vb) {
        if (!vb.m_pVtx)
            return;
        const long long n = std::min(vb.m_nVtx, vb.m_nVtxCapacity);
        for (long long i = 0; i < n; ++i) {
            const float* p = vb.m_pVtx[i].pos;
            if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]))
                continue;
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], p[k]);
                hi[k] = std::max(hi[k], p[k]);
            }
            any = true;
        }
    }
};

// Uniform scale and move that put the surface's bounding sphere into the scene sphere, so the
// whole surface is in view whatever its scales; the scales keep their proportions.
void fitModel(const Bounds& b, const CM3Dzq& engine, float model[16]) {
    std::fill(model, model + 16, 0.0f);
    model[0] = model[5] = model[10] = model[15] = 1.0f;
    if (!b.any)
        return;
    const float dx = b.hi[0] - b.lo[0], dy = b.hi[1] - b.lo[1], dz = b.hi[2] - b.lo[2];
    const float radius = 0.5f * std::sqrt(dx * dx + dy * dy + dz * dz);
    const float s = radius > 1e-12f ? kSurfaceFill * engine.m_sceneSize / radius : 1.0f;
    if (!std::isfinite(s))
        return;
    model[0] = model[5] = model[10] = s;
    for (int k = 0; k < 3; ++k)
        model[12 + k] = engine.m_sceneCenter[k] - s * 0.5f * (b.lo[k] + b.hi[k]);
}

} // namespace

IMPLEMENT_DYNAMIC(CStatOneChnlSpctm3Dzq, CStatD3DMzq)

BEGIN_MESSAGE_MAP(CStatOneChnlSpctm3Dzq, CStatD3DMzq)
ON_WM_PAINT()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CStatOneChnlSpctm3Dzq::CStatOneChnlSpctm3Dzq() = default;

CStatOneChnlSpctm3Dzq::~CStatOneChnlSpctm3Dzq() {
    CDlgM3DRendStates::forgetView(this);
    deleteVertexGrid();
}

BOOL CStatOneChnlSpctm3Dzq::PreTranslateMessage(MSG* pMsg) {
    return CWnd::PreTranslateMessage(pMsg);
}

void CStatOneChnlSpctm3Dzq::deleteVertexGrid() {
    delete m_pVtx;
    m_pVtx = nullptr;
}

void CStatOneChnlSpctm3Dzq::relayOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT ignored = 0;
    OnWndMsg(message, wParam, lParam, &ignored);
}

int CStatOneChnlSpctm3Dzq::updateSpctmSurface() {
    // Nothing to rebuild from without a renderer or a grid; the surface stays as it was.
    if (!m_pRnd || !m_pVtx)
        return 1;
    CRect rc;
    if (GetSafeHwnd())
        GetClientRect(&rc);
    CMEGSpctm3DRndzq& r = *m_pRnd;
    if (r.standardMode) {
        if (r.polarity)
            r.drawOneSpctmColumn2PolarityValue(m_pVtx, rc, m_spectralClass, m_component);
        else
            r.drawOneSpctmColumn01AbsoluteValue(m_pVtx, rc, m_spectralClass, m_component);
    } else if (r.proDisplayMode == 0 || r.proDisplayMode == 1) {
        r.drawOneSpctmColumnWindView(m_pVtx, rc, m_spectralClass, m_component);
    } else {
        r.drawOneSpctmColumnPeakView(m_pVtx, rc, m_spectralClass, m_component);
    }
    fitSurfaceToScene();
    return 1;
}

void CStatOneChnlSpctm3Dzq::fitSurfaceToScene() {
    if (!m_pVtx || !m_pM3D)
        return;
    Bounds b;
    b.add(m_pVtx->combined);
    for (long long s = 0; s < m_pVtx->stripCount; ++s)
        b.add(m_pVtx->strips[s]);
    float model[16];
    fitModel(b, *m_pM3D, model);
    std::copy(model, model + 16, m_pVtx->combined.m_model);
    for (long long s = 0; s < m_pVtx->stripCount; ++s)
        std::copy(model, model + 16, m_pVtx->strips[s].m_model);
}

int CStatOneChnlSpctm3Dzq::checkCreateVertexGrid() {
    if (!m_pVtx)
        m_pVtx = new (std::nothrow) COneSpctm3DVtx();
    return m_pVtx ? 1 : 0;
}

int CStatOneChnlSpctm3Dzq::checkInitScene() {
    if (m_bScene3DInit && m_pM3D) {
        checkTargetSize();
        return 1;
    }
    CWnd* owner = m_pOwner ? m_pOwner : (m_pCbfOwner ? m_pCbfOwner : GetParent());
    if (!snsSrc3Dinit(owner))
        return 0;
    if (m_pM3D) {
        m_pM3D->m_viewAngle = kInitialViewAngle;
        tiltTowardsViewer();
    }
    m_bScene3DInit = 1;
    // A surface built before the scene existed is fitted to it now.
    fitSurfaceToScene();
    return 1;
}

void CStatOneChnlSpctm3Dzq::tiltTowardsViewer() {
    // Straight down a surface shows colours but not heights: it opens tilted towards the viewer
    // (the arc-ball turns 180 degrees per view height); Escape returns to the view from above.
    m_pM3D->resetWorldArchBall();
    const float w = static_cast<float>(m_pM3D->getTargetWidth());
    const float h = static_cast<float>(m_pM3D->getTargetHeight());
    m_pM3D->m_archBall.rotateByMouse(0.0f, -h * kInitialTiltDeg / 180.0f, w, h);
}

void CStatOneChnlSpctm3Dzq::setShading() {
    m_pM3D->m_light.constBufPxlShadUpdate();
    m_mat.m_pM3D = m_pM3D;
    m_mat.ConstBufPxlShadMake();
    m_mat.constBufPxlShadRenderSet();
}

void CStatOneChnlSpctm3Dzq::drawBuffer(CMVBzq& vb) {
    ID3D11DeviceContext* ctx = m_pM3D->getImmediateContext();
    vb.m_pM3D = m_pM3D;
    if (!vb.makeContent())
        return;
    vb.bindForDraw();
    ctx->Draw(static_cast<unsigned>(vb.m_nVtx), 0);
}

void CStatOneChnlSpctm3Dzq::drawJoined() {
    if (!m_pVtx) {
        if (!checkCreateVertexGrid())
            return;
        updateSpctmSurface();
    }
    if (m_pVtx->combined.m_nVtx == 0) {
        m_pVtx->combineVb4Spctm();
        return;
    }
    if (!m_pVtx->combined.getBufPtr())
        return;
    if (!m_pMEGData && (!checkGetNewMEGData() || !m_pMEGData))
        return;
    setShading();
    m_pM3D->getImmediateContext()->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    m_pVtx->setEngine(m_pM3D);
    m_pVtx->combined.updateCnstBuf4Wvp(1);
    if (m_pVtx->combined.m_nVtx >= 3)
        drawBuffer(m_pVtx->combined);
}

int CStatOneChnlSpctm3Dzq::rendSpctmStrips() {
    if (!m_pM3D)
        return 0;
    if (!m_pMEGData && (!checkGetNewMEGData() || !m_pMEGData))
        return 0;
    if (m_pVtx && m_pVtx->stripCount < 1)
        return 0;
    setShading();
    if (!checkCreateVertexGrid())
        return 0;
    m_pVtx->setEngine(m_pM3D);
    updateSpctmSurface();
    // A rebuild that leaves no strip draws nothing.
    if (m_pVtx->stripCount < 1 || !m_pVtx->strips)
        return 0;
    m_pVtx->strips[0].updateCnstBuf4Wvp(1);
    m_pM3D->getImmediateContext()->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    for (long long s = 0; s < m_pVtx->stripCount; ++s)
        if (m_pVtx->strips[s].m_nVtx >= 3)
            drawBuffer(m_pVtx->strips[s]);
    return 1;
}

void CStatOneChnlSpctm3Dzq::OnPaint() {
    CPaintDC dc(this);
    if (!GetSafeHwnd() || !IsWindowVisible() || !checkInitScene()) {
        return;
    }
    m_pM3D->rendB();
    m_pM3D->setOutmergVtxColor1(vertexColorMode, 1);
    if (drawCombined)
        drawJoined();
    else
        rendSpctmStrips();
    m_pM3D->rendE();
    m_pM3D->show(-1, nullptr);
    m_pM3D->releaseTargetSCB(0);
    // The presented frame lies under what is drawn now.
    drawOverlays(dc);
}

void CStatOneChnlSpctm3Dzq::drawOverlays(CDC& dc) {
    if (!m_pRnd)
        return;
    CRect client;
    GetClientRect(&client);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 255, 255));
    if (m_colorBar)
        CSpctmColorBar::draw(dc, client, *m_pRnd);
    if (m_pRnd->showInfo)
        dc.TextOut(client.left + 8, client.top + 6, infoLine());
}

CString CStatOneChnlSpctm3Dzq::infoLine() {
    if (!m_pRnd)
        return CString();
    CString channel = u"no channel";
    double ms = 0.0, hz = 0.0, ms1 = 0.0, hz1 = 0.0;
    if (m_pTrial) {
        if (CMDChannelzq* ch = m_pTrial->getChannel(-1))
            channel = CString(ch->label);
        if (CSpctmTrialzq* st = m_pTrial->getSpctmTrial(false, m_spectralClass)) {
            st->getTrialSpctmTime2LatencyMsec(m_pRnd->linkTime, m_pRnd->linkTime, ms, ms1);
            st->getTrialSpctmGivenFreqID4Hz(m_pRnd->linkFreq, m_pRnd->linkFreq, hz, hz1);
        }
    }
    CString line;
    line.Format(u"%s  |  %s  |  %s  |  %s  |  %.0f ms, %.1f Hz", channel,
                labelOf(kClassLabels, m_spectralClass), labelOf(kComponentLabels, m_component),
                labelOf(kSourceLabels, m_pRnd->showSource), ms, hz);
    return line;
}

void CStatOneChnlSpctm3Dzq::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // Keys do nothing while the class has no spectrum in the trial.
    if (updateMEGData() && m_pRnd && m_pTrial && !m_pTrial->getSpctmTrial(false, m_spectralClass))
        return;
    CStatD3DMzq::OnKeyDown(nChar, nRepCnt, nFlags);
}

bool CStatOneChnlSpctm3Dzq::passMouseToParent(UINT message, UINT nFlags, CPoint point) {
    CWnd* parent = GetParent();
    if (!parent || !parent->GetSafeHwnd())
        return false;
    ClientToScreen(&point);
    parent->ScreenToClient(&point);
    parent->SendMessage(message, nFlags,
                        MAKELPARAM(static_cast<unsigned>(point.x), static_cast<unsigned>(point.y)));
    return true;
}

void CStatOneChnlSpctm3Dzq::OnLButtonDown(UINT nFlags, CPoint point) {
    if (!passMouseToParent(WM_LBUTTONDOWN, nFlags, point))
        CStatD3DMzq::OnLButtonDown(nFlags, point);
}

void CStatOneChnlSpctm3Dzq::OnLButtonUp(UINT nFlags, CPoint point) {
    if (!passMouseToParent(WM_LBUTTONUP, nFlags, point))
        CStatD3DMzq::OnLButtonUp(nFlags, point);
}

void CStatOneChnlSpctm3Dzq::OnMouseMove(UINT nFlags, CPoint point) {
    if (!passMouseToParent(WM_MOUSEMOVE, nFlags, point))
        CStatD3DMzq::OnMouseMove(nFlags, point);
}
