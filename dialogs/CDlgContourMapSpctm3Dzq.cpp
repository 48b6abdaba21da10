// The contour-map window: handlers of its controls, menu, mouse and animation timer.
#include "dialogs/CDlgContourMapSpctm3Dzq.h"

#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "facade/CVelmoraFacezq.h"
#include "recording/CMEGDatazq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CViewPicture.h"

#include <algorithm>
#include <cmath>

namespace {

// Pixels of drag per time or frequency index in window-move mode.
constexpr int kPixelsPerIndex = 2;

} // namespace

IMPLEMENT_DYNAMIC(CDlgContourMapSpctm3Dzq, CDlgContourMapSpctm3D)

BEGIN_MESSAGE_MAP(CDlgContourMapSpctm3Dzq, CDlgContourMapSpctm3D)
ON_WM_SIZE()
ON_BN_CLICKED(IDC_CM_APPLY, OnBnClickedApply)
ON_EN_CHANGE(IDC_CM_WINWIDTH, OnEnChangeValue)
ON_EN_CHANGE(IDC_CM_WINHEIGHT, OnEnChangeValue)
ON_EN_CHANGE(IDC_CM_STEPX, OnEnChangeValue)
ON_EN_CHANGE(IDC_CM_STEPY, OnEnChangeValue)
ON_EN_CHANGE(IDC_CM_SPEED, OnEnChangeValue)
ON_BN_CLICKED(IDC_CM_AUTOFITCOLOR, OnBnClickedAutofitColor)
ON_BN_CLICKED(IDC_CM_AUTOFITPLACE, OnBnClickedApply)
ON_BN_CLICKED(IDC_CM_SENSORACT, OnBnClickedApply)
ON_BN_CLICKED(IDC_CM_MARKSELECT, OnBnClickedApply)
ON_BN_CLICKED(IDC_CM_SENSORS, OnBnClickedSensors)
ON_BN_CLICKED(IDC_CM_CONTOURMAP, OnBnClickedContour)
ON_BN_CLICKED(IDC_CM_CONTOURACT, OnBnClickedContour)
ON_COMMAND_RANGE(ID_CM_ZOOM, ID_CM_NORMAL, OnViewCommand)
ON_COMMAND(ID_CM_PICKSENSOR, OnPickSensor)
ON_COMMAND_RANGE(ID_CM_SNS_ALL, ID_CM_SNS_AXIAL, OnSensorKind)
ON_COMMAND(ID_CM_SAVEPICTURE, OnSavePicture)
ON_COMMAND(ID_CM_SAVEPICTURE2X, OnSavePicture2x)
ON_BN_CLICKED(IDC_CM_SETTINGS, OnBnClickedSettings)
ON_BN_CLICKED(IDC_CM_RESET, OnBnClickedReset)
ON_BN_CLICKED(IDC_CM_UPDATE, OnBnClickedUpdate)
ON_BN_CLICKED(IDC_CM_ANIMATE, OnBnClickedAnimate)
ON_BN_CLICKED(IDC_CM_MOVE, OnBnClickedMove)
ON_CBN_SELCHANGE(IDC_CM_COMPONENT, OnCbnSelchangeComponent)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_WM_SETCURSOR()
ON_WM_TIMER()
END_MESSAGE_MAP()

CDlgContourMapSpctm3Dzq::CDlgContourMapSpctm3Dzq() = default;

CDlgContourMapSpctm3Dzq::~CDlgContourMapSpctm3Dzq() {
    // The window (and its timer) goes before the member view and menu it uses.
    DestroyWindow();
}

BOOL CDlgContourMapSpctm3Dzq::createWnd() {
    return Create(IDD_SPCTM_CONTOURMAP_3D, nullptr);
}

BOOL CDlgContourMapSpctm3Dzq::OnInitDialog() {
    m_showingValues = true;
    CDialogEx::OnInitDialog();
    m_showingValues = false;
    m_view.m_pOwner = this;
    m_cmbComponent.ResetContent();
    for (const char16_t* s : {u"Real Data", u"Imag Data", u"Power/Phase"})
        m_cmbComponent.AddString(s);
    m_cmbComponent.SetCurSel(m_component);
    if (m_menu.LoadMenu(IDR_MENU_CONTOURMAP))
        SetMenu(&m_menu);
    return TRUE;
}

