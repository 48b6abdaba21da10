// Movie export: files that FFmpeg reads back with the size, frame count and colours written,
// and refusals of bad arguments and calls in the wrong order.
#include "movie/CMovieWriter.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>
#include <unistd.h>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

using Rgb = std::array<int, 3>;

struct Movie {
    int width = 0, height = 0;
    long long frames = 0;
    int centreU = 0, centreV = 0; // chroma at the centre of the first frame
    std::vector<Rgb> first;       // the first frame, row by row, when it is YUV 4:2:0
};

// A YUV 4:2:0 picture's pixels in RGB (BT.601, limited range: libswscale's default).
std::vector<Rgb> toRgb(const AVFrame& f) {
    std::vector<Rgb> rgb;
    if (f.format != AV_PIX_FMT_YUV420P)
        return rgb;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const double l = 1.164 * (f.data[0][y * f.linesize[0] + x] - 16);
            const double u = f.data[1][y / 2 * f.linesize[1] + x / 2] - 128;
            const double v = f.data[2][y / 2 * f.linesize[2] + x / 2] - 128;
            rgb.push_back({static_cast<int>(std::lround(l + 1.596 * v)),
                           static_cast<int>(std::lround(l - 0.392 * u - 0.813 * v)),
                           static_cast<int>(std::lround(l + 2.017 * u))});
        }
    return rgb;
}

// Decodes every frame of the file's video stream.
Movie readMovie(const std::string& path) {
    Movie movie;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return movie;
    const AVCodec* codec = nullptr;
    const int index = avformat_find_stream_info(format, nullptr) >= 0
                          ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0)
                          : -1;
    AVCodecContext* decoder = index >= 0 ? avcodec_alloc_context3(codec) : nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto drain = [&] {
        for (; avcodec_receive_frame(decoder, frame) >= 0; ++movie.frames) {
            const int centre = frame->height / 4 * frame->linesize[1] + frame->width / 4;
            if (movie.frames == 0) {
                movie.centreU = frame->data[1][centre];
                movie.centreV = frame->data[2][centre];
                movie.first = toRgb(*frame);
            }
        }
    };
    if (decoder && avcodec_parameters_to_context(decoder, format->streams[index]->codecpar) >= 0 &&
        avcodec_open2(decoder, codec, nullptr) >= 0) {
        movie.width = decoder->width;
        movie.height = decoder->height;
        while (av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == index && avcodec_send_packet(decoder, packet) >= 0)
                drain();
            av_packet_unref(packet);
        }
        avcodec_send_packet(decoder, nullptr);
        drain();
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return movie;
}

class MovieWriterTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("velmora-movie-test-" + std::to_string(::getpid()));
};

TEST_F(MovieWriterTest, MoviesHoldEveryFrameAtItsSizeAndColour) {
    // Opaque red, green and blue with red in the low byte, as the engine's frames come.
    const std::uint32_t colours[3] = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u};
    CMovieWriter writer;
    // Odd sizes round down to even; the same writer takes a second movie after the first.
    for (const auto& [name, width, height, frames] :
         {std::tuple("sweep.mp4", 64, 48, 12), std::tuple("odd.mkv", 65, 49, 5)}) {
        ASSERT_TRUE(writer.open(dir / name, width, height, 25)) << writer.error();
        for (int i = 0; i < frames; ++i) {
            const std::vector<std::uint32_t> pixels(width * height, colours[i % 3]);
            ASSERT_TRUE(writer.addFrame(pixels.data(), width, height)) << writer.error();
        }
        EXPECT_TRUE(writer.close()) << writer.error();
        EXPECT_FALSE(writer.isOpen());
        EXPECT_EQ(writer.framesWritten(), frames);
        EXPECT_TRUE(writer.codecName() == "libx264" || writer.codecName() == "mpeg4");

        const Movie movie = readMovie(dir / name);
        EXPECT_EQ(movie.width, 64);
        EXPECT_EQ(movie.height, 48);
        EXPECT_EQ(movie.frames, frames);
        // Red: strong V, weak U; swapped channels would give blue, the other way round.
        EXPECT_GT(movie.centreV, 200);
        EXPECT_LT(movie.centreU, 128);
    }
}

