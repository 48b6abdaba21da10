// Writes an engine frame to a PNG file so that people can look at what a test rendered.
#pragma once

#include <cstdint>
#include <string>

// pixels: RGBA, red in bits 0-7, top row first. False when the file cannot be written.
bool writePng(const std::string& path, const std::uint32_t* pixels, int width, int height);
