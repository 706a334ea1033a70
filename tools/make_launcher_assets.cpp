// Draws the launcher's two pictures (normal and pressed look, 24-bit BMP) and writes splash.cfg
// with the rectangles of the buttons as drawn, so the three files always agree.
//
//   make_launcher_assets [output-directory]    (default: the current directory)
//
// Labels use DejaVu Sans found through fontconfig; shapes are anti-aliased from distance fields.

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 300;

struct Rgb {
    float r, g, b;
};

Rgb Hex(std::uint32_t value) {
    return {((value >> 16) & 0xFF) / 255.0f, ((value >> 8) & 0xFF) / 255.0f,
            (value & 0xFF) / 255.0f};
}

Rgb Mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

const Rgb kBackTop = Hex(0x1a2030);
const Rgb kBackBottom = Hex(0x121622);
const Rgb kFrame = Hex(0x34405a);
const Rgb kTitle = Hex(0xf2f5fa);
const Rgb kMuted = Hex(0x8792a8);
const Rgb kButtonFill = Hex(0x222a3a);
const Rgb kButtonEdge = Hex(0x3b4963);
const Rgb kLabel = Hex(0xd3dae6);
const Rgb kAccent = Hex(0x3d8bfd);
const Rgb kAccentEdge = Hex(0x7db3ff);
const Rgb kStart = Hex(0xf59331);
const Rgb kStartEdge = Hex(0xffbe73);
const Rgb kDarkText = Hex(0x1a1206);
const Rgb kWhite = Hex(0xffffff);

class Canvas {
public:
    Canvas() : pixels(kWidth * kHeight) {}

    void Blend(int x, int y, Rgb colour, float alpha) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || alpha <= 0) {
            return;
        }
        Rgb& p = pixels[y * kWidth + x];
        p = Mix(p, colour, std::min(alpha, 1.0f));
    }

    // Anti-aliased fill of the shape whose signed distance (negative inside) is `distance`.
    template <class Distance> void Fill(Rgb colour, Distance distance) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                Blend(x, y, colour, std::clamp(0.5f - distance(x + 0.5f, y + 0.5f), 0.0f, 1.0f));
            }
        }
    }

    // 24-bit bottom-up Windows bitmap, rows padded to four bytes.
    void WriteBmp(const std::string& path) const {
        const int rowBytes = (kWidth * 3 + 3) & ~3;
        const std::uint32_t imageBytes = rowBytes * kHeight;
        std::vector<std::uint8_t> file(54 + imageBytes);
        auto put = [&file](int at, std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i) {
                file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        };
        file[0] = 'B';
        file[1] = 'M';
        put(2, 54 + imageBytes, 4);
        put(10, 54, 4);
        put(14, 40, 4);
        put(18, kWidth, 4);
        put(22, kHeight, 4);
        put(26, 1, 2);
        put(28, 24, 2);
        put(34, imageBytes, 4);
        put(38, 2835, 4); // 72 dpi
        put(42, 2835, 4);
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = &file[54 + (kHeight - 1 - y) * rowBytes];
            for (int x = 0; x < kWidth; ++x) {
                const Rgb& p = pixels[y * kWidth + x];
                row[3 * x] = ToByte(p.b);
                row[3 * x + 1] = ToByte(p.g);
                row[3 * x + 2] = ToByte(p.r);
            }
        }
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), file.size());
        if (!out) {
            throw std::runtime_error("cannot write " + path);
        }
    }

private:
    static std::uint8_t ToByte(float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    }
    std::vector<Rgb> pixels;
};

// Signed distance to a rounded rectangle [x0, x1] x [y0, y1] with corner radius r.
auto RoundedRect(float x0, float y0, float x1, float y1, float r) {
    return [=](float x, float y) {
        float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
        float qx = std::abs(x - cx) - ((x1 - x0) / 2 - r);
        float qy = std::abs(y - cy) - ((y1 - y0) / 2 - r);
        float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - r;
    };
}

// Signed distance to a stroke of the given width from (ax, ay) to (bx, by), round ends.
auto Stroke(float ax, float ay, float bx, float by, float width) {
    return [=](float x, float y) {
        float dx = bx - ax, dy = by - ay;
        float t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
        return std::hypot(x - ax - t * dx, y - ay - t * dy) - width / 2;
    };
}

std::string FontFile(const char* name) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
        throw std::runtime_error(std::string("no font for ") + name);
    }
    std::string path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
    return path;
}

