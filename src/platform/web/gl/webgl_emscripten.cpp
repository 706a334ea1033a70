// webgl.h over Emscripten's WebGL bindings, reached by their emscripten_gl* names: the GL names
// belong to the layer. This file includes no GL 1.1 header, only WebGL's.
#include "src/platform/web/gl/webgl.h"

#include <webgl/webgl1.h>

#include <cstdio>
#include <vector>

namespace VARKO::webgl {
namespace {

Handle CompileShader(GLenum type, const char* source) {
    const GLuint shader = emscripten_glCreateShader(type);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    GLint compiled = GL_FALSE;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_FALSE) {
        char log[2048] = {};
        emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL layer: shader not compiled: %s\n", log);
        emscripten_glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

Handle CreateProgram(const char* vertexSource, const char* fragmentSource,
                     const char* const* attributes, int attributeCount) {
    const Handle vertex = CompileShader(GL_VERTEX_SHADER, vertexSource);
    const Handle fragment = CompileShader(GL_FRAGMENT_SHADER, fragmentSource);
    if (vertex == 0 || fragment == 0) {
        return 0;
    }
    const GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, vertex);
    emscripten_glAttachShader(program, fragment);
    for (int i = 0; i < attributeCount; ++i) {
        emscripten_glBindAttribLocation(program, i, attributes[i]);
    }
    emscripten_glLinkProgram(program);
    emscripten_glDeleteShader(vertex);
    emscripten_glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_FALSE) {
        char log[2048] = {};
        emscripten_glGetProgramInfoLog(program, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL layer: program not linked: %s\n", log);
        emscripten_glDeleteProgram(program);
        return 0;
    }
    return program;
}

void UseProgram(Handle program) {
    emscripten_glUseProgram(program);
}
int UniformLocation(Handle program, const char* name) {
    return emscripten_glGetUniformLocation(program, name);
}
void Uniform1iv(int location, int count, const int* values) {
    emscripten_glUniform1iv(location, count, values);
}
void Uniform1fv(int location, int count, const float* values) {
    emscripten_glUniform1fv(location, count, values);
}
void Uniform3fv(int location, int count, const float* values) {
    emscripten_glUniform3fv(location, count, values);
}
void Uniform4fv(int location, int count, const float* values) {
    emscripten_glUniform4fv(location, count, values);
}
void UniformMatrix3fv(int location, const float* columnMajor) {
    emscripten_glUniformMatrix3fv(location, 1, GL_FALSE, columnMajor);
}
void UniformMatrix4fv(int location, const float* columnMajor) {
    emscripten_glUniformMatrix4fv(location, 1, GL_FALSE, columnMajor);
}

Handle CreateBuffer() {
    GLuint buffer = 0;
    emscripten_glGenBuffers(1, &buffer);
    return buffer;
}
void StreamArrayBuffer(Handle buffer, const void* data, std::size_t bytes) {
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_STREAM_DRAW);
}
void VertexAttribPointer(unsigned int index, int size, int strideBytes, int offsetBytes) {
    emscripten_glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, strideBytes,
                                     reinterpret_cast<const void*>(std::size_t(offsetBytes)));
}
void EnableVertexAttribArray(unsigned int index) {
    emscripten_glEnableVertexAttribArray(index);
}
void DrawArrays(unsigned int mode, int first, int count) {
    emscripten_glDrawArrays(mode, first, count);
}

Handle CreateTexture() {
    GLuint texture = 0;
    emscripten_glGenTextures(1, &texture);
    return texture;
}
void DeleteTexture(Handle texture) {
    emscripten_glDeleteTextures(1, &texture);
}
void BindTexture2D(Handle texture) {
    emscripten_glBindTexture(GL_TEXTURE_2D, texture);
}
void TexImage2D(int level, unsigned int format, int width, int height, const void* pixels) {
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    emscripten_glTexImage2D(GL_TEXTURE_2D, level, format, width, height, 0, format,
                            GL_UNSIGNED_BYTE, pixels);
}
void TexParameteri(unsigned int name, int value) {
    emscripten_glTexParameteri(GL_TEXTURE_2D, name, value);
}
int MaxTextureSize() {
    GLint size = 0;
    emscripten_glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

void Enable(unsigned int capability) {
    emscripten_glEnable(capability);
}
void Disable(unsigned int capability) {
    emscripten_glDisable(capability);
}
void BlendFunc(unsigned int source, unsigned int destination) {
    emscripten_glBlendFunc(source, destination);
}
void DepthFunc(unsigned int function) {
    emscripten_glDepthFunc(function);
}
void DepthMask(bool write) {
    emscripten_glDepthMask(write ? GL_TRUE : GL_FALSE);
}
void CullFace(unsigned int face) {
    emscripten_glCullFace(face);
}
void FrontFace(unsigned int orientation) {
    emscripten_glFrontFace(orientation);
}
void Viewport(int x, int y, int width, int height) {
    emscripten_glViewport(x, y, width, height);
}
void ClearColor(float red, float green, float blue, float alpha) {
    emscripten_glClearColor(red, green, blue, alpha);
}
void ClearDepth(float depth) {
    emscripten_glClearDepthf(depth);
}
void Clear(unsigned int mask) {
    emscripten_glClear(mask);
}
void Flush() {
    emscripten_glFlush();
}
void Finish() {
    emscripten_glFinish();
}

} // namespace VARKO::webgl
