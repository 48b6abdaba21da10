// The engine's render-state window.
#include "dialogs/CDlgM3DRendStates.h"

#include "dialogs/res/resource.h"
#include "engine/CM3Dzq.h"

#include <algorithm>
#include <cmath>

namespace {

CDlgM3DRendStates* g_shared = nullptr;

int toByte(float v) {
    return std::isfinite(v) ? static_cast<int>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)) : 0;
}

} // namespace

IMPLEMENT_DYNAMIC(CDlgM3DRendStates, CDialogEx)

BEGIN_MESSAGE_MAP(CDlgM3DRendStates, CDialogEx)
ON_CBN_SELCHANGE(IDC_RS_FILL, OnStateChange)
ON_CBN_SELCHANGE(IDC_RS_CULL, OnStateChange)
ON_BN_CLICKED(IDC_RS_LIGHTING, OnStateChange)
ON_BN_CLICKED(IDC_RS_APPLY, OnBnClickedApply)
END_MESSAGE_MAP()

CDlgM3DRendStates::CDlgM3DRendStates() : CDialogEx(IDD_M3D_RENDSTATES) {}

CDlgM3DRendStates::~CDlgM3DRendStates() {
    if (g_shared == this)
        g_shared = nullptr;
}

CDlgM3DRendStates* CDlgM3DRendStates::shared() {
    return g_shared;
}

void CDlgM3DRendStates::releaseShared() {
    delete g_shared;
    g_shared = nullptr;
}

void CDlgM3DRendStates::forgetView(CWnd* view) {
    if (g_shared && view && g_shared->m_pView == view) {
        g_shared->m_pView = nullptr;
        g_shared->m_pEngine = nullptr;
        g_shared->ShowWindow(SW_HIDE);
    }
}

int CDlgM3DRendStates::showForEngine(CM3Dzq* engine, CWnd* view) {
    if (!engine)
        return 0;
    if (!g_shared) {
        auto* dlg = new CDlgM3DRendStates();
        if (!dlg->Create(IDD_M3D_RENDSTATES, nullptr)) {
            delete dlg;
            return 0;
        }
        g_shared = dlg;
    }
    g_shared->m_pEngine = engine;
    g_shared->m_pView = view;
    g_shared->loadFromEngine();
    // Reopened for a window, it stands beside that window rather than on it.
    const bool wasShown = g_shared->IsWindowVisible() != FALSE;
    g_shared->ShowWindow(SW_SHOWNORMAL);
    if (!wasShown && view)
        AfxPlaceWindowBeside(g_shared, view);
    g_shared->SetForegroundWindow();
    return 1;
}

BOOL CDlgM3DRendStates::OnInitDialog() {
    CDialogEx::OnInitDialog();
    for (const char16_t* s : {u"Solid", u"Wireframe"})
        m_cmbFill.AddString(s);
    for (const char16_t* s : {u"None", u"Back faces", u"Front faces"})
        m_cmbCull.AddString(s);
    UpdateData(FALSE);
    return TRUE;
}

void CDlgM3DRendStates::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RS_FILL, m_cmbFill);
    DDX_Control(pDX, IDC_RS_CULL, m_cmbCull);
    DDX_CBIndex(pDX, IDC_RS_FILL, m_fillMode);
    DDX_CBIndex(pDX, IDC_RS_CULL, m_cullMode);
    DDX_Check(pDX, IDC_RS_LIGHTING, m_lighting);
    DDX_Text(pDX, IDC_RS_RED, m_bgRed);
    DDX_Text(pDX, IDC_RS_GREEN, m_bgGreen);
    DDX_Text(pDX, IDC_RS_BLUE, m_bgBlue);
}

void CDlgM3DRendStates::loadFromEngine() {
    if (!m_pEngine)
        return;
    m_fillMode = m_pEngine->m_fillWireframe ? 1 : 0;
    m_cullMode = std::clamp(m_pEngine->m_cullMode, 0, 2);
    m_lighting = m_pEngine->m_lightingOn ? 1 : 0;
    m_bgRed = toByte(m_pEngine->m_bgColor[0]);
    m_bgGreen = toByte(m_pEngine->m_bgColor[1]);
    m_bgBlue = toByte(m_pEngine->m_bgColor[2]);
    UpdateData(FALSE);
}

int CDlgM3DRendStates::applyToEngine() {
    // A refused number keeps its field; the other states still apply.
    UpdateData(TRUE);
    if (!m_pEngine)
        return 0;
    m_pEngine->m_fillWireframe = m_fillMode == 1 ? 1 : 0;
    m_pEngine->m_cullMode = std::clamp(m_cullMode, 0, 2);
    m_pEngine->m_lightingOn = m_lighting ? 1 : 0;
    int* rgb[3] = {&m_bgRed, &m_bgGreen, &m_bgBlue};
    for (int i = 0; i < 3; ++i) {
        *rgb[i] = std::clamp(*rgb[i], 0, 255);
        m_pEngine->m_bgColor[i] = static_cast<float>(*rgb[i]) / 255.0f;
    }
    if (m_pView && m_pView->GetSafeHwnd())
        m_pView->Invalidate(FALSE);
    return 1;
}

void CDlgM3DRendStates::OnStateChange() {
    applyToEngine();
}

void CDlgM3DRendStates::OnBnClickedApply() {
    applyToEngine();
    UpdateData(FALSE);
}

void CDlgM3DRendStates::OnOK() {
    applyToEngine();
    ShowWindow(SW_HIDE);
}
