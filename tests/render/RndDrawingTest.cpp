// Single-channel drawings: palette entries, strip layout, positions, normals and failures.
#include "GridDataSet.h"
#include "geometry/COneSpctm3DVtx.h"
#include "render/CMEGSpctm3DRndzq.h"

#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

enum Drawing { Window, Peak, Absolute, Polarity };
enum Palette { Continuous, Negative, Positive };

void select(CMEGSpctm3DRndzq& r, Drawing d) {
    r.standardMode = d == Absolute || d == Polarity;
    r.polarity = d == Polarity;
    if (d == Peak && r.proDisplayMode < 2)
        r.proDisplayMode = 2;
}

struct ColourCase {
    Drawing drawing;
    int colorCount;
    int proDisplayMode;
    double value;
    Palette palette;
    int entry;
};

class DrawingColour : public ::testing::TestWithParam<ColourCase> {};

// Every vertex of a uniform grid takes the same palette entry.
TEST_P(DrawingColour, UniformGridTakesTheExpectedEntry) {
    const ColourCase c = GetParam();
    GridDataSet data;
    data.buildUniform(4, 5, c.value);
    CMEGSpctm3DRndzq r;
    r.setDrawMEGData(&data.data);
    r.colorCount = c.colorCount;
    r.proDisplayMode = c.proDisplayMode;
    select(r, c.drawing);
    COneSpctm3DVtx vtx;
    ASSERT_EQ(r.showSpctmOneChl(&vtx, CRect(), 0, 0), 1);
    ASSERT_GT(vtx.combined.m_nVtx, 0);

    const int pair = c.colorCount == 256   ? 0
                     : c.colorCount == 512 ? 1
                     : c.colorCount == 768 ? 2
                                           : 3;
    const int k =
        c.colorCount == 256 || c.colorCount == 512 || c.colorCount == 768 ? c.colorCount : 1024;
    const std::uint32_t* palette = c.palette == Continuous ? r.getContinuousPalette(k)
                                   : c.palette == Negative ? r.getNegativePalette(pair)
                                                           : r.getPositivePalette(pair);
    float expected[4];
    CADRindex2Colorzq::color2Float4(palette[c.entry], expected);
    for (long long i = 0; i < vtx.combined.m_nVtx; ++i)
        for (int ch = 0; ch < 4; ++ch)
            ASSERT_EQ(vtx.combined.m_pVtx[i].clr[ch], expected[ch]) << "vertex " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DrawingColour,
    ::testing::Values(ColourCase{Window, 765, 0, -1.0, Continuous, 0},
                      ColourCase{Window, 765, 0, 1.0, Continuous, 1023},
                      ColourCase{Window, 765, 0, 0.0, Continuous, 512},
                      ColourCase{Window, 512, 0, 0.5, Continuous, 384},
                      ColourCase{Window, 765, 1, -1.0, Continuous, 512},
                      ColourCase{Window, 765, 1, 0.5, Continuous, 768},
                      ColourCase{Peak, 765, 2, -1.5, Negative, 384},
                      ColourCase{Peak, 765, 2, 0.5, Negative, 0},
                      ColourCase{Peak, 765, 2, 1.5, Positive, 384},
                      ColourCase{Peak, 765, 2, 1e300, Positive, 767},
                      ColourCase{Peak, 256, 2, -1.5, Negative, 128},
                      ColourCase{Peak, 765, 3, -1.5, Negative, 384},
                      ColourCase{Absolute, 765, 0, 0.5, Continuous, 512},
                      ColourCase{Absolute, 765, 0, -0.5, Continuous, 512},
                      ColourCase{Absolute, 765, 0, -1.0, Continuous, 1023},
                      ColourCase{Absolute, 765, 0, 0.0, Continuous, 0},
                      ColourCase{Absolute, 256, 0, 0.5, Continuous, 128},
                      ColourCase{Absolute, 765, 0, std::numeric_limits<double>::quiet_NaN(),
                                 Continuous, 0},
                      ColourCase{Polarity, 765, 0, -0.5, Negative, 384},
                      ColourCase{Polarity, 765, 0, 0.5, Positive, 384},
                      ColourCase{Polarity, 765, 0, 0.0, Positive, 0},
                      ColourCase{Polarity, 768, 0, 0.5, Positive, 128},
                      ColourCase{Polarity, 765, 0, -7.0, Negative, 767}),
    ([](const auto& info) {
        const auto num = [](double v) {
            std::ostringstream s;
            s.precision(10);
            s << v;
            std::string out;
            for (char ch : s.str())
                out += ch == '-' ? "Minus" : ch == '.' ? "p" : ch == '+' ? "" : std::string(1, ch);
            return out;
        };
        const char* const drawings[] = {"Window", "Peak", "Absolute", "Polarity"};
        const ColourCase& c = info.param;
        return drawings[c.drawing] + std::to_string(c.colorCount) + "Mode" +
               std::to_string(c.proDisplayMode) + "Value" + num(c.value);
    }));