class Font {
public:
    Font(FT_Library library, const char* name, int pixels) {
        if (FT_New_Face(library, FontFile(name).c_str(), 0, &face) != 0) {
            throw std::runtime_error(std::string("cannot open font ") + name);
        }
        FT_Set_Pixel_Sizes(face, 0, pixels);
    }
    ~Font() { FT_Done_Face(face); }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    float Width(const std::u32string& text, float tracking = 0) {
        float pen = 0;
        for (char32_t c : text) {
            Load(c);
            pen += face->glyph->advance.x / 64.0f + tracking;
        }
        return pen - tracking;
    }

    // Height of a capital above the baseline, for centring labels.
    float CapHeight() {
        Load(U'H');
        return static_cast<float>(face->glyph->bitmap_top);
    }

    void Draw(Canvas& canvas, const std::u32string& text, float x, float baseline, Rgb colour,
              float tracking = 0) {
        float pen = x;
        for (char32_t c : text) {
            Load(c);
            const FT_Bitmap& bitmap = face->glyph->bitmap;
            int left = static_cast<int>(std::lround(pen)) + face->glyph->bitmap_left;
            int top = static_cast<int>(std::lround(baseline)) - face->glyph->bitmap_top;
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                for (unsigned col = 0; col < bitmap.width; ++col) {
                    float alpha = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
                    canvas.Blend(left + col, top + row, colour, alpha);
                }
            }
            pen += face->glyph->advance.x / 64.0f + tracking;
        }
    }

    void DrawCentred(Canvas& canvas, const std::u32string& text, float cx, float cy, Rgb colour) {
        Draw(canvas, text, cx - Width(text) / 2, cy + CapHeight() / 2, colour);
    }

private:
    void Load(char32_t c) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
            throw std::runtime_error("missing glyph");
        }
    }
    FT_Face face = nullptr;
};

enum class Kind { Radio, Toggle, Start };

struct Area {
    int x, y, w, h;
    Kind kind;
    std::u32string label;
};

// The eight buttons in launcher order: three resolutions, three depths, full screen, start.
std::vector<Area> Layout() {
    const int left = 24, gap = 12, wide = (kWidth - 2 * left - 2 * gap) / 3;
    const int half = (kWidth - 2 * left - gap) / 2;
    std::vector<Area> areas;
    const char32_t* resolutions[] = {U"640 × 480", U"800 × 600", U"1024 × 768"};
    const char32_t* depths[] = {U"8 bits", U"16 bits", U"32 bits"};
    for (int i = 0; i < 3; ++i) {
        areas.push_back({left + i * (wide + gap), 100, wide, 34, Kind::Radio, resolutions[i]});
    }
    for (int i = 0; i < 3; ++i) {
        areas.push_back({left + i * (wide + gap), 168, wide, 34, Kind::Radio, depths[i]});
    }
    areas.push_back({left, 222, half, 40, Kind::Toggle, U"Full screen"});
    areas.push_back({left + half + gap, 222, half, 40, Kind::Start, U"Start"});
    return areas;
}

// A filled rounded box with a one-pixel-and-a-half edge.
void Box(Canvas& canvas, const Area& a, Rgb fill, Rgb edge) {
    canvas.Fill(edge, RoundedRect(a.x, a.y, a.x + a.w, a.y + a.h, 7));
    canvas.Fill(fill,
                RoundedRect(a.x + 1.5f, a.y + 1.5f, a.x + a.w - 1.5f, a.y + a.h - 1.5f, 5.5f));
}

void CheckBox(Canvas& canvas, float x, float cy, bool checked) {
    const float size = 16;
    float y = cy - size / 2;
    if (checked) {
        canvas.Fill(kWhite, RoundedRect(x, y, x + size, y + size, 3.5f));
        canvas.Fill(kAccent, Stroke(x + 4, y + 8.5f, x + 7, y + 11.5f, 2.2f));
        canvas.Fill(kAccent, Stroke(x + 7, y + 11.5f, x + 12.5f, y + 5, 2.2f));
    } else {
        canvas.Fill(kMuted, RoundedRect(x, y, x + size, y + size, 3.5f));
        canvas.Fill(kButtonFill,
                    RoundedRect(x + 1.5f, y + 1.5f, x + size - 1.5f, y + size - 1.5f, 2));
    }
}

