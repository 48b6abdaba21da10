// The single-channel 3D view: rebuild of the spectrogram surface and its paint paths.
#include "views/CStatOneChnlSpctm3Dzq.h"

#include "dialogs/CDlgM3DRendStates.h"
#include "engine/CM3Dzq.h"
#include "geometry/COneSpctm3DVtx.h"
#include "gfx/ID3D11DeviceContext.h"
#include "recording/CMEGDatazq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CSpctmColorBar.h"
#include "views/CSpctmUnit.h"
#include "views/CViewPicture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <numbers>
#include <vector>

namespace {

constexpr float kInitialViewAngle = -90.0f;
// The opening orientation: the map from above turned anticlockwise by kYawDeg, so that its
// early, low-frequency corner comes nearest, then tipped back by kTiltDeg.
constexpr float kYawDeg = 30.0f;
constexpr float kTiltDeg = 55.0f;
// Share of the scene sphere the surface's bounding sphere fills at least, and of the view's
// width and height its picture fills in the opening and the top view (with axes less, leaving
// room for their labels); at most the bounding sphere reaches to the clipping planes.
constexpr float kSurfaceFill = 0.95f;
constexpr float kPictureWidth = 0.9f, kPictureHeight = 0.9f;
constexpr float kPictureWidthWithAxes = 0.8f, kPictureHeightWithAxes = 0.78f;
constexpr float kMaxFill = 1.9f;
constexpr COLORREF kTextColor = RGB(255, 255, 255);
// The top view looks through a narrow field from far away, so that the map is drawn nearly
// without perspective (tall peaks would lean out over its edges); the scene sphere keeps its
// size on the screen.
constexpr float kTopViewFovDeg = 6.0f;

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

    void add(const double lo3[3], const double hi3[3]) {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], static_cast<float>(lo3[k]));
            hi[k] = std::max(hi[k], static_cast<float>(hi3[k]));
        }
    }

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

// Uniform scale that puts the surface's bounding sphere into the scene sphere, so the whole
// surface is in view whatever its scales and orientation; the scales keep their proportions.
float sphereScale(const Bounds& b, const CM3Dzq& engine, float fill) {
    const float dx = b.hi[0] - b.lo[0], dy = b.hi[1] - b.lo[1], dz = b.hi[2] - b.lo[2];
    const float radius = 0.5f * std::sqrt(dx * dx + dy * dy + dz * dz);
    const float s = radius > 1e-12f ? fill * engine.m_sceneSize / radius : 1.0f;
    return std::isfinite(s) ? s : 1.0f;
}

// Scale s and a move of the box's centre to the scene's. z turns round: with time to the
// right and heights towards the viewer, frequency then rises away from the viewer (upwards
// seen from above), as on a time-frequency map.
void fitModel(const Bounds& b, const CM3Dzq& engine, float s, float model[16]) {
    std::fill(model, model + 16, 0.0f);
    model[0] = model[5] = model[15] = 1.0f;
    model[10] = -1.0f;
    if (!b.any)
        return;
    model[0] = model[5] = s;
    model[10] = -s;
    for (int k = 0; k < 3; ++k)
        model[12 + k] = engine.m_sceneCenter[k] - model[5 * k] * 0.5f * (b.lo[k] + b.hi[k]);
}

// The box's picture through model in normalised device coordinates: lo and hi of x and y;
// false when a corner lies behind the eye.
bool projectBox(const Bounds& b, const CM3Dzq& engine, const float model[16], float lo[2],
                float hi[2]) {
    float wvp[16], wv[16];
    engine.computeWvp(model, wvp, wv);
    lo[0] = lo[1] = 1e30f;
    hi[0] = hi[1] = -1e30f;
    for (int corner = 0; corner < 8; ++corner) {
        const float p[3] = {(corner & 1) ? b.hi[0] : b.lo[0], (corner & 2) ? b.hi[1] : b.lo[1],
                            (corner & 4) ? b.hi[2] : b.lo[2]};
        float c[4];
        for (int i = 0; i < 4; ++i)
            c[i] = wvp[i] * p[0] + wvp[4 + i] * p[1] + wvp[8 + i] * p[2] + wvp[12 + i];
        if (!(c[3] > 1e-9f))
            return false;
        for (int k = 0; k < 2; ++k) {
            lo[k] = std::min(lo[k], c[k] / c[3]);
            hi[k] = std::max(hi[k], c[k] / c[3]);
        }
    }
    return true;
}

