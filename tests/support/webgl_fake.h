#pragma once

// Recording fake of src/platform/web/gl/webgl.h, linked into the web GL layer's unit tests in
// place of the browser. Each draw is kept with its vertices and the uniform values in force, by
// name; texture uploads are kept per texture; the fixed-function switches are logged as text.

#include <map>
#include <string>
#include <vector>

namespace VARKO::Testing::WebGL {

constexpr int kFloatsPerVertex = 15; // position 4, normal 3, colour 4, texture coordinate 4

struct Draw {
    unsigned int mode = 0;
    std::vector<float> vertices;
    std::map<std::string, std::vector<float>> uniforms;
    unsigned int texture = 0;               // bound when drawn
    std::map<unsigned int, int> parameters; // that texture's parameters

    int VertexCount() const { return static_cast<int>(vertices.size()) / kFloatsPerVertex; }
    // Field `offset` (0 position, 4 normal, 7 colour, 11 texture coordinate) of vertex `i`.
    std::vector<float> Attribute(int i, int offset, int size) const;
    float Uniform(const std::string& name, int index = 0) const;
};

struct Upload {
    int level = 0;
    unsigned int format = 0;
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
};

void Reset();
void SetProgramFails(bool fails); // CreateProgram returns 0 while set

const std::vector<Draw>& Draws();
const std::vector<std::string>& StateCalls(); // e.g. "Enable(0x0b71)", "Clear(0x4100)"
std::vector<Upload> Uploads(unsigned int texture);
int LiveTextures();

} // namespace VARKO::Testing::WebGL
