// The PNG encoder: files decode (with Qt, another decoder) to the pixels given, in both
// layouts, with and without transparency; refused pictures and unwritable files are reported.
#include "png/CPngWriter.h"

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace {

// An asymmetric picture whose channels differ everywhere, so that swapped channels, rows or
// a lost column show.
std::vector<std::uint8_t> rgbaPicture(int w, int h, std::uint8_t alpha) {
    std::vector<std::uint8_t> p(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* q = &p[(static_cast<std::size_t>(y) * w + x) * 4];
            q[0] = static_cast<std::uint8_t>(7 * x + y);
            q[1] = static_cast<std::uint8_t>(3 * y + 1);
            q[2] = static_cast<std::uint8_t>(255 - x);
            q[3] = alpha;
        }
    return p;
}

QImage decode(const std::vector<std::uint8_t>& bytes) {
    QImage image;
    image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "PNG");
    return image;
}

TEST(PngWriter, OpaqueRgbaDecodesToTheSamePixelsAsRgb) {
    constexpr int w = 37, h = 5;
    const std::vector<std::uint8_t> pixels = rgbaPicture(w, h, 0xFF);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(CPngWriter::encode({pixels.data(), w, h, 0, CPngWriter::Layout::Rgba}, bytes));
    const QImage image = decode(bytes);
    ASSERT_EQ(image.size(), QSize(w, h));
    EXPECT_FALSE(image.hasAlphaChannel());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* q = &pixels[(static_cast<std::size_t>(y) * w + x) * 4];
            ASSERT_EQ(image.pixel(x, y), qRgb(q[0], q[1], q[2])) << x << "," << y;
        }
}

TEST(PngWriter, KeepsAlphaWhenOnePixelIsNotOpaque) {
    constexpr int w = 4, h = 3;
    std::vector<std::uint8_t> pixels = rgbaPicture(w, h, 0xFF);
    pixels[(1 * w + 2) * 4 + 3] = 0xFE;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(CPngWriter::encode({pixels.data(), w, h, 0, CPngWriter::Layout::Rgba}, bytes));
    const QImage image = decode(bytes).convertToFormat(QImage::Format_RGBA8888);
    ASSERT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(qAlpha(image.pixel(2, 1)), 0xFE);
    EXPECT_EQ(qAlpha(image.pixel(1, 2)), 0xFF);
    EXPECT_EQ(qRed(image.pixel(2, 1)), pixels[(1 * w + 2) * 4]);
}

TEST(PngWriter, ReadsQtImagesInTheirLayoutAndStride) {
    QImage source(9, 4, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgb(20 * x, 60 * y, 200 - x));
    const QImage wide = source.copy(0, 0, 7, 4); // rows longer than the part written
    const CPngWriter::Image view{source.constBits(), 7, 4, source.bytesPerLine(),
                                 CPngWriter::Layout::Bgra};
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(CPngWriter::encode(view, bytes));
    const QImage image = decode(bytes);
    ASSERT_EQ(image.size(), QSize(7, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(image.pixel(x, y), wide.pixel(x, y)) << x << "," << y;
}

TEST(PngWriter, WritesPremultipliedColoursStraight) {
    QImage source(3, 2, QImage::Format_ARGB32_Premultiplied);
    source.fill(qRgb(10, 200, 30));
    source.setPixel(1, 0, qPremultiply(qRgba(200, 100, 50, 128)));
    source.setPixel(2, 1, qRgba(0, 0, 0, 0));
    CPngWriter::Image view{source.constBits(), 3, 2, source.bytesPerLine(),
                           CPngWriter::Layout::Bgra};
    view.premultiplied = true;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(CPngWriter::encode(view, bytes));
    const QImage image = decode(bytes).convertToFormat(QImage::Format_ARGB32);
    const QRgb half = image.pixel(1, 0);
    EXPECT_EQ(qAlpha(half), 128);
    EXPECT_NEAR(qRed(half), 200, 1);
    EXPECT_NEAR(qGreen(half), 100, 1);
    EXPECT_NEAR(qBlue(half), 50, 1);
    EXPECT_EQ(image.pixel(0, 1), qRgb(10, 200, 30));
    EXPECT_EQ(qAlpha(image.pixel(2, 1)), 0);
}

TEST(PngWriter, RefusesNonsenseAndReportsUnwritableFiles) {
    const std::vector<std::uint8_t> pixels = rgbaPicture(2, 2, 0xFF);
    std::vector<std::uint8_t> bytes{1, 2, 3};
    EXPECT_FALSE(CPngWriter::encode({nullptr, 2, 2}, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(CPngWriter::encode({pixels.data(), 0, 2}, bytes));
    EXPECT_FALSE(CPngWriter::encode({pixels.data(), 2, CPngWriter::kMaxSide + 1}, bytes));
    EXPECT_FALSE(CPngWriter::encode({pixels.data(), 2, 2}, bytes, 13));
    EXPECT_FALSE(CPngWriter::encode({pixels.data(), 2, 2}, bytes, 0));
    EXPECT_TRUE(CPngWriter::encode({pixels.data(), 2, 2}, bytes, 12));
    EXPECT_FALSE(CPngWriter::write("/nonexistent-dir/picture.png", {pixels.data(), 2, 2}));
    const std::string path =
        (std::filesystem::path(testing::TempDir()) / "png_writer_test.png").string();
    ASSERT_TRUE(CPngWriter::write(path, {pixels.data(), 2, 2}, CPngWriter::kSmall));
    EXPECT_EQ(QImage(QString::fromStdString(path)).pixel(1, 0), qRgb(7, 1, 254));
}

} // namespace