void DrawButton(Canvas& canvas, Font& font, const Area& a, bool pressed) {
    float cx = a.x + a.w / 2.0f, cy = a.y + a.h / 2.0f;
    switch (a.kind) {
    case Kind::Radio:
        Box(canvas, a, pressed ? kAccent : kButtonFill, pressed ? kAccentEdge : kButtonEdge);
        font.DrawCentred(canvas, a.label, cx, cy, pressed ? kWhite : kLabel);
        break;
    case Kind::Toggle: {
        Box(canvas, a, pressed ? kAccent : kButtonFill, pressed ? kAccentEdge : kButtonEdge);
        const float box = 16, space = 10;
        float start = cx - (box + space + font.Width(a.label)) / 2;
        CheckBox(canvas, start, cy, pressed);
        font.Draw(canvas, a.label, start + box + space, cy + font.CapHeight() / 2,
                  pressed ? kWhite : kLabel);
        break;
    }
    case Kind::Start:
        Box(canvas, a, pressed ? kStart : kButtonFill, pressed ? kStartEdge : kStart);
        font.DrawCentred(canvas, a.label + U"  ▸", cx, cy, pressed ? kDarkText : kStart);
        break;
    }
}

// A small 2-D metaball blob as the launcher's emblem, supersampled 4 x 4.
void Emblem(Canvas& canvas, float ox, float oy) {
    const float balls[][3] = {{0, 0, 9}, {21, 5, 7}, {7, 20, 6}};
    for (int y = static_cast<int>(oy) - 20; y < oy + 36; ++y) {
        for (int x = static_cast<int>(ox) - 20; x < ox + 36; ++x) {
            float inside = 0;
            for (int s = 0; s < 16; ++s) {
                float px = x + (s % 4 + 0.5f) / 4 - ox, py = y + (s / 4 + 0.5f) / 4 - oy;
                float field = 0;
                for (const auto& b : balls) {
                    float dx = px - b[0], dy = py - b[1];
                    field += b[2] * b[2] / (dx * dx + dy * dy + 1e-3f);
                }
                inside += field >= 1.0f ? 1.0f / 16 : 0;
            }
            float t = std::clamp((x - ox + y - oy + 16) / 70.0f, 0.0f, 1.0f);
            canvas.Blend(x, y, Mix(kAccentEdge, Hex(0x8a5cf6), t), inside);
        }
    }
}

void Background(Canvas& canvas) {
    for (int y = 0; y < kHeight; ++y) {
        Rgb row = Mix(kBackTop, kBackBottom, y / float(kHeight - 1));
        for (int x = 0; x < kWidth; ++x) {
            canvas.Blend(x, y, row, 1);
        }
    }
    for (int x = 0; x < kWidth; ++x) {
        canvas.Blend(x, 0, kFrame, 1);
        canvas.Blend(x, kHeight - 1, kFrame, 1);
    }
    for (int y = 0; y < kHeight; ++y) {
        canvas.Blend(0, y, kFrame, 1);
        canvas.Blend(kWidth - 1, y, kFrame, 1);
    }
}

Canvas DrawLauncher(FT_Library library, const std::vector<Area>& areas, bool pressed) {
    Font title(library, "DejaVu Sans:bold", 22);
    Font label(library, "DejaVu Sans:bold", 13);
    Font small(library, "DejaVu Sans", 11);
    Font caps(library, "DejaVu Sans:bold", 10);
    Canvas canvas;
    Background(canvas);
    Emblem(canvas, 40, 30);
    title.Draw(canvas, U"VARKO Metaballs", 74, 44, kTitle);
    small.Draw(canvas, U"Real-time metaballs in OpenGL", 75, 62, kMuted);
    caps.Draw(canvas, U"RESOLUTION", 25, 90, kMuted, 1.5f);
    caps.Draw(canvas, U"COLOUR DEPTH", 25, 158, kMuted, 1.5f);
    for (const Area& area : areas) {
        DrawButton(canvas, label, area, pressed);
    }
    std::u32string hint = U"In the demo: Esc quits  ·  ↑ ↓ change the number of balls";
    small.Draw(canvas, hint, (kWidth - small.Width(hint)) / 2, 284, kMuted);
    return canvas;
}

// Paths first, then left top right bottom per button; the launcher copies right - left by
// bottom - top pixels, exactly the drawn box.
void WriteConfig(const std::string& path, const std::vector<Area>& areas) {
    std::ofstream out(path);
    out << "launcher.bmp\nlauncher_pressed.bmp\n";
    for (const Area& a : areas) {
        out << a.x << ' ' << a.y << ' ' << a.x + a.w << ' ' << a.y + a.h << '\n';
    }
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? std::string(argv[1]) + "/" : "";
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "FreeType did not start\n");
        return 1;
    }
    int status = 0;
    try {
        std::vector<Area> areas = Layout();
        DrawLauncher(library, areas, false).WriteBmp(dir + "launcher.bmp");
        DrawLauncher(library, areas, true).WriteBmp(dir + "launcher_pressed.bmp");
        WriteConfig(dir + "splash.cfg", areas);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_launcher_assets: %s\n", e.what());
        status = 1;
    }
    FT_Done_FreeType(library);
    return status;
}