// The pixels of the frame that the box's picture covers through model.
CRect screenRect(const Bounds& b, const CM3Dzq& engine, const float model[16]) {
    const int w = engine.getTargetWidth(), h = engine.getTargetHeight();
    float lo[2], hi[2];
    if (!b.any)
        return CRect();
    if (!projectBox(b, engine, model, lo, hi))
        return CRect(0, 0, w, h);
    const auto x = [w](float ndc) { return static_cast<int>((ndc + 1.0f) * 0.5f * w); };
    const auto y = [h](float ndc) { return static_cast<int>((1.0f - ndc) * 0.5f * h); };
    return CRect(x(lo[0]), y(hi[1]), x(hi[0]) + 1, y(lo[1]) + 1);
}

// The share of the view's width and height the box's picture takes at model scale s.
void pictureShare(const Bounds& b, const CM3Dzq& engine, float s, float& width, float& height) {
    float model[16], lo[2], hi[2];
    fitModel(b, engine, s, model);
    if (!projectBox(b, engine, model, lo, hi)) {
        width = height = 2.0f;
        return;
    }
    width = 0.5f * (hi[0] - lo[0]);
    height = 0.5f * (hi[1] - lo[1]);
}

// Rotation by deg degrees about an axis of the eye (x 0, z 2), as an arc-ball quaternion.
void quatAbout(int axis, float deg, float q[4]) {
    const float half = deg * std::numbers::pi_v<float> / 360.0f;
    q[0] = q[1] = q[2] = 0.0f;
    q[axis] = std::sin(half);
    q[3] = std::cos(half);
}

// a then b: the quaternion of b * a.
void quatThen(const float a[4], const float b[4], float out[4]) {
    out[0] = b[3] * a[0] + b[0] * a[3] + b[1] * a[2] - b[2] * a[1];
    out[1] = b[3] * a[1] - b[0] * a[2] + b[1] * a[3] + b[2] * a[0];
    out[2] = b[3] * a[2] + b[0] * a[1] - b[1] * a[0] + b[2] * a[3];
    out[3] = b[3] * a[3] - b[0] * a[0] - b[1] * a[1] - b[2] * a[2];
}

// The arc-ball of the opening orientation.
void obliqueQuat(float q[4]) {
    float yaw[4], tilt[4];
    quatAbout(2, kYawDeg, yaw);
    quatAbout(0, -kTiltDeg, tilt);
    quatThen(yaw, tilt, q);
}

// Model scales at which the box fills the view in the opening and in the top view (each at
// least the one that keeps its bounding sphere in the scene sphere, at most the one that keeps
// it within the clipping planes), measured with the engine's orientation put back after.
struct FillScales {
    float oblique;
    float top;
};

FillScales fillScales(const Bounds& b, CM3Dzq& engine, bool axes, float openFov) {
    const float least = sphereScale(b, engine, kSurfaceFill);
    const float most = sphereScale(b, engine, kMaxFill);
    const float shareW = axes ? kPictureWidthWithAxes : kPictureWidth;
    const float shareH = axes ? kPictureHeightWithAxes : kPictureHeight;
    CTRSmArchBallzq& ball = engine.m_archBall;
    const CTRSmArchBallzq kept = ball;
    const float keptAngle = engine.m_viewAngle;
    const float keptFov = engine.m_camera.m_fovYDeg;
    engine.m_viewAngle = kInitialViewAngle;
    float scales[2] = {most, most};
    for (int view = 0; view < 2; ++view) {
        ball.reset();
        if (view == 0)
            obliqueQuat(ball.m_quat);
        engine.m_camera.m_fovYDeg = view == 0 ? openFov : kTopViewFovDeg;
        float w = 0.0f, h = 0.0f;
        pictureShare(b, engine, least, w, h);
        if (w > 0.0f && h > 0.0f)
            scales[view] = std::clamp(least * std::min(shareW / w, shareH / h), least, most);
    }
    ball = kept;
    engine.m_viewAngle = keptAngle;
    engine.m_camera.m_fovYDeg = keptFov;
    return {scales[0], scales[1]};
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
    int drawn = 0;
    if (r.standardMode) {
        if (r.polarity)
            drawn = r.drawOneSpctmColumn2PolarityValue(m_pVtx, rc, m_spectralClass, m_component);
        else
            drawn = r.drawOneSpctmColumn01AbsoluteValue(m_pVtx, rc, m_spectralClass, m_component);
    } else if (r.proDisplayMode == 0 || r.proDisplayMode == 1) {
        drawn = r.drawOneSpctmColumnWindView(m_pVtx, rc, m_spectralClass, m_component);
    } else {
        drawn = r.drawOneSpctmColumnPeakView(m_pVtx, rc, m_spectralClass, m_component);
    }
    keepGrid(drawn);
    fitSurfaceToScene();
    return 1;
}

