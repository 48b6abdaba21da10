// The display-parameters window.
#include "dialogs/CDlgSpctmRnd3DStdSet.h"

#include "dialogs/res/resource.h"
#include "facade/CVelmoraFacezq.h"
#include "recording/CArrayMEDataSetzq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CStatOneChnlSpctm3Dzq.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kScrollUnit = 0.0009765625; // 1 / 1024
constexpr int kScrollPage = 102;

// Truncates toward 0 into the range a scroll bar can hold; false for NaN.
bool scrollPos(double v, int& pos) {
    if (std::isnan(v))
        return false;
    pos = static_cast<int>(std::clamp(v, -1e9, 1e9));
    return true;
}

int colorCountFor(int choice) {
    switch (choice) {
    case 0:
        return 256;
    case 1:
        return 512;
    case 2:
        return 768;
    default:
        return 1024;
    }
}

} // namespace

IMPLEMENT_DYNAMIC(CDlgSpctmRnd3DStdSet, CDialogEx)

BEGIN_MESSAGE_MAP(CDlgSpctmRnd3DStdSet, CDialogEx)
ON_BN_CLICKED(IDC_SET_APPLY, OnBnClickedApply)
ON_BN_CLICKED(IDC_SET_COLOR256, OnBnClickedColorScale)
ON_BN_CLICKED(IDC_SET_COLOR512, OnBnClickedColorScale)
ON_BN_CLICKED(IDC_SET_COLOR768, OnBnClickedColorScale)
ON_BN_CLICKED(IDC_SET_COLOR1024, OnBnClickedColorScale)
ON_BN_CLICKED(IDC_SET_POLARITY, OnBnClickedPolarity)
ON_CBN_SELCHANGE(IDC_SET_CLASS, OnCbnSelchangeClass)
ON_CBN_SELCHANGE(IDC_SET_COMPONENT, OnCbnSelchangeComponent)
ON_CBN_SELCHANGE(IDC_SET_DETAIL, OnCbnSelchangeDetail)
ON_BN_CLICKED(IDC_SET_REFRESH, OnBnClickedRefresh)
ON_BN_CLICKED(IDC_SET_UPDATE, OnBnClickedUpdate)
ON_BN_CLICKED(IDC_SET_GETRANGE, OnBnClickedGetRange)
ON_BN_CLICKED(IDC_SET_AUTOFITTRIAL, OnBnClickedAutofitTrial)
ON_BN_CLICKED(IDC_SET_AUTOFITCHNL, OnBnClickedAutofitChnl)
ON_BN_CLICKED(IDC_SET_TRIAL2SELECT, OnBnClickedTrial2Select)
ON_BN_CLICKED(IDC_SET_CHNL2SELECT, OnBnClickedChnl2Select)
ON_BN_CLICKED(IDC_SET_CHECKSPCTM, OnBnClickedCheckSpctm)
ON_BN_CLICKED(IDC_SET_RAWDATA, OnBnClickedRawData)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

CDlgSpctmRnd3DStdSet::CDlgSpctmRnd3DStdSet() : CDialogEx(IDD_SPCTM_STDSET) {}

CDlgSpctmRnd3DStdSet::~CDlgSpctmRnd3DStdSet() = default;

BOOL CDlgSpctmRnd3DStdSet::createWnd() {
    return Create(IDD_SPCTM_STDSET, nullptr);
}

BOOL CDlgSpctmRnd3DStdSet::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetIcon(AfxLoadIcon(IDI_SPCTM_STDSET), TRUE);
    SetIcon(AfxLoadIcon(IDI_SPCTM_STDSET), FALSE);
    for (const char16_t* s : {u"Active", u"Control", u"Results"})
        m_cmbClass.AddString(s);
    for (const char16_t* s : {u"Real Data", u"Imag Data", u"Junction"})
        m_cmbComponent.AddString(s);
    for (const char16_t* s : {u"Basic", u"Standard", u"Professional"})
        m_cmbDetail.AddString(s);
    m_cmbClass.SetCurSel(m_spectralClass);
    m_cmbComponent.SetCurSel(m_component);
    for (CScrollBar* bar : {&m_scrLow, &m_scrHigh}) {
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, kScrollMax, kScrollPage, 512, 0};
        bar->SetScrollInfo(&si, TRUE);
    }
    updateDlgShow();
    return TRUE;
}

