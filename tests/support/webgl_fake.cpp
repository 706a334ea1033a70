#include "tests/support/webgl_fake.h"

#include "src/platform/web/gl/webgl.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace VARKO::Testing::WebGL {
namespace {

struct Fake {
    bool programFails = false;
    std::map<std::string, int> locations;
    std::map<int, std::vector<float>> uniformValues;
    std::vector<float> buffer;
    unsigned int boundTexture = 0, nextName = 1;
    std::set<unsigned int> liveTextures;
    std::map<unsigned int, std::vector<Upload>> uploads;
    std::map<unsigned int, std::map<unsigned int, int>> parameters;
    std::vector<Draw> draws;
    std::vector<std::string> stateCalls;
};

Fake& State() {
    static Fake fake;
    return fake;
}

// Numbers as %g gives them: enumerants in decimal ("Enable(3042)").
void LogState(const char* name, std::initializer_list<double> args) {
    std::string text = std::string(name) + "(";
    for (double arg : args) {
        char number[32];
        std::snprintf(number, sizeof number, "%g", arg);
        text += (text.back() == '(' ? "" : ", ") + std::string(number);
    }
    State().stateCalls.push_back(text + ")");
}

void SetUniform(int location, const float* values, int count) {
    State().uniformValues[location].assign(values, values + count);
}

} // namespace

std::vector<float> Draw::Attribute(int i, int offset, int size) const {
    const float* start = &vertices[static_cast<std::size_t>(i) * kFloatsPerVertex + offset];
    return {start, start + size};
}

float Draw::Uniform(const std::string& name, int index) const {
    const auto found = uniforms.find(name);
    return found == uniforms.end() || found->second.size() <= static_cast<std::size_t>(index)
               ? -999.0f
               : found->second[index];
}

void Reset() {
    State() = Fake{};
}
void SetProgramFails(bool fails) {
    State().programFails = fails;
}
const std::vector<Draw>& Draws() {
    return State().draws;
}
const std::vector<std::string>& StateCalls() {
    return State().stateCalls;
}
std::vector<Upload> Uploads(unsigned int texture) {
    return State().uploads[texture];
}
int LiveTextures() {
    return static_cast<int>(State().liveTextures.size());
}

} // namespace VARKO::Testing::WebGL

namespace VARKO::webgl {

using Testing::WebGL::State;

Handle CreateProgram(const char*, const char*, const char* const*, int) {
    return State().programFails ? 0 : 7;
}
void UseProgram(Handle) {}
int UniformLocation(Handle, const char* name) {
    auto& locations = State().locations;
    return locations.try_emplace(name, static_cast<int>(locations.size())).first->second;
}
void Uniform1iv(int location, int count, const int* values) {
    std::vector<float> floats(values, values + count);
    Testing::WebGL::SetUniform(location, floats.data(), count);
}
void Uniform1fv(int location, int count, const float* values) {
    Testing::WebGL::SetUniform(location, values, count);
}
void Uniform3fv(int location, int count, const float* values) {
    Testing::WebGL::SetUniform(location, values, count * 3);
}
void Uniform4fv(int location, int count, const float* values) {
    Testing::WebGL::SetUniform(location, values, count * 4);
}
void UniformMatrix3fv(int location, const float* m) {
    Testing::WebGL::SetUniform(location, m, 9);
}
void UniformMatrix4fv(int location, const float* m) {
    Testing::WebGL::SetUniform(location, m, 16);
}

Handle CreateBuffer() {
    return 1;
}
void StreamArrayBuffer(Handle, const void* data, std::size_t bytes) {
    auto& buffer = State().buffer;
    buffer.resize(bytes / sizeof(float));
    if (bytes != 0) {
        std::memcpy(buffer.data(), data, bytes);
    }
}
void VertexAttribPointer(unsigned int, int, int, int) {}
void EnableVertexAttribArray(unsigned int) {}

void DrawArrays(unsigned int mode, int first, int count) {
    auto& fake = State();
    Testing::WebGL::Draw draw;
    draw.mode = mode;
    const auto begin = fake.buffer.begin() + first * Testing::WebGL::kFloatsPerVertex;
    draw.vertices.assign(begin, begin + count * Testing::WebGL::kFloatsPerVertex);
    for (const auto& [name, location] : fake.locations) {
        draw.uniforms[name] = fake.uniformValues[location];
    }
    draw.texture = fake.boundTexture;
    draw.parameters = fake.parameters[fake.boundTexture];
    fake.draws.push_back(draw);
}

Handle CreateTexture() {
    const Handle name = State().nextName++;
    State().liveTextures.insert(name);
    return name;
}
void DeleteTexture(Handle texture) {
    State().liveTextures.erase(texture);
}
void BindTexture2D(Handle texture) {
    State().boundTexture = texture;
}
void TexImage2D(int level, unsigned int format, int width, int height, const void* pixels) {
    const std::size_t components = format == 0x1907   ? 3
                                   : format == 0x1908 ? 4
                                   : format == 0x190A ? 2
                                                      : 1;
    Testing::WebGL::Upload upload{level, format, width, height, {}};
    if (pixels != nullptr) {
        const auto* bytes = static_cast<const unsigned char*>(pixels);
        upload.pixels.assign(bytes, bytes + components * width * height);
    }
    State().uploads[State().boundTexture].push_back(upload);
}
void TexParameteri(unsigned int name, int value) {
    State().parameters[State().boundTexture][name] = value;
}
int MaxTextureSize() {
    return 2048;
}

void Enable(unsigned int capability) {
    Testing::WebGL::LogState("Enable", {double(capability)});
}
void Disable(unsigned int capability) {
    Testing::WebGL::LogState("Disable", {double(capability)});
}
void BlendFunc(unsigned int source, unsigned int destination) {
    Testing::WebGL::LogState("BlendFunc", {double(source), double(destination)});
}
void DepthFunc(unsigned int function) {
    Testing::WebGL::LogState("DepthFunc", {double(function)});
}
void DepthMask(bool write) {
    Testing::WebGL::LogState("DepthMask", {write ? 1.0 : 0.0});
}
void CullFace(unsigned int face) {
    Testing::WebGL::LogState("CullFace", {double(face)});
}
void FrontFace(unsigned int orientation) {
    Testing::WebGL::LogState("FrontFace", {double(orientation)});
}
void Viewport(int x, int y, int width, int height) {
    Testing::WebGL::LogState("Viewport", {double(x), double(y), double(width), double(height)});
}
void ClearColor(float red, float green, float blue, float alpha) {
    Testing::WebGL::LogState("ClearColor", {red, green, blue, alpha});
}
void ClearDepth(float depth) {
    Testing::WebGL::LogState("ClearDepth", {depth});
}
void Clear(unsigned int mask) {
    Testing::WebGL::LogState("Clear", {double(mask)});
}
void Flush() {}
void Finish() {}

} // namespace VARKO::webgl
