// The single-channel view's paint paths read back from the engine's frame: no scene while
// hidden, an empty scene without a joinable surface, the joined surface kept until rebuilt,
// and the per-strip path drawing the same surface; its axes and colour bar read back from
// the window's picture: labels where their values lie on the surface, ticks where the bar
// shows their values.
#include "UiTest.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/res/resource.h"
#include "engine/CM3Dzq.h"
#include "facade/CVelmoraFacezq.h"
#include "geometry/COneSpctm3DVtx.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CSpctmColorBar.h"
#include "win/CPaintDC.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>

namespace {

int noCallback(int, int) {
    return 0;
}

class OneChnlViewTest : public UiTest {
protected:
    void open(bool show = true) { openWith(12, 6, GridDataSet::ramp(12, 6, 1.0, 9.0), show); }
    void openWith(long long nTime, long long nFreq, const std::vector<double>& grid,
                  bool show = true) {
        data.build(nTime, nFreq, {grid});
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

    // What the window shows, red in bits 0-7.
    std::vector<std::uint32_t> picture(int& w, int& h) {
        auto p = CWinTestDriver::GrabClient(view, &w, &h);
        for (std::uint32_t& c : p)
            c &= 0xFFFFFF;
        return p;
    }
    static int distance(std::uint32_t a, std::uint32_t b) {
        int d = 0;
        for (int s = 0; s < 24; s += 8)
            d += std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF));
        return d;
    }
    static bool white(std::uint32_t c) { return distance(c, 0xFFFFFF) < 90; }
    // The tick labels of an axis as (value, centre) pairs.
    std::vector<std::pair<double, CPoint>> ticks(CSpctmAxes3D::AxisId axis) const {
        std::vector<std::pair<double, CPoint>> out;
        for (const auto& l : view->axes().labels())
            if (l.axis == axis && !l.title)
                out.push_back({std::stod(l.text.ToUtf8()), l.rect.CenterPoint()});
        return out;
    }
    // Where a value lies along the screen line through the labels of an axis (first and
    // last label; the top view draws the map's axes straight).
    static double at(const std::vector<std::pair<double, CPoint>>& t, double v, bool vertical) {
        const auto& [v0, p0] = t.front();
        const auto& [v1, p1] = t.back();
        const double a = vertical ? p0.y : p0.x, b = vertical ? p1.y : p1.x;
        return a + (b - a) * (v - v0) / (v1 - v0);
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

// The numbers under the colour bar: the ends of the range each drawing colours by, 0 in the
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
    expectNumbers(u"-12.35", u"0", u"12.35", "polarity");
    rnd.polarity = 0;
    expectNumbers(u"0.25", u"", u"12.35", "absolute value");
    // A factor of 0 or none divides by nothing.
    for (double factor : {0.0, std::nan("")})
        EXPECT_EQ(CSpctmColorBar::numbers(rnd, factor).right, CString(u"12.35"));
    rnd.standardMode = 0;
    rnd.proDisplayMode = 1;
    expectNumbers(u"-3.5", u"", u"7.125", "window view");
    rnd.proDisplayMode = 2;
    expectNumbers(u"-0.0625", u"0", u"2.75", "peak view");
}

// A grid of zeros with a ridge along one time row (60 ms) and one frequency column (10 Hz):
// seen from above the ridges are lines, and the labels 60 and 10 must stand at them.
TEST_F(OneChnlViewTest, TopViewLabelsStandWhereTheirValuesLieOnTheMap) {
    const long long nTime = 12, nFreq = 8; // 0..110 ms in 10 ms, 4..18 Hz in 2 Hz
    std::vector<double> grid(nTime * nFreq, 0.0);
    for (long long t = 0; t < nTime; ++t)
        for (long long f = 0; f < nFreq; ++f)
            grid[t * nFreq + f] = (t == 6 || f == 3) ? 1.0 : 0.0;
    openWith(nTime, nFreq, grid);
    // Flat, so that the ridges stand in the map's plane (seen in perspective, a tall ridge
    // would lean away from the centre).
    face.m_pRnd->scaleValue = 1e-3;
    view->updateSpctmSurface();
    view->toggleTopView();
    ASSERT_TRUE(view->isTopView());
    paint();
    int w = 0, h = 0;
    const auto pic = picture(w, h);
    ASSERT_GT(w * h, 0);
    CWinTestDriver::GrabToPng(view, VELMORA_PNG_DIR "/single-channel-top.png");

    const auto time = ticks(CSpctmAxes3D::kTime), freq = ticks(CSpctmAxes3D::kFrequency);
    ASSERT_GE(time.size(), 3u);
    ASSERT_GE(freq.size(), 3u);
    // Time runs to the right along a horizontal axis, frequency upwards along a vertical one.
    EXPECT_LT(time.front().first, time.back().first);
    EXPECT_LT(time.front().second.x, time.back().second.x);
    EXPECT_NEAR(time.front().second.y, time.back().second.y, 1);
    EXPECT_LT(freq.front().first, freq.back().first);
    EXPECT_GT(freq.front().second.y, freq.back().second.y);
    EXPECT_NEAR(freq.front().second.x, freq.back().second.x, 20) << "along one vertical axis";

    // The map's extremes: 0 ms at its left edge, 100 ms (the last row drawn) at its right,
    // 4 Hz at its bottom, 18 Hz at its top.
    const int left = static_cast<int>(std::lround(at(time, 0.0, false)));
    const int right = static_cast<int>(std::lround(at(time, 100.0, false)));
    const int bottom = static_cast<int>(std::lround(at(freq, 4.0, true)));
    const int top = static_cast<int>(std::lround(at(freq, 18.0, true)));
    ASSERT_TRUE(left > 3 && right + 3 < w && top > 3 && bottom + 3 < h);

    // The ridges, found in the picture: the column and row inside the map most unlike its
    // flat part.
    const int xQuiet = static_cast<int>(at(time, 20.0, false));
    const int yQuiet = static_cast<int>(at(freq, 16.0, true));
    const std::uint32_t flat = pic[yQuiet * w + xQuiet];
    int ridgeX = -1, ridgeY = -1, best = -1;
    for (int x = left + 3; x <= right - 3; ++x)
        if (const int d = distance(pic[yQuiet * w + x], flat); d > best)
            best = d, ridgeX = x;
    best = -1;
    for (int y = top + 3; y <= bottom - 3; ++y)
        if (const int d = distance(pic[y * w + xQuiet], flat); d > best)
            best = d, ridgeY = y;
    EXPECT_NEAR(ridgeX, at(time, 60.0, false), 3) << "the 60 ms ridge under its label";
    EXPECT_NEAR(ridgeY, at(freq, 10.0, true), 3) << "the 10 Hz ridge beside its label";

    const std::uint32_t bg = background();
    EXPECT_FALSE(near(pic[yQuiet * w + left + 2], bg));
    EXPECT_TRUE(near(pic[yQuiet * w + left - 3], bg));
    EXPECT_FALSE(near(pic[yQuiet * w + right - 2], bg));
    EXPECT_TRUE(near(pic[yQuiet * w + right + 3], bg));
    EXPECT_FALSE(near(pic[(bottom - 2) * w + xQuiet], bg));
    EXPECT_TRUE(near(pic[(bottom + 3) * w + xQuiet], bg));
    EXPECT_FALSE(near(pic[(top + 2) * w + xQuiet], bg));
    EXPECT_TRUE(near(pic[(top - 3) * w + xQuiet], bg));

    // Every label is drawn where it was placed, and no two overlap.
    const auto& labels = view->axes().labels();
    for (size_t i = 0; i < labels.size(); ++i) {
        const CRect& r = labels[i].rect;
        int lit = 0;
        for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, h); ++y)
            for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, w); ++x)
                lit += white(pic[y * w + x]) ? 1 : 0;
        EXPECT_GE(lit, 3) << labels[i].text.ToUtf8();
        for (size_t j = i + 1; j < labels.size(); ++j) {
            CRect common;
            EXPECT_FALSE(common.IntersectRect(r, labels[j].rect));
        }
    }
}

