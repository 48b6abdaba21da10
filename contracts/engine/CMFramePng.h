// Writes a frame (the engine's presented image, or any RGBA picture) to a PNG file that every
// viewer opens, through the project's one PNG encoder (velmora::png).
#pragma once

#include "png/CPngWriter.h"

#include <cstdint>
#include <string>

class CMFramePng {
public:
    // Deflate levels (1..12): fast for series of frames, smaller for a single picture.
    static constexpr int kFast = CPngWriter::kFast;
    static constexpr int kDefault = CPngWriter::kSmall;

    // pixels: RGBA, red in bits 0-7, top row first. False when the file cannot be written.
    static bool write(const std::string& path, const std::uint32_t* pixels, int width, int height,
                      int level = kDefault);
};