class Drawings : public ::testing::Test {
protected:
    void bindUniform(long long nTime, long long nFreq, double v) {
        data.buildUniform(nTime, nFreq, v);
        r.setDrawMEGData(&data.data);
    }
    GridDataSet data;
    CMEGSpctm3DRndzq r;
    COneSpctm3DVtx vtx;
};

TEST_F(Drawings, StripLayoutAndPositionsOfEachView) {
    bindUniform(3, 3, 0.25);
    r.scaleValue = 2.0;
    select(r, Peak);
    ASSERT_EQ(r.showSpctmOneChl(&vtx, CRect(), 0, 0), 1);
    ASSERT_EQ(vtx.stripCount, 2);
    EXPECT_EQ(vtx.strips[0].m_nVtx, 4);
    EXPECT_EQ(vtx.strips[1].m_nVtx, 4);
    const float* p = vtx.strips[0].m_pVtx[0].pos;
    EXPECT_FLOAT_EQ(p[0], -1.0f);
    EXPECT_FLOAT_EQ(p[1], 0.5f);
    EXPECT_FLOAT_EQ(p[2], -0.1f);
    EXPECT_FLOAT_EQ(p[3], 1.0f);
    EXPECT_FLOAT_EQ(vtx.strips[1].m_pVtx[3].pos[0], 0.0f);
    EXPECT_FLOAT_EQ(vtx.strips[1].m_pVtx[3].pos[2], 0.1f);
    EXPECT_EQ(vtx.combined.m_nVtx, 10);

    // The window view starts one row and strip later at the same place and empties strip 0,
    // so a grid this small leaves nothing to join.
    select(r, Window);
    r.proDisplayMode = 0;
    ASSERT_EQ(r.showSpctmOneChl(&vtx, CRect(), 0, 0), 1);
    EXPECT_EQ(vtx.strips[0].m_nVtx, 0);
    EXPECT_EQ(vtx.strips[1].m_nVtx, 2);
    EXPECT_FLOAT_EQ(vtx.strips[1].m_pVtx[0].pos[0], -1.0f);
    EXPECT_FLOAT_EQ(vtx.strips[1].m_pVtx[0].pos[2], -0.1f);
    EXPECT_EQ(vtx.combined.m_nVtx, 0);
}

TEST_F(Drawings, SmallestGridsAndTheJoinOfAStandardDrawing) {
    bindUniform(2, 2, 0.5);
    select(r, Polarity);
    ASSERT_EQ(r.showSpctmOneChl(&vtx, CRect(), 0, 0), 1);
    EXPECT_EQ(vtx.strips[0].m_nVtx, 2);
    select(r, Absolute);
    EXPECT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), 0, 0), 1);
    EXPECT_EQ(vtx.strips[0].m_nVtx, 0);

    GridDataSet big;
    big.buildUniform(4, 5, 0.5);
    r.setDrawMEGData(&big.data);
    select(r, Polarity);
    ASSERT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), 0, 0), 1);
    EXPECT_EQ(vtx.combined.m_nVtx, 4 * 6 + 3 * 2); // four strips of three rows, three links
}

struct NormalCase {
    Drawing drawing;
    int normalDetail;
    float y, w;
};

class DrawingNormals : public ::testing::TestWithParam<NormalCase> {};

