#include "render/Shaders.h"

#include "render/GL.h"

#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <utility>
#include <vector>

bool readTextFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cout << "Cannot load " << path << std::endl;
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

namespace {

GLuint compile(GLenum type, const std::string& source) {
    const GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    return shader;
}

} // namespace

namespace {

// Links a program from the two sources, printing "." and its log when asked; 0 when it does
// not link.
GLuint link(const std::string& fragmentSource, const std::string& vertexSource, bool print) {
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentSource);
    const GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource);
    const GLuint program = glCreateProgram();
    glAttachShader(program, fragment);
    glAttachShader(program, vertex);
    glLinkProgram(program);
    char log[2001] = {};
    GLsizei length = 0;
    glGetProgramInfoLog(program, 2000, &length, log);
    if (print) {
        std::cout << "." << log << std::endl;
    }
    // The program keeps the shaders it was linked from.
    glDeleteShader(fragment);
    glDeleteShader(vertex);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

// The scene program's variants for one texture kind each (index: the kind, 0 for none), with
// the values of the uniforms they share with it as last set on each variant.
struct TextureVariant {
    GLuint program = 0;
    GLint darkingAt = -1, useShadowsAt = -1;
    float darking = -1;
    GLint useShadows = -1;
};
constexpr int TEXTURE_KINDS = 4;
GLuint variantsOf = 0;
TextureVariant variants[TEXTURE_KINDS];
// The scene program's values of the uniforms the variants share, as last set (0 at first, as in
// a program just linked).
float sceneDarking = 0;
GLint sceneUseShadows = 0;

// The fragment source with TEXTURE_KIND defined right after its version line.
std::string withTextureKind(const std::string& source, int kind) {
    const std::string define = "#define TEXTURE_KIND " + std::to_string(kind) + "\n";
    const std::size_t version = source.find("#version");
    if (version == std::string::npos) {
        return define + source;
    }
    const std::size_t lineEnd = source.find('\n', version);
    std::string result = source;
    result.insert(lineEnd == std::string::npos ? result.size() : lineEnd + 1,
                  lineEnd == std::string::npos ? "\n" + define : define);
    return result;
}

void setSamplers(GLuint program) {
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "normal2DTex"), 2);
    glUniform1i(glGetUniformLocation(program, "normal3DTex"), 3);
    glUniform1i(glGetUniformLocation(program, "shadowMap"), 7);
}

} // namespace

unsigned int buildShaderProgram() {
    std::string fragmentSource, vertexSource;
    const bool haveFragment = readTextFile("fragment.sh", fragmentSource);
    const bool haveVertex = readTextFile("vertex.sh", vertexSource);
    if (!haveFragment || !haveVertex) {
        return 0;
    }
    const GLuint program = link(fragmentSource, vertexSource, true);
    // The variants of an earlier program died with its context. Kind 1 is no texture kind.
    variantsOf = program;
    sceneDarking = 0;
    sceneUseShadows = 0;
    for (int kind = 0; kind < TEXTURE_KINDS; ++kind) {
        TextureVariant& variant = variants[kind];
        variant = {};
        if (program != 0 && kind != 1) {
            variant.program = link(withTextureKind(fragmentSource, kind), vertexSource, false);
        }
        if (variant.program != 0) {
            setSamplers(variant.program);
            variant.darkingAt = glGetUniformLocation(variant.program, "darking");
            variant.useShadowsAt = glGetUniformLocation(variant.program, "useShadows");
        }
    }
    glUseProgram(0);
    return program;
}

unsigned int useTextureVariant(unsigned int program, int kind) {
    if (program == 0 || program != variantsOf || kind < 0 || kind >= TEXTURE_KINDS ||
        variants[kind].program == 0) {
        return 0;
    }
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    if (static_cast<GLuint>(current) != program) {
        return 0;
    }
    // The variant takes the values the scene program has now.
    const float darking = sceneDarking;
    const GLint useShadows = sceneUseShadows;
    TextureVariant& variant = variants[kind];
    glUseProgram(variant.program);
    if (variant.darking != darking) {
        variant.darking = darking;
        glUniform1f(variant.darkingAt, darking);
    }
    if (variant.useShadows != useShadows) {
        variant.useShadows = useShadows;
        glUniform1i(variant.useShadowsAt, useShadows);
    }
    return program;
}

namespace {

// The location of a uniform of the current program, or -1 when the program is not current or
// has no such uniform. Locations are looked up once per program.
GLint uniformLocation(unsigned int program, const char* name) {
    static unsigned int cachedProgram = 0;
    static std::vector<std::pair<std::string, GLint>> cache;
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    if (program == 0 || static_cast<unsigned int>(current) != program) {
        return -1;
    }
    if (cachedProgram != program) {
        cachedProgram = program;
        cache.clear();
    }
    for (const auto& entry : cache) {
        if (entry.first == name) {
            return entry.second;
        }
    }
    const GLint at = glGetUniformLocation(program, name);
    cache.emplace_back(name, at);
    return at;
}

} // namespace

void setUniform(unsigned int program, const char* name, int value) {
    const GLint at = uniformLocation(program, name);
    if (at >= 0) {
        glUniform1i(at, value);
        if (program == variantsOf && std::strcmp(name, "useShadows") == 0) {
            sceneUseShadows = value;
        }
    }
}

void setUniform(unsigned int program, const char* name, float value) {
    const GLint at = uniformLocation(program, name);
    if (at >= 0) {
        glUniform1f(at, value);
        if (program == variantsOf && std::strcmp(name, "darking") == 0) {
            sceneDarking = value;
        }
    }
}
