// Faces for the FreeType glyph lists (src/platform/freetype_glyphs.cpp): fontconfig picks the
// system's face for a family, or its substitute when the family does not exist.

#include "src/platform/freetype_glyphs.h"

#include <fontconfig/fontconfig.h>

namespace VARKO::Platform {

namespace {

FcPattern* MakePattern(const FontRequest& font) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(font.weight));
    FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

} // namespace

bool FindFace(const FontRequest& font, FacePath& path) {
    static const bool started = FcInit() == FcTrue;
    if (!started) {
        return false;
    }
    FcPattern* pattern = MakePattern(font);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return false;
    }
    FcChar8* file = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (found) {
        path.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &path.index);
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        path.embolden = font.weight >= 600 && weight < FC_WEIGHT_DEMIBOLD;
        path.oblique = font.italic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return found;
}

} // namespace VARKO::Platform
