#include "render/Shaders.h"

#include "render/GL.h"

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

unsigned int buildShaderProgram() {
    std::string fragmentSource, vertexSource;
    const bool haveFragment = readTextFile("fragment.sh", fragmentSource);
    const bool haveVertex = readTextFile("vertex.sh", vertexSource);
    if (!haveFragment || !haveVertex) {
        return 0;
    }
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentSource);
    const GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource);
    const GLuint program = glCreateProgram();
    glAttachShader(program, fragment);
    glAttachShader(program, vertex);
    glLinkProgram(program);
    char log[2001] = {};
    GLsizei length = 0;
    glGetProgramInfoLog(program, 2000, &length, log);
    std::cout << "." << log << std::endl;
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
    }
}

void setUniform(unsigned int program, const char* name, float value) {
    const GLint at = uniformLocation(program, name);
    if (at >= 0) {
        glUniform1f(at, value);
    }
}
