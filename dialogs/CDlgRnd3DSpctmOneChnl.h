// The single-channel spectrogram window: one channel's spectrum (or a group grid) of one
// spectral class as a lit 3D surface, with the controls that scale, fit and colour it.
#pragma once

#include "views/CStatOneChnlSpctm3Dzq.h"
#include "win/afxwin.h"

#include <vector>

class CArrayMEDataSetzq;
class CMEGDatazq;
class CMDTrialzq;
class CMDChannelzq;
class CMEGSpctm3DRndzq;
class CDlgSpctmRnd3DStdSet;
class CVelmoraFacezq;

class CDlgRnd3DSpctmOneChnl : public CDialogEx {
    DECLARE_DYNAMIC(CDlgRnd3DSpctmOneChnl)
public:
    // View operation modes this window sets or tests.
    enum {
        kModeNormal = 300,
        kModeRotate = 301,
        kModeZoom = 302,
        kModeMove = 303,
        kModeVRatio = 901
    };
    // Typed values outside these ranges are refused with the framework's prompt and the field
    // keeps its value: beyond them the surface leaves float range or shrinks to nothing.
    // "Reset" brings a Left-Right, Ant-Post or V Ratio outside them back to 1.0, and V Peak
    // back to 30. V Ratio spans what any V Peak makes of values from 1e-30 to 1e30.
    static constexpr double kMinScale = 1e-6, kMaxScale = 1e3;
    static constexpr double kMinVRatio = 1e-40, kMaxVRatio = 1e40;
    static constexpr double kMinVPeak = 1e-6, kMaxVPeak = 1e6;

    CDlgRnd3DSpctmOneChnl();
    ~CDlgRnd3DSpctmOneChnl() override;

    // Creates the window from its template; FALSE when the template is missing.
    BOOL createWnd();

    // Binds the data set and fetches session and trial; 1 when a trial was found.
    int setDlgMEGData(CArrayMEDataSetzq* data);
    // Lets go of the data set, session and trial (the window's and its view's) and empties the
    // channel list; the window then behaves as without data until it is bound again.
    void releaseData();
    // Takes the renderer's settings, sets title and combo boxes, lists the channels and, on
    // the first show only, runs "Autofit". Returns 1.
    int updateDlgShow();
    // Lists the channels that have a spectrum of the class (item data: channel index).
    int fillChnlCombo();
    // Names display choice 0 after the current channel's kind of sensor ("MEG Sensor",
    // "EEG Electrode"), keeping the selection.
    void nameOwnSpectrum();
    // Sets the spectral class (both copies) or the data component (both copies and combo).
    void setSpectralClass(int spectralClass);
    void setDataComponent(int component);
    // The title for the dialog's spectral class.
    CString titleForClass() const;
    // Resizes the window so that its view's client area is width x height (the picture a host
    // saves of the view: AfxSaveWindowImage(&m_view, path) or m_view.savePicture). 0, with
    // nothing changed, for a side outside 1..kMaxViewSide or without a window; 0 also when the
    // window could not take that size.
    static constexpr int kMaxViewSide = 16384;
    int sizeViewTo(int width, int height);
    // "Save Picture...": asks for a file (AfxGetSaveFileName) and writes the view's picture at
    // scale times its size; a failure is told in a message box. 1 when written.
    int savePicture(int scale);

    int m_infoFlag = 0;
    int m_barFlag = 1;
    int m_spectralClass = 0;
    int m_component = 0;
    int m_showSource = 0;
    CString m_title = u"Spectral...";
    CArrayMEDataSetzq* m_pData = nullptr;
    CMEGDatazq* m_pSession = nullptr;
    CMDTrialzq* m_pTrial = nullptr;
    CMEGSpctm3DRndzq* m_pRnd = nullptr;
    CVelmoraFacezq* m_pFace = nullptr;
    CStatOneChnlSpctm3Dzq m_view;
    CDlgSpctmRnd3DStdSet* m_pDlgStdSet = nullptr;
    CPoint m_ptLast;
    CButton m_btnFitSize, m_btnSetting, m_btnNormal, m_btnMove, m_btnZoom, m_btnRotate, m_btnVRatio,
        m_btn3DRend, m_btnFitColor;
    CComboBox m_cmbClass;
    CComboBox m_cmbComponent;
    CComboBox m_cmbShowSource;
    CComboBox m_cmbChannel;
    double m_vPeak = 30.0;
    int m_firstShow = 1;
    CMenu m_menu;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Session and trial of the data set; 0 when either is missing.
    int fetch();
    // Renderer reference taken from the view.
    CMEGSpctm3DRndzq* takeRenderer();
    // One-channel magnitude range of the shown grid; 0 when the query fails.
    int rangeOfShown(double& minimum, double& maximum);
    // Left-Right and Ant-Post fitted to the view, V Ratio limited by the scene size; the
    // three go to the renderer. Skipped when the trial has no spectrum of the class.
    void fitSizeToView(double maximum, bool withEngine);
    void repaintView(BOOL erase);
    void setViewMode(int mode);
    // Shows the values in the controls without their change handlers reading them back.
    void showValues();
    // A point of this window's client area in the view's client coordinates.
    CPoint toView(CPoint point) const;
    bool overView(CPoint point) const;
    // Mode 901: a vertical move of 2 pixels or more scales V Ratio by 1.5 (up) or 1/1.5.
    void dragVRatio(CPoint point);
    // Scales and V Peak that typing would refuse go back to their defaults, in the view and
    // the renderer.
    void restoreDrawableScales();
    // Whether the channel list shows these channels (labels, item data: indexes) already.
    bool comboLists(const std::vector<CMDChannelzq*>& listed,
                    const std::vector<int>& indexes) const;

    bool m_showingValues = false;

    afx_msg void OnBnClickedRotate();
    afx_msg void OnBnClickedZoom();
    afx_msg void OnBnClickedMove();
    afx_msg void OnBnClickedNormal();
    afx_msg void OnBnClickedMoveWave();
    afx_msg void OnBnClickedSetting();
    afx_msg void OnBnClicked3DRend();
    afx_msg void OnBnClickedInfo();
    afx_msg void OnBnClickedBar();
    afx_msg void OnBnClickedFitColor();
    afx_msg void OnBnClickedFitSize();
    afx_msg void OnBnClickedAutofit();
    afx_msg void OnBnClickedFitPeak();
    afx_msg void OnBnClickedApply();
    afx_msg void OnBnClickedRefresh();
    afx_msg void OnBnClickedUpdate();
    afx_msg void OnBnClickedReset();
    afx_msg void OnCbnSelchangeClass();
    afx_msg void OnCbnSelchangeComponent();
    afx_msg void OnCbnSelchangeShowSource();
    afx_msg void OnCbnSelchangeChannel();
    afx_msg void OnEnChangeScale();
    afx_msg void OnEnChangeVPeak();
    afx_msg void OnStnClickedView();
    afx_msg void OnLinkContourMap();
    afx_msg void OnSavePicture();
    afx_msg void OnSavePicture2x();
    // View menu: axes on and off (checked while on), top view and back (also the T key).
    afx_msg void OnViewAxes();
    afx_msg void OnViewTopView();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
