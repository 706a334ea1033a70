#pragma once

// Recording fake of the OpenGL 1.1 and GLU entry points, linked into unit tests instead of
// the real libraries. Every call is logged in order with its arguments, and enough state is
// kept (enables, matrix stacks, viewport, current colour, texture bindings and uploads, the
// error flag) for the framework's own reads to make sense.
//
// Not modelled: display lists are logged but never replayed, so glCallList changes nothing,
// and GL_COMPILE lists leave the state untouched while they are built, as in real GL; GLU
// shapes and the tessellator draw nothing; lighting, materials and texture parameters are
// only logged.

#include "src/gl_api.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace VARKO::Testing::GL {

struct Call {
    std::string name;
    std::vector<double> args;
};

// The last glTexImage2D or gluBuild2DMipmaps upload to one texture name. `pixels` holds the
// rows as GL read them under the unpack parameters in force, packed without gaps.
struct TextureUpload {
    GLenum target = 0;
    GLint level = 0;
    GLint internalFormat = 0;
    GLsizei width = 0;
    GLsizei height = 0;
    GLenum format = 0;
    GLenum type = 0;
    bool mipmapped = false;
    std::vector<unsigned char> pixels;
};

// Empty log, scripted results cleared, state back to GL's defaults.
void Reset();
// Empty log only; the state is kept.
void ClearLog();

const std::vector<Call>& Calls();
// One text per call, e.g. "glEnable(GL_TEXTURE_2D)", "glColor3f(1, 0.5, 0)".
std::vector<std::string> CallTexts();
// The texts of the calls to one entry point only.
std::vector<std::string> CallTexts(const std::string& name);
std::vector<std::string> CallNames();
std::size_t CountCalls(const std::string& name);
bool NoGLCalls();
// True when `texts` appear in the log in this order, other calls allowed in between.
bool CallsInOrder(const std::vector<std::string>& texts);

// Scripted results.
void SetGenListsResult(GLuint first);            // the next glGenLists only; 0 reports failure
void SetGenTexturesStart(GLuint first);          // names handed out from here upward
void SetNewQuadricFails(bool fails);             // gluNewQuadric returns null while set
void SetMaxTextureSize(GLint size);              // GL_MAX_TEXTURE_SIZE, 1024 by default
void SetBuild2DMipmapsResult(GLint result);      // 0 (success) by default
void SetError(GLenum error);                     // the next glGetError result
void SetMatrix(GLenum which, const float m[16]); // top of GL_MODELVIEW/GL_PROJECTION/GL_TEXTURE

// State reads that log nothing.
std::vector<float> CurrentMatrix(GLenum which); // column-major, as glGetFloatv gives it
bool Enabled(GLenum cap);
std::array<float, 4> CurrentColour();
GLuint BoundTexture();
bool TextureExists(GLuint name);
const TextureUpload* LastUpload(GLuint name); // null when the name has had no upload
GLenum PendingError();

} // namespace VARKO::Testing::GL
