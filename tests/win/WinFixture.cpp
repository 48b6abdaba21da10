// WinFixture: the application, the registered resources and the recording dialog.
#include "WinFixture.h"

#include "resource.h"

extern const char velmoraResourceScript[];

namespace {

// Registration as a library does it: a static object that runs at load and unload.
AFX_EXTENSION_MODULE testModule = {FALSE, nullptr, velmoraResourceScript, "test_win_gui"};
struct Registrar {
    Registrar() {
        if (AfxInitExtensionModule(testModule, nullptr)) {
            new CDynLinkLibrary(testModule);
        }
    }
    ~Registrar() { AfxTermExtensionModule(testModule); }
} registrar;

std::string code(const char* what, long long a, long long b = 0) {
    return std::string(what) + ":" + std::to_string(a) + ":" + std::to_string(b);
}

} // namespace

void WinFixture::SetUp() {
    if (!CWinTestDriver::EnsureApplication()) {
        GTEST_SKIP() << "no Qt platform: run with QT_QPA_PLATFORM=offscreen";
    }
    ASSERT_TRUE(testModule.bInitialized) << "resource script did not parse";
}

void WinFixture::TearDown() {
    ReleaseCapture();
    CWinTestDriver::ProcessEvents();
}

std::string WinFixture::pngPath(const std::string& name) {
    return std::string(VELMORA_PNG_DIR) + "/" + name + ".png";
}

BEGIN_MESSAGE_MAP(CRecordingDialog, CDialogEx)
ON_WM_TIMER()
ON_WM_HSCROLL()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_WM_SETCURSOR()
ON_WM_SIZE()
ON_COMMAND_RANGE(4024, 4031, OnCommandRange)
ON_CBN_SELCHANGE(IDC_SET_CLASS, OnComboChange)
ON_EN_CHANGE(IDC_SET_SELECTMIN, OnEditChange)
ON_BN_CLICKED(IDC_SET_POLARITY, OnPolarity)
END_MESSAGE_MAP()

void CRecordingDialog::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_SET_SELECTMIN, intField);
    DDX_Text(pDX, IDC_SET_SELECTMAX, wideField);
    DDX_Text(pDX, IDC_SET_TRIALMIN, realField);
    DDX_Text(pDX, IDC_SET_TRIALMAX, floatField);
    DDX_Check(pDX, IDC_SET_POLARITY, check);
    DDX_Radio(pDX, IDC_SET_COLOR256, radio);
}

BOOL CRecordingDialog::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN) {
        log.push_back(code("pre", static_cast<long long>(pMsg->wParam)));
        if (swallowKeys) {
            return TRUE;
        }
    }
    return CDialogEx::PreTranslateMessage(pMsg);
}

void CRecordingDialog::OnTimer(UINT_PTR nIDEvent) {
    log.push_back(code("timer", static_cast<long long>(nIDEvent)));
}

void CRecordingDialog::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    log.push_back(code("scroll", nSBCode, nPos));
    if (pScrollBar && nSBCode == SB_THUMBTRACK) {
        pScrollBar->SetScrollPos(static_cast<int>(nPos));
    }
}

void CRecordingDialog::OnLButtonDown(UINT, CPoint point) {
    log.push_back(code("down", point.x, point.y));
    SetCapture();
}

void CRecordingDialog::OnLButtonUp(UINT, CPoint point) {
    log.push_back(code("up", point.x, point.y));
    if (GetCapture() == this) {
        ReleaseCapture();
    }
}

void CRecordingDialog::OnMouseMove(UINT nFlags, CPoint point) {
    if (GetCapture() == this) {
        log.push_back(code("move", point.x, point.y));
    }
    CDialogEx::OnMouseMove(nFlags, point);
}

BOOL CRecordingDialog::OnMouseWheel(UINT, short zDelta, CPoint) {
    log.push_back(code("wheel", zDelta));
    return TRUE;
}

BOOL CRecordingDialog::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (cursor) {
        SetCursor(cursor);
        return TRUE;
    }
    return CDialogEx::OnSetCursor(pWnd, nHitTest, message);
}

void CRecordingDialog::OnSize(UINT nType, int cx, int cy) {
    CDialogEx::OnSize(nType, cx, cy);
    log.push_back(code("size", cx, cy));
}

void CRecordingDialog::OnCommandRange(UINT id) {
    log.push_back(code("menu", id));
}

void CRecordingDialog::OnComboChange() {
    log.push_back("selchange");
}

void CRecordingDialog::OnEditChange() {
    log.push_back("enchange");
}

void CRecordingDialog::OnPolarity() {
    log.push_back("clicked");
}
