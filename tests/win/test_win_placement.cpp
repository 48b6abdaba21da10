// Where top-level windows open on a 1920 x 1080 desktop: each new window where it covers no
// shown one, a window opened by another beside it, and a window the program moved where it
// was put.
#include "Desktop1920.h"
#include "WinFixture.h"
#include "resource.h"

namespace {

const Desktop1920 desktop;

class Placement : public WinFixture {
protected:
    void TearDown() override {
        for (CDialogEx* d : {&big, &middle, &small, &owned})
            d->DestroyWindow();
        WinFixture::TearDown();
    }
    CDialogEx big, middle, small, owned;
};

TEST_F(Placement, NewWindowsCoverNoShownWindow) {
    ASSERT_TRUE(big.Create(IDD_SPCTM_ONECHNL_3D));
    ASSERT_TRUE(middle.Create(IDD_SPCTM_CONTOURMAP_3D));
    ASSERT_TRUE(small.Create(IDD_SPCTM_STDSET));
    big.ShowWindow(SW_SHOW);
    middle.ShowWindow(SW_SHOW);
    small.ShowWindow(SW_SHOW);
    const CRect a = rectOf(big), b = rectOf(middle), c = rectOf(small);
    EXPECT_EQ(a.TopLeft(), CPoint(0, 0)) << "the first window takes the corner";
    for (const CRect& r : {a, b, c})
        EXPECT_TRUE(onDesktop(r)) << r.left << "," << r.top << " " << r.Width() << "x"
                                  << r.Height();
    EXPECT_FALSE(overlap(a, b));
    EXPECT_FALSE(overlap(a, c));
    EXPECT_FALSE(overlap(b, c));
    // Hidden and shown again, a window keeps its place.
    middle.ShowWindow(SW_HIDE);
    middle.ShowWindow(SW_SHOW);
    EXPECT_EQ(rectOf(middle), b);
}

TEST_F(Placement, AWindowOpenedByAnotherStandsBesideIt) {
    ASSERT_TRUE(big.Create(IDD_SPCTM_ONECHNL_3D));
    big.ShowWindow(SW_SHOW);
    ASSERT_TRUE(owned.Create(IDD_SPCTM_STDSET, &big));
    owned.ShowWindow(SW_SHOW);
    const CRect a = rectOf(big), o = rectOf(owned);
    EXPECT_FALSE(overlap(a, o));
    EXPECT_GE(o.left, a.right) << "right of its owner, where there is room";
    EXPECT_EQ(o.top, a.top);
    // With the right taken, the next place beside the anchor: below it.
    ASSERT_TRUE(middle.Create(IDD_SPCTM_CONTOURMAP_3D));
    middle.ShowWindow(SW_SHOW);
    owned.ShowWindow(SW_HIDE);
    middle.MoveWindow(a.right + 8, 0, 600, 500);
    owned.ShowWindow(SW_SHOW);
    ASSERT_TRUE(AfxPlaceWindowBeside(&owned, &big));
    const CRect below = rectOf(owned);
    EXPECT_GE(below.top, a.bottom);
    EXPECT_EQ(below.left, a.left);
    EXPECT_FALSE(overlap(below, rectOf(middle)));
    EXPECT_TRUE(onDesktop(below));
    EXPECT_FALSE(AfxPlaceWindowBeside(&owned, nullptr));
}

TEST_F(Placement, AWindowTheProgramMovedStaysWhereItWasPut) {
    ASSERT_TRUE(big.Create(IDD_SPCTM_ONECHNL_3D));
    big.ShowWindow(SW_SHOW);
    ASSERT_TRUE(small.Create(IDD_SPCTM_STDSET));
    small.MoveWindow(40, 50, 300, 200);
    small.ShowWindow(SW_SHOW);
    EXPECT_EQ(rectOf(small).TopLeft(), CPoint(40, 50));
}

// MoveWindow and GetWindowRect speak of the same rectangle, the frame's, title bar and borders
// included: a window moved to the rectangle it reports keeps its size, shown or hidden, and a
// window not shown yet is given the decorations that a shown one has.
TEST_F(Placement, AWindowMovedToItsOwnRectangleKeepsItsSize) {
    ASSERT_TRUE(big.Create(IDD_SPCTM_ONECHNL_3D));
    big.ShowWindow(SW_SHOW);
    CWinTestDriver::ProcessEvents();
    CRect client, after;
    big.GetClientRect(&client);
    for (const int show : {SW_SHOW, SW_HIDE}) {
        big.ShowWindow(show);
        const CRect r = rectOf(big);
        big.MoveWindow(&r);
        CWinTestDriver::ProcessEvents();
        EXPECT_EQ(rectOf(big), r) << (show == SW_SHOW ? "shown" : "hidden");
        big.GetClientRect(&after);
        EXPECT_EQ(after, client);
    }
    big.ShowWindow(SW_SHOW);
    // A child has no decorations, shown or hidden.
    CWnd* button = big.GetDlgItem(IDC_1CH_SETTING);
    ASSERT_TRUE(button);
    button->ShowWindow(SW_HIDE);
    button->MoveWindow(10, 20, 30, 40);
    CRect placed = rectOf(*button);
    big.ScreenToClient(&placed);
    EXPECT_EQ(placed, CRect(10, 20, 40, 60));
    button->GetClientRect(&placed);
    EXPECT_EQ(placed, CRect(0, 0, 30, 40));
    ASSERT_TRUE(small.Create(IDD_SPCTM_STDSET));
    small.MoveWindow(40, 50, 300, 200);
    EXPECT_EQ(rectOf(small), CRect(40, 50, 340, 250));
    small.ShowWindow(SW_SHOW);
    CWinTestDriver::ProcessEvents();
    EXPECT_EQ(rectOf(small), CRect(40, 50, 340, 250));
    small.GetClientRect(&after);
    EXPECT_LT(after.Width(), 300) << "the borders take their part";
}

} // namespace