void CStatOneChnlSpctm3Dzq::keepGrid(int drawn) {
    if (!drawn)
        return;
    const CMEGSpctm3DRndzq& r = *m_pRnd;
    // The absolute and window views leave out the first row and column of the grid and draw
    // row t where the others draw row t - 1.
    const bool skipsFirst =
        r.standardMode ? r.polarity == 0 : (r.proDisplayMode == 0 || r.proDisplayMode == 1);
    const long long shift = skipsFirst ? 1 : 0;
    const long long n = m_pVtx->timePoints, m = m_pVtx->freqPoints;
    CSpctmAxes3D::Grid g;
    g.tFirst = shift;
    g.tLast = n - 2;
    g.fFirst = shift;
    g.fLast = m - 1;
    g.dx = r.scaleTime;
    g.dz = r.scaleFreq;
    g.dy = r.scaleValue;
    g.x0 = static_cast<double>(-(n / 2)) * g.dx;
    g.z0 = static_cast<double>(-(m / 2)) * g.dz;
    m_grid = g;
    Bounds b;
    b.add(m_pVtx->combined);
    m_heightLow = b.any ? b.lo[1] : 0.0;
    m_heightHigh = b.any ? b.hi[1] : 0.0;
}

void CStatOneChnlSpctm3Dzq::fitSurfaceToScene() {
    if (!m_pVtx || !m_pM3D)
        return;
    Bounds b;
    b.add(m_pVtx->combined);
    for (long long s = 0; s < m_pVtx->stripCount; ++s)
        b.add(m_pVtx->strips[s]);
    if (m_axesOn && b.any && m_grid.valid()) {
        const CSpctmAxes3D::Box box = CSpctmAxes3D::boxFor(m_grid, m_heightLow, m_heightHigh);
        b.add(box.lo, box.hi);
    }
    // One scale for both views; the top view zooms in to fill the view with the map.
    const FillScales fill =
        b.any ? fillScales(b, *m_pM3D, m_axesOn, m_openFov) : FillScales{1.0f, 1.0f};
    const float scale = std::min(fill.oblique, fill.top);
    m_topZoom = fill.top / scale;
    float model[16];
    fitModel(b, *m_pM3D, scale, model);
    m_fittedSize = CSize(m_pM3D->getTargetWidth(), m_pM3D->getTargetHeight());
    m_fittedRect = screenRect(b, *m_pM3D, model);
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
        // A view of another shape fits the surface again.
        if (m_fittedSize != CSize(m_pM3D->getTargetWidth(), m_pM3D->getTargetHeight()))
            fitSurfaceToScene();
        return 1;
    }
    CWnd* owner = m_pOwner ? m_pOwner : (m_pCbfOwner ? m_pCbfOwner : GetParent());
    if (!snsSrc3Dinit(owner))
        return 0;
    if (m_pM3D) {
        m_openFov = m_pM3D->m_camera.m_fovYDeg;
        m_pM3D->m_viewAngle = kInitialViewAngle;
        setObliqueView();
    }
    m_bScene3DInit = 1;
    // A surface built before the scene existed is fitted to it now.
    fitSurfaceToScene();
    return 1;
}

void CStatOneChnlSpctm3Dzq::setObliqueView() {
    // Straight down a surface shows colours but not heights: it opens turned and tipped
    // towards the viewer; Escape and the top view return to the map from above.
    if (!m_pM3D)
        return;
    m_pM3D->resetWorldArchBall();
    m_pM3D->m_viewAngle = kInitialViewAngle;
    obliqueQuat(m_pM3D->m_archBall.m_quat);
    m_hasBeforeTop = false;
}

