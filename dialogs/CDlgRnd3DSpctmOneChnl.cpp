// The single-channel spectrogram window.
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"

#include "dialogs/CDlgM3DRendStates.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "engine/CM3Dzq.h"
#include "facade/CVelmoraFacezq.h"
#include "recording/CArrayMEDataSetzq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CViewPicture.h"

#include <algorithm>
#include <vector>

namespace {

// A move of less than this many pixels leaves V Ratio alone.
constexpr int kVRatioDragMin = 2;
constexpr double kVRatioStep = 1.5;
constexpr double kDefaultPeakLimit = 512.0;
constexpr DWORD_PTR kItemDataError = static_cast<DWORD_PTR>(CB_ERR);
constexpr double kDefaultScale = 1.0;
constexpr double kDefaultVPeak = 30.0;

// A typed double that reaches its field only when it lies in [lo, hi].
void exchangeInRange(CDataExchange* pDX, int id, double& field, double lo, double hi) {
    double v = field;
    DDX_Text(pDX, id, v);
    DDV_MinMaxDouble(pDX, v, lo, hi);
    if (!pDX->m_bFailed)
        field = v;
}

bool inRange(double v, double lo, double hi) {
    return v >= lo && v <= hi;
}

} // namespace

IMPLEMENT_DYNAMIC(CDlgRnd3DSpctmOneChnl, CDialogEx)

BEGIN_MESSAGE_MAP(CDlgRnd3DSpctmOneChnl, CDialogEx)
ON_BN_CLICKED(IDC_1CH_ROTATE, OnBnClickedRotate)
ON_BN_CLICKED(IDC_1CH_ZOOM, OnBnClickedZoom)
ON_BN_CLICKED(IDC_1CH_MOVE, OnBnClickedMove)
ON_BN_CLICKED(IDC_1CH_NORMAL, OnBnClickedNormal)
ON_BN_CLICKED(IDC_1CH_MOVEWAVE, OnBnClickedMoveWave)
ON_BN_CLICKED(IDC_1CH_SETTING, OnBnClickedSetting)
ON_BN_CLICKED(IDC_1CH_3DREND, OnBnClicked3DRend)
ON_BN_CLICKED(IDC_1CH_INFO, OnBnClickedInfo)
ON_BN_CLICKED(IDC_1CH_BAR, OnBnClickedBar)
ON_BN_CLICKED(IDC_1CH_FITCOLOR, OnBnClickedFitColor)
ON_BN_CLICKED(IDC_1CH_FITSIZE, OnBnClickedFitSize)
ON_BN_CLICKED(IDC_1CH_AUTOFIT, OnBnClickedAutofit)
ON_BN_CLICKED(IDC_1CH_FITPEAK, OnBnClickedFitPeak)
ON_BN_CLICKED(IDC_1CH_APPLY, OnBnClickedApply)
ON_BN_CLICKED(IDC_1CH_REFRESH, OnBnClickedRefresh)
ON_BN_CLICKED(IDC_1CH_UPDATE, OnBnClickedUpdate)
ON_BN_CLICKED(IDC_1CH_RESET, OnBnClickedReset)
ON_CBN_SELCHANGE(IDC_1CH_CLASS, OnCbnSelchangeClass)
ON_CBN_SELCHANGE(IDC_1CH_COMPONENT, OnCbnSelchangeComponent)
ON_CBN_SELCHANGE(IDC_1CH_SHOWSOURCE, OnCbnSelchangeShowSource)
ON_CBN_SELCHANGE(IDC_1CH_CHANNEL, OnCbnSelchangeChannel)
ON_EN_CHANGE(IDC_1CH_LEFTRIGHT, OnEnChangeScale)
ON_EN_CHANGE(IDC_1CH_ANTPOST, OnEnChangeScale)
ON_EN_CHANGE(IDC_1CH_VRATIO, OnEnChangeScale)
ON_EN_CHANGE(IDC_1CH_VPEAK, OnEnChangeVPeak)
ON_STN_CLICKED(IDC_1CH_VIEW, OnStnClickedView)
ON_COMMAND(ID_1CH_LINKCONTOURMAP, OnLinkContourMap)
ON_COMMAND(ID_1CH_AXES, OnViewAxes)
ON_COMMAND(ID_1CH_TOPVIEW, OnViewTopView)
ON_COMMAND(ID_1CH_SAVEPICTURE, OnSavePicture)
ON_COMMAND(ID_1CH_SAVEPICTURE2X, OnSavePicture2x)
ON_WM_SIZE()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CDlgRnd3DSpctmOneChnl::CDlgRnd3DSpctmOneChnl() : CDialogEx(IDD_SPCTM_ONECHNL_3D) {}

