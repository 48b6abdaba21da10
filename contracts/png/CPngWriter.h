// The one PNG encoder of the project: the engine's frames and the window layer's pictures go
// through it. Rows are stored unfiltered and deflated by libdeflate, which for pictures of flat
// backgrounds and smooth shades is both smaller and several times faster than zlib with row
// filters. A picture whose pixels are all opaque is written as RGB, any other as RGBA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CPngWriter {
public:
    // Byte order of a 4-byte pixel in memory: Rgba for the engine's frames (red in bits 0-7 of
    // a little-endian word), Bgra for Qt's 32-bit images on little-endian machines.
    enum class Layout { Rgba, Bgra };

    // Deflate levels (1..12): fast for pictures written while a person waits or in series,
    // small for a picture kept.
    static constexpr int kFast = 1;
    static constexpr int kSmall = 6;
    // Width and height at most; larger pictures are refused.
    static constexpr int kMaxSide = 32768;

    struct Image {
        const void* pixels = nullptr; // top row first
        int width = 0;
        int height = 0;
        std::ptrdiff_t stride = 0; // bytes from one row to the next; 0: width * 4
        Layout layout = Layout::Rgba;
        bool premultiplied = false; // colours multiplied by alpha (written straight)
    };

    // The PNG file's bytes into out (replacing its contents). False, with out empty, for no
    // pixels, a side outside 1..kMaxSide or a level outside 1..12.
    static bool encode(const Image& image, std::vector<std::uint8_t>& out, int level = kFast);
    // Encodes and writes the file (path in UTF-8 bytes). False when the picture is refused or
    // the file cannot be written completely.
    static bool write(const std::string& path, const Image& image, int level = kFast);
};