void CDlgSpctmRnd3DStdSet::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SET_CLASS, m_cmbClass);
    DDX_Control(pDX, IDC_SET_COMPONENT, m_cmbComponent);
    DDX_Control(pDX, IDC_SET_DETAIL, m_cmbDetail);
    DDX_Control(pDX, IDC_SET_LOWSCROLL, m_scrLow);
    DDX_Control(pDX, IDC_SET_HIGHSCROLL, m_scrHigh);
    DDX_Check(pDX, IDC_SET_POLARITY, m_polarity);
    DDX_Text(pDX, IDC_SET_SELECTMIN, m_selectMin);
    DDX_Text(pDX, IDC_SET_SELECTMAX, m_selectMax);
    DDX_Text(pDX, IDC_SET_TRIALMIN, m_trialMin);
    DDX_Text(pDX, IDC_SET_TRIALMAX, m_trialMax);
    DDX_Text(pDX, IDC_SET_CHNLMIN, m_chnlMin);
    DDX_Text(pDX, IDC_SET_CHNLMAX, m_chnlMax);
    DDX_Text(pDX, IDC_SET_LOWLABEL, m_lowLabel);
    DDX_Text(pDX, IDC_SET_HIGHLABEL, m_highLabel);
    DDX_Radio(pDX, IDC_SET_COLOR256, m_colorScale);
}

int CDlgSpctmRnd3DStdSet::fetch() {
    // Without a data set the session fetched last stays in use.
    if (m_pData)
        m_pSession = m_pData->getSessionData(-1);
    m_pTrial = m_pSession ? m_pSession->getTrialzq(-1) : nullptr;
    return m_pTrial ? 1 : 0;
}

void CDlgSpctmRnd3DStdSet::releaseData() {
    m_pData = nullptr;
    m_pSession = nullptr;
    m_pTrial = nullptr;
}

void CDlgSpctmRnd3DStdSet::rebuildView() {
    if (m_pView)
        m_pView->updateSpctmSurface();
}

void CDlgSpctmRnd3DStdSet::setSelect(double low, double high) {
    m_selectMin = low;
    m_selectMax = high;
    if (m_pRnd) {
        m_pRnd->stdLower = low;
        m_pRnd->stdUpper = high;
    }
}

int CDlgSpctmRnd3DStdSet::trialRange(int flag) {
    double lo = 0.0, hi = 0.0;
    m_pTrial->getSpctmRangeAllChann(&lo, &hi, nullptr, flag, m_spectralClass, m_component);
    if (!(hi - lo > 0.0)) {
        MessageBox(u"Spectral data range error!");
        return 0;
    }
    m_trialMax = hi;
    m_trialMin = lo;
    return 1;
}

void CDlgSpctmRnd3DStdSet::selectFromSignedRange(double minimum, double maximum) {
    setSelect(minimum <= 0.0 ? 0.0 : std::fabs(minimum),
              std::max(std::fabs(minimum), std::fabs(maximum)));
}

int CDlgSpctmRnd3DStdSet::updateDlgShow() {
    if (!fetch())
        return 0;
    if (m_pRnd) {
        if (m_pTrial->getSpctmTrial(false, m_spectralClass)) {
            if (m_firstFit) {
                if (!trialRange(1))
                    return 0;
                m_pTrial->findSpctmChnl4Show(m_spectralClass, m_component);
                m_pTrial->getSpctmRange4OneChnlShowAbs(m_showSource, -1, &m_chnlMin, &m_chnlMax,
                                                       nullptr, true, m_spectralClass, m_component);
                setSelect(m_chnlMin, m_chnlMax);
                m_firstFit = 0;
            } else {
                m_selectMax = m_pRnd->stdUpper;
                m_selectMin = m_pRnd->stdLower;
            }
        }
        m_cmbClass.SetCurSel(m_spectralClass);
        m_cmbComponent.SetCurSel(m_component);
        m_cmbDetail.SetCurSel(m_pRnd->normalDetail);
        m_lowLabel.Format(u"select low:%0.3f", m_selectMin);
        m_highLabel.Format(u"select high:%0.3f", m_selectMax);
        setScrollPos4Select();
        m_colorScale = CMEGSpctm3DRnd::colorScaleChoice(m_pRnd->colorCount);
    }
    UpdateData(FALSE);
    return 1;
}