CDlgRnd3DSpctmOneChnl::~CDlgRnd3DSpctmOneChnl() {
    // The window goes before the member view and menu it uses.
    DestroyWindow();
}

BOOL CDlgRnd3DSpctmOneChnl::createWnd() {
    return Create(IDD_SPCTM_ONECHNL_3D, nullptr);
}

BOOL CDlgRnd3DSpctmOneChnl::OnInitDialog() {
    m_showingValues = true;
    CDialogEx::OnInitDialog();
    SetIcon(AfxLoadIcon(IDI_SPCTM_ONECHNL), TRUE);
    SetIcon(AfxLoadIcon(IDI_SPCTM_ONECHNL), FALSE);
    for (const char16_t* s : {u"Active", u"Control", u"Act-Ctl"})
        m_cmbClass.AddString(s);
    for (const char16_t* s : {u"Real Data", u"Imag Data", u"Power/Phase"})
        m_cmbComponent.AddString(s);
    const char16_t* sources[] = {u"MEG Sensor",      u"Group Mean",       u"Group Min",
                                 u"Group Max",       u"Average Positive", u"Average Negative",
                                 u"Root-Mean-Square"};
    for (int i = 0; i < 7; ++i)
        m_cmbShowSource.InsertString(i, sources[i]);
    m_cmbClass.SetCurSel(m_spectralClass);
    m_cmbComponent.SetCurSel(m_component);
    m_cmbShowSource.SetCurSel(m_showSource);
    const std::pair<CButton*, UINT> icons[] = {
        {&m_btnNormal, IDI_BTN_NORMAL},    {&m_btnRotate, IDI_BTN_ROTATE},
        {&m_btnZoom, IDI_BTN_ZOOM},        {&m_btnMove, IDI_BTN_MOVE},
        {&m_btnSetting, IDI_BTN_SETTING},  {&m_btnFitSize, IDI_BTN_FITSIZE},
        {&m_btn3DRend, IDI_BTN_3DREND},    {&m_btnVRatio, IDI_BTN_MOVEWAVE},
        {&m_btnFitColor, IDI_BTN_FITCOLOR}};
    for (const auto& [button, icon] : icons)
        button->SetIcon(AfxLoadIcon(icon));
    if (m_menu.LoadMenu(IDR_MENU_ONECHNL)) {
        m_menu.EnableMenuItem(ID_1CH_ROOTSTRIP, MF_BYCOMMAND | MF_GRAYED);
        m_menu.CheckMenuItem(ID_1CH_AXES,
                             MF_BYCOMMAND | (m_view.axesShown() ? MF_CHECKED : MF_UNCHECKED));
        SetMenu(&m_menu);
    }
    if (m_view.m_pRnd)
        m_barFlag = m_view.m_colorBar;
    UpdateData(FALSE);
    m_showingValues = false;
    return TRUE;
}