CString CDlgContourMapSpctm3Dzq::titleForClass() const {
    switch (m_spectralClass) {
    case 0:
        return u"Spectral 3D  Contourmap: Active  time window";
    case 1:
        return u"Spectral 3D Contourmap: Control time window";
    case 2:
        return u"Spectral 3D Contourmap: Mix of Active/Control time windows";
    default:
        return u"Spectral 3D Contourmap:Unknown spectral class";
    }
}

void CDlgContourMapSpctm3Dzq::repaintView(BOOL erase) {
    if (m_view.GetSafeHwnd())
        m_view.Invalidate(erase);
}

void CDlgContourMapSpctm3Dzq::channelTypeError() {
    MessageBox(u"Channel type error!");
}

int* CDlgContourMapSpctm3Dzq::sensorsShownSwitch() {
    CMEGDatazq* s = m_view.m_pMEGData;
    if (!s)
        return nullptr;
    if (m_view.m_chnType == CStatD3DM::kChnMeg)
        return &s->megSnsShown;
    if (m_view.m_chnType == CStatD3DM::kChnEeg)
        return &s->eegEltShown;
    return nullptr;
}

void CDlgContourMapSpctm3Dzq::setDataComponent(int component) {
    m_component = component;
    m_view.m_component = component;
    if (m_cmbComponent.GetSafeHwnd())
        m_cmbComponent.SetCurSel(component);
}

int CDlgContourMapSpctm3Dzq::updateDlg4View() {
    m_spectralClass = m_view.m_spectralClass;
    m_component = m_view.m_component;
    m_cmbComponent.SetCurSel(m_component);
    const int type = m_view.m_chnType;
    if (type != CStatD3DM::kChnMeg && type != CStatD3DM::kChnEeg)
        channelTypeError();
    else if (int* shown = sensorsShownSwitch()) {
        m_sensors = *shown;
        m_mark = type == CStatD3DM::kChnMeg ? m_view.m_markOn : m_view.m_eegMark;
    }
    m_autofitColor = m_view.m_autofitColor;
    m_autofitPlace = m_view.m_autofitPlace;
    m_snsActivity = m_view.m_snsActivity;
    m_contourmap = m_view.m_cntmpOn;
    m_contourColor = m_view.m_cntmpColorOn;
    m_title = titleForClass();
    SetWindowText(m_title);
    int ok = 0;
    if (m_view.updateMEGData()) {
        m_view.autofitColor4SnsWin();
        ok = m_view.m_pTrial && m_view.m_pTrial->getSpctmTrial(false, m_spectralClass) ? 1 : 0;
    }
    showValues();
    showSensorKinds();
    return ok;
}

int CDlgContourMapSpctm3Dzq::setSensorKind(int kind) {
    const std::vector<int> kinds = m_view.getMegSnsKinds();
    if (kind != CStatD3DM00MEGData::kMegAllKinds &&
        std::find(kinds.begin(), kinds.end(), kind) == kinds.end())
        return 0;
    m_view.setMegSnsKind(kind);
    m_view.fitColor4Quantity(false);
    showSensorKinds();
    repaintView(FALSE);
    return 1;
}