TEST_F(OneChnlViewTest, ObliqueViewShowsEveryAxisWithItsUnit) {
    open();
    face.m_pRnd->showInfo = 1;
    paint();
    CWinTestDriver::GrabToPng(view, VELMORA_PNG_DIR "/single-channel-oblique.png");
    EXPECT_FALSE(view->isTopView());
    // Labels keep clear of the information line at the top.
    int textHeight = 0;
    for (const auto& l : view->axes().labels()) {
        textHeight = std::max(textHeight, static_cast<int>(l.rect.Height()));
        EXPECT_GT(l.rect.top, textHeight) << l.text.ToUtf8();
    }
    std::vector<std::string> titles;
    for (const auto& l : view->axes().labels())
        if (l.title)
            titles.push_back(l.text.ToUtf8());
    EXPECT_EQ(titles, (std::vector<std::string>{"Time (ms)", "Frequency (Hz)", "Real part (T)"}));
    for (auto axis : {CSpctmAxes3D::kTime, CSpctmAxes3D::kFrequency, CSpctmAxes3D::kValue})
        EXPECT_GE(ticks(axis).size(), 2u) << axis;
    // Seen from the front-left: early times nearer the viewer's left than late ones.
    const auto time = ticks(CSpctmAxes3D::kTime);
    EXPECT_LT(time.front().second.x, time.back().second.x);
    EXPECT_EQ(view->valueTitle(), u"Real part (T)");
    view->m_component = 2;
    EXPECT_EQ(view->valueTitle(), u"Power (T\u00B2)");

    // Without axes the surface grows into their room and no label is left.
    size_t covered = 0;
    for (std::uint32_t c : samples())
        covered += near(c, background()) ? 0 : 1;
    view->m_component = 0;
    view->showAxes(false);
    paint();
    EXPECT_TRUE(view->axes().labels().empty());
    size_t coveredWithout = 0;
    for (std::uint32_t c : samples())
        coveredWithout += near(c, background()) ? 0 : 1;
    EXPECT_GT(coveredWithout, covered);
}