void CDlgRnd3DSpctmOneChnl::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_1CH_VIEW, m_view);
    DDX_Control(pDX, IDC_1CH_FITSIZE, m_btnFitSize);
    DDX_Control(pDX, IDC_1CH_SETTING, m_btnSetting);
    DDX_Control(pDX, IDC_1CH_NORMAL, m_btnNormal);
    DDX_Control(pDX, IDC_1CH_MOVE, m_btnMove);
    DDX_Control(pDX, IDC_1CH_ZOOM, m_btnZoom);
    DDX_Control(pDX, IDC_1CH_ROTATE, m_btnRotate);
    DDX_Control(pDX, IDC_1CH_MOVEWAVE, m_btnVRatio);
    DDX_Control(pDX, IDC_1CH_3DREND, m_btn3DRend);
    DDX_Control(pDX, IDC_1CH_FITCOLOR, m_btnFitColor);
    DDX_Control(pDX, IDC_1CH_CLASS, m_cmbClass);
    DDX_Control(pDX, IDC_1CH_COMPONENT, m_cmbComponent);
    DDX_Control(pDX, IDC_1CH_SHOWSOURCE, m_cmbShowSource);
    DDX_Control(pDX, IDC_1CH_CHANNEL, m_cmbChannel);
    DDX_Check(pDX, IDC_1CH_INFO, m_infoFlag);
    DDX_Check(pDX, IDC_1CH_BAR, m_barFlag);
    exchangeInRange(pDX, IDC_1CH_LEFTRIGHT, m_view.m_leftRight, kMinScale, kMaxScale);
    exchangeInRange(pDX, IDC_1CH_ANTPOST, m_view.m_antPost, kMinScale, kMaxScale);
    exchangeInRange(pDX, IDC_1CH_VRATIO, m_view.m_vRatio, kMinVRatio, kMaxVRatio);
    exchangeInRange(pDX, IDC_1CH_VPEAK, m_vPeak, kMinVPeak, kMaxVPeak);
}

void CDlgRnd3DSpctmOneChnl::showValues() {
    // Setting an edit's text notifies EN_CHANGE, whose handler must not read the others back
    // while they still show the old values.
    m_showingValues = true;
    UpdateData(FALSE);
    m_showingValues = false;
}

int CDlgRnd3DSpctmOneChnl::fetch() {
    // Without a data set the session fetched last stays in use.
    if (m_pData)
        m_pSession = m_pData->getSessionData(-1);
    m_pTrial = m_pSession ? m_pSession->getTrialzq(-1) : nullptr;
    return m_pTrial ? 1 : 0;
}

CMEGSpctm3DRndzq* CDlgRnd3DSpctmOneChnl::takeRenderer() {
    m_pRnd = m_view.m_pRnd;
    return m_pRnd;
}

void CDlgRnd3DSpctmOneChnl::repaintView(BOOL erase) {
    if (m_view.GetSafeHwnd())
        m_view.Invalidate(erase);
}

void CDlgRnd3DSpctmOneChnl::setViewMode(int mode) {
    m_view.m_operMode = mode;
}

void CDlgRnd3DSpctmOneChnl::setSpectralClass(int spectralClass) {
    m_spectralClass = spectralClass;
    m_view.m_spectralClass = spectralClass;
}

void CDlgRnd3DSpctmOneChnl::setDataComponent(int component) {
    m_component = component;
    m_view.m_component = component;
    if (m_cmbComponent.GetSafeHwnd())
        m_cmbComponent.SetCurSel(component);
}

CString CDlgRnd3DSpctmOneChnl::titleForClass() const {
    switch (m_spectralClass) {
    case 0:
        return u"Spectrogram 3D: Active  time window";
    case 1:
        return u"Spectrogram 3D: Control time window";
    case 2:
        return u"Spectrogram 3D:Results from Active/Control time windows";
    default:
        return u"Spectrogram 3D: Unknown spectral class";
    }
}

int CDlgRnd3DSpctmOneChnl::setDlgMEGData(CArrayMEDataSetzq* data) {
    m_pData = data;
    m_pTrial = nullptr;
    if (!data)
        return 0;
    return fetch();
}

void CDlgRnd3DSpctmOneChnl::releaseData() {
    m_pData = nullptr;
    m_pSession = nullptr;
    m_pTrial = nullptr;
    m_view.releaseMEGData();
    if (m_cmbChannel.GetSafeHwnd())
        m_cmbChannel.ResetContent();
    repaintView(TRUE);
}

