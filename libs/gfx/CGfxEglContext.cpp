// The process-wide EGL display and OpenGL 3.3 core context. Headless first (Mesa's surfaceless
// platform, then an EGL device), the default display last; frames go to framebuffer objects,
// so no window surface is ever needed.
#define EGL_NO_X11
#include "gfx/CGfxEglContext.h"

#include "GfxInternal.h"
#include "gfx/GfxResult.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <epoxy/egl.h>
#include <epoxy/gl.h>
#include <malloc.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct EglState {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    EGLSurface surface = EGL_NO_SURFACE;
    const char* platform = "";
    bool tried = false;
    bool ok = false;
    std::string error;
};

EglState& state() {
    static EglState s;
    return s;
}

std::string eglCode(const char* what) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s failed (EGL error 0x%04x)", what, eglGetError());
    return buf;
}

bool hasExtension(EGLDisplay dpy, const char* name) {
    const char* ext = eglQueryString(dpy, EGL_EXTENSIONS);
    return ext && std::string(" ").append(ext).append(" ").find(std::string(" ") + name + " ") !=
                      std::string::npos;
}

EGLDisplay platformDisplay(EGLenum platform, void* native) {
    auto getDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getDisplay || !hasExtension(EGL_NO_DISPLAY, "EGL_EXT_platform_base")) {
        return EGL_NO_DISPLAY;
    }
    return getDisplay(platform, native, nullptr);
}

EGLDisplay deviceDisplay() {
    auto queryDevices =
        reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    if (!queryDevices) {
        return EGL_NO_DISPLAY;
    }
    EGLDeviceEXT devices[8];
    EGLint count = 0;
    if (!queryDevices(8, devices, &count) || count < 1) {
        return EGL_NO_DISPLAY;
    }
    return platformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[0]);
}

// Initialises the first display that works, in order of preference.
bool openDisplay(EglState& s) {
    struct Candidate {
        const char* name;
        EGLDisplay (*open)();
    };
    const Candidate candidates[] = {
        {"surfaceless", [] { return platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, nullptr); }},
        {"device", deviceDisplay},
        {"default", [] { return eglGetDisplay(EGL_DEFAULT_DISPLAY); }},
    };
    for (const Candidate& c : candidates) {
        EGLDisplay dpy = c.open();
        EGLint major = 0, minor = 0;
        if (dpy != EGL_NO_DISPLAY && eglInitialize(dpy, &major, &minor)) {
            s.display = dpy;
            s.platform = c.name;
            return true;
        }
    }
    s.error = "no EGL display: is Mesa's libegl-mesa0 installed?";
    return false;
}

bool createContext(EglState& s) {
    if (!eglBindAPI(EGL_OPENGL_API)) {
        s.error = eglCode("eglBindAPI(OpenGL)");
        return false;
    }
    const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                    EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint n = 0;
    if (!eglChooseConfig(s.display, configAttribs, &config, 1, &n) || n < 1) {
        s.error = "no EGL config for desktop OpenGL with pbuffers on the " +
                  std::string(s.platform) + " platform";
        return false;
    }
    const EGLint contextAttribs[] = {EGL_CONTEXT_MAJOR_VERSION,
                                     3,
                                     EGL_CONTEXT_MINOR_VERSION,
                                     3,
                                     EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                     EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                     EGL_NONE};
    s.context = eglCreateContext(s.display, config, EGL_NO_CONTEXT, contextAttribs);
    if (s.context == EGL_NO_CONTEXT) {
        s.error = eglCode("creating an OpenGL 3.3 core context");
        return false;
    }
    if (!hasExtension(s.display, "EGL_KHR_surfaceless_context")) {
        const EGLint pbufferAttribs[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        s.surface = eglCreatePbufferSurface(s.display, config, pbufferAttribs);
    }
    return true;
}

bool makeCurrent(EglState& s) {
    if (eglGetCurrentContext() == s.context) {
        return true;
    }
    if (!eglMakeCurrent(s.display, s.surface, s.surface, s.context)) {
        s.error = eglCode("eglMakeCurrent");
        return false;
    }
    return true;
}

bool checkVersion(EglState& s) {
    if (epoxy_gl_version() < 33) {
        s.error = "the OpenGL context is older than 3.3 core (" +
                  std::string(reinterpret_cast<const char*>(glGetString(GL_VERSION))) + ")";
        return false;
    }
    return true;
}

bool rendererIsSoftware() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer && (std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe"));
}

// Mesa's software rasteriser allocates and frees megabytes of scene data per frame. glibc
// hands such blocks back to the kernel and faults them in again at the next frame, which then
// costs more than the drawing of a sensor scene; keeping freed memory in the heap avoids that.
void keepFrameMemory() {
    if (!rendererIsSoftware()) {
        return;
    }
    constexpr int kMmapThreshold = 32 << 20;
    constexpr int kTrimThreshold = 128 << 20;
    mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
}

// The first window's render targets, read-backs and pictures then come from heap memory that
// is already faulted in (keepFrameMemory keeps it): faulting it page by page on first use costs
// more than drawing the first frame, populating it in one call a fraction of that.
void populateFrameMemory() {
    // Below the mmap threshold, so that the block comes from the heap and stays in it.
    constexpr std::size_t kBytes = 30 << 20;
    if (!CGfxEglContext::softwareRasteriser()) {
        return;
    }
    void* block = std::malloc(kBytes);
    if (!block) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + kBytes) / page * page;
    if (madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE) != 0) {
        std::memset(block, 0, kBytes);
    }
    std::free(block);
}

} // namespace

bool CGfxEglContext::ensureCurrent() {
    EglState& s = state();
    if (!s.tried) {
        s.tried = true;
        s.ok = openDisplay(s) && createContext(s) && makeCurrent(s) && checkVersion(s);
        if (s.ok) {
            keepFrameMemory();
        }
    }
    if (!s.ok || !makeCurrent(s)) {
        s.ok = false;
        gfxSetError(s.error);
        return false;
    }
    return true;
}

bool CGfxEglContext::prepare() {
    if (!ensureCurrent()) {
        return false;
    }
    static bool compiled = false;
    if (!compiled) {
        compiled = true;
        static const char* const kMinimal = "#version 330 core\nvoid main() {}\n";
        const GLuint shader = glCreateShader(GL_VERTEX_SHADER);
        glShaderSource(shader, 1, &kMinimal, nullptr);
        glCompileShader(shader);
        glDeleteShader(shader);
        populateFrameMemory();
    }
    return true;
}

bool CGfxEglContext::softwareRasteriser() {
    static const bool software = ensureCurrent() && rendererIsSoftware();
    return software;
}

bool CGfxEglContext::exists() {
    const EglState& s = state();
    return s.ok && s.context != EGL_NO_CONTEXT;
}

const char* CGfxEglContext::platformName() {
    return state().ok ? state().platform : "";
}
