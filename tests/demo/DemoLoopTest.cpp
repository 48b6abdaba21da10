// The demo's windows on a desktop: once the user has closed every one of them, the message
// loop returns and the demo ends.
#include "DemoWindows.h"
#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "facade/CVelmoraFacezq.h"
#include "synthetic/CSyntheticRecording.h"
#include "win/afxwin.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

// Ends a loop that would otherwise never return, so that a fault fails instead of hanging.
constexpr int kGaveUp = 99;

void giveUp(HWND, UINT, UINT_PTR, DWORD) {
    AfxPostQuitMessage(kGaveUp);
}

TEST(DemoLoop, EndsWhenTheUserHasClosedEveryWindow) {
    if (!AfxWinInit())
        GTEST_SKIP() << "no window system (Qt's offscreen platform is missing)";
    CSyntheticRecording recording;
    auto data = recording.build();
    ASSERT_TRUE(data) << recording.getError();
    CVelmoraFacezq face;
    std::ostringstream log;
    ASSERT_TRUE(openDemoWindows(face, *data, DemoWindowOptions{}, log)) << log.str();
    CWnd* windows[] = {face.m_pDlgOneChnlAct, face.m_pDlgContourAct, face.m_pDlgStdSet};
    for (CWnd* w : windows) {
        ASSERT_TRUE(w && w->IsWindowVisible());
        w->PostMessage(WM_CLOSE);
    }
    CDialog guard;
    ASSERT_TRUE(guard.Create(IDD_SPCTM_STDSET));
    guard.SetTimer(1, 10000, giveUp);
    EXPECT_EQ(AfxRunMessageLoop(), 0);
    for (CWnd* w : windows)
        EXPECT_FALSE(w->m_hWnd && w->IsWindowVisible());
}

} // namespace
