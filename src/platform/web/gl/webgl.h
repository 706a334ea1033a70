#pragma once
// The few WebGL 1 calls the GL layer makes, under names of their own: the layer's own functions
// take GL's names (glEnable, glBindTexture, glTexImage2D, ...), which WebGL shares, so WebGL is
// reached only through these. webgl_emscripten.cpp implements them in the browser; unit tests
// link a recording fake (tests/support/webgl_fake.*).
//
// Enumerants are WebGL's, which have GL's values (0x0DE1 is TEXTURE_2D on both sides).

#include <cstddef>

namespace VARKO::webgl {

using Handle = unsigned int;

// Compiles and links a program with the attributes bound to locations 0, 1, ... in the order
// given; 0 when it fails (the compiler's log goes to the console).
Handle CreateProgram(const char* vertexSource, const char* fragmentSource,
                     const char* const* attributes, int attributeCount);
void UseProgram(Handle program);
int UniformLocation(Handle program, const char* name); // -1 when the program has no such uniform
void Uniform1iv(int location, int count, const int* values);
void Uniform1fv(int location, int count, const float* values);
void Uniform3fv(int location, int count, const float* values);
void Uniform4fv(int location, int count, const float* values);
void UniformMatrix3fv(int location, const float* columnMajor);
void UniformMatrix4fv(int location, const float* columnMajor);

Handle CreateBuffer();
// Binds `buffer` as the array buffer and replaces its contents (stream usage).
void StreamArrayBuffer(Handle buffer, const void* data, std::size_t bytes);
// A float attribute of `size` components read from the bound array buffer.
void VertexAttribPointer(unsigned int index, int size, int strideBytes, int offsetBytes);
void EnableVertexAttribArray(unsigned int index);
void DrawArrays(unsigned int mode, int first, int count);

Handle CreateTexture();
void DeleteTexture(Handle texture);
void BindTexture2D(Handle texture);
// Unsigned bytes, rows packed without gaps; `format` is also the internal format, as WebGL 1
// wants.
void TexImage2D(int level, unsigned int format, int width, int height, const void* pixels);
void TexParameteri(unsigned int name, int value);
int MaxTextureSize();

void Enable(unsigned int capability);
void Disable(unsigned int capability);
void BlendFunc(unsigned int source, unsigned int destination);
void DepthFunc(unsigned int function);
void DepthMask(bool write);
void CullFace(unsigned int face);
void FrontFace(unsigned int orientation);
void Viewport(int x, int y, int width, int height);
void ClearColor(float red, float green, float blue, float alpha);
void ClearDepth(float depth);
void Clear(unsigned int mask);
void Flush();
void Finish();

} // namespace VARKO::webgl
