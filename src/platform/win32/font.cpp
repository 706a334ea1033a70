// Glyph display lists from GDI fonts: the font mapper picks the face (its substitute when the face
// does not exist) and WGL builds the lists. Some systems' bitmap lists do not advance by the
// font's own widths (a blank space glyph that does not move at all); those lists are rebuilt here
// from the glyph's bitmap and the font's advance, so text is spaced the same everywhere.

#include "src/platform/win32/win32_internal.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace VARKO::Platform {
namespace {

// The font selected into a device context for one build, then deselected and deleted.
class SelectedFont {
public:
    SelectedFont(HDC dc, const FontRequest& font)
        : dc(dc),
          font(CreateFontA(-font.height, 0, 0, 0, font.weight, font.italic, font.underline, FALSE,
                           ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                           FF_DONTCARE | DEFAULT_PITCH, font.face.c_str())) {
        if (this->font) {
            previous = SelectObject(dc, this->font);
        }
    }
    ~SelectedFont() {
        if (font) {
            SelectObject(dc, previous);
            DeleteObject(font);
        }
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
    explicit operator bool() const { return font != nullptr; }

private:
    HDC dc;
    HFONT font;
    HGDIOBJ previous = nullptr;
};

// Building glyphs may leave GL errors behind that the program would otherwise meet later.
void ClearGLErrors() {
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

// How far a bitmap glyph list moves the raster position, run in feedback mode so that nothing is
// drawn. Matrices, matrix mode and raster position are left as they were.
float ListAdvance(GLuint list) {
    GLfloat feedback[256];
    glFeedbackBuffer(256, GL_2D, feedback);
    glRenderMode(GL_FEEDBACK);
    glPushAttrib(GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2f(0.0f, 0.0f);
    GLfloat before[4] = {}, after[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, before);
    glCallList(list);
    glGetFloatv(GL_CURRENT_RASTER_POSITION, after);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    glRenderMode(GL_RENDER);
    return after[0] - before[0];
}

// Recompiles `list` from the glyph's bitmap (rows top first, each padded to 4 bytes) with the
// font's advance. A blank glyph gets one clear pixel: GL drivers may refuse an empty bitmap in a
// list as out of memory.
void RebuildBitmapGlyph(HDC dc, int code, GLuint list, int advance) {
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS metrics{};
    const DWORD size = GetGlyphOutlineA(dc, code, GGO_BITMAP, &metrics, 0, nullptr, &identity);
    std::vector<unsigned char> rows;
    if (size != GDI_ERROR && size > 0) {
        rows.resize(size);
        GetGlyphOutlineA(dc, code, GGO_BITMAP, &metrics, size, rows.data(), &identity);
    }
    const bool blank = rows.empty();
    const int width = blank ? 1 : static_cast<int>(metrics.gmBlackBoxX);
    const int height = blank ? 1 : static_cast<int>(metrics.gmBlackBoxY);
    const int left = blank ? 0 : metrics.gmptGlyphOrigin.x;
    const int top = blank ? 1 : metrics.gmptGlyphOrigin.y;
    const std::size_t stride = (std::size_t(width) + 31) / 32 * 4;
    std::vector<unsigned char> bottomUp(stride * height);
    for (int y = 0; y < height && (y + 1) * stride <= rows.size(); ++y) {
        std::copy_n(rows.begin() + y * stride, stride,
                    bottomUp.begin() + (height - 1 - y) * stride);
    }
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glNewList(list, GL_COMPILE);
    glBitmap(width, height, static_cast<GLfloat>(-left), static_cast<GLfloat>(height - top),
             static_cast<GLfloat>(advance), 0.0f, bottomUp.data());
    glEndList();
    glPopClientAttrib();
}

void MatchFontAdvances(HDC dc, int first, int count, unsigned int base) {
    for (int i = 0; i < count; ++i) {
        const UINT code = static_cast<UINT>(first + i);
        INT advance = 0;
        if (!GetCharWidth32A(dc, code, code, &advance)) {
            continue;
        }
        const GLuint list = base + i;
        if (std::fabs(ListAdvance(list) - static_cast<float>(advance)) > 0.5f) {
            RebuildBitmapGlyph(dc, static_cast<int>(code), list, advance);
        }
    }
}

} // namespace

bool BuildBitmapGlyphs(DeviceHandle device, const FontRequest& font, int first, int count,
                       unsigned int base) {
    HDC dc = ToHdc(device);
    SelectedFont selected(dc, font);
    if (!selected) {
        return false;
    }
    const bool built = wglUseFontBitmapsA(dc, first, count, base) != FALSE;
    ClearGLErrors();
    if (built) {
        MatchFontAdvances(dc, first, count, base);
    }
    return built;
}

bool BuildOutlineGlyphs(DeviceHandle device, const FontRequest& font, int first, int count,
                        unsigned int base, float depth, float* advances) {
    HDC dc = ToHdc(device);
    SelectedFont selected(dc, font);
    if (!selected) {
        return false;
    }
    std::vector<GLYPHMETRICSFLOAT> metrics(count);
    const bool built = wglUseFontOutlinesA(dc, first, count, base, 0.0f, depth, WGL_FONT_POLYGONS,
                                           metrics.data()) != FALSE;
    ClearGLErrors();
    for (int i = 0; i < count; ++i) {
        advances[i] = built ? metrics[i].gmfCellIncX : 0.0f;
    }
    return built;
}

} // namespace VARKO::Platform
