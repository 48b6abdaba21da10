// The single-channel view's paint paths read back from the engine's frame: no scene while
// hidden, an empty scene without a joinable surface, the joined surface kept until rebuilt,
// and the per-strip path drawing the same surface.
#include "UiTest.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "engine/CM3Dzq.h"
#include "facade/CVelmoraFacezq.h"
#include "geometry/COneSpctm3DVtx.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CSpctmColorBar.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

int noCallback(int, int) {
    return 0;
}

class OneChnlViewTest : public UiTest {
protected:
    void open(bool show = true) {
        data.build(12, 6, {GridDataSet::ramp(12, 6, 1.0, 9.0)});
        if (show) {
            // A square base, so the surface covers the middle of the frame.
            ASSERT_EQ(face.checkInitMEGSpctm3DRnd(&data.data), 1);
            face.m_pRnd->scaleFreq = 2.0;
            ASSERT_EQ(face.show3DOneChnlSpctmAct(&data.data, noCallback, nullptr), 1);
            view = &face.m_pDlgOneChnlAct->m_view;
            paint();
            if (!view->m_pM3D)
                GTEST_SKIP() << "no 3D device: " << view->getInitError();
        }
    }
    void paint() {
        CWinTestDriver::ProcessEvents();
        view->Invalidate(FALSE);
        view->UpdateWindow();
    }
    // The presented frame, red in bits 0-7.
    std::vector<std::uint32_t> samples() {
        const CM3Dzq* e = view->m_pM3D;
        if (!e->getImage()) {
            ADD_FAILURE() << "no frame was presented";
            return {};
        }
        const size_t n = static_cast<size_t>(e->getImageWidth()) * e->getImageHeight();
        std::vector<std::uint32_t> out(e->getImage(), e->getImage() + n);
        for (std::uint32_t& c : out)
            c &= 0xFFFFFF;
        return out;
    }
    std::uint32_t background() const {
        const float* c = view->m_pM3D->m_bgColor;
        auto b = [](float v) { return static_cast<unsigned>(v * 255.0f + 0.5f); };
        return RGB(b(c[0]), b(c[1]), b(c[2]));
    }
    static bool near(std::uint32_t a, std::uint32_t b) {
        for (int s = 0; s < 24; s += 8)
            if (std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)) > 3)
                return false;
        return true;
    }

    GridDataSet data;
    CVelmoraFacezq face;
    CStatOneChnlSpctm3Dzq* view = nullptr;
};

TEST_F(OneChnlViewTest, HiddenControlCreatesNoScene) {
    open(false);
    ASSERT_EQ(face.checkInitSpctmDlgSingleChnl(0), 1);
    view = &face.m_pDlgOneChnlAct->m_view;
    view->SendMessage(WM_PAINT);
    EXPECT_EQ(view->m_pM3D, nullptr);
    EXPECT_EQ(view->m_bScene3DInit, 0);
}

TEST_F(OneChnlViewTest, SurfaceIsLitColouredAndKeptUntilRebuilt) {
    open();
    const auto drawn = samples();
    size_t onSurface = 0;
    for (std::uint32_t c : drawn)
        onSurface += near(c, background()) ? 0 : 1;
    EXPECT_GE(onSurface, drawn.size() / 50);
    // A parameter change shows only after the rebuild.
    face.m_pRnd->stdUpper = face.m_pRnd->stdUpper * 4.0;
    paint();
    EXPECT_EQ(samples(), drawn);
    view->updateSpctmSurface();
    paint();
    EXPECT_NE(samples(), drawn);
}

TEST_F(OneChnlViewTest, PerStripPathDrawsTheSameSurface) {
    open();
    const auto joined = samples();
    view->drawCombined = 0;
    paint();
    const auto strips = samples();
    ASSERT_EQ(strips.size(), joined.size());
    size_t differing = 0;
    for (size_t i = 0; i < joined.size(); ++i)
        differing += near(strips[i], joined[i]) ? 0 : 1;
    // Only the seams between strips may differ.
    EXPECT_LT(differing, joined.size() / 200);
}

TEST_F(OneChnlViewTest, UnjoinableSurfaceShowsAnEmptyScene) {
    open();
    view->m_pVtx->combined.m_nVtx = 0;
    view->m_pVtx->stripCount = 1;
    paint();
    const auto frame = samples();
    EXPECT_TRUE(std::all_of(frame.begin(), frame.end(),
                            [&](std::uint32_t c) { return near(c, background()); }));
    view->m_pVtx->stripCount = 0;
    EXPECT_EQ(view->rendSpctmStrips(), 0);
}

// The numbers under the colour bar: the ends of the range each drawing colours by, with the
// middle of a two-sided palette, in four significant digits.
TEST(ColorBarNumbers, NameTheEndsOfTheRangeOfEachDrawing) {
    CMEGSpctm3DRndzq rnd;
    rnd.stdLower = 0.25;
    rnd.stdUpper = 12.3456;
    rnd.proLower = -3.5;
    rnd.proUpper = 7.125;
    rnd.proLowerLimit = -0.0625;
    rnd.proUpperLimit = 2.75;
    const auto expectNumbers = [&](const char16_t* left, const char16_t* middle,
                                   const char16_t* right, const char* drawing) {
        const CSpctmColorBar::Numbers n = CSpctmColorBar::numbers(rnd);
        EXPECT_EQ(n.left, CString(left)) << drawing;
        EXPECT_EQ(n.middle, CString(middle)) << drawing;
        EXPECT_EQ(n.right, CString(right)) << drawing;
    };
    rnd.standardMode = 1;
    rnd.polarity = 1;
    expectNumbers(u"-12.35", u"0.25", u"12.35", "polarity");
    rnd.polarity = 0;
    expectNumbers(u"0.25", u"", u"12.35", "absolute value");
    rnd.standardMode = 0;
    rnd.proDisplayMode = 1;
    expectNumbers(u"-3.5", u"", u"7.125", "window view");
    rnd.proDisplayMode = 2;
    expectNumbers(u"-2.75", u"-0.0625", u"2.75", "peak view");
}

} // namespace
