// Shaders by source and programs by shader pair, never deleted: a process uses a handful.
#include "CGfxShaderCache.h"

#include "GfxInternal.h"
#include "gfx/ID3D11DeviceContext.h"

#include <epoxy/gl.h>
#include <map>
#include <utility>

namespace {

std::map<std::pair<unsigned, std::string>, unsigned>& shaders() {
    static std::map<std::pair<unsigned, std::string>, unsigned> byKindAndSource;
    return byKindAndSource;
}

std::map<std::pair<unsigned, unsigned>, unsigned>& programs() {
    static std::map<std::pair<unsigned, unsigned>, unsigned> byShaders;
    return byShaders;
}

GLuint compile(GLenum kind, const char* glsl) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &glsl, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) {
        return shader;
    }
    GLint len = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &len);
    std::string log(static_cast<std::size_t>(len > 1 ? len : 1), '\0');
    glGetShaderInfoLog(shader, len, nullptr, log.data());
    glDeleteShader(shader);
    gfxSetError(std::string(kind == GL_VERTEX_SHADER ? "vertex" : "pixel") +
                " shader does not compile: " + log.c_str());
    return 0;
}

void bindBlocks(GLuint program, const char* prefix, unsigned base) {
    for (unsigned slot = 0; slot < ID3D11DeviceContext::kConstantSlots; ++slot) {
        const std::string name = prefix + std::to_string(slot);
        const GLuint index = glGetUniformBlockIndex(program, name.c_str());
        if (index != GL_INVALID_INDEX) {
            glUniformBlockBinding(program, index, base + slot);
        }
    }
}

GLuint link(GLuint vs, GLuint ps) {
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, ps);
    glLinkProgram(program);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[1024] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        gfxSetError(std::string("shaders do not link: ") + log);
        glDeleteProgram(program);
        return 0;
    }
    bindBlocks(program, "VSCB", 0);
    bindBlocks(program, "PSCB", ID3D11DeviceContext::kPsBindingBase);
    return program;
}

} // namespace

unsigned CGfxShaderCache::shader(unsigned kind, const char* glsl) {
    unsigned& name = shaders()[{kind, glsl}];
    if (!name) {
        name = compile(kind, glsl);
    }
    return name;
}

unsigned CGfxShaderCache::program(unsigned vs, unsigned ps, bool& linkedNow) {
    const auto key = std::make_pair(vs, ps);
    linkedNow = false;
    if (auto it = programs().find(key); it != programs().end()) {
        return it->second;
    }
    linkedNow = true;
    return programs()[key] = link(vs, ps);
}
