#pragma once
// Glyph display lists from FreeType faces (freetype_glyphs.cpp), shared by the backends that
// draw text with FreeType. Such a backend defines BuildBitmapGlyphs and BuildOutlineGlyphs by
// linking that file, and supplies only FindFace: where the face for a request lives.

#include "src/platform/platform.h"

#include <string>

namespace VARKO::Platform {

struct FacePath {
    std::string file;
    int index = 0;
    bool embolden = false; // the family has no face of that weight: make it bolder
    bool oblique = false;  // ... or of that slant: shear it
};

// The face file for `font`, or its substitute when the family does not exist; false when there
// is none at all.
bool FindFace(const FontRequest& font, FacePath& path);

} // namespace VARKO::Platform
