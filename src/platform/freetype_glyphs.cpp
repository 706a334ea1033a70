// Glyph display lists from FreeType faces, for the backends that draw text with FreeType (SDL and
// web): the backend picks the face file (FindFace), FreeType loads and renders it, and GL 1.1
// records the lists. Outline glyphs are filled with the GLU tessellator. Characters map by their
// code, which for 32..127 is the same in the ANSI code page and in Unicode.

#include "src/platform/freetype_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H

#include "src/gl_api.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <memory>
#include <type_traits>
#include <vector>

namespace VARKO::Platform {

namespace {

// GDI takes a height of 0 as "the default size".
constexpr int kDefaultPixelHeight = 16;
// Outline glyphs are loaded unhinted at this em size (in pixels) and scaled down to 1.0.
constexpr int kOutlineEm = 1024;
constexpr int kCurveSteps = 8;

struct FontLibrary {
    FT_Library ft = nullptr;

    FontLibrary() {
        if (FT_Init_FreeType(&ft) != 0) {
            ft = nullptr;
        }
    }
    ~FontLibrary() {
        if (ft != nullptr) {
            FT_Done_FreeType(ft);
        }
    }
};

FontLibrary& Library() {
    static FontLibrary library;
    return library;
}

struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;

struct OpenFont {
    FacePtr face;
    FacePath path;
};

bool Open(const FontRequest& font, int pixelHeight, OpenFont& open) {
    FontLibrary& library = Library();
    if (library.ft == nullptr || !FindFace(font, open.path)) {
        return false;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library.ft, open.path.file.c_str(), open.path.index, &face) != 0) {
        return false;
    }
    open.face.reset(face);
    return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight)) == 0;
}

// Loads the glyph of character `code` into the face's slot, with the synthetic weight and slant
// applied, unrendered.
bool LoadGlyph(const OpenFont& font, int code, FT_Int32 flags) {
    FT_Face face = font.face.get();
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, static_cast<FT_ULong>(code)), flags) != 0) {
        return false;
    }
    if (font.path.oblique) {
        FT_GlyphSlot_Oblique(face->glyph);
    }
    if (font.path.embolden) {
        FT_GlyphSlot_Embolden(face->glyph);
    }
    return true;
}

// The underline bar, in 26.6 units of the loaded size: its top and bottom above the baseline.
struct Bar {
    FT_Pos top = 0;
    FT_Pos bottom = 0;
};

Bar UnderlineBar(FT_Face face) {
    const FT_Pos position = FT_MulFix(face->underline_position, face->size->metrics.y_scale);
    const FT_Pos thickness =
        std::max<FT_Pos>(64, FT_MulFix(face->underline_thickness, face->size->metrics.y_scale));
    return {position + thickness / 2, position + thickness / 2 - thickness};
}

// ---- Bitmap glyphs

// A 1-bit picture placed relative to the pen: `left` columns right of it, `top` rows above the
// baseline for the top row.
class Canvas {
public:
    Canvas(int left, int top, int width, int height)
        : left(left), top(top), width(width), height(height),
          bits(static_cast<std::size_t>(width) * height) {}

    void Set(int x, int y) { // x right of the pen, y rows above the baseline (0: first above)
        const int column = x - left;
        const int row = top - 1 - y;
        if (column >= 0 && column < width && row >= 0 && row < height) {
            bits[static_cast<std::size_t>(row) * width + column] = 1;
        }
    }

    // Rows bottom-up, 1 bit per pixel, most significant bit first, rows padded to a byte.
    std::vector<GLubyte> Rows() const {
        const int rowBytes = (width + 7) / 8;
        std::vector<GLubyte> rows(static_cast<std::size_t>(rowBytes) * height + 1, 0);
        for (int row = 0; row < height; ++row) {
            GLubyte* out = rows.data() + static_cast<std::size_t>(height - 1 - row) * rowBytes;
            for (int column = 0; column < width; ++column) {
                if (bits[static_cast<std::size_t>(row) * width + column] != 0) {
                    out[column / 8] |= static_cast<GLubyte>(0x80 >> (column % 8));
                }
            }
        }
        return rows;
    }

    const int left, top, width, height;

private:
    std::vector<unsigned char> bits;
};

bool PixelOn(const FT_Bitmap& bitmap, int x, int y) {
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        return (row[x / 8] & (0x80 >> (x % 8))) != 0;
    }
    return bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && row[x] >= 128;
}

