#include "src/text.h"

#include "src/exception.h"
#include "src/platform/platform.h"

#include "src/gl_api.h"

#include <array>
#include <utility>

namespace VARKO {

namespace {

const char* const kFile = ".\\src\\text";

Platform::FontRequest RequestFor(const TextType& type) {
    return {type.font, type.size, type.bold ? 700 : 400, type.italic, type.underline};
}

} // namespace

Text::~Text() {
    Clear();
}

void Text::Clear() {
    if (base != 0) {
        glDeleteLists(base, kCharCount);
        base = 0;
    }
}

Text& Text::operator<<(std::string str) {
    Write(std::move(str));
    return *this;
}

Text& Text::operator<<(int val) {
    Write(std::to_string(val));
    return *this;
}

// Without a range, or for characters outside it, the list names would belong to someone else's
// lists; those characters are left out instead.
void Text::CallGlyphs(const std::string& str) const {
    if (base == 0) {
        return;
    }
    std::string glyphs;
    for (char c : str) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= kFirstChar && code < kFirstChar + kCharCount) {
            glyphs.push_back(c);
        }
    }
    glPushAttrib(GL_LIST_BIT);
    glListBase(base - kFirstChar);
    glCallLists(static_cast<GLsizei>(glyphs.size()), GL_UNSIGNED_BYTE, glyphs.data());
    glPopAttrib();
}

void Text2D::Setup(OpenGL* gl, TextType type) {
    if (gl == nullptr) {
        throw LumoException(__LINE__, kFile, "Text2D :: Setup - NULL pointer passed.");
    }
    Platform::DeviceHandle dc = gl->GetDC();
    base = glGenLists(kCharCount);
    // Building into a failed range (0) would overwrite lists 1..95 of other owners.
    if (base != 0) {
        Platform::BuildBitmapGlyphs(dc, RequestFor(type), kFirstChar, kCharCount, base);
    }
}

void Text2D::Write(std::string str) {
    CallGlyphs(str);
}

void Text3D::Setup(OpenGL* gl, TextType type) {
    if (gl == nullptr) {
        throw LumoException(__LINE__, kFile, "Text3D :: Setup - NULL pointer passed.");
    }
    Platform::DeviceHandle dc = gl->GetDC();
    base = glGenLists(kCharCount);
    std::array<float, kCharCount> advances{};
    if (base != 0) {
        Platform::BuildOutlineGlyphs(dc, RequestFor(type), kFirstChar, kCharCount, base, type.depth,
                                     advances.data());
    }
    float sum = 0.0f;
    for (float advance : advances) {
        sum += advance;
    }
    avgwidth = sum * (1.0f / 96);
}

void Text3D::Write(std::string str) {
    CallGlyphs(str);
}

} // namespace VARKO
