// The contour-map window: the sensors of a recording coloured by their spectral power inside a
// time-frequency window that the user moves by dragging, by the arrow keys, by the size and
// step boxes or by an animation that sweeps it over the spectrogram.
#pragma once

#include "dialogs/CDlgContourMapSpctm3D.h"

class CDlgContourMapSpctm3Dzq : public CDlgContourMapSpctm3D {
    DECLARE_DYNAMIC(CDlgContourMapSpctm3Dzq)
public:
    // The animation's window timer.
    static constexpr UINT_PTR kAnimateTimer = 100;
    // Period of a "Speed" of 0 or below.
    static constexpr UINT kFastestPeriod = 10;

    CDlgContourMapSpctm3Dzq();
    ~CDlgContourMapSpctm3Dzq() override;

    // Creates the window from its template, without parent; FALSE when that fails.
    BOOL createWnd();
    // View, session and renderer state into the variables and controls; title; colour fit.
    // 1 when the view's trial has a spectrum of the class.
    int updateDlg4View();
    // The variables into the view and the session; 1 when the view's trial has a spectrum of
    // the class.
    int applyDlg2View();
    // Stops the animation and lets the view go of its data set, session, trial and mesh; the
    // window then behaves as without data until it is bound again.
    void releaseData();
    // Sets the data component in the window and its view and selects it in the combo box.
    void setDataComponent(int component);
    // "Save Picture...": asks for a file (AfxGetSaveFileName) and writes the view's picture at
    // scale times its size; a failure is told in a message box. 1 when written.
    int savePicture(int scale);
    // Shows one kind of MEG sensor (CStatD3DM00MEGData::MegSnsKind), with a colour range
    // fitted to that kind; the "Sensors" menu checks it. 0 for a kind the data lacks (or
    // another value), nothing changed.
    int setSensorKind(int kind);
    // The title for the window's spectral class.
    CString titleForClass() const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;

    void repaintView(BOOL erase);
    // Sensors shown switch of the session for the view's channel type; null for another type.
    int* sensorsShownSwitch();
    void channelTypeError();
    bool overView(CPoint point) const;
    CPoint toView(CPoint point) const;
    void stopAnimation();
    // Drag in window-move mode: two pixels per index, up raises the frequency.
    void dragWindow(CPoint point);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnBnClickedApply();
    afx_msg void OnBnClickedAutofitColor();
    afx_msg void OnEnChangeValue();
    afx_msg void OnBnClickedSensors();
    afx_msg void OnBnClickedContour();
    // Menu "View" modes and "Option" sensor shapes (ids 4024..4031).
    afx_msg void OnViewCommand(UINT id);
    afx_msg void OnPickSensor();
    afx_msg void OnSensorKind(UINT id);
    afx_msg void OnSavePicture();
    afx_msg void OnSavePicture2x();
    afx_msg void OnBnClickedSettings();
    afx_msg void OnBnClickedReset();
    afx_msg void OnBnClickedUpdate();
    afx_msg void OnBnClickedAnimate();
    afx_msg void OnBnClickedMove();
    afx_msg void OnCbnSelchangeComponent();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    void setMode(int mode) { m_view.m_operMode = mode; }
    // The fans of the view's channel type made ready for a new build.
    void initFans();
    // Shows the variables in the controls without the edits' change handlers reading back.
    void showValues();
    // The "Sensors" menu: the view's kind checked, kinds the data lacks greyed.
    void showSensorKinds();

    bool m_showingValues = false;
    CMenu m_menu;
};
