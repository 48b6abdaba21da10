// The contour map read at a glance: one MEG sensor kind per map with gradiometer pairs
// combined, colours fitted to the quantity and to a whole sweep, the line naming the window
// actually averaged, the nose and ears, and the band under the 3D frame.
#include "LayoutDataSet.h"
#include "UiTest.h"
#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/res/resource.h"
#include "engine/CM3Dzq.h"
#include "facade/CVelmoraFacezq.h"
#include "recording/CMEGDatazq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CSpctmColorBar.h"
#include "views/CStatContourMapSpctm3Dzq.h"
#include "win/CPaintDC.h"

#include <cmath>

namespace {

int noCallback(int, int) {
    return 0;
}

using Kind = CMEGSensor::Kind;
constexpr Kind kMag = CMEGSensor::Magnetometer;
constexpr Kind kGrad = CMEGSensor::PlanarGradiometer;

// Four triplets (a magnetometer and two planar gradiometers at one place) on a sphere,
// magnetometers' real parts 100, 300, 200, 150, the gradiometers' 2 and 4, 1 and 3, 2 and 2,
// 3 and 3: the places' gradiometer powers combine to 10, 5, 4 and 9.
class SensorKindMapTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        if (IsSkipped())
            return;
        const Pos a{0.0, 0.08, 0.05}, b{0.0, -0.08, 0.05}, c{0.08, 0.0, 0.05}, d{0.0, 0.0, 0.12};
        // The first place lists its gradiometers first, as the Neuromag layout does.
        layout.build(
            {a, a, a, b, b, b, c, c, c, d, d, d}, {2, 4, 100, 300, 1, 3, 200, 2, 2, 150, 3, 3},
            false, {},
            {kGrad, kGrad, kMag, kMag, kGrad, kGrad, kMag, kGrad, kGrad, kMag, kGrad, kGrad});
        ASSERT_EQ(face.show3DContMapSpctmMegAct(&layout.data, noCallback, nullptr), 1);
        dlg = face.m_pDlgContourAct;
        CWinTestDriver::ProcessEvents();
    }
    int shownCount() {
        int n = 0;
        for (int i = 0; i < view().m_pTrial->getTotalChannel(); ++i)
            n += view().checkMegEegSensorVisibility(view().m_pTrial->getChannel(i), i, -1);
        return n;
    }

    LayoutDataSet layout;
    CVelmoraFacezq face;
    CDlgContourMapSpctm3Dzq* dlg = nullptr;
    CStatContourMapSpctm3Dzq& view() { return dlg->m_view; }
    CMEGSpctm3DRndzq& rnd() { return *face.m_pRnd; }
};

TEST_F(SensorKindMapTest, OneKindPerMapWithGradiometerPairsCombined) {
    EXPECT_EQ(view().getMegSnsKinds(), (std::vector<int>{kMag, kGrad}));
    EXPECT_EQ(shownCount(), 12);
    ASSERT_EQ(view().setMegSnsKind(kMag), 1);
    EXPECT_EQ(shownCount(), 4) << "the gradiometers leak into a magnetometer map";
    view().m_component = 2;
    rnd().polarity = 0;
    ASSERT_EQ(view().autofitColor4SnsWin(), 1);
    EXPECT_DOUBLE_EQ(rnd().stdLower, 100.0 * 100.0);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 300.0 * 300.0);
    // Gradiometers: each place's value is the mean of the two powers, not the square of the
    // summed amplitudes, and the magnetometers stay out.
    ASSERT_EQ(view().setMegSnsKind(kGrad), 1);
    EXPECT_EQ(shownCount(), 8);
    ASSERT_EQ(view().autofitColor4SnsWin(), 1);
    EXPECT_DOUBLE_EQ(rnd().stdLower, (4.0 + 4.0) / 2);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, (4.0 + 16.0) / 2);
    // Signed components: the root mean square of the two window means.
    view().m_component = 0;
    rnd().polarity = 1;
    ASSERT_EQ(view().autofitColor4SnsWin(), 1);
    EXPECT_DOUBLE_EQ(rnd().stdLower, std::sqrt((4.0 + 4.0) / 2));
    EXPECT_DOUBLE_EQ(rnd().stdUpper, std::sqrt((4.0 + 16.0) / 2));
    // The hull's one point per place takes the combined colour.
    rnd().stdLower = 0.0;
    rnd().stdUpper = 2 * std::sqrt(10.0);
    ASSERT_EQ(view().initTriMegSnsHullVtx(nullptr), 1);
    float expected[4];
    rnd().drawContourmapStdValue(std::sqrt(10.0), true, nullptr, expected);
    const CMVBzq& vb = *view().m_hullMeg.m_pTriVtx;
    bool found = false;
    for (long long k = 0; k < vb.m_nVtx; ++k)
        if (vb.m_pVtx[k].pos[1] > 0.07f) {
            found = true;
            for (int c = 0; c < 3; ++c)
                EXPECT_FLOAT_EQ(vb.m_pVtx[k].clr[c], expected[c]);
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(view().setMegSnsKind(7), 0);
    EXPECT_EQ(view().m_megSnsKind, kGrad);
}

