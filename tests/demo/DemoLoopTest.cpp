// The demo's windows on a desktop: once the user has closed every one of them, the message
// loop returns and the demo ends.
#include "DemoWindows.h"
#include "GridDataSet.h"
#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "facade/CVelmoraFacezq.h"
#include "geometry/COneSpctm3DVtx.h"
#include "synthetic/CSyntheticRecording.h"
#include "win/afxwin.h"

#include <algorithm>
#include <cmath>
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

// Power of 1e-9 and of 1e20 opens as tall as power in the thousands: the largest value stands
// at the scene's peak limit whatever its size.
TEST(DemoLoop, OpensPowerOfAnySizeWithTheSameRelief) {
    if (!AfxWinInit())
        GTEST_SKIP() << "no window system (Qt's offscreen platform is missing)";
    std::vector<float> reliefs;
    for (double scale : {10.0, std::sqrt(1e-9), 1e10}) {
        GridDataSet data;
        data.build(12, 6, {GridDataSet::ramp(12, 6, scale, 9.0 * scale)});
        CVelmoraFacezq face;
        std::ostringstream log;
        openDemoWindows(face, data.data, DemoWindowOptions{}, log);
        ASSERT_TRUE(face.m_pDlgOneChnlAct) << log.str();
        // The surface is built when the window first paints.
        AfxPumpMessages();
        const COneSpctm3DVtx* grid = face.m_pDlgOneChnlAct->m_view.m_pVtx;
        if (!grid)
            GTEST_SKIP() << "no 3D device";
        float hi = 0.0f;
        for (long long i = 0; i < grid->combined.m_nVtx; ++i)
            hi = std::max(hi, grid->combined.m_pVtx[i].pos[1]);
        reliefs.push_back(hi);
    }
    EXPECT_GT(reliefs[0], 200.0f);
    EXPECT_NEAR(reliefs[1], reliefs[0], reliefs[0] * 1e-3);
    EXPECT_NEAR(reliefs[2], reliefs[0], reliefs[0] * 1e-3);
}

} // namespace
