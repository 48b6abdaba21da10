// Tick choice of the axes and the colour bar: 1-2-5 steps on awkward ranges, labels with the
// decimals the step needs.
#include "views/CAxisTicks.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

std::string text(const CString& s) {
    return s.ToUtf8();
}

TEST(AxisTicks, StepsAreOneTwoOrFiveTimesAPowerOfTen) {
    EXPECT_DOUBLE_EQ(CAxisTicks::niceStep(10.0, 5), 2.0);
    EXPECT_DOUBLE_EQ(CAxisTicks::niceStep(10.0, 4), 5.0) << "2.5 is no 1-2-5 step";
    EXPECT_DOUBLE_EQ(CAxisTicks::niceStep(10.0, 10), 1.0);
    EXPECT_DOUBLE_EQ(CAxisTicks::niceStep(10.0, 9), 2.0) << "one step too many intervals";
    EXPECT_DOUBLE_EQ(CAxisTicks::niceStep(7.5, 1), 10.0);
    EXPECT_DOUBLE_EQ(CAxisTicks::niceStep(0.003, 3), 0.001);
    EXPECT_EQ(CAxisTicks::niceStep(0.0, 5), 0.0);
    EXPECT_EQ(CAxisTicks::niceStep(-1.0, 5), 0.0);
    EXPECT_EQ(CAxisTicks::niceStep(std::numeric_limits<double>::infinity(), 5), 0.0);
}

TEST(AxisTicks, AwkwardRangesGetRoundTicksInsideThem) {
    double step = 0.0;
    // A power range from almost nothing: no tick at 0, which lies outside.
    auto t = CAxisTicks::choose(0.0002674, 7.531, 5, &step);
    EXPECT_DOUBLE_EQ(step, 2.0);
    EXPECT_EQ(t, (std::vector<double>{2.0, 4.0, 6.0}));
    // A signed bar: symmetric ticks through 0.
    t = CAxisTicks::choose(-4858.0, 4858.0, 5, &step);
    EXPECT_DOUBLE_EQ(step, 2000.0);
    EXPECT_EQ(t, (std::vector<double>{-4000.0, -2000.0, 0.0, 2000.0, 4000.0}));
    // Reversed bounds give the same ticks; an end on a multiple keeps its tick.
    EXPECT_EQ(CAxisTicks::choose(800.0, 0.0, 4, &step),
              (std::vector<double>{0.0, 200.0, 400.0, 600.0, 800.0}));
    // Fine steps land on exact multiples (no 0.30000000000000004 drift into the labels).
    t = CAxisTicks::choose(0.1, 0.35, 3, &step);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(text(CAxisTicks::label(t[1], step)), "0.2");
}

TEST(AxisTicks, ShortRangesBetweenRoundValuesAreRefinedToTwoTicks) {
    double step = 0.0;
    // Half a signed bar from -478 to -0.63: 500 apart leaves no tick inside, 200 two.
    EXPECT_TRUE(CAxisTicks::choose(-478.0, -0.63, 2).empty());
    EXPECT_EQ(CAxisTicks::chooseAtLeastTwo(-478.0, -0.63, 2, &step),
              (std::vector<double>{-400.0, -200.0}));
    EXPECT_DOUBLE_EQ(step, 200.0);
    EXPECT_EQ(CAxisTicks::chooseAtLeastTwo(5.0, 5.0, 2), (std::vector<double>{5.0}));
}

TEST(AxisTicks, DegenerateRangesGiveOneOrNoTick) {
    double step = 1.0;
    EXPECT_EQ(CAxisTicks::choose(30.88, 30.88, 5, &step), (std::vector<double>{30.88}));
    EXPECT_EQ(step, 0.0);
    EXPECT_TRUE(CAxisTicks::choose(0.0, std::nan(""), 5).empty());
    EXPECT_TRUE(CAxisTicks::choose(-std::numeric_limits<double>::infinity(), 1.0, 5).empty());
}

TEST(AxisTicks, LabelsShowTheDecimalsOfTheStep) {
    EXPECT_EQ(text(CAxisTicks::label(4000.0, 2000.0)), "4000");
    EXPECT_EQ(text(CAxisTicks::label(-4000.0, 2000.0)), "-4000");
    EXPECT_EQ(text(CAxisTicks::label(0.5, 0.1)), "0.5");
    EXPECT_EQ(text(CAxisTicks::label(0.0004, 0.0002)), "0.0004");
    EXPECT_EQ(text(CAxisTicks::label(-1e-18, 0.5)), "0") << "rounding noise is no -0";
    EXPECT_EQ(text(CAxisTicks::label(3e-5, 1e-5)), "3e-05");
    EXPECT_EQ(text(CAxisTicks::label(2e7, 1e7)), "2e+07");
    EXPECT_EQ(text(CAxisTicks::label(30.88, 0.0)), "30.88");
}

} // namespace
