// The engine's render-state window: fill mode, culling, lighting and background colour of
// one 3D view's engine, applied at the view's next frame. One window serves every view; it
// is re-aimed at the view that opened it last.
#pragma once

#include "win/afxwin.h"

class CM3Dzq;

class CDlgM3DRendStates : public CDialogEx {
    DECLARE_DYNAMIC(CDlgM3DRendStates)
public:
    CDlgM3DRendStates();
    ~CDlgM3DRendStates() override;

    // Opens the shared window for engine, repainting view after each change. 0 without
    // engine or when the window cannot be created. The signature of the engine's hook.
    static int showForEngine(CM3Dzq* engine, CWnd* view);
    // The shared window, null before the first showForEngine.
    static CDlgM3DRendStates* shared();
    // Destroys the shared window (the owner of the views is going away).
    static void releaseShared();
    // Detaches the shared window from view and its engine when it is aimed at them.
    static void forgetView(CWnd* view);

    // Reads the engine's states into the controls.
    void loadFromEngine();
    // Writes the controls' states into the engine and repaints the view; 0 without engine.
    int applyToEngine();

    CM3Dzq* m_pEngine = nullptr;
    CWnd* m_pView = nullptr;
    int m_fillMode = 0; // 0 solid, 1 wireframe
    int m_cullMode = 0; // 0 none, 1 back faces, 2 front faces
    int m_lighting = 1;
    int m_bgRed = 0;
    int m_bgGreen = 0;
    int m_bgBlue = 0;
    CComboBox m_cmbFill;
    CComboBox m_cmbCull;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    afx_msg void OnStateChange();
    afx_msg void OnBnClickedApply();
    DECLARE_MESSAGE_MAP()
};
