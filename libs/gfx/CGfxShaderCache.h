// Compiled shaders and linked programs, shared by every device and kept while the process's GL
// context lives. A software rasteriser generates machine code per program and pipeline state,
// so a second window, or a warm-up frame drawn ahead, reuses what the first one paid for.
#pragma once

#include <string>

class CGfxShaderCache {
public:
    // The shader of that kind (GL_VERTEX_SHADER or GL_FRAGMENT_SHADER) compiled from glsl;
    // 0 with the compile log in gfxLastError. A failed source is compiled again when asked.
    static unsigned shader(unsigned kind, const char* glsl);
    // The program linking vs and ps, linked on first need; 0 when they do not link, with the
    // log in gfxLastError. linkedNow is set when this call did the link.
    static unsigned program(unsigned vs, unsigned ps, bool& linkedNow);
};
