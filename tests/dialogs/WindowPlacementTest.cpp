// The demo's windows on a 1920 x 1080 desktop, opened as a host and a user open them: the
// single-channel window, the contour map and the parameters window cover none of each other,
// and the render-state window opens beside the window that asked for it.
#include "Desktop1920.h"
#include "LayoutDataSet.h"
#include "UiTest.h"
#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgM3DRendStates.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "facade/CVelmoraFacezq.h"

namespace {

const Desktop1920 desktop;

int noCallback(int, int) {
    return 0;
}

class WindowPlacement : public UiTest {};

TEST_F(WindowPlacement, TheDemosWindowsCoverNoneOfEachOther) {
    LayoutDataSet meg;
    meg.build(kOctahedron, {1, 2, 3, 4, 5, 6}, false);
    CVelmoraFacezq face;
    ASSERT_EQ(face.show3DOneChnlSpctmAct(&meg.data, noCallback, nullptr), 1);
    ASSERT_EQ(face.show3DContMapSpctmMegAct(&meg.data, noCallback, nullptr), 1);
    CDlgRnd3DSpctmOneChnl* one = face.m_pDlgOneChnlAct;
    CWinTestDriver::Click(one->GetDlgItem(IDC_1CH_SETTING));
    CWinTestDriver::ProcessEvents();
    ASSERT_NE(face.m_pDlgStdSet, nullptr);
    ASSERT_TRUE(face.m_pDlgStdSet->IsWindowVisible());
    const CRect a = rectOf(*one), b = rectOf(*face.m_pDlgContourAct),
                c = rectOf(*face.m_pDlgStdSet);
    for (const CRect& r : {a, b, c})
        EXPECT_TRUE(onDesktop(r)) << r.left << "," << r.top << " " << r.Width() << "x"
                                  << r.Height();
    EXPECT_FALSE(overlap(a, b));
    EXPECT_FALSE(overlap(a, c)) << "the parameters window opens beside, not on, its asker";
    EXPECT_FALSE(overlap(b, c));

    CWinTestDriver::ProcessEvents();
    one->m_view.UpdateWindow();
    if (!one->m_view.m_pM3D)
        GTEST_SKIP() << "no 3D device: the render-state window needs an engine";
    CWinTestDriver::Click(one->GetDlgItem(IDC_1CH_3DREND));
    CDlgM3DRendStates* states = CDlgM3DRendStates::shared();
    ASSERT_NE(states, nullptr);
    ASSERT_TRUE(states->IsWindowVisible());
    EXPECT_FALSE(overlap(rectOf(*states), a));
    EXPECT_TRUE(onDesktop(rectOf(*states)));
    states->ShowWindow(SW_HIDE);
}

} // namespace
