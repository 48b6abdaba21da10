// The display-parameters window shared by every spectral window: the colour range, its
// fits to the data, the colour-scale length, the lighting detail and the polarity view.
// A change here repaints every view registered with it.
#pragma once

#include "win/afxwin.h"

class CArrayMEDataSetzq;
class CMEGDatazq;
class CMDTrialzq;
class CMEGSpctm3DRndzq;
class CStatOneChnlSpctm3Dzq;
class CVelmoraFacezq;

class CDlgSpctmRnd3DStdSet : public CDialogEx {
    DECLARE_DYNAMIC(CDlgSpctmRnd3DStdSet)
public:
    static constexpr int kMaxViews = 12;
    // Scroll positions 0..1024 stand for |Trial Max| * position / 1024.
    static constexpr int kScrollMax = 1024;

    CDlgSpctmRnd3DStdSet();
    ~CDlgSpctmRnd3DStdSet() override;

    // Creates the window from its template; FALSE when the template is missing.
    BOOL createWnd();

    // Refreshes the controls from data and renderer; the first time a spectrum is found the
    // ranges are fitted to it. 0 without session or trial, or after a range error.
    int updateDlgShow();
    // Lets go of the data set, session and trial; the window then behaves as without data.
    void releaseData();
    // 1 when wnd was added; 0 for null, already registered, or all places taken (message).
    int addViewWnd(CWnd* wnd);
    // Repaints (without erase) every registered window that is visible.
    int refreshViewWnds();
    int applySetting2Rnd();
    int setScrollPos4Select();
    // The colour range from low = min(|a|,|b|) to halfway between the magnitudes.
    int autofitSelect(double a, double b);
    // The view whose surface this window rebuilds after a change; null detaches it.
    void setView(CStatOneChnlSpctm3Dzq* view) { m_pView = view; }

    CMEGSpctm3DRndzq* m_pRnd = nullptr;
    CStatOneChnlSpctm3Dzq* m_pView = nullptr;
    CVelmoraFacezq* m_pFace = nullptr;
    CArrayMEDataSetzq* m_pData = nullptr;
    CMEGDatazq* m_pSession = nullptr;
    CMDTrialzq* m_pTrial = nullptr;
    int m_spectralClass = 0;
    int m_component = 0;
    int m_showSource = 0;
    int m_polarity = 1;
    CComboBox m_cmbClass;
    CComboBox m_cmbComponent;
    CComboBox m_cmbDetail;
    double m_selectMin = 0.0;
    double m_selectMax = 1.0;
    double m_trialMin = 0.0;
    double m_trialMax = 0.0;
    double m_chnlMin = 0.0;
    double m_chnlMax = 0.0;
    CString m_lowLabel;
    CString m_highLabel;
    CScrollBar m_scrLow;
    CScrollBar m_scrHigh;
    int m_colorScale = 0;
    int m_firstFit = 1;
    CWnd* m_views[kMaxViews] = {};

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Session and trial of the data set; 0 when either is missing.
    int fetch();
    void rebuildView();
    // Range over all channels into Trial Min/Max; 0 (with the message) when empty or inverted.
    int trialRange(int flag);
    // Colour range from a signed range: from 0 (or |min| when positive) to the larger magnitude.
    void selectFromSignedRange(double minimum, double maximum);
    void setSelect(double low, double high);
    void showDataMessage();

    afx_msg void OnBnClickedApply();
    afx_msg void OnBnClickedColorScale();
    afx_msg void OnBnClickedPolarity();
    afx_msg void OnCbnSelchangeClass();
    afx_msg void OnCbnSelchangeComponent();
    afx_msg void OnCbnSelchangeDetail();
    afx_msg void OnBnClickedRefresh();
    afx_msg void OnBnClickedUpdate();
    afx_msg void OnBnClickedGetRange();
    afx_msg void OnBnClickedAutofitTrial();
    afx_msg void OnBnClickedAutofitChnl();
    afx_msg void OnBnClickedTrial2Select();
    afx_msg void OnBnClickedChnl2Select();
    afx_msg void OnBnClickedCheckSpctm();
    afx_msg void OnBnClickedRawData();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()
};