TEST_F(SensorKindMapTest, ColoursFitTheQuantityAndOneRangeServesAWholeSweep) {
    view().setMegSnsKind(kMag);
    view().m_component = 2;
    view().m_spectralClass = 0;
    rnd().polarity = 1;
    ASSERT_EQ(view().fitColor4Quantity(true), 1);
    EXPECT_EQ(rnd().polarity, 0) << "power is drawn by magnitude";
    EXPECT_DOUBLE_EQ(rnd().stdLower, 1e4);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 9e4);
    EXPECT_EQ(CSpctmColorBar::numbers(rnd()).left, CString(u"10000")) << "no negative end";
    view().m_component = 0;
    ASSERT_EQ(view().fitColor4Quantity(true), 1);
    EXPECT_EQ(rnd().polarity, 1) << "signed values take the polarity drawing";
    EXPECT_DOUBLE_EQ(rnd().stdLower, 0.0) << "symmetric about 0";
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 300.0);
    EXPECT_EQ(CSpctmColorBar::numbers(rnd()).left, CString(u"-300"));
    // A sweep: windows of one time point stepping through a grid whose values are constant
    // per channel give one range over all of them, and the cursor stays where it was.
    view().m_component = 2;
    rnd().polarity = 0;
    view().m_winWidth = 0;
    view().m_winHeight = 0;
    view().m_stepTime = 5;
    rnd().timePos = 3;
    rnd().freqPos = 1;
    ASSERT_EQ(view().fitColor4Sweep(7), 1);
    EXPECT_EQ(rnd().timePos, 3);
    EXPECT_EQ(rnd().freqPos, 1);
    EXPECT_DOUBLE_EQ(rnd().stdLower, 1e4);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 9e4);
    EXPECT_EQ(view().fitColor4Sweep(0), 0);
}