bool CStatOneChnlSpctm3Dzq::isTopView() const {
    if (!m_pM3D)
        return false;
    const CTRSmArchBallzq& ball = m_pM3D->m_archBall;
    return m_pM3D->m_viewAngle == kInitialViewAngle && std::fabs(ball.m_quat[3]) > 1.0f - 1e-6f;
}

void CStatOneChnlSpctm3Dzq::toggleTopView() {
    if (!m_pM3D)
        return;
    CTRSmArchBallzq& ball = m_pM3D->m_archBall;
    if (!isTopView()) {
        m_beforeTop = {{ball.m_quat[0], ball.m_quat[1], ball.m_quat[2], ball.m_quat[3]},
                       ball.m_zoom,
                       {ball.m_pan[0], ball.m_pan[1]},
                       m_pM3D->m_viewAngle};
        m_hasBeforeTop = true;
        m_pM3D->resetWorldArchBall();
        m_pM3D->m_viewAngle = kInitialViewAngle;
        ball.zoomBy(m_topZoom);
    } else if (m_hasBeforeTop) {
        std::copy(m_beforeTop.quat, m_beforeTop.quat + 4, ball.m_quat);
        ball.m_zoom = m_beforeTop.zoom;
        std::copy(m_beforeTop.pan, m_beforeTop.pan + 2, ball.m_pan);
        m_pM3D->m_viewAngle = m_beforeTop.viewAngle;
        m_hasBeforeTop = false;
    } else {
        setObliqueView();
    }
    Invalidate(FALSE);
}

void CStatOneChnlSpctm3Dzq::showAxes(bool on) {
    m_axesOn = on;
    fitSurfaceToScene();
    Invalidate(FALSE);
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
    if (!GetSafeHwnd() || !IsWindowVisible())
        return;
    CRect client;
    GetClientRect(&client);
    if (client.Size() != m_bandClient) {
        m_bandClient = client.Size();
        setFrameMarginBottom(0);
    }
    if (!checkInitScene())
        return;
    // A surface that would reach under the colour bar (small windows) leaves the bar a band of
    // its own under the frame and is fitted again above it.
    const CRect bar = m_colorBar ? CSpctmColorBar::area(dc, client) : CRect();
    CRect common;
    if (getFrameMarginBottom() == 0 && !bar.IsRectEmpty() &&
        common.IntersectRect(m_fittedRect, bar)) {
        setFrameMarginBottom(client.bottom - bar.top + 2);
        checkInitScene();
    }
    renderFrame(dc);
    if (m_pM3D && getFrameMarginBottom() > 0) {
        const float* bg = m_pM3D->m_bgColor;
        dc.FillSolidRect(
            CRect(client.left, frameRect().bottom, client.right, client.bottom),
            RGB(std::lround(255 * bg[0]), std::lround(255 * bg[1]), std::lround(255 * bg[2])));
    }
    // The presented frame lies under what is drawn now.
    drawOverlays(dc);
}

void CStatOneChnlSpctm3Dzq::renderFrame(CDC& dc) {
    m_pM3D->m_camera.m_fovYDeg = isTopView() ? kTopViewFovDeg : m_openFov;
    m_pM3D->rendB();
    m_pM3D->setOutmergVtxColor1(vertexColorMode, 1);
    if (drawCombined)
        drawJoined();
    else
        rendSpctmStrips();
    layoutAxes(dc);
    m_pM3D->rendE();
    m_pM3D->show(-1, nullptr);
    m_pM3D->releaseTargetSCB(0);
}

int CStatOneChnlSpctm3Dzq::savePicture(const char* path, int scale) {
    return CViewPicture::save(
        *this, [this] { return checkInitScene() != 0; },
        [this] {
            // The frame alone: labels are measured, not drawn.
            CDC measure;
            renderFrame(measure);
        },
        path, scale);
}

CMEGDatazq* CStatOneChnlSpctm3Dzq::shownSession() const {
    return m_pRnd && m_pRnd->session ? m_pRnd->session : m_pMEGData;
}

CMDTrialzq* CStatOneChnlSpctm3Dzq::shownTrial() const {
    return m_pRnd && m_pRnd->trial ? m_pRnd->trial : m_pTrial;
}

