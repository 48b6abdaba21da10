// PNG output of frames through libpng.
#include "engine/CMFramePng.h"

#include <cstdio>
#include <png.h>
#include <vector>
#include <zlib.h>

bool CMFramePng::write(const std::string& path, const std::uint32_t* pixels, int width, int height,
                       int level) {
    if (!pixels || width < 1 || height < 1) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && !setjmp(png_jmpbuf(png));
    if (ok) {
        png_init_io(png, file);
        png_set_compression_level(png, level);
        if (level <= kFast) {
            // Row filters and a full deflate search cost more than they save on a frame of
            // flat backgrounds and smooth shades.
            png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
            png_set_compression_strategy(png, Z_RLE);
        }
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        // Little-endian words: the bytes of each pixel are already R, G, B, A.
        for (int y = 0; y < height; ++y) {
            png_write_row(png,
                          reinterpret_cast<png_const_bytep>(pixels + static_cast<long>(y) * width));
        }
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return ok;
}
