#pragma once
#include "src/opengl.h"

#include <cstdint>
#include <string>

namespace VARKO {

// The font a text object is built from.
struct TextType {
    std::string font; // typeface name; another face stands in when none of that name exists
    int size = 0;     // character height in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    float depth = 0.0f; // extrusion of outline glyphs (Text3D only)
};

// A range of 96 display lists, one per character 32..127, with stream-style output.
class Text {
public:
    Text() = default;
    virtual ~Text();
    // The range belongs to one object; a copy would delete it twice.
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    virtual void Setup(OpenGL* gl, TextType type) = 0;
    virtual void Write(std::string str) = 0;

    void Clear();
    Text& operator<<(std::string str);
    Text& operator<<(int val);

    std::uint32_t base = 0; // first list of the range; 0 when there is none

protected:
    static constexpr int kFirstChar = 32;
    static constexpr int kCharCount = 96;

    void CallGlyphs(const std::string& str) const;
};

// Bitmap glyphs drawn at the raster position, which each glyph advances.
class Text2D : public Text {
public:
    void Setup(OpenGL* gl, TextType type) override;
    void Write(std::string str) override;
};

// Extruded polygon glyphs in model space (em height 1.0); each leaves the modelview matrix moved
// on by its advance.
class Text3D : public Text {
public:
    void Setup(OpenGL* gl, TextType type) override;
    void Write(std::string str) override;

    float avgwidth = 0.0f; // mean advance of the 96 glyphs, in em units
};

} // namespace VARKO