TEST_F(SensorKindMapTest, HostsChooseTheKindAndTheColoursThroughTheFacade) {
    EXPECT_EQ(face.setCntmpSnsKind(0, CStatD3DM00MEGData::kMegAxialGrad), 0)
        << "the layout has no axial gradiometers";
    EXPECT_EQ(face.setCntmpSnsKind(1, kMag), 0) << "no Control map is open";
    ASSERT_EQ(face.setCntmpSnsKind(0, kGrad), 1);
    EXPECT_EQ(view().m_megSnsKind, kGrad);
    CMenu* menu = dlg->GetMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->GetMenuState(ID_CM_SNS_GRAD, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(menu->GetMenuState(ID_CM_SNS_MAG, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(menu->GetMenuState(ID_CM_SNS_AXIAL, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    face.sendMessageX(4, 2);
    rnd().polarity = 1;
    ASSERT_EQ(face.fitColor4Quantity(0), 1);
    EXPECT_EQ(rnd().polarity, 0);
    EXPECT_DOUBLE_EQ(rnd().stdLower, 4.0);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 10.0);
    dlg->SendMessage(WM_COMMAND, ID_CM_SNS_MAG, 0);
    EXPECT_EQ(view().m_megSnsKind, kMag) << "the menu picks the kind";
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 9e4) << "each kind has its own range";
}

TEST_F(SensorKindMapTest, TheLineNamesTheWindowCutToTheGrid) {
    view().setMegSnsKind(kGrad);
    view().m_component = 2;
    view().m_winWidth = 30;
    view().m_winHeight = 2;
    rnd().timePos = 15; // points 15..45 of a grid that ends at 19 (190 ms)
    rnd().freqPos = 8;  // 20..24 Hz of a grid that ends at 22 Hz
    EXPECT_EQ(view().describeWindow(),
              (std::vector<CString>{u"150.0 to 190.0 ms   20.0 to 22.0 Hz",
                                    u"Active  |  Power/Phase  |  Planar gradiometers"}));
}

TEST_F(SensorKindMapTest, NoseAndEarsFollowTheHeadFrameAndTheBandHoldsTheText) {
    view().setMegSnsKind(-1);
    // Without a frame the layout does not say where the front is: no marks.
    view().UpdateWindow();
    if (!view().m_pM3D)
        GTEST_SKIP() << "no 3D device";
    EXPECT_FALSE(view().headMarks().placed());
    // Front along -x, right along +y: the nose lies beyond the sensor farthest to -x.
    const double front[3] = {-2.0, 0.0, 0.0}, right[3] = {0.0, 1.0, 0.0};
    CMEDataSetBuilder(layout.data).setHeadFrame(0, front, right);
    view().Invalidate(FALSE);
    view().UpdateWindow();
    const CHeadMarks& marks = view().headMarks();
    ASSERT_TRUE(marks.placed());
    EXPECT_LT(marks.noseTip()[0], -0.03) << "the nose is in front, not at the back";
    EXPECT_LT(marks.leftEar()[1], -0.08);
    EXPECT_GT(marks.rightEar()[1], 0.08);
    // On screen the nose lies on the far side of the head from its back.
    double nx, ny, bx, by;
    const CRect frame = view().frameRect();
    ASSERT_TRUE(CHeadMarks::toScreen(*view().m_pM3D, marks.noseTip(), frame.Width(), frame.Height(),
                                     nx, ny));
    ASSERT_TRUE(CHeadMarks::toScreen(*view().m_pM3D, {0.08, 0.0, 0.05}, frame.Width(),
                                     frame.Height(), bx, by));
    EXPECT_GT(std::hypot(nx - bx, ny - by), frame.Height() / 4.0);
    // The 3D frame ends above the colour bar and the two text lines.
    CRect client;
    view().GetClientRect(&client);
    EXPECT_EQ(view().m_pM3D->getTargetHeight(), frame.Height());
    EXPECT_GT(view().getFrameMarginBottom(), 0);
    CPaintDC dc(&view());
    const CRect bar =
        CSpctmColorBar::area(dc, CRect(client.left, client.top, client.right,
                                       client.bottom - 2 * dc.GetTextExtent(CString(u"0")).cy));
    ASSERT_FALSE(bar.IsRectEmpty());
    EXPECT_GE(bar.top, frame.bottom) << "the colour bar covers the head";
    // The caption's larger text: scales from a quarter to eight times the window's font.
    const int one = dc.GetTextExtent(CString(u"0")).cy;
    EXPECT_EQ(dc.SetTextScale(2.0), 1.0);
    EXPECT_GT(dc.GetTextExtent(CString(u"0")).cy, one * 3 / 2);
    EXPECT_EQ(dc.SetTextScale(8.0), 2.0);
    EXPECT_EQ(dc.SetTextScale(8.5), 8.0) << "beyond the largest scale nothing changes";
    EXPECT_EQ(dc.SetTextScale(1.0), 8.0);
    // A view that never painted data shows no marks.
    CStatContourMapSpctm3Dzq fresh;
    EXPECT_FALSE(fresh.headMarks().placed());
}

} // namespace