CString CStatOneChnlSpctm3Dzq::valueUnit() {
    CMEGDatazq* session = shownSession();
    CMDTrialzq* trial = shownTrial();
    if (!session || !trial)
        return CString();
    if (m_pRnd && m_pRnd->showSource != 0)
        return CSpctmUnit::ofChannels(*session, *trial, -1, m_spectralClass, m_component);
    CMDChannelzq* ch = trial->getChannel(-1);
    return ch ? CSpctmUnit::ofChannel(*session, *ch, m_spectralClass, m_component) : CString();
}

CString CStatOneChnlSpctm3Dzq::ownSpectrumLabel(CMDChannelzq* channel) {
    return channel && channel->getChannelType() == CMDChannelzq::EegElectrode
               ? CString(u"EEG Electrode")
               : CString(kSourceLabels[0]);
}

int CStatOneChnlSpctm3Dzq::shownComponent() const {
    return shownSession() && shownTrial() ? m_component : -1;
}

CString CStatOneChnlSpctm3Dzq::valueTitle() {
    return shownSession() && shownTrial() ? CSpctmUnit::valueTitle(m_component, valueUnit())
                                          : CString();
}

void CStatOneChnlSpctm3Dzq::layoutAxes(CDC& dc) {
    m_axes.clear();
    const bool surfaceDrawn =
        m_pVtx && (drawCombined ? m_pVtx->combined.m_nVtx >= 3 : m_pVtx->stripCount > 0);
    CMDTrialzq* trial = shownTrial();
    CSpctmTrialzq* st = trial ? trial->getSpctmTrial(false, m_spectralClass) : nullptr;
    if (!m_axesOn || !m_pRnd || !surfaceDrawn || !m_grid.valid() || !st)
        return;
    CRect client;
    GetClientRect(&client);
    // Labels keep clear of the colour bar and the information line.
    std::vector<CRect> taken;
    if (m_colorBar)
        taken.push_back(CSpctmColorBar::area(dc, client));
    if (m_pRnd->showInfo)
        taken.push_back(infoLineRect(dc, client));
    const float* model = m_pVtx->combined.m_model;
    m_axes.layout(m_grid, m_heightLow, m_heightHigh, *st, shownComponent(), valueUnit(), *m_pM3D,
                  model, dc, taken);
    m_axes.drawLines(*m_pM3D, model);
}

void CStatOneChnlSpctm3Dzq::drawOverlays(CDC& dc) {
    if (!m_pRnd)
        return;
    CRect client;
    GetClientRect(&client);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kTextColor);
    m_axes.drawLabels(dc);
    if (m_colorBar)
        CSpctmColorBar::draw(dc, client, *m_pRnd, shownComponent(), valueUnit());
    if (m_pRnd->showInfo)
        drawInfoLine(dc, client);
}

CRect CStatOneChnlSpctm3Dzq::infoLineRect(CDC& dc, const CRect& client) {
    const int height = dc.GetTextExtent(CString(u"0")).cy;
    return CRect(client.left, client.top, client.right, client.top + 6 + height + 2);
}

void CStatOneChnlSpctm3Dzq::drawInfoLine(CDC& dc, const CRect& client) {
    dc.TextOut(client.left + 8, client.top + 6, infoLine());
}

CString CStatOneChnlSpctm3Dzq::infoLine() {
    if (!m_pRnd)
        return CString();
    CString channel = u"no channel";
    CString source = labelOf(kSourceLabels, m_pRnd->showSource);
    double ms = 0.0, hz = 0.0, ms1 = 0.0, hz1 = 0.0;
    if (CMDTrialzq* trial = shownTrial()) {
        CMDChannelzq* ch = trial->getChannel(-1);
        if (ch)
            channel = CString(ch->label);
        if (m_pRnd->showSource == 0)
            source = ownSpectrumLabel(ch);
        if (CSpctmTrialzq* st = trial->getSpctmTrial(false, m_spectralClass)) {
            st->getTrialSpctmTime2LatencyMsec(m_pRnd->linkTime, m_pRnd->linkTime, ms, ms1);
            st->getTrialSpctmGivenFreqID4Hz(m_pRnd->linkFreq, m_pRnd->linkFreq, hz, hz1);
        }
    }
    CString line;
    line.Format(u"%s  |  %s  |  %s  |  %s  |  %.0f ms, %.1f Hz", channel,
                labelOf(kClassLabels, m_spectralClass), labelOf(kComponentLabels, m_component),
                source, ms, hz);
    const CString title = valueTitle();
    if (!title.IsEmpty())
        line += CString(u"  |  ") + title;
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
