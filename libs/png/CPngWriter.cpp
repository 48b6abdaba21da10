// PNG encoding over libdeflate: signature, IHDR, one IDAT, IEND.
#include "png/CPngWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <libdeflate.h>
#include <memory>

namespace {

// Buffers and the compressor kept per thread: fresh megabyte buffers for every picture cost
// more in page faults than the deflating itself.
struct Scratch {
    struct FreeCompressor {
        void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
    };
    std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor;
    int level = 0;
    std::vector<std::uint8_t> rows;
    std::vector<std::uint8_t> file;

    libdeflate_compressor* compressorFor(int wanted) {
        if (!compressor || level != wanted) {
            compressor.reset(libdeflate_alloc_compressor(wanted));
            level = compressor ? wanted : 0;
        }
        return compressor.get();
    }
};

Scratch& scratch() {
    thread_local Scratch s;
    return s;
}

const std::uint8_t* rowOf(const CPngWriter::Image& image, int y) {
    const std::ptrdiff_t stride = image.stride ? image.stride : std::ptrdiff_t{image.width} * 4;
    return static_cast<const std::uint8_t*>(image.pixels) + stride * y;
}

// Rows as the filter byte 0 (none) followed by R, G, B, checking alpha on the way (a row at a
// time, so the pixel loop has no branch); false when some pixel is not opaque.
bool packOpaqueRows(const CPngWriter::Image& image, std::vector<std::uint8_t>& rows) {
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(image.width) * 3;
    rows.resize(rowBytes * static_cast<std::size_t>(image.height));
    const int r = image.layout == CPngWriter::Layout::Bgra ? 2 : 0;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* s = rowOf(image, y);
        std::uint8_t* d = rows.data() + rowBytes * static_cast<std::size_t>(y);
        *d++ = 0;
        unsigned alpha = 0xFF;
        for (int x = 0; x < image.width; ++x, s += 4, d += 3) {
            d[0] = s[r];
            d[1] = s[1];
            d[2] = s[2 - r];
            alpha &= s[3];
        }
        if (alpha != 0xFF)
            return false;
    }
    return true;
}

// Opaque pixels are the same either way; others get their colours divided by alpha, rounded.
void unpremultiply(std::uint8_t* rgba) {
    const unsigned a = rgba[3];
    if (a == 0xFF)
        return;
    for (int k = 0; k < 3; ++k)
        rgba[k] =
            a == 0 ? 0 : static_cast<std::uint8_t>(std::min(255u, (rgba[k] * 255u + a / 2) / a));
}

// Each row as the filter byte 0 (none) followed by its pixels as R, G, B, A.
void packRows(const CPngWriter::Image& image, std::vector<std::uint8_t>& rows) {
    constexpr int channels = 4;
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(image.width) * channels;
    rows.resize(rowBytes * static_cast<std::size_t>(image.height));
    const bool bgra = image.layout == CPngWriter::Layout::Bgra;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* s = rowOf(image, y);
        std::uint8_t* d = rows.data() + rowBytes * static_cast<std::size_t>(y);
        *d++ = 0;
        if (!bgra && !image.premultiplied) {
            std::memcpy(d, s, static_cast<std::size_t>(image.width) * 4);
            continue;
        }
        for (int x = 0; x < image.width; ++x, s += 4, d += channels) {
            d[0] = s[bgra ? 2 : 0];
            d[1] = s[1];
            d[2] = s[bgra ? 0 : 2];
            d[3] = s[3];
            if (image.premultiplied)
                unpremultiply(d);
        }
    }
}

void putBigEndian(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v >> 24);
    at[1] = static_cast<std::uint8_t>(v >> 16);
    at[2] = static_cast<std::uint8_t>(v >> 8);
    at[3] = static_cast<std::uint8_t>(v);
}

// Appends a chunk whose data is already in place after room for its length and type.
void closeChunk(std::vector<std::uint8_t>& out, std::size_t start, const char type[4]) {
    const std::size_t length = out.size() - start - 8;
    putBigEndian(out.data() + start, static_cast<std::uint32_t>(length));
    std::memcpy(out.data() + start + 4, type, 4);
    std::uint8_t crc[4];
    putBigEndian(crc, libdeflate_crc32(0, out.data() + start + 4, length + 4));
    out.insert(out.end(), crc, crc + 4);
}

} // namespace

bool CPngWriter::encode(const Image& image, std::vector<std::uint8_t>& out, int level) {
    out.clear();
    if (!image.pixels || image.width < 1 || image.height < 1 || image.width > kMaxSide ||
        image.height > kMaxSide || level < 1 || level > 12)
        return false;
    Scratch& s = scratch();
    libdeflate_compressor* compressor = s.compressorFor(level);
    if (!compressor)
        return false;
    const int channels = packOpaqueRows(image, s.rows) ? 3 : 4;
    if (channels == 4)
        packRows(image, s.rows);

    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.assign(signature, signature + 8);
    std::size_t start = out.size();
    out.resize(start + 8 + 13);
    std::uint8_t* header = out.data() + start + 8;
    putBigEndian(header, static_cast<std::uint32_t>(image.width));
    putBigEndian(header + 4, static_cast<std::uint32_t>(image.height));
    header[8] = 8;                            // bits per channel
    header[9] = channels == 4 ? 6 : 2;        // RGBA or RGB
    header[10] = header[11] = header[12] = 0; // deflate, adaptive filters, no interlace
    closeChunk(out, start, "IHDR");

    start = out.size();
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor, s.rows.size());
    out.resize(start + 8 + bound);
    const std::size_t packed = libdeflate_zlib_compress(compressor, s.rows.data(), s.rows.size(),
                                                        out.data() + start + 8, bound);
    if (packed == 0) {
        out.clear();
        return false;
    }
    out.resize(start + 8 + packed);
    closeChunk(out, start, "IDAT");

    start = out.size();
    out.resize(start + 8);
    closeChunk(out, start, "IEND");
    return true;
}

bool CPngWriter::write(const std::string& path, const Image& image, int level) {
    std::vector<std::uint8_t>& bytes = scratch().file;
    if (!encode(image, bytes, level))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
