// The one EGL display and OpenGL 3.3 core context of the process (the UI is single-threaded).
#pragma once

class CGfxEglContext {
public:
    // Creates the context on first call and makes it current; false (reason in gfxLastError)
    // when there is no usable EGL display or no GL 3.3 core.
    static bool ensureCurrent();
    // ensureCurrent, then what the first window would otherwise pay for: the shader compiler's
    // one-time set-up (by compiling a minimal shader) and, with a software rasteriser, heap
    // memory for its frames faulted in at once.
    static bool prepare();
    // True when the context draws on the CPU (Mesa's llvmpipe or softpipe).
    static bool softwareRasteriser();
    // True while a context exists; device objects free their GL names only then.
    static bool exists();
    // "surfaceless", "device" or "default": the EGL platform in use, "" when none.
    static const char* platformName();
};