TEST_P(DrawingNormals, FlatGridIsLitFromAbove) {
    const NormalCase c = GetParam();
    GridDataSet data;
    data.buildUniform(5, 6, 0.3);
    CMEGSpctm3DRndzq r;
    r.setDrawMEGData(&data.data);
    r.normalDetail = c.normalDetail;
    select(r, c.drawing);
    COneSpctm3DVtx vtx;
    ASSERT_EQ(r.showSpctmOneChl(&vtx, CRect(), 0, 0), 1);
    ASSERT_GT(vtx.combined.m_nVtx, 0);
    for (long long i = 0; i < vtx.combined.m_nVtx; ++i) {
        const float* n = vtx.combined.m_pVtx[i].nml;
        ASSERT_EQ(n[0], 0.0f);
        ASSERT_NEAR(n[1], c.y, 1e-6f);
        ASSERT_EQ(n[2], 0.0f);
        ASSERT_NEAR(n[3], c.w, 1e-5f) << "vertex " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Details, DrawingNormals,
    ::testing::Values(NormalCase{Absolute, 0, 1.0f, 1.0f}, NormalCase{Polarity, 0, 1.0f, 1.0f},
                      NormalCase{Absolute, 1, 1.0f, 1.0f / 0.55f},
                      NormalCase{Polarity, 1, 1.0f, 1.0f / 0.55f},
                      NormalCase{Absolute, 2, 1.0f, 0.0f}, NormalCase{Polarity, 2, 1.0f, 0.0f},
                      NormalCase{Window, 2, 1.0f, 1.0f / 0.55f},
                      NormalCase{Peak, 0, 1.0f, 1.0f / 0.55f}),
    ([](const auto& info) {
        const char* const drawings[] = {"Window", "Peak", "Absolute", "Polarity"};
        return drawings[info.param.drawing] + std::string("Detail") +
               std::to_string(info.param.normalDetail);
    }));

// Standard normals of both vertices of every pair on surfaces that rise along one axis only,
// where a flat grid cannot tell the rule from mixed-up axes, signs or the missed diagonal.
struct SlopeCase {
    const char* name;
    Drawing drawing;
    double perTime, perFreq;
};

void PrintTo(const SlopeCase& c, std::ostream* os) {
    *os << c.name;
}

class StandardNormals : public ::testing::TestWithParam<SlopeCase> {};

// The normalised (x, s, z, 1) of a vertex.
void expectStdNormal(const float* n, double x, double s, double z, const std::string& where) {
    const double len = std::sqrt(x * x + s * s + z * z);
    const double expected[4] = {x / len, s / len, z / len, 1.0 / len};
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(n[k], expected[k], 2e-5) << where << ", component " << k;
}

TEST_P(StandardNormals, FollowTheForwardDifferencesOfEachPair) {
    const SlopeCase c = GetParam();
    constexpr long long T = 5, F = 4;
    std::vector<double> grid(T * F);
    for (long long t = 0; t < T; ++t)
        for (long long f = 0; f < F; ++f)
            grid[t * F + f] = 0.2 + c.perTime * t + c.perFreq * f;
    GridDataSet data;
    data.build(T, F, {grid});
    CMEGSpctm3DRndzq r;
    r.setDrawMEGData(&data.data);
    r.normalDetail = 1;
    r.scaleValue = 1.5;
    r.scaleTime = 0.8;
    r.scaleFreq = 0.3;
    select(r, c.drawing);
    COneSpctm3DVtx vtx;
    ASSERT_EQ(r.showSpctmOneChl(&vtx, CRect(), 0, 0), 1);
    const auto h = [&](long long t, long long f) { return 1.5 * grid[t * F + f]; };
    const double s = 0.55;
    // The absolute and window drawings start one row and one strip later.
    const long long first = c.drawing == Absolute || c.drawing == Window ? 1 : 0;
    D3DVTX_PNCd pair[2];
    std::vector<double*> rows;
    for (long long t = 0; t < T; ++t)
        rows.push_back(grid.data() + t * F);
    for (long long f = first; f <= F - 2; ++f) {
        ASSERT_EQ(vtx.strips[f].m_nVtx, 2 * (T - 1 - first));
        for (long long t = first; t <= T - 2; ++t) {
            const std::string at = "pair (" + std::to_string(t) + ", " + std::to_string(f) + ")";
            const double x0 = h(t, f) - h(t + 1, f), z0 = h(t, f) - h(t, f + 1);
            const double x1 = h(t, f + 1) - h(t + 1, f + 1), z1 = h(t, f + 1) - h(t + 1, f);
            const D3DVTX_PNCd* drawn = vtx.strips[f].m_pVtx + 2 * (t - first);
            expectStdNormal(drawn[0].nml, x0, s, z0, "drawn first of " + at);
            expectStdNormal(drawn[1].nml, x1, s, z1, "drawn second of " + at);
            // The renderer's per-pair operations give the same, from one array or row pointers.
            ASSERT_EQ(r.normalCmpStdx(grid.data(), t, f, F, pair, 1, 0, 0), 1);
            expectStdNormal(pair[1].nml, x0, s, z0, "array first of " + at);
            expectStdNormal(pair[0].nml, x1, s, z1, "array second of " + at);
            ASSERT_EQ(r.normalCmpStd(rows.data(), t, f, pair, 0, 1, 0), 1);
            expectStdNormal(pair[0].nml, x0, s, z0, "rows first of " + at);
            expectStdNormal(pair[1].nml, x1, s, z1, "rows second of " + at);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Slopes, StandardNormals,
                         ::testing::Values(SlopeCase{"PolarityAlongTime", Polarity, 0.25, 0.0},
                                           SlopeCase{"PolarityAlongFrequency", Polarity, 0.0, 0.35},
                                           SlopeCase{"AbsoluteAlongTime", Absolute, 0.25, 0.0},
                                           SlopeCase{"AbsoluteAlongFrequency", Absolute, 0.0, 0.35},
                                           SlopeCase{"WindowAlongTime", Window, 0.25, 0.0},
                                           SlopeCase{"WindowAlongFrequency", Window, 0.0, 0.35},
                                           SlopeCase{"PeakAlongTime", Peak, 0.25, 0.0},
                                           SlopeCase{"PeakAlongFrequency", Peak, 0.0, 0.35}),
                         [](const auto& info) { return std::string(info.param.name); });

// One vertex grid drawn from grids that keep their time points and gain or lose frequencies,
// then the reverse: the strips follow every new size and the join holds all of them.
TEST_F(Drawings, ChangedGridSizesGetStripsOfTheNewSize) {
    select(r, Polarity);
    const std::pair<long long, long long> sizes[] = {{5, 4}, {5, 7}, {5, 3},
                                                     {8, 3}, {3, 3}, {6, 5}};
    GridDataSet grids[std::size(sizes)];
    for (size_t i = 0; i < std::size(sizes); ++i) {
        const auto [T, F] = sizes[i];
        SCOPED_TRACE(std::to_string(T) + " x " + std::to_string(F));
        grids[i].build(T, F, {GridDataSet::ramp(T, F, 0.1, 0.9)});
        r.setDrawMEGData(&grids[i].data);
        ASSERT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), 0, 0), 1);
        ASSERT_EQ(vtx.stripCount, F - 1);
        for (long long f = 0; f < vtx.stripCount; ++f) {
            EXPECT_EQ(vtx.strips[f].m_nVtxCapacity, 2 * T);
            EXPECT_EQ(vtx.strips[f].m_nVtx, 2 * (T - 1));
        }
        EXPECT_EQ(vtx.combined.m_nVtx, (F - 1) * 2 * (T - 1) + 2 * (F - 2));
        // The last vertex joined is the last row of the last column, at the ramp's top row.
        const float* last = vtx.combined.m_pVtx[vtx.combined.m_nVtx - 1].pos;
        EXPECT_FLOAT_EQ(last[1], static_cast<float>(0.1 + 0.8 * (T - 2) / (T - 1)));
    }
}