int CDlgRnd3DSpctmOneChnl::updateDlgShow() {
    if (CMEGSpctm3DRndzq* rnd = takeRenderer()) {
        m_infoFlag = rnd->showInfo ? 1 : 0;
        m_barFlag = m_view.m_colorBar ? 1 : 0;
        m_view.m_leftRight = rnd->scaleTime;
        m_view.m_antPost = rnd->scaleFreq;
        m_view.m_vRatio = rnd->scaleValue;
    }
    m_title = titleForClass();
    SetWindowText(m_title);
    m_cmbClass.SetCurSel(m_spectralClass);
    m_cmbComponent.SetCurSel(m_component);
    m_cmbShowSource.SetCurSel(m_showSource);
    fillChnlCombo();
    nameOwnSpectrum();
    if (m_firstShow) {
        showValues();
        OnBnClickedAutofit();
        m_firstShow = 0;
    }
    showValues();
    return 1;
}

int CDlgRnd3DSpctmOneChnl::fillChnlCombo() {
    if (!fetch()) {
        m_cmbChannel.ResetContent();
        m_cmbChannel.SetCurSel(0);
        return 0;
    }
    CMDChannelzq** channels = m_pTrial->getAllChannelPt();
    if (!channels) {
        m_cmbChannel.ResetContent();
        return 0;
    }
    std::vector<CMDChannelzq*> listed;
    std::vector<int> indexes;
    const int count = m_pTrial->getTotalChannel();
    for (int i = 0; i < count; ++i) {
        CMDChannelzq* ch = channels[i];
        if (ch && ch->getSpctmChnl(false, m_spectralClass)) {
            listed.push_back(ch);
            indexes.push_back(i);
        }
    }
    // Picking another channel of the same list only moves the selection.
    if (!comboLists(listed, indexes)) {
        m_cmbChannel.ResetContent();
        for (std::size_t k = 0; k < listed.size(); ++k) {
            const int item = m_cmbChannel.AddString(listed[k]->label.c_str());
            if (item < 0) {
                m_cmbChannel.SetCurSel(-1);
                return 0;
            }
            m_cmbChannel.SetItemData(item, static_cast<DWORD_PTR>(indexes[k]));
        }
    }
    const auto current =
        std::find(indexes.begin(), indexes.end(), m_pTrial->getCurntChnlIndx()) - indexes.begin();
    m_cmbChannel.SetCurSel(current < static_cast<long>(indexes.size()) ? static_cast<int>(current)
                                                                       : 0);
    return 1;
}

void CDlgRnd3DSpctmOneChnl::nameOwnSpectrum() {
    const CString name =
        CStatOneChnlSpctm3Dzq::ownSpectrumLabel(fetch() ? m_pTrial->getChannel(-1) : nullptr);
    if (m_cmbShowSource.GetCount() < 1)
        return;
    CString shown;
    m_cmbShowSource.GetLBText(0, shown);
    if (shown == name)
        return;
    const int selected = m_cmbShowSource.GetCurSel();
    m_cmbShowSource.DeleteString(0);
    m_cmbShowSource.InsertString(0, name);
    m_cmbShowSource.SetCurSel(selected);
}

bool CDlgRnd3DSpctmOneChnl::comboLists(const std::vector<CMDChannelzq*>& listed,
                                       const std::vector<int>& indexes) const {
    if (m_cmbChannel.GetCount() != static_cast<int>(listed.size()))
        return false;
    CString text;
    for (std::size_t k = 0; k < listed.size(); ++k) {
        const int item = static_cast<int>(k);
        if (m_cmbChannel.GetItemData(item) != static_cast<DWORD_PTR>(indexes[k]))
            return false;
        m_cmbChannel.GetLBText(item, text);
        if (text != CString(listed[k]->label.c_str()))
            return false;
    }
    return true;
}

int CDlgRnd3DSpctmOneChnl::rangeOfShown(double& minimum, double& maximum) {
    minimum = 0.0;
    maximum = 0.0;
    double mean = 0.0;
    return m_pTrial->getSpctmRange4OneChnlShowAbs(m_showSource, -1, &minimum, &maximum, &mean, true,
                                                  m_spectralClass, m_component);
}