void CDlgContourMapSpctm3Dzq::showSensorKinds() {
    const std::vector<int> kinds = m_view.getMegSnsKinds();
    const bool meg = m_view.m_chnType == CStatD3DM::kChnMeg;
    for (int kind = CStatD3DM00MEGData::kMegAllKinds; kind <= CStatD3DM00MEGData::kMegAxialGrad;
         ++kind) {
        const UINT id = static_cast<UINT>(ID_CM_SNS_MAG + kind);
        const bool present = kind == CStatD3DM00MEGData::kMegAllKinds ||
                             std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
        m_menu.EnableMenuItem(id, MF_BYCOMMAND | (meg && present ? MF_ENABLED : MF_GRAYED));
        m_menu.CheckMenuItem(
            id, MF_BYCOMMAND | (meg && m_view.m_megSnsKind == kind ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CDlgContourMapSpctm3Dzq::OnSensorKind(UINT id) {
    setSensorKind(static_cast<int>(id) - ID_CM_SNS_MAG);
}

int CDlgContourMapSpctm3Dzq::applyDlg2View() {
    UpdateData(TRUE);
    m_view.m_spectralClass = m_spectralClass;
    m_view.m_component = m_component;
    m_view.m_autofitColor = m_autofitColor;
    m_view.m_autofitPlace = m_autofitPlace;
    m_view.m_snsActivity = m_snsActivity;
    m_view.m_cntmpOn = m_contourmap;
    m_view.m_cntmpColorOn = m_contourColor;
    if (m_view.m_pMEGData) {
        if (int* shown = sensorsShownSwitch()) {
            *shown = m_sensors;
            (m_view.m_chnType == CStatD3DM::kChnMeg ? m_view.m_markOn : m_view.m_eegMark) = m_mark;
        } else {
            channelTypeError();
        }
    }
    return m_view.updateMEGData() && m_view.m_pTrial->getSpctmTrial(false, m_spectralClass) ? 1 : 0;
}

void CDlgContourMapSpctm3Dzq::OnBnClickedApply() {
    applyDlg2View();
    repaintView(TRUE);
}

void CDlgContourMapSpctm3Dzq::OnEnChangeValue() {
    if (!m_showingValues)
        OnBnClickedApply();
}

void CDlgContourMapSpctm3Dzq::showValues() {
    // Each edit set here notifies a change, whose handler must not read the others back
    // while they still show the old values.
    m_showingValues = true;
    UpdateData(FALSE);
    m_showingValues = false;
}

void CDlgContourMapSpctm3Dzq::OnBnClickedAutofitColor() {
    UpdateData(TRUE);
    if (!m_autofitColor)
        return;
    CMEGSpctm3DRndzq* rnd = m_view.m_pRnd;
    if (!m_view.updateMEGData() || !rnd || !m_view.m_pTrial->getSpctmTrial(false, m_spectralClass))
        return;
    double minimum = 0.0, maximum = 0.0, third = 0.0;
    m_view.m_pTrial->getSpctmRangeAllChann(&minimum, &maximum, &third, 1, m_spectralClass,
                                           m_component);
    if (!(maximum - minimum > 0.0)) {
        MessageBox(u"Spectral data range error!");
        return;
    }
    const double m = minimum > 0.0 ? minimum : 0.0;
    const double top = std::max(std::fabs(maximum), std::fabs(minimum));
    rnd->stdUpper = m + (top - m) * 0.5;
    rnd->stdLower = m;
    repaintView(TRUE);
}

void CDlgContourMapSpctm3Dzq::OnBnClickedSensors() {
    UpdateData(TRUE);
    if (m_view.m_pMEGData) {
        if (int* shown = sensorsShownSwitch())
            *shown = m_sensors;
        else
            channelTypeError();
    }
    repaintView(TRUE);
}

void CDlgContourMapSpctm3Dzq::initFans() {
    if (m_view.m_chnType == CStatD3DM::kChnMeg)
        m_view.triMegSnsFan11initx(nullptr);
    else if (m_view.m_chnType == CStatD3DM::kChnEeg)
        m_view.triEegEltFan11initx(nullptr);
    else
        channelTypeError();
}

void CDlgContourMapSpctm3Dzq::OnBnClickedContour() {
    applyDlg2View();
    initFans();
    repaintView(TRUE);
}

void CDlgContourMapSpctm3Dzq::OnViewCommand(UINT id) {
    switch (id) {
    case ID_CM_NORMAL:
        setMode(CStatD3DM::kModeNormal);
        break;
    case ID_CM_ROTATE:
        setMode(CStatD3DM::kModeRotate);
        break;
    case ID_CM_ZOOM:
        setMode(CStatD3DM::kModeZoom);
        break;
    case ID_CM_MOVE:
        setMode(CStatD3DM::kModeMove);
        break;
    case ID_CM_SENSORSIZE:
        setMode(CStatD3DM::kModeSnsSize);
        break;
    default:
        // The three "Sensor Shape" items, cube, ball and torus, in selector order.
        m_view.m_snsShapeSel = static_cast<int>(id - ID_CM_SHAPE_CUBE);
        repaintView(TRUE);
    }
}

void CDlgContourMapSpctm3Dzq::OnPickSensor() {
    setMode(CStatD3DM::kModePick);
    m_view.m_markOn = 1;
}

int CDlgContourMapSpctm3Dzq::savePicture(int scale) {
    return CViewPicture::askAndSave(*this, u"contourmap.png", [this, scale](const char* path) {
        return m_view.savePicture(path, scale);
    });
}

void CDlgContourMapSpctm3Dzq::OnSavePicture() {
    savePicture(1);
}

void CDlgContourMapSpctm3Dzq::OnSavePicture2x() {
    savePicture(2);
}

void CDlgContourMapSpctm3Dzq::OnBnClickedSettings() {
    if (!m_pFace)
        return;
    const bool wasShown = m_pFace->m_pDlgStdSet && m_pFace->m_pDlgStdSet->IsWindowVisible();
    // Class and component first: the refresh on showing fits the ranges to them (the first
    // refresh also fits the colour range, once).
    m_pFace->checkInitSpctmStdSetDlg(&m_view);
    CDlgSpctmRnd3DStdSet* set = m_pFace->m_pDlgStdSet;
    if (!set)
        return;
    set->m_spectralClass = m_spectralClass;
    set->m_component = m_component;
    m_pFace->showSpctmStdSetDlg(m_view.m_pMEDataSet, &m_view);
    // Opened for this window, it stands beside it rather than on it.
    if (!wasShown)
        AfxPlaceWindowBeside(set, this);
}

void CDlgContourMapSpctm3Dzq::OnBnClickedReset() {
    CWaitCursor wait;
    if (CMEGSpctm3DRndzq* rnd = m_view.m_pRnd)
        rnd->timePos = rnd->freqPos = 0;
    m_view.releaseSnsCoilD3DAll();
    m_view.cleanTriMegSnsVtx();
    m_view.cleanD3DPick();
    m_view.snsSrc3Dinit(this);
    initFans();
    repaintView(FALSE);
}

void CDlgContourMapSpctm3Dzq::OnBnClickedUpdate() {
    updateDlg4View();
}

void CDlgContourMapSpctm3Dzq::releaseData() {
    if (m_running)
        stopAnimation();
    m_view.releaseMEGData();
    repaintView(TRUE);
}

void CDlgContourMapSpctm3Dzq::stopAnimation() {
    KillTimer(m_timerId);
    m_running = 0;
    m_btnAnimate.SetWindowText(u"Start");
}

void CDlgContourMapSpctm3Dzq::OnBnClickedAnimate() {
    UpdateData(TRUE);
    if (m_running) {
        stopAnimation();
    } else {
        KillTimer(m_timerId);
        const UINT period = m_speed > 0 ? static_cast<UINT>(m_speed) : kFastestPeriod;
        m_timerId = SetTimer(kAnimateTimer, period, nullptr);
        m_btnAnimate.SetWindowText(u"Stop");
        m_running = 1;
    }
    showValues();
}

void CDlgContourMapSpctm3Dzq::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kAnimateTimer) {
        CDialogEx::OnTimer(nIDEvent);
        return;
    }
    CMEGSpctm3DRndzq* rnd = m_view.m_pRnd;
    if (IsWindowVisible() && rnd &&
        rnd->animateSpctm(m_view.m_stepTime, m_view.m_stepFreq, m_spectralClass)) {
        if (m_view.m_autofitColor)
            m_view.autofitColor4SnsWin();
        repaintView(FALSE);
        m_btnAnimate.SetWindowText(m_running == 1 ? u"Stop..." : u"Start?!");
        return;
    }
    stopAnimation();
    CDialogEx::OnTimer(nIDEvent);
}

void CDlgContourMapSpctm3Dzq::OnBnClickedMove() {
    setMode(CStatContourMapSpctm3Dzq::kModeWindowMove);
}

void CDlgContourMapSpctm3Dzq::OnCbnSelchangeComponent() {
    const int sel = m_cmbComponent.GetCurSel();
    if (sel == CB_ERR)
        return;
    m_component = sel;
    m_view.m_component = sel;
    repaintView(TRUE);
}

CPoint CDlgContourMapSpctm3Dzq::toView(CPoint point) const {
    ClientToScreen(&point);
    m_view.ScreenToClient(&point);
    return point;
}

bool CDlgContourMapSpctm3Dzq::overView(CPoint point) const {
    CWnd* child = ChildWindowFromPoint(point);
    return child && m_view.GetSafeHwnd() && child->GetSafeHwnd() == m_view.GetSafeHwnd();
}

void CDlgContourMapSpctm3Dzq::OnLButtonDown(UINT nFlags, CPoint point) {
    m_ptLast = point;
    if (overView(point)) {
        const CPoint p = toView(point);
        m_view.m_ptLast = m_view.m_ptAnchor = p;
        if (m_view.m_operMode == CStatD3DM::kModePick) {
            m_view.pick3DSnsr02(p);
            repaintView(TRUE);
        } else {
            SetCapture();
        }
    }
    CDialogEx::OnLButtonDown(nFlags, point);
}

void CDlgContourMapSpctm3Dzq::dragWindow(CPoint point) {
    const int dx = (point.x - m_ptLast.x) / kPixelsPerIndex;
    const int dy = (m_ptLast.y - point.y) / kPixelsPerIndex;
    if (std::abs(dx) < 1 && std::abs(dy) < 1)
        return;
    if (CMEGSpctm3DRndzq* rnd = m_view.m_pRnd)
        rnd->mouseMoveSpctm(dx, dy, m_spectralClass);
    if (m_view.m_autofitColor)
        m_view.autofitColor4SnsWin();
    repaintView(FALSE);
    m_ptLast = point;
}

void CDlgContourMapSpctm3Dzq::OnMouseMove(UINT nFlags, CPoint point) {
    CWaitCursor wait;
    const bool captured = GetCapture() == this;
    if (m_view.m_operMode == CStatContourMapSpctm3Dzq::kModeWindowMove) {
        if (captured && overView(point))
            dragWindow(point);
    } else if (captured) {
        m_view.mouseMoveSns(toView(point));
        m_ptLast = point;
    }
    CDialogEx::OnMouseMove(nFlags, point);
}

void CDlgContourMapSpctm3Dzq::OnLButtonUp(UINT nFlags, CPoint point) {
    const bool captured = GetCapture() == this;
    if (m_view.m_operMode == CStatContourMapSpctm3Dzq::kModeWindowMove && captured &&
        overView(point))
        m_ptLast = point;
    if (captured)
        ReleaseCapture();
    CDialogEx::OnLButtonUp(nFlags, point);
}

BOOL CDlgContourMapSpctm3Dzq::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    CWaitCursor wait;
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(m_ptLast) && m_view.GetSafeHwnd())
        m_view.mouseWheelSns(nFlags, zDelta, pt);
    return CDialogEx::OnMouseWheel(nFlags, zDelta, pt);
}

BOOL CDlgContourMapSpctm3Dzq::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_view.m_operMode == CStatContourMapSpctm3Dzq::kModeWindowMove) {
        SetCursor(AfxLoadCursor(IDC_CURSOR_WINDOWMOVE));
        return TRUE;
    }
    if (m_view.GetSafeHwnd() && m_view.OnSetCursor(pWnd, nHitTest, message))
        return TRUE;
    return CDialogEx::OnSetCursor(pWnd, nHitTest, message);
}

void CDlgContourMapSpctm3Dzq::OnSize(UINT nType, int cx, int cy) {
    CDialogEx::OnSize(nType, cx, cy);
    if (!m_view.GetSafeHwnd())
        return;
    CRect rc;
    m_view.GetWindowRect(&rc);
    ScreenToClient(&rc);
    rc.right = cx - 10;
    rc.bottom = cy - 10;
    m_view.MoveWindow(&rc, FALSE);
    m_view.Invalidate(TRUE);
}

BOOL CDlgContourMapSpctm3Dzq::PreTranslateMessage(MSG* pMsg) {
    if (m_view.GetSafeHwnd() && m_view.PreTranslateMessage(pMsg))
        return TRUE;
    return CDialogEx::PreTranslateMessage(pMsg);
}