TEST_F(Drawings, InfiniteValueGivesNanNormalAtItsPoint) {
    std::vector<double> grid(4 * 4, 0.1);
    grid[1 * 4 + 1] = std::numeric_limits<double>::infinity();
    data.build(4, 4, {grid});
    r.setDrawMEGData(&data.data);
    select(r, Polarity);
    ASSERT_EQ(r.showSpctmOneChl(&vtx, CRect(), 0, 0), 1);
    const float* n = vtx.strips[1].m_pVtx[2].nml; // point (1, 1)
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(std::isnan(n[k]));
    EXPECT_FALSE(std::isnan(vtx.strips[2].m_pVtx[4].nml[1])); // point (2, 2)
}

TEST_F(Drawings, GroupGridsAndMissingChannelSpectra) {
    data.build(4, 4, {std::vector<double>(16, 0.2), std::vector<double>(16, 0.6)});
    r.setDrawMEGData(&data.data);
    r.showSource = 1; // group mean 0.4
    select(r, Absolute);
    ASSERT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), 0, 0), 1);
    EXPECT_FLOAT_EQ(vtx.strips[1].m_pVtx[0].pos[1], 0.4f);

    // Class 1 has no spectra: the window view and the absolute drawing fail.
    select(r, Window);
    r.proDisplayMode = 0;
    EXPECT_EQ(r.drawOneSpctmColumn(&vtx, CRect(), 1, 0), 0);
    select(r, Absolute);
    EXPECT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), 1, 0), 0);
}

TEST_F(Drawings, QuietFailuresKeepTheSurface) {
    select(r, Polarity);
    EXPECT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), 0, 0), 0); // no data
    bindUniform(4, 4, 0.5);
    ASSERT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), 0, 0), 1);
    const long long joined = vtx.combined.m_nVtx;
    EXPECT_EQ(r.drawOneSpctmColumnStd(nullptr, CRect(), 0, 0), 0);
    EXPECT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), 0, 9), 0);
    EXPECT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), -1, 0), 0);
    for (int source : {-1, 7}) {
        r.showSource = source;
        EXPECT_EQ(r.drawOneSpctmColumnStd(&vtx, CRect(), 0, 0), 0);
        EXPECT_EQ(r.drawOneSpctmColumn(&vtx, CRect(), 0, 0), 0);
        EXPECT_EQ(r.showSpctmOneChl(&vtx, CRect(), 0, 0), 1);
    }
    EXPECT_EQ(vtx.combined.m_nVtx, joined);
}

} // namespace