int CDlgSpctmRnd3DStdSet::addViewWnd(CWnd* wnd) {
    if (!wnd || std::find(std::begin(m_views), std::end(m_views), wnd) != std::end(m_views))
        return 0;
    CWnd** slot = std::find(std::begin(m_views), std::end(m_views), nullptr);
    if (slot == std::end(m_views)) {
        MessageBox(u"Spectral settings control maximum 12 windows!");
        return 0;
    }
    *slot = wnd;
    return 1;
}

int CDlgSpctmRnd3DStdSet::refreshViewWnds() {
    for (CWnd* wnd : m_views)
        if (wnd && wnd->GetSafeHwnd() && wnd->IsWindowVisible())
            wnd->Invalidate(FALSE);
    return 1;
}

int CDlgSpctmRnd3DStdSet::applySetting2Rnd() {
    UpdateData(TRUE);
    if (m_pRnd) {
        m_pRnd->stdUpper = m_selectMax;
        m_pRnd->stdLower = m_selectMin;
        m_pRnd->colorCount = colorCountFor(m_colorScale);
    }
    return 1;
}

int CDlgSpctmRnd3DStdSet::setScrollPos4Select() {
    const double step = std::fabs(m_trialMax) / kScrollMax;
    int low = 0, high = 0;
    if (std::fabs(step) > 1e-7 && scrollPos(m_selectMin / step, low) &&
        scrollPos(m_selectMax / step, high)) {
        m_scrLow.SetScrollPos(low, TRUE);
        m_scrHigh.SetScrollPos(high, TRUE);
    }
    rebuildView();
    return 1;
}

int CDlgSpctmRnd3DStdSet::autofitSelect(double a, double b) {
    const double low = std::min(std::fabs(a), std::fabs(b));
    const double high = low + (std::max(std::fabs(a), std::fabs(b)) - low) * 0.5;
    setSelect(low, high);
    rebuildView();
    setScrollPos4Select();
    refreshViewWnds();
    UpdateData(FALSE);
    return 1;
}

void CDlgSpctmRnd3DStdSet::OnBnClickedApply() {
    applySetting2Rnd();
    refreshViewWnds();
}

void CDlgSpctmRnd3DStdSet::OnBnClickedColorScale() {
    applySetting2Rnd();
    rebuildView();
    refreshViewWnds();
}

void CDlgSpctmRnd3DStdSet::OnBnClickedPolarity() {
    UpdateData(TRUE);
    if (m_pRnd)
        m_pRnd->polarity = m_polarity;
    rebuildView();
    refreshViewWnds();
}

void CDlgSpctmRnd3DStdSet::OnCbnSelchangeClass() {
    applySetting2Rnd();
    const int sel = m_cmbClass.GetCurSel();
    if (sel == CB_ERR)
        return;
    m_spectralClass = sel;
    rebuildView();
    refreshViewWnds();
}

void CDlgSpctmRnd3DStdSet::OnCbnSelchangeComponent() {
    applySetting2Rnd();
    const int sel = m_cmbComponent.GetCurSel();
    if (sel == CB_ERR)
        return;
    m_component = sel;
    if (m_pFace)
        m_pFace->sendMessageX(4, sel);
    rebuildView();
    refreshViewWnds();
}

void CDlgSpctmRnd3DStdSet::OnCbnSelchangeDetail() {
    applySetting2Rnd();
    const int sel = m_cmbDetail.GetCurSel();
    if (sel == CB_ERR)
        return;
    if (m_pRnd)
        m_pRnd->normalDetail = sel;
    rebuildView();
    refreshViewWnds();
}

void CDlgSpctmRnd3DStdSet::OnBnClickedRefresh() {
    refreshViewWnds();
}

void CDlgSpctmRnd3DStdSet::OnBnClickedUpdate() {
    updateDlgShow();
}

void CDlgSpctmRnd3DStdSet::OnBnClickedGetRange() {
    UpdateData(TRUE);
    if (!fetch() || !m_pRnd || !trialRange(1))
        return;
    m_pTrial->findSpctmChnl4Show(m_spectralClass, m_component);
    m_pTrial->getSpctmRange4OneChnlShow(m_showSource, -1, &m_chnlMin, &m_chnlMax, nullptr, true,
                                        m_spectralClass, m_component);
    setScrollPos4Select();
    refreshViewWnds();
    UpdateData(FALSE);
}

