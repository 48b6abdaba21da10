// Writes a frame (the engine's presented image, or any RGBA picture) to a PNG file that every
// viewer opens.
#pragma once

#include <cstdint>
#include <string>

class CMFramePng {
public:
    // zlib levels: fast for series of frames, best for a single picture.
    static constexpr int kFast = 1;
    static constexpr int kDefault = 6;

    // pixels: RGBA, red in bits 0-7, top row first. False when the file cannot be written.
    static bool write(const std::string& path, const std::uint32_t* pixels, int width, int height,
                      int level = kDefault);
};