void CDlgRnd3DSpctmOneChnl::fitSizeToView(double maximum, bool withEngine) {
    CSpctmTrialzq* st = m_pTrial->getSpctmTrial(false, m_spectralClass);
    if (!st || !st->getSumChnlSpctmData(m_component))
        return;
    CRect client;
    m_view.GetClientRect(&client);
    const long long nTime = st->getTrialSpctmTimePt();
    const long long nFreq = st->getTrialSpctmFreqPt();
    if (nTime > client.Width())
        m_view.m_leftRight = static_cast<double>(client.Width()) / static_cast<double>(nTime);
    if (nFreq > client.Height())
        m_view.m_antPost = static_cast<double>(client.Height()) / static_cast<double>(nFreq);
    double peakLimit = withEngine && m_view.m_pM3D ? m_view.m_pM3D->m_sceneSize : 0.0;
    if (!(peakLimit > 0.0))
        peakLimit = kDefaultPeakLimit;
    if (maximum > peakLimit)
        m_view.m_vRatio = 1024.0 / maximum * 0.5;
    m_pRnd->scaleTime = m_view.m_leftRight;
    m_pRnd->scaleFreq = m_view.m_antPost;
    m_pRnd->scaleValue = m_view.m_vRatio;
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedRotate() {
    UpdateData(TRUE);
    setViewMode(kModeRotate);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedZoom() {
    UpdateData(TRUE);
    setViewMode(kModeZoom);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedMove() {
    setViewMode(kModeMove);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedNormal() {
    setViewMode(kModeNormal);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedMoveWave() {
    setViewMode(kModeVRatio);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedSetting() {
    if (!m_pFace)
        return;
    const bool wasShown = m_pFace->m_pDlgStdSet && m_pFace->m_pDlgStdSet->IsWindowVisible();
    // Class and component first: the refresh on showing fits the ranges to them.
    m_pFace->checkInitSpctmStdSetDlg(&m_view);
    if (!m_pFace->m_pDlgStdSet)
        return;
    m_pFace->m_pDlgStdSet->m_spectralClass = m_spectralClass;
    m_pFace->m_pDlgStdSet->m_component = m_component;
    CDialog* dlg = m_pFace->showSpctmStdSetDlg(m_pData, &m_view);
    m_pDlgStdSet = static_cast<CDlgSpctmRnd3DStdSet*>(dlg);
    if (m_pDlgStdSet)
        m_pDlgStdSet->setView(&m_view);
    // Opened for this window, it stands beside it rather than on it.
    if (dlg && !wasShown)
        AfxPlaceWindowBeside(dlg, this);
}

void CDlgRnd3DSpctmOneChnl::OnBnClicked3DRend() {
    CM3Dzq* engine = m_view.m_pM3D;
    if (!engine)
        return;
    engine->showDlgM3DRendStates(&m_view);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedInfo() {
    UpdateData(TRUE);
    if (CMEGSpctm3DRndzq* rnd = m_view.m_pRnd) {
        rnd->showInfo = m_infoFlag != 0;
        repaintView(FALSE);
    }
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedBar() {
    UpdateData(TRUE);
    if (m_view.m_pRnd) {
        m_view.m_colorBar = m_barFlag != 0;
        repaintView(FALSE);
    }
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedFitColor() {
    UpdateData(TRUE);
    if (!fetch() || !takeRenderer())
        return;
    double minimum = 0.0, maximum = 0.0;
    rangeOfShown(minimum, maximum);
    m_pRnd->stdUpper = maximum;
    m_pRnd->stdLower = minimum;
    m_view.updateSpctmSurface();
    repaintView(FALSE);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedFitPeak() {
    UpdateData(TRUE);
    if (!fetch())
        return;
    if (takeRenderer()) {
        double minimum = 0.0, maximum = 0.0;
        rangeOfShown(minimum, maximum);
        m_pRnd->stdUpper = maximum;
        m_pRnd->stdLower = minimum;
        if (maximum > 0.0) {
            m_view.m_vRatio = m_pRnd->scaleValue = m_vPeak / maximum;
            m_view.updateSpctmSurface();
        }
        showValues();
    }
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedAutofit() {
    UpdateData(TRUE);
    if (!fetch())
        return;
    takeRenderer();
    if (!m_view.m_pM3D && m_view.GetSafeHwnd())
        m_view.snsSrc3Dinit(this);
    if (!m_pRnd) {
        repaintView(TRUE);
        return;
    }
    double minimum = 0.0, maximum = 0.0;
    rangeOfShown(minimum, maximum);
    m_pRnd->stdUpper = maximum;
    m_pRnd->stdLower = minimum;
    if (maximum > 0.0)
        m_view.m_vRatio = m_pRnd->scaleValue = m_vPeak / maximum;
    fitSizeToView(maximum, true);
    showValues();
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedFitSize() {
    UpdateData(TRUE);
    if (!fetch())
        return;
    if (!takeRenderer()) {
        repaintView(TRUE);
        return;
    }
    double minimum = 0.0, maximum = 0.0;
    rangeOfShown(minimum, maximum);
    fitSizeToView(maximum, m_view.m_pM3D != nullptr);
    showValues();
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedApply() {
    UpdateData(TRUE);
    CMEGSpctm3DRndzq* rnd = m_view.m_pRnd;
    if (!rnd)
        return;
    rnd->scaleTime = m_view.m_leftRight;
    rnd->scaleFreq = m_view.m_antPost;
    rnd->scaleValue = m_view.m_vRatio;
    m_view.updateSpctmSurface();
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedRefresh() {
    UpdateData(TRUE);
    CMEGSpctm3DRndzq* rnd = m_view.m_pRnd;
    if (!rnd)
        return;
    rnd->showInfo = m_infoFlag != 0;
    m_view.m_colorBar = m_barFlag != 0;
    rnd->scaleTime = m_view.m_leftRight;
    rnd->scaleFreq = m_view.m_antPost;
    rnd->scaleValue = m_view.m_vRatio;
    m_title = titleForClass();
    SetWindowText(m_title);
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedUpdate() {
    CWaitCursor wait;
    if (m_view.updateMEGData() && m_view.m_pMEGData)
        m_view.m_pMEGData->computTrialSpctmAllPro(nullptr, true);
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnBnClickedReset() {
    CMEGSpctm3DRndzq* rnd = m_view.m_pRnd;
    if (!rnd)
        return;
    rnd->linkTime = rnd->linkFreq = 0;
    restoreDrawableScales();
    m_view.deleteVertexGrid();
    m_view.releaseSnsCoilD3DAll();
    m_view.cleanTriMegSnsVtx();
    m_view.cleanD3DPick();
    m_view.m_bScene3DInit = 0;
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::restoreDrawableScales() {
    const auto restore = [](double& v, double lo, double hi, double fallback) {
        if (!inRange(v, lo, hi))
            v = fallback;
    };
    restore(m_view.m_leftRight, kMinScale, kMaxScale, kDefaultScale);
    restore(m_view.m_antPost, kMinScale, kMaxScale, kDefaultScale);
    restore(m_view.m_vRatio, kMinVRatio, kMaxVRatio, kDefaultScale);
    restore(m_vPeak, kMinVPeak, kMaxVPeak, kDefaultVPeak);
    if (CMEGSpctm3DRndzq* rnd = m_view.m_pRnd) {
        restore(rnd->scaleTime, kMinScale, kMaxScale, kDefaultScale);
        restore(rnd->scaleFreq, kMinScale, kMaxScale, kDefaultScale);
        restore(rnd->scaleValue, kMinVRatio, kMaxVRatio, kDefaultScale);
    }
    showValues();
}

void CDlgRnd3DSpctmOneChnl::OnCbnSelchangeClass() {
    const int sel = m_cmbClass.GetCurSel();
    if (sel == CB_ERR)
        return;
    setSpectralClass(sel);
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnCbnSelchangeComponent() {
    const int sel = m_cmbComponent.GetCurSel();
    if (sel == CB_ERR)
        return;
    if (sel < 0 || sel > 2) {
        MessageBox(u"Wrong spectral data type!");
        repaintView(TRUE);
        return;
    }
    m_component = sel;
    m_view.m_component = sel;
    m_view.updateSpctmSurface();
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnCbnSelchangeShowSource() {
    const int sel = m_cmbShowSource.GetCurSel();
    if (sel == CB_ERR)
        return;
    m_showSource = sel;
    if (CMEGSpctm3DRndzq* rnd = m_view.m_pRnd) {
        rnd->showSource = sel;
        repaintView(TRUE);
    }
}

void CDlgRnd3DSpctmOneChnl::OnCbnSelchangeChannel() {
    const int sel = m_cmbChannel.GetCurSel();
    if (sel == CB_ERR)
        return;
    const DWORD_PTR data = m_cmbChannel.GetItemData(sel);
    if (data == kItemDataError)
        return;
    if (fetch()) {
        m_pTrial->setCurrentChannel(static_cast<int>(data));
        m_view.updateSpctmSurface();
    }
    nameOwnSpectrum();
    repaintView(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnEnChangeScale() {
    if (m_showingValues)
        return;
    UpdateData(TRUE);
    repaintView(FALSE);
}

void CDlgRnd3DSpctmOneChnl::OnEnChangeVPeak() {
    if (!m_showingValues)
        UpdateData(TRUE);
}

void CDlgRnd3DSpctmOneChnl::OnStnClickedView() {
    m_view.SetFocus();
}

void CDlgRnd3DSpctmOneChnl::OnLinkContourMap() {
    CMEGSpctm3DRndzq* rnd = m_view.m_pRnd;
    if (!rnd || !m_view.updateMEGData() || !m_view.m_pMEGData)
        return;
    CMDTrialzq* trial = m_view.m_pMEGData->getCurrentTrialPt();
    CSpctmTrialzq* st = trial ? trial->getSpctmTrial(false, m_spectralClass) : nullptr;
    if (!st)
        return;
    long long t = 0, f = 0;
    st->getTrialSpctmSelectTimeFreqBB(t, f);
    rnd->timePos = t - 10;
    rnd->freqPos = f - 10;
    if (m_pDlgStdSet)
        m_pDlgStdSet->refreshViewWnds();
}

void CDlgRnd3DSpctmOneChnl::OnSize(UINT nType, int cx, int cy) {
    CDialogEx::OnSize(nType, cx, cy);
    if (!m_view.GetSafeHwnd())
        return;
    CRect rc;
    m_view.GetWindowRect(&rc);
    ScreenToClient(&rc);
    rc.right = cx - 10;
    rc.bottom = cy - 10;
    m_view.MoveWindow(&rc, FALSE);
    m_view.Invalidate(FALSE);
}

int CDlgRnd3DSpctmOneChnl::sizeViewTo(int width, int height) {
    if (!GetSafeHwnd() || !m_view.GetSafeHwnd() || width < 1 || height < 1 ||
        width > kMaxViewSide || height > kMaxViewSide)
        return 0;
    // The view follows the window's size one to one (OnSize). The size asked of the window is
    // corrected by what the view missed, as a frame may not come out at the size asked.
    CRect frame, view;
    GetWindowRect(&frame);
    int w = frame.Width(), h = frame.Height();
    for (int pass = 0; pass < 3; ++pass) {
        m_view.GetClientRect(&view);
        if (view.Width() == width && view.Height() == height)
            return 1;
        w += width - view.Width();
        h += height - view.Height();
        MoveWindow(frame.left, frame.top, w, h);
    }
    m_view.GetClientRect(&view);
    return view.Width() == width && view.Height() == height ? 1 : 0;
}

BOOL CDlgRnd3DSpctmOneChnl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_view.GetSafeHwnd() && m_view.OnSetCursor(pWnd, nHitTest, message))
        return TRUE;
    return CDialogEx::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CDlgRnd3DSpctmOneChnl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // The view also sees the wheel turned anywhere over its window. Mouse buttons and moves
    // reach it through this window's handlers, converted to its coordinates.
    if (message == WM_MOUSEWHEEL && m_view.GetSafeHwnd())
        m_view.relayOwnerMessage(message, wParam, lParam);
    return CDialogEx::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CDlgRnd3DSpctmOneChnl::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
        return TRUE;
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        if (CM3Dzq* engine = m_view.m_pM3D) {
            engine->resetWorldArchBall();
            engine->m_viewAngle = -90.0f;
            Invalidate(FALSE);
            m_view.Invalidate(FALSE);
        }
        return TRUE;
    }
    // T over the view (not while typing into a box) toggles the top view.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == 'T' && m_view.GetSafeHwnd() &&
        (pMsg->hwnd == m_view.GetSafeHwnd() || pMsg->hwnd == GetSafeHwnd())) {
        OnViewTopView();
        return TRUE;
    }
    if (m_view.GetSafeHwnd() && m_view.preTranslateMessage(pMsg))
        return TRUE;
    return CDialogEx::PreTranslateMessage(pMsg);
}

void CDlgRnd3DSpctmOneChnl::OnViewAxes() {
    m_view.showAxes(!m_view.axesShown());
    m_menu.CheckMenuItem(ID_1CH_AXES,
                         MF_BYCOMMAND | (m_view.axesShown() ? MF_CHECKED : MF_UNCHECKED));
}

void CDlgRnd3DSpctmOneChnl::OnViewTopView() {
    m_view.toggleTopView();
}

CPoint CDlgRnd3DSpctmOneChnl::toView(CPoint point) const {
    ClientToScreen(&point);
    m_view.ScreenToClient(&point);
    return point;
}

bool CDlgRnd3DSpctmOneChnl::overView(CPoint point) const {
    if (!m_view.GetSafeHwnd())
        return false;
    CRect rc;
    m_view.GetWindowRect(&rc);
    ScreenToClient(&rc);
    return rc.PtInRect(point) != FALSE;
}

void CDlgRnd3DSpctmOneChnl::OnLButtonDown(UINT nFlags, CPoint point) {
    m_ptLast = point;
    CWnd* child = ChildWindowFromPoint(point);
    if (child && m_view.GetSafeHwnd() && child->GetSafeHwnd() == m_view.GetSafeHwnd()) {
        SetCapture();
        m_view.m_ptAnchor = m_view.m_ptLast = toView(point);
    }
    CDialogEx::OnLButtonDown(nFlags, point);
}

void CDlgRnd3DSpctmOneChnl::dragVRatio(CPoint point) {
    UpdateData(TRUE);
    if (!fetch())
        return;
    const int dy = m_ptLast.y - point.y;
    double vRatio = m_view.m_vRatio;
    if (dy >= kVRatioDragMin)
        vRatio *= kVRatioStep;
    else if (dy <= -kVRatioDragMin)
        vRatio /= kVRatioStep;
    // Long drags stop at the limits instead of reaching infinity or zero.
    if (inRange(vRatio, kMinVRatio, kMaxVRatio))
        m_view.m_vRatio = vRatio;
    if (CMEGSpctm3DRndzq* rnd = m_view.m_pRnd)
        rnd->scaleValue = m_view.m_vRatio;
    m_ptLast = point;
    showValues();
}

void CDlgRnd3DSpctmOneChnl::OnMouseMove(UINT nFlags, CPoint point) {
    if (GetCapture() == this) {
        CWaitCursor wait;
        m_view.mouseMoveSns(toView(point));
        if (m_view.m_operMode == kModeVRatio && overView(point))
            dragVRatio(point);
        m_ptLast = point;
        m_view.Invalidate(FALSE);
    }
    CDialogEx::OnMouseMove(nFlags, point);
}

void CDlgRnd3DSpctmOneChnl::OnLButtonUp(UINT nFlags, CPoint point) {
    const bool captured = GetCapture() == this;
    if (m_view.m_operMode == kModeVRatio && captured && overView(point))
        m_ptLast = point;
    if (captured)
        ReleaseCapture();
    CDialogEx::OnLButtonUp(nFlags, point);
}

int CDlgRnd3DSpctmOneChnl::savePicture(int scale) {
    return CViewPicture::askAndSave(*this, u"spectrogram.png", [this, scale](const char* path) {
        return m_view.savePicture(path, scale);
    });
}

void CDlgRnd3DSpctmOneChnl::OnSavePicture() {
    savePicture(1);
}

void CDlgRnd3DSpctmOneChnl::OnSavePicture2x() {
    savePicture(2);
}
