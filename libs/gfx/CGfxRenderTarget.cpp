// Framebuffer object with colour and depth renderbuffers.
#include "gfx/CGfxRenderTarget.h"

#include "gfx/CGfxEglContext.h"

#include <epoxy/gl.h>

CGfxRenderTarget::CGfxRenderTarget(unsigned fbo, unsigned color, unsigned depth, int width,
                                   int height)
    : m_fbo(fbo), m_color(color), m_depth(depth), m_width(width), m_height(height) {}

CGfxRenderTarget::~CGfxRenderTarget() {
    if (!CGfxEglContext::ensureCurrent()) {
        return;
    }
    glDeleteFramebuffers(1, &m_fbo);
    const GLuint rbs[2] = {m_color, m_depth};
    glDeleteRenderbuffers(2, rbs);
}