Canvas GlyphCanvas(FT_GlyphSlot slot, int advance, const Bar* underline) {
    const FT_Bitmap& bitmap = slot->bitmap;
    int left = slot->bitmap_left;
    int right = left + static_cast<int>(bitmap.width);
    int top = slot->bitmap_top;
    int bottom = top - static_cast<int>(bitmap.rows);
    int barTop = 0, barBottom = 0;
    if (underline != nullptr && advance > 0) {
        barTop = static_cast<int>((underline->top + 32) >> 6);
        barBottom = std::min(barTop - 1, static_cast<int>((underline->bottom + 32) >> 6));
        left = std::min(left, 0);
        right = std::max(right, advance);
        top = std::max(top, barTop);
        bottom = std::min(bottom, barBottom);
    }
    Canvas canvas(left, top, right - left, top - bottom);
    for (int y = 0; y < static_cast<int>(bitmap.rows); ++y) {
        for (int x = 0; x < static_cast<int>(bitmap.width); ++x) {
            if (PixelOn(bitmap, x, y)) {
                canvas.Set(slot->bitmap_left + x, slot->bitmap_top - 1 - y);
            }
        }
    }
    for (int y = barBottom; y < barTop; ++y) {
        for (int x = 0; x < advance; ++x) {
            canvas.Set(x, y);
        }
    }
    return canvas;
}

void BuildBitmapList(const OpenFont& font, int code, GLuint list, const Bar* underline) {
    FT_GlyphSlot slot = font.face->glyph;
    const bool loaded = LoadGlyph(font, code, FT_LOAD_TARGET_MONO) &&
                        FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0;
    if (!loaded) {
        return;
    }
    const int advance = static_cast<int>(slot->advance.x >> 6);
    const Canvas canvas = GlyphCanvas(slot, advance, underline);
    const std::vector<GLubyte> rows = canvas.Rows();
    glNewList(list, GL_COMPILE);
    glBitmap(canvas.width, canvas.height, static_cast<GLfloat>(-canvas.left),
             static_cast<GLfloat>(canvas.height - canvas.top), static_cast<GLfloat>(advance), 0.0f,
             rows.data());
    glEndList();
}

// ---- Outline glyphs

using Point = std::array<GLdouble, 3>;
using Contour = std::vector<Point>;

struct Flattener {
    std::vector<Contour> contours;
    double scale = 1.0;
    Point last{};

    Point At(const FT_Vector* v) const { return {v->x * scale, v->y * scale, 0.0}; }
    void Add(const Point& p) {
        Contour& contour = contours.back();
        if (contour.empty() || contour.back()[0] != p[0] || contour.back()[1] != p[1]) {
            contour.push_back(p);
        }
        last = p;
    }
};

Flattener& Of(void* user) {
    return *static_cast<Flattener*>(user);
}

int MoveTo(const FT_Vector* to, void* user) {
    Of(user).contours.emplace_back();
    Of(user).Add(Of(user).At(to));
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    Of(user).Add(Of(user).At(to));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    Flattener& f = Of(user);
    const Point p0 = f.last, p1 = f.At(control), p2 = f.At(to);
    for (int i = 1; i <= kCurveSteps; ++i) {
        const double t = double(i) / kCurveSteps, u = 1.0 - t;
        f.Add({u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0],
               u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1], 0.0});
    }
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    Flattener& f = Of(user);
    const Point p0 = f.last, p1 = f.At(c1), p2 = f.At(c2), p3 = f.At(to);
    for (int i = 1; i <= kCurveSteps; ++i) {
        const double t = double(i) / kCurveSteps, u = 1.0 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        f.Add({a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
               a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1], 0.0});
    }
    return 0;
}

// The glyph's contours in em units, all turned so that filled areas lie to their left.
std::vector<Contour> Contours(FT_Outline* outline, double scale) {
    static const FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    Flattener flattener;
    flattener.scale = scale;
    FT_Outline_Decompose(outline, &funcs, &flattener);
    const bool clockwise = FT_Outline_Get_Orientation(outline) == FT_ORIENTATION_TRUETYPE;
    for (Contour& contour : flattener.contours) {
        if (contour.size() > 1 && contour.front() == contour.back()) {
            contour.pop_back();
        }
        if (clockwise) {
            std::reverse(contour.begin(), contour.end());
        }
    }
    std::erase_if(flattener.contours, [](const Contour& c) { return c.size() < 3; });
    return flattener.contours;
}

void AddUnderline(std::vector<Contour>& contours, const Bar& bar, double scale, double advance) {
    const double top = bar.top * scale, bottom = bar.bottom * scale;
    contours.push_back(
        {Point{0, bottom, 0}, Point{advance, bottom, 0}, Point{advance, top, 0}, Point{0, top, 0}});
}

