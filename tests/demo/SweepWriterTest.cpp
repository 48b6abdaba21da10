// The sweep's frame writer: files come out numbered in the order the frames were given, while
// the caller goes on drawing; a write that fails stops the series and is told.
#include "SweepWriter.h"

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace {

constexpr int kW = 5, kH = 3;

std::vector<std::uint32_t> frameOf(int i) {
    std::vector<std::uint32_t> f(kW * kH, 0xFF000000u | static_cast<std::uint32_t>(30 * i));
    f[kW * kH - 1] = 0xFF00FF00u; // the last pixel green: rows must not be turned over
    return f;
}

TEST(SweepWriter, WritesEveryFrameInTheOrderGiven) {
    const auto dir = std::filesystem::path(testing::TempDir()) / "sweep_writer_order";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ostringstream log;
    SweepWriter writer(dir.string(), "", 25, log);
    constexpr int kFrames = 7; // more than the queue holds
    for (int i = 0; i < kFrames; ++i)
        ASSERT_TRUE(writer.add(frameOf(i).data(), kW, kH)) << i;
    ASSERT_TRUE(writer.finish());
    EXPECT_EQ(log.str(), "");
    for (int i = 0; i < kFrames; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "sweep-%05d.png", i);
        const QImage image(QString::fromStdString((dir / name).string()));
        ASSERT_EQ(image.size(), QSize(kW, kH)) << name;
        EXPECT_EQ(image.pixel(0, 0), qRgb(30 * i, 0, 0)) << name;
        EXPECT_EQ(image.pixel(kW - 1, kH - 1), qRgb(0, 255, 0)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "sweep-00007.png"));
}

TEST(SweepWriter, AFailedWriteStopsTheSeriesAndIsTold) {
    std::ostringstream log;
    SweepWriter writer("/nonexistent-dir/sweep", "", 25, log);
    int accepted = 0;
    while (accepted < 50 && writer.add(frameOf(accepted).data(), kW, kH))
        ++accepted;
    EXPECT_LE(accepted, static_cast<int>(SweepWriter::kMaxQueued) + 1);
    EXPECT_FALSE(writer.finish());
    EXPECT_NE(log.str().find("could not write /nonexistent-dir/sweep/sweep-00000.png"),
              std::string::npos)
        << log.str();
}

} // namespace