// A signed bar from -4858 to 4858 whose palette starts at 30.88: ticks at round values where
// the bar shows their colours, and 0, not the palette's lower end, in its middle.
TEST_F(OneChnlViewTest, ColourBarTicksStandWhereThePaletteShowsTheirValues) {
    open();
    CMEGSpctm3DRndzq& r = *face.m_pRnd;
    ASSERT_EQ(r.polarity, 1);
    r.stdLower = 30.88;
    r.stdUpper = 4858.0;
    paint();
    int w = 0, h = 0;
    const auto pic = picture(w, h);
    CWinTestDriver::GrabToPng(view, VELMORA_PNG_DIR "/single-channel-bar.png");
    const int pair = 3, entries = CADRindex2Colorzq::getPeakPaletteSize(pair);
    // Palette entry of each bar colour, negative entries counted below 0.
    std::unordered_map<std::uint32_t, int> entryOf;
    for (int i = entries - 1; i >= 0; --i) {
        entryOf[r.getNegativePalette(pair)[i] & 0xFFFFFF] = -1 - i;
        entryOf[r.getPositivePalette(pair)[i] & 0xFFFFFF] = i;
    }
    auto entry = [&](std::uint32_t c, int& e) {
        const auto it = entryOf.find(c);
        return it != entryOf.end() && (e = it->second, true);
    };
    // The bar: the lowest row with a long run of palette colours.
    int barY = -1, x0 = -1, x1 = -1;
    for (int y = h - 1; y >= 0 && barY < 0; --y) {
        int e = 0;
        for (int x = 0, start = 0; x <= w; ++x) {
            if (x < w && entry(pic[y * w + x], e))
                continue;
            if (x - start >= 200)
                barY = y, x0 = start, x1 = x - 1;
            start = x + 1;
        }
    }
    ASSERT_GE(barY, 0) << "no colour bar";
    // The column whose colour is the palette entry of value v (the renderer's rule).
    auto columnOf = [&](double v) {
        const int want =
            static_cast<int>(std::floor((std::fabs(v) - 30.88) * entries / (4858.0 - 30.88)));
        int bestX = -1, bestD = 1 << 30;
        for (int x = x0; x <= x1; ++x) {
            int e = 0;
            if (!entry(pic[barY * w + x], e) || (v < 0) != (e < 0))
                continue;
            const int d = std::abs((e < 0 ? -1 - e : e) - want);
            if (d < bestD)
                bestD = d, bestX = x;
        }
        return bestX;
    };
    for (double v : {-4000.0, -2000.0, 2000.0, 4000.0}) {
        const int x = columnOf(v);
        bool mark = false;
        for (int dx = -1; dx <= 1; ++dx)
            mark = mark || white(pic[(barY + 2) * w + x + dx]);
        EXPECT_TRUE(mark) << "tick of " << v << " at column " << x;
    }
    // The middle label is "0": one narrow glyph at the bar's middle.
    const int mid = (x0 + x1 + 1) / 2;
    int lo = w, hi = -1;
    for (int y = barY + 5; y < std::min(h, barY + 24); ++y)
        for (int x = mid - 25; x <= mid + 25; ++x)
            if (white(pic[y * w + x]))
                lo = std::min(lo, x), hi = std::max(hi, x);
    ASSERT_GE(hi, lo) << "no middle label";
    EXPECT_LT(hi - lo, 12) << "wider than a 0";
    EXPECT_NEAR((lo + hi) / 2.0, mid, 3);
}

} // namespace

