// PNG output of frames through the project's encoder.
#include "engine/CMFramePng.h"

#include "png/CPngWriter.h"

bool CMFramePng::write(const std::string& path, const std::uint32_t* pixels, int width, int height,
                       int level) {
    return CPngWriter::write(path, {pixels, width, height, 0, CPngWriter::Layout::Rgba}, level);
}
