// Faces for the FreeType glyph lists (src/platform/freetype_glyphs.cpp). A page has no system
// fonts to read, so the site brings DejaVu Sans, regular and bold, under fonts/; every family
// is served by it, as it is the usual substitute on Linux. A bold face missing from the site is
// made bolder from the regular one; italics are sheared.

#include "src/platform/freetype_glyphs.h"

#include <cstdio>

namespace VARKO::Platform {
namespace {

constexpr const char* kRegularFace = "fonts/DejaVuSans.ttf";
constexpr const char* kBoldFace = "fonts/DejaVuSans-Bold.ttf";

bool Readable(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file) {
        std::fclose(file);
    }
    return file != nullptr;
}

} // namespace

bool FindFace(const FontRequest& font, FacePath& path) {
    const bool bold = font.weight >= 600;
    const bool boldFace = bold && Readable(kBoldFace);
    path.file = boldFace ? kBoldFace : kRegularFace;
    path.index = 0;
    path.embolden = bold && !boldFace;
    path.oblique = font.italic;
    return boldFace || Readable(kRegularFace);
}

} // namespace VARKO::Platform