namespace {

// However small the window, the colour bar keeps off the surface: the frame, fitted again,
// stops above the bar, and every pixel of the surface lies above the bar's panel.
TEST_F(OneChnlViewTest, ColourBarNeverCoversTheSurface) {
    open();
    for (const CSize size : {CSize(1093, 467), CSize(420, 260), CSize(300, 200)}) {
        SCOPED_TRACE(size.cx);
        ASSERT_EQ(face.m_pDlgOneChnlAct->sizeViewTo(size.cx, size.cy), 1);
        paint();
        CRect client;
        view->GetClientRect(&client);
        CPaintDC dc(view);
        const CRect bar = CSpctmColorBar::area(dc, client);
        if (bar.IsRectEmpty())
            continue;
        const std::vector<std::uint32_t> frame = samples();
        const int w = view->m_pM3D->getImageWidth(), h = view->m_pM3D->getImageHeight();
        int under = 0;
        for (int y = std::max(0, static_cast<int>(bar.top)); y < h; ++y)
            for (int x = std::max(0, static_cast<int>(bar.left)); x < w; ++x)
                under += near(frame[static_cast<size_t>(y) * w + x], background()) ? 0 : 1;
        EXPECT_EQ(under, 0) << "surface pixels under the colour bar";
    }
}

// Power of any size opens with relief, a value axis and a colour bar whose labels
// are a few digits in the unit with the prefix that fits; an unknown unit keeps its name.
TEST_F(OneChnlViewTest, PowerOfAnySizeShowsReliefAndPrefixedLabels) {
    struct Case {
        double scale; // of the grid; the power is its square
        const char16_t* unit;
        const char16_t* title;
    };
    const Case cases[] = {{1.0, u"\u00B5V", u"Power (\u00B5V\u00B2)"},
                          {1e-5, u"V", u"Power (\u00B5V\u00B2)"},  // power up to 8.1e-9 V²
                          {1e10, u"fT", u"Power (\u00B5T\u00B2)"}, // up to 8.1e21 fT²
                          {std::sqrt(1e-9), u"mmHg", u"Power (\u00D710\u207B\u2079 mmHg\u00B2)"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.title).ToUtf8());
        GridDataSet grid;
        grid.build(12, 6, {GridDataSet::ramp(12, 6, c.scale, 9.0 * c.scale)});
        ASSERT_TRUE(CMEDataSetBuilder(grid.data).setChannelUnit(0, 0, c.unit));
        CVelmoraFacezq shown;
        ASSERT_EQ(shown.checkInitSpctmDlgSingleChnl(0), 1);
        shown.sendMessageX(4, 2);
        ASSERT_EQ(shown.show3DOneChnlSpctmAct(&grid.data, noCallback, nullptr), 1);
        view = &shown.m_pDlgOneChnlAct->m_view;
        paint();
        if (!view->m_pM3D)
            GTEST_SKIP() << "no 3D device: " << view->getInitError();
        // Not flat: at least as tall as the base (11 wide, 10 deep) is wide.
        float hi = 0.0f;
        for (long long i = 0; i < view->m_pVtx->combined.m_nVtx; ++i)
            hi = std::max(hi, view->m_pVtx->combined.m_pVtx[i].pos[1]);
        EXPECT_GT(hi, 11.0f);

        std::vector<std::string> titles, labels;
        for (const auto& l : view->axes().labels())
            if (l.axis == CSpctmAxes3D::kValue)
                (l.title ? titles : labels).push_back(l.text.ToUtf8());
        EXPECT_EQ(titles, std::vector<std::string>{CString(c.title).ToUtf8()});
        ASSERT_GE(labels.size(), 2u);
        // 0 and steps of a round size: 10 .. 60 or 1000 .. 6000, never an exponent.
        EXPECT_EQ(labels.front(), "0");
        for (const std::string& text : labels)
            EXPECT_EQ(text.find_first_not_of("0123456789"), std::string::npos) << text;
        const double step = std::stod(labels[1]);
        EXPECT_TRUE(step == 10.0 || step == 1000.0) << step;

        double factor = 0.0;
        const CString caption =
            CSpctmColorBar::caption(*shown.m_pRnd, 2, view->valueUnit(), &factor);
        EXPECT_EQ(caption, CString(c.title));
        const CSpctmColorBar::Numbers n = CSpctmColorBar::numbers(*shown.m_pRnd, factor);
        EXPECT_EQ(n.right, CString(step == 10.0 ? u"81" : u"8100"));
    }
}

} // namespace