// The tessellator's callbacks; the polygon data is the storage for vertices it invents.
void TessBegin(GLenum type, void*) {
    glBegin(type);
}
void TessVertex(void* vertex, void*) {
    glVertex3dv(static_cast<const GLdouble*>(vertex));
}
void TessEnd(void*) {
    glEnd();
}
void TessCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* data) {
    auto& made = *static_cast<std::deque<Point>*>(data);
    made.push_back({coords[0], coords[1], coords[2]});
    *out = made.back().data();
}
void TessError(GLenum, void*) {}

template <typename F> _GLUfuncptr Callback(F* function) {
    return reinterpret_cast<_GLUfuncptr>(function);
}

// One face of the glyph at height z, facing +z (`facing` 1) or -z (-1).
void Face(GLUtesselator* tess, std::vector<Contour>& contours, double z, int facing) {
    std::deque<Point> made;
    gluTessNormal(tess, 0.0, 0.0, facing);
    glNormal3f(0.0f, 0.0f, static_cast<GLfloat>(facing));
    gluTessBeginPolygon(tess, &made);
    for (Contour& contour : contours) {
        gluTessBeginContour(tess);
        for (Point& p : contour) {
            p[2] = z;
            gluTessVertex(tess, p.data(), p.data());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
}

// Filled areas lie left of each edge, so (dy, -dx) points out of the glyph.
void Walls(const std::vector<Contour>& contours, double depth) {
    glBegin(GL_QUADS);
    for (const Contour& contour : contours) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const Point& a = contour[i];
            const Point& b = contour[(i + 1) % contour.size()];
            const double dx = b[0] - a[0], dy = b[1] - a[1];
            const double length = std::hypot(dx, dy);
            glNormal3d(dy / length, -dx / length, 0.0);
            glVertex3d(a[0], a[1], 0.0);
            glVertex3d(a[0], a[1], -depth);
            glVertex3d(b[0], b[1], -depth);
            glVertex3d(b[0], b[1], 0.0);
        }
    }
    glEnd();
}

GLUtesselator* NewTessellator(bool evenOdd) {
    GLUtesselator* tess = gluNewTess();
    if (tess == nullptr) {
        return nullptr;
    }
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, Callback(TessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, Callback(TessVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, Callback(TessEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, Callback(TessCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, Callback(TessError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE,
                    evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
    return tess;
}

// The glyph's advance in em units, or 0 when it could not be loaded.
float BuildOutlineList(const OpenFont& font, int code, GLuint list, float depth, bool underline) {
    FT_Face face = font.face.get();
    if (!LoadGlyph(font, code, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        return 0.0f;
    }
    FT_Outline* outline = &face->glyph->outline;
    const double scale = 1.0 / (64.0 * kOutlineEm);
    const double advance = face->glyph->advance.x * scale;
    std::vector<Contour> contours = Contours(outline, scale);
    if (underline) {
        AddUnderline(contours, UnderlineBar(face), scale, advance);
    }
    GLUtesselator* tess = NewTessellator((outline->flags & FT_OUTLINE_EVEN_ODD_FILL) != 0);
    glNewList(list, GL_COMPILE);
    if (tess != nullptr) {
        Face(tess, contours, 0.0, 1);
        Face(tess, contours, -depth, -1);
        gluDeleteTess(tess);
    }
    Walls(contours, depth);
    glTranslated(advance, 0.0, 0.0);
    glEndList();
    return static_cast<float>(advance);
}

} // namespace

bool BuildBitmapGlyphs(DeviceHandle, const FontRequest& font, int first, int count,
                       unsigned int base) {
    OpenFont open;
    if (!Open(font, font.height > 0 ? font.height : kDefaultPixelHeight, open)) {
        return false;
    }
    const Bar bar = UnderlineBar(open.face.get());
    // glBitmap copies the rows when the list is compiled, under the unpack state in force.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    for (int i = 0; i < count; ++i) {
        BuildBitmapList(open, first + i, base + i, font.underline ? &bar : nullptr);
    }
    glPopClientAttrib();
    return true;
}

bool BuildOutlineGlyphs(DeviceHandle, const FontRequest& font, int first, int count,
                        unsigned int base, float depth, float* advances) {
    OpenFont open;
    if (!Open(font, kOutlineEm, open)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        advances[i] = BuildOutlineList(open, first + i, base + i, depth, font.underline);
    }
    return true;
}

} // namespace VARKO::Platform
