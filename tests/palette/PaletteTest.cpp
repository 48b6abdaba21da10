// Palettes: sizes, the index rule, colour layout and the shape of the colour ramps.
#include "palette/CADRindex2Colorzq.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

int channel(std::uint32_t c, int k) {
    return static_cast<int>((c >> (8 * k)) & 0xFF);
}
int brightness(std::uint32_t c) {
    return channel(c, 0) + channel(c, 1) + channel(c, 2);
}

const CADRindex2Colorzq& palettes() {
    static const CADRindex2Colorzq p;
    return p;
}

class ContinuousPalette : public testing::TestWithParam<int> {};

TEST_P(ContinuousPalette, RisesSteadilyFromDarkToBright) {
    const int n = GetParam();
    const std::uint32_t* pal = palettes().getContinuousPalette(n);
    ASSERT_NE(pal, nullptr);
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(pal[i] >> 24, 0u) << i;
    for (int i = 1; i < n; ++i)
        EXPECT_LE(brightness(pal[i - 1]), brightness(pal[i]) + 3) << i;
    EXPECT_LT(brightness(pal[0]), 200);
    EXPECT_GT(brightness(pal[n - 1]), 450);
    EXPECT_GT(channel(pal[0], 2), channel(pal[0], 1)); // dark violet start
    EXPECT_GT(channel(pal[n - 1], 0), 200);            // yellow end
}

INSTANTIATE_TEST_SUITE_P(Sizes, ContinuousPalette, testing::Values(256, 512, 768, 1024),
                         [](const auto& info) { return std::to_string(info.param) + "Entries"; });

class PeakPair : public testing::TestWithParam<int> {};

TEST_P(PeakPair, StartsNeutralAndGrowsToBlueAndRed) {
    const int pair = GetParam();
    const int n = CADRindex2Colorzq::getPeakPaletteSize(pair);
    EXPECT_EQ(n, pair == 3 ? 768 : 256);
    const std::uint32_t* neg = palettes().getNegativePalette(pair);
    const std::uint32_t* pos = palettes().getPositivePalette(pair);
    ASSERT_TRUE(neg && pos);
    EXPECT_EQ(neg[0], pos[0]);
    EXPECT_EQ(channel(neg[0], 0), channel(neg[0], 2)); // grey
    EXPECT_GT(channel(neg[n - 1], 2), 150);
    EXPECT_LT(channel(neg[n - 1], 0), 60);
    EXPECT_GT(channel(pos[n - 1], 0), 150);
    EXPECT_LT(channel(pos[n - 1], 2), 60);
}

INSTANTIATE_TEST_SUITE_P(Pairs, PeakPair, testing::Values(0, 1, 2, 3),
                         [](const auto& info) { return "Pair" + std::to_string(info.param); });

TEST(Palette, UnknownSizesAndPairsGiveNull) {
    EXPECT_EQ(palettes().getContinuousPalette(765), nullptr);
    EXPECT_EQ(palettes().getNegativePalette(4), nullptr);
    EXPECT_EQ(palettes().getPositivePalette(-1), nullptr);
    EXPECT_EQ(CADRindex2Colorzq::getPeakPaletteSize(7), 0);
}

struct IndexCase {
    double value, lower, upper;
    int entries, expected;
};

class ColorIndex : public testing::TestWithParam<IndexCase> {};

TEST_P(ColorIndex, FollowsTheRule) {
    const IndexCase c = GetParam();
    EXPECT_EQ(CADRindex2Colorzq::colorIndex(c.value, c.lower, c.upper, c.entries), c.expected);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, ColorIndex,
    testing::Values(IndexCase{-1.0, -1.0, 1.0, 1024, 0}, IndexCase{-5.0, -1.0, 1.0, 1024, 0},
                    IndexCase{1.0, -1.0, 1.0, 1024, 1023}, IndexCase{kInf, -1.0, 1.0, 1024, 1023},
                    IndexCase{0.0, -1.0, 1.0, 1024, 512}, IndexCase{0.5, 0.0, 1.0, 768, 384},
                    IndexCase{0.999999999, 0.0, 1.0, 256, 255}, IndexCase{kNaN, 0.0, 1.0, 256, 0},
                    IndexCase{0.5, 1.0, 1.0, 256, 0}, IndexCase{0.5, 2.0, 1.0, 256, 0},
                    IndexCase{0.5, kNaN, 1.0, 256, 0}, IndexCase{0.5, 0.0, 1.0, 0, 0}),
    [](const auto& info) {
        const auto num = [](double v) {
            std::ostringstream s;
            s.precision(10);
            s << v;
            std::string out;
            for (char ch : s.str())
                out += ch == '-' ? "Minus" : ch == '.' ? "p" : ch == '+' ? "" : std::string(1, ch);
            return out;
        };
        const IndexCase& c = info.param;
        return "Value" + num(c.value) + "In" + num(c.lower) + "To" + num(c.upper) + "Of" +
               std::to_string(c.entries);
    });

TEST(Palette, ColorBecomesFourFloats) {
    float rgba[4];
    CADRindex2Colorzq::color2Float4(0x00FF8000u, rgba);
    EXPECT_FLOAT_EQ(rgba[0], 0.0f);
    EXPECT_FLOAT_EQ(rgba[1], 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(rgba[2], 1.0f);
    EXPECT_FLOAT_EQ(rgba[3], 1.0f);
    CADRindex2Colorzq::color2Float4(0u, nullptr);
}

} // namespace
