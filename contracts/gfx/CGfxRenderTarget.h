// An offscreen render target (framebuffer with colour and depth) and the image it is read
// back into. Pixels are RGBA, red in bits 0-7, top row first.
#pragma once

#include "gfx/CGfxObject.h"

#include <cstdint>
#include <vector>

class CGfxRenderTarget : public CGfxObject {
public:
    CGfxRenderTarget(unsigned fbo, unsigned color, unsigned depth, int width, int height);

    unsigned glFramebuffer() const { return m_fbo; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // The last read-back frame (width * height pixels), empty before the first.
    const std::vector<std::uint32_t>& image() const { return m_image; }
    std::vector<std::uint32_t>& image() { return m_image; }

protected:
    ~CGfxRenderTarget() override;

private:
    unsigned m_fbo, m_color, m_depth;
    int m_width, m_height;
    std::vector<std::uint32_t> m_image;
};