// A picture of odd width comes out as it went in, less its last column: no row slides
// against the next, and every bar keeps its colour. Top half red, green, blue and white bars,
// bottom half yellow, cyan, magenta and black.
TEST_F(MovieWriterTest, OddWidthPicturesKeepTheirBarsAndColours) {
    constexpr int kWidth = 65, kHeight = 49, kBar = 16;
    const Rgb top[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    const Rgb bottom[4] = {{255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {0, 0, 0}};
    const auto expected = [&](int x, int y) {
        const int bar = x / kBar < 3 ? x / kBar : 3; // the last bar takes the odd column
        return (y < kHeight / 2 ? top : bottom)[bar];
    };
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Rgb c = expected(x, y);
            pixels.push_back(0xFF000000u | c[2] << 16 | c[1] << 8 | c[0]);
        }
    const std::string path = dir / "bars.mkv";
    CMovieWriter writer;
    ASSERT_TRUE(writer.open(path, kWidth, kHeight, 25)) << writer.error();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(writer.addFrame(pixels.data(), kWidth, kHeight)) << writer.error();
    ASSERT_TRUE(writer.close()) << writer.error();

    const Movie movie = readMovie(path);
    ASSERT_EQ(movie.width, kWidth - 1);
    ASSERT_EQ(movie.first.size(), static_cast<size_t>(movie.width * movie.height));
    // Inside each bar, away from its edges where compression and chroma halving blur.
    for (const int y : {4, 12, 20, 28, 36, 44})
        for (const int x : {5, 8, 11, 21, 24, 27, 37, 40, 43, 53, 56, 59}) {
            const Rgb got = movie.first[static_cast<size_t>(y * movie.width + x)];
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(got[c], expected(x, y)[c], 40) << "x " << x << ", y " << y;
        }
}

TEST_F(MovieWriterTest, RefusalsExplainThemselves) {
    CMovieWriter writer;
    const std::vector<std::uint32_t> pixels(64 * 48, 0xFF808080u);
    const auto refused = [&writer](bool result) {
        EXPECT_FALSE(result);
        EXPECT_FALSE(writer.error().empty());
    };
    refused(writer.addFrame(pixels.data(), 64, 48));
    EXPECT_TRUE(writer.close());
    const std::string path = dir / "bad.mp4";
    for (const auto& [width, height, fps] :
         {std::tuple(0, 48, 25), std::tuple(64, -2, 25), std::tuple(1, 1, 25),
          std::tuple(1 << 20, 1 << 20, 25), std::tuple(64, 48, 0), std::tuple(64, 48, -5),
          std::tuple(64, 48, 100000)})
        refused(writer.open(path, width, height, fps));
    refused(writer.open(dir / "clip.unknown-format", 64, 48, 25));
    refused(writer.open(dir / "missing" / "clip.mp4", 64, 48, 25));
    EXPECT_NE(writer.error().find("cannot create movie file"), std::string::npos) << writer.error();
    EXPECT_FALSE(writer.isOpen());
    EXPECT_EQ(writer.codecName(), "");

    ASSERT_TRUE(writer.open(path, 64, 48, 25)) << writer.error();
    refused(writer.open(dir / "second.mp4", 64, 48, 25));
    refused(writer.addFrame(pixels.data(), 48, 64));
    refused(writer.addFrame(nullptr, 64, 48));
    EXPECT_TRUE(writer.addFrame(pixels.data(), 64, 48)) << writer.error();
    EXPECT_TRUE(writer.close()) << writer.error();
    EXPECT_EQ(readMovie(path).frames, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "second.mp4"));
}

} // namespace