void CDlgSpctmRnd3DStdSet::OnBnClickedAutofitTrial() {
    UpdateData(TRUE);
    if (!fetch() || !m_pRnd || !m_pTrial->getSpctmTrial(false, m_spectralClass) || !trialRange(1))
        return;
    autofitSelect(m_trialMin, m_trialMax);
    rebuildView();
}

void CDlgSpctmRnd3DStdSet::OnBnClickedAutofitChnl() {
    UpdateData(TRUE);
    if (!fetch() || !m_pRnd)
        return;
    m_pTrial->findSpctmChnl4Show(m_spectralClass, m_component);
    double lo = 0.0, hi = 0.0;
    m_pTrial->getSpctmRange4OneChnlShowAbs(m_showSource, -1, &lo, &hi, nullptr, true,
                                           m_spectralClass, m_component);
    m_chnlMax = hi;
    m_chnlMin = lo;
    autofitSelect(lo, hi);
    rebuildView();
}

void CDlgSpctmRnd3DStdSet::OnBnClickedTrial2Select() {
    UpdateData(TRUE);
    if (!fetch() || !trialRange(0))
        return;
    selectFromSignedRange(m_trialMin, m_trialMax);
    rebuildView();
    UpdateData(FALSE);
}

void CDlgSpctmRnd3DStdSet::OnBnClickedChnl2Select() {
    UpdateData(TRUE);
    if (!fetch())
        return;
    m_pTrial->getSpctmRange4OneChnlShow(m_showSource, -1, &m_chnlMin, &m_chnlMax, nullptr, true,
                                        m_spectralClass, m_component);
    selectFromSignedRange(m_chnlMin, m_chnlMax);
    rebuildView();
    UpdateData(FALSE);
}

void CDlgSpctmRnd3DStdSet::showDataMessage() {
    MessageBox(u"Is there any MEG data?!");
}

void CDlgSpctmRnd3DStdSet::OnBnClickedCheckSpctm() {
    if (!fetch()) {
        showDataMessage();
        return;
    }
    CWaitCursor wait;
    m_pSession->computTrialSpctmAllPro(m_pTrial, true);
}

void CDlgSpctmRnd3DStdSet::OnBnClickedRawData() {
    if (!fetch()) {
        showDataMessage();
        return;
    }
    CWaitCursor wait;
    m_pTrial->reloadSpctmDataAll();
    m_pSession->computTrialSpctmAllPro(nullptr, true);
}

void CDlgSpctmRnd3DStdSet::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    const int id = pScrollBar ? pScrollBar->GetDlgCtrlID() : 0;
    if (id != IDC_SET_LOWSCROLL && id != IDC_SET_HIGHSCROLL) {
        CDialogEx::OnHScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    UpdateData(TRUE);
    if (!m_pRnd)
        return;
    CScrollBar& bar = id == IDC_SET_LOWSCROLL ? m_scrLow : m_scrHigh;
    int lo = 0, hi = 0;
    bar.GetScrollRange(&lo, &hi);
    int p = bar.GetScrollPos();
    switch (nSBCode) {
    case SB_LINELEFT:
        p = p > lo ? p - 1 : p;
        break;
    case SB_LINERIGHT:
        p = p < hi ? p + 1 : p;
        break;
    case SB_PAGELEFT:
        p = p > lo ? std::max(lo, p - kScrollPage) : p;
        break;
    case SB_PAGERIGHT:
        p = p < hi ? std::min(hi, p + kScrollPage) : p;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        p = static_cast<int>(nPos);
        break;
    case SB_LEFT:
        p = lo;
        break;
    case SB_RIGHT:
        p = hi;
        break;
    default:
        break;
    }
    bar.SetScrollPos(p, TRUE);
    const double value = std::fabs(m_trialMax) * kScrollUnit * p;
    if (id == IDC_SET_LOWSCROLL)
        m_selectMin = m_pRnd->stdLower = value;
    else
        m_selectMax = m_pRnd->stdUpper = value;
    rebuildView();
    if (id == IDC_SET_LOWSCROLL)
        m_lowLabel.Format(u"Select Low:%0.3f", m_selectMin);
    else
        m_highLabel.Format(u"Select High: %0.3f", m_selectMax);
    UpdateData(FALSE);
    refreshViewWnds();
}
