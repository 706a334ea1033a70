// Hands the layer's state to WebGL: the program's uniforms, the fixed-function switches WebGL
// still has (blending, depth, culling), and the vertices of one primitive batch in a stream
// buffer. Values WebGL already holds are not sent again.
#include "src/platform/web/gl/context.h"
#include "src/platform/web/gl/shader.h"
#include "src/platform/web/gl/webgl.h"

#include <cmath>
#include <map>
#include <optional>
#include <string>

namespace VARKO::GLLayer {
namespace {

static_assert(sizeof(Vertex) == 15 * sizeof(float), "vertices go to WebGL as they are");

enum class UniformKind { Int, Float, Vec3, Vec4, Mat3, Mat4 };

struct FixedState {
    std::array<bool, 4> enabled{}; // blend, cull face, depth test, dither
    GLenum blendSource = 0, blendDestination = 0, depthFunc = 0, cullFace = 0, frontFace = 0;
    bool depthMask = false;
    std::array<int, 4> viewport{};
    Vec4 clearColour{};
    double clearDepth = -1;
    bool operator==(const FixedState&) const = default;
};

struct Renderer {
    webgl::Handle program = 0, buffer = 0;
    bool failed = false; // the program did not build; nothing is drawn
    std::map<std::string, int> locations;
    std::map<int, std::vector<float>> sent;
    std::optional<FixedState> applied;
};

Renderer& Instance() {
    static Renderer renderer;
    return renderer;
}

bool Ready() {
    Renderer& r = Instance();
    if (r.program != 0 || r.failed) {
        return !r.failed;
    }
    r.program = webgl::CreateProgram(kVertexShader, kFragmentShader, kAttributeNames, 4);
    r.failed = r.program == 0;
    if (r.failed) {
        return false;
    }
    webgl::UseProgram(r.program);
    r.buffer = webgl::CreateBuffer();
    webgl::StreamArrayBuffer(r.buffer, nullptr, 0);
    int offset = 0;
    for (unsigned int i = 0; i < 4; ++i) {
        webgl::VertexAttribPointer(i, kAttributeSizes[i], sizeof(Vertex), offset);
        webgl::EnableVertexAttribArray(i);
        offset += kAttributeSizes[i] * static_cast<int>(sizeof(float));
    }
    return true;
}

void SendUniform(const char* name, UniformKind kind, const float* values, int count) {
    Renderer& r = Instance();
    auto [entry, added] = r.locations.try_emplace(name, 0);
    if (added) {
        entry->second = webgl::UniformLocation(r.program, name);
    }
    const int location = entry->second;
    static constexpr int kSizes[] = {1, 1, 3, 4, 9, 16};
    std::vector<float> data(values, values + count * kSizes[static_cast<int>(kind)]);
    auto& previous = r.sent[location];
    if (location < 0 || previous == data) {
        return;
    }
    previous = data;
    switch (kind) {
    case UniformKind::Int: {
        std::vector<int> ints(data.begin(), data.end());
        webgl::Uniform1iv(location, count, ints.data());
        break;
    }
    case UniformKind::Float:
        webgl::Uniform1fv(location, count, values);
        break;
    case UniformKind::Vec3:
        webgl::Uniform3fv(location, count, values);
        break;
    case UniformKind::Vec4:
        webgl::Uniform4fv(location, count, values);
        break;
    case UniformKind::Mat3:
        webgl::UniformMatrix3fv(location, values);
        break;
    case UniformKind::Mat4:
        webgl::UniformMatrix4fv(location, values);
        break;
    }
}

void SendInt(const char* name, int value) {
    const float v = static_cast<float>(value);
    SendUniform(name, UniformKind::Int, &v, 1);
}

void SendMatrix(const char* name, const Matrix& m) {
    SendUniform(name, UniformKind::Mat4, m.data(), 1);
}

// The inverse transpose of the modelview's upper 3 x 3, which carries normals to eye space.
std::array<float, 9> NormalMatrix(const Matrix& m) {
    const float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6],
                i = m[10];
    const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    const float s = det != 0 ? 1 / det : 0;
    // Column-major: the inverse's transpose, i.e. the cofactors in place.
    return {s * (e * i - f * h), s * (c * h - b * i), s * (b * f - c * e),
            s * (f * g - d * i), s * (a * i - c * g), s * (c * d - a * f),
            s * (d * h - e * g), s * (b * g - a * h), s * (a * e - b * d)};
}

int ColourMaterialCode(const AttribState& s) {
    if (!s.enabled[kColourMaterial] || s.lighting.colourMaterialFace == GL_BACK) {
        return 0;
    }
    switch (s.lighting.colourMaterialMode) {
    case GL_AMBIENT_AND_DIFFUSE:
        return 1;
    case GL_AMBIENT:
        return 2;
    case GL_DIFFUSE:
        return 3;
    case GL_SPECULAR:
        return 4;
    default:
        return 5;
    }
}

// Lights as arrays of 8, each uniform in one call.
void SendLights(const AttribState& s) {
    std::array<float, kMaxLights> on{}, exponent{}, cosCutoff{};
    std::array<float, kMaxLights * 4> position{}, ambient{}, diffuse{}, specular{};
    std::array<float, kMaxLights * 3> attenuation{}, direction{};
    for (int i = 0; i < kMaxLights; ++i) {
        const Light& light = s.lighting.lights[i];
        on[i] = s.enabled[kLight0 + i] ? 1.0f : 0.0f;
        exponent[i] = light.spotExponent;
        cosCutoff[i] =
            light.spotCutoff == 180
                ? -2.0f
                : static_cast<float>(std::cos(light.spotCutoff * 3.14159265358979 / 180));
        std::copy_n(light.position.begin(), 4, &position[i * 4]);
        std::copy_n(light.ambient.begin(), 4, &ambient[i * 4]);
        std::copy_n(light.diffuse.begin(), 4, &diffuse[i * 4]);
        std::copy_n(light.specular.begin(), 4, &specular[i * 4]);
        std::copy_n(light.attenuation.begin(), 3, &attenuation[i * 3]);
        std::copy_n(light.spotDirection.begin(), 3, &direction[i * 3]);
    }
    SendUniform("uLightOn", UniformKind::Int, on.data(), kMaxLights);
    SendUniform("uSpotExponent", UniformKind::Float, exponent.data(), kMaxLights);
    SendUniform("uSpotCosCutoff", UniformKind::Float, cosCutoff.data(), kMaxLights);
    SendUniform("uLightPosition", UniformKind::Vec4, position.data(), kMaxLights);
    SendUniform("uLightAmbient", UniformKind::Vec4, ambient.data(), kMaxLights);
    SendUniform("uLightDiffuse", UniformKind::Vec4, diffuse.data(), kMaxLights);
    SendUniform("uLightSpecular", UniformKind::Vec4, specular.data(), kMaxLights);
    SendUniform("uLightAttenuation", UniformKind::Vec3, attenuation.data(), kMaxLights);
    SendUniform("uSpotDirection", UniformKind::Vec3, direction.data(), kMaxLights);
}

// Two-sided lighting is left out, so the front material lights both sides, as GL does then.
void SendLighting(const AttribState& s) {
    SendInt("uLighting", s.enabled[kLighting]);
    if (!s.enabled[kLighting]) {
        return;
    }
    const Material& m = s.lighting.materials[0];
    SendInt("uColorMaterial", ColourMaterialCode(s));
    SendUniform("uLightModelAmbient", UniformKind::Vec4, s.lighting.modelAmbient.data(), 1);
    SendUniform("uMaterialAmbient", UniformKind::Vec4, m.ambient.data(), 1);
    SendUniform("uMaterialDiffuse", UniformKind::Vec4, m.diffuse.data(), 1);
    SendUniform("uMaterialSpecular", UniformKind::Vec4, m.specular.data(), 1);
    SendUniform("uMaterialEmission", UniformKind::Vec4, m.emission.data(), 1);
    SendUniform("uShininess", UniformKind::Float, &m.shininess, 1);
    SendLights(s);
}

void BindTextureForDrawing(const TextureObject& texture) {
    webgl::BindTexture2D(texture.handle);
    webgl::TexParameteri(GL_TEXTURE_MIN_FILTER, texture.minFilter);
    webgl::TexParameteri(GL_TEXTURE_MAG_FILTER, texture.magFilter);
    webgl::TexParameteri(GL_TEXTURE_WRAP_S, texture.wrapS);
    webgl::TexParameteri(GL_TEXTURE_WRAP_T, texture.wrapT);
}

void SendTexturing(const Context& c) {
    const AttribState& s = c.state;
    const auto found = c.textures.find(s.boundTexture);
    const bool texturing =
        s.enabled[kTexture2D] && found != c.textures.end() && TextureComplete(found->second);
    SendInt("uTexturing", texturing);
    if (texturing) {
        BindTextureForDrawing(found->second);
    }
    SendInt("uSphereMapS", s.enabled[kTextureGenS] && s.sphereGenMode[0] == GL_SPHERE_MAP);
    SendInt("uSphereMapT", s.enabled[kTextureGenT] && s.sphereGenMode[1] == GL_SPHERE_MAP);
    SendMatrix("uTextureMatrix", c.matrices.texture.back());
}

void Switch(unsigned int capability, bool on) {
    on ? webgl::Enable(capability) : webgl::Disable(capability);
}

// Until the program sets one, the viewport stays WebGL's own (the canvas).
void ApplyFixedState(const AttribState& s) {
    const FixedState wanted{
        {s.enabled[kBlend], s.enabled[kCullFace], s.enabled[kDepthTest], s.enabled[kDither]},
        s.blendSource,
        s.blendDestination,
        s.depthFunc,
        s.cullFace,
        s.frontFace,
        s.depthMask,
        s.viewport,
        s.clearColour,
        s.clearDepth};
    std::optional<FixedState>& applied = Instance().applied;
    const FixedState old = applied.value_or(FixedState{});
    const bool all = !applied.has_value();
    constexpr unsigned int kCaps[] = {GL_BLEND, GL_CULL_FACE, GL_DEPTH_TEST, GL_DITHER};
    for (int i = 0; i < 4; ++i) {
        if (all || old.enabled[i] != wanted.enabled[i]) {
            Switch(kCaps[i], wanted.enabled[i]);
        }
    }
    if (all || old.blendSource != wanted.blendSource ||
        old.blendDestination != wanted.blendDestination) {
        webgl::BlendFunc(wanted.blendSource, wanted.blendDestination);
    }
    if (all || old.depthFunc != wanted.depthFunc) {
        webgl::DepthFunc(wanted.depthFunc);
    }
    if (all || old.depthMask != wanted.depthMask) {
        webgl::DepthMask(wanted.depthMask);
    }
    if (all || old.cullFace != wanted.cullFace || old.frontFace != wanted.frontFace) {
        webgl::CullFace(wanted.cullFace);
        webgl::FrontFace(wanted.frontFace);
    }
    const auto& v = wanted.viewport;
    if ((all || old.viewport != v) && (v[2] > 0 || v[3] > 0)) {
        webgl::Viewport(v[0], v[1], v[2], v[3]);
    }
    const auto& c = wanted.clearColour;
    if (all || old.clearColour != c) {
        webgl::ClearColor(c[0], c[1], c[2], c[3]);
    }
    if (all || old.clearDepth != wanted.clearDepth) {
        webgl::ClearDepth(static_cast<float>(wanted.clearDepth));
    }
    applied = wanted;
}

void Submit(unsigned int mode, const std::vector<Vertex>& vertices) {
    Renderer& r = Instance();
    webgl::StreamArrayBuffer(r.buffer, vertices.data(), vertices.size() * sizeof(Vertex));
    webgl::DrawArrays(mode, 0, static_cast<int>(vertices.size()));
}

} // namespace

void DrawVertices(GLenum primitive, const std::vector<Vertex>& vertices) {
    if (vertices.empty() || !Ready()) {
        return;
    }
    const Context& c = Current();
    const Matrix& modelview = c.matrices.modelview.back();
    const std::array<float, 9> normalMatrix = NormalMatrix(modelview);
    ApplyFixedState(c.state);
    SendMatrix("uModelView", modelview);
    SendMatrix("uProjection", c.matrices.projection.back());
    SendUniform("uNormalMatrix", UniformKind::Mat3, normalMatrix.data(), 1);
    SendInt("uNormalize", c.state.enabled[kNormalize]);
    SendInt("uBitmap", 0);
    SendLighting(c.state);
    SendTexturing(c);
    Submit(primitive, vertices);
}

// A quad in clip coordinates that covers the bitmap's pixels exactly, at the raster depth.
void DrawBitmap(int x, int y, int width, int height, const std::vector<unsigned char>& alpha,
                unsigned int& cachedTexture) {
    if (!Ready()) {
        return;
    }
    if (cachedTexture == 0) {
        cachedTexture = webgl::CreateTexture();
        webgl::BindTexture2D(cachedTexture);
        webgl::TexImage2D(0, GL_ALPHA, width, height, alpha.data());
    }
    const Context& c = Current();
    const auto& viewport = c.state.viewport;
    const RasterPosition& raster = c.state.current.raster;
    auto clipX = [&](int px) { return 2.0f * (px - viewport[0]) / viewport[2] - 1; };
    auto clipY = [&](int py) { return 2.0f * (py - viewport[1]) / viewport[3] - 1; };
    const float x0 = clipX(x), x1 = clipX(x + width), y0 = clipY(y), y1 = clipY(y + height);
    const float z = 2 * raster.window[2] - 1;
    auto corner = [&](float cx, float cy, float s, float t) {
        return Vertex{{cx, cy, z, 1}, {0, 0, 1}, raster.colour, {s, t, 0, 1}};
    };
    const std::vector<Vertex> quad{corner(x0, y0, 0, 0), corner(x1, y0, 1, 0),
                                   corner(x1, y1, 1, 1), corner(x0, y0, 0, 0),
                                   corner(x1, y1, 1, 1), corner(x0, y1, 0, 1)};
    ApplyFixedState(c.state);
    SendMatrix("uModelView", Identity());
    SendMatrix("uProjection", Identity());
    SendMatrix("uTextureMatrix", Identity());
    SendInt("uLighting", 0);
    SendInt("uSphereMapS", 0);
    SendInt("uSphereMapT", 0);
    SendInt("uBitmap", 1);
    TextureObject bitmap;
    bitmap.handle = cachedTexture;
    bitmap.minFilter = bitmap.magFilter = GL_NEAREST;
    bitmap.wrapS = bitmap.wrapT = GL_CLAMP_TO_EDGE;
    BindTextureForDrawing(bitmap);
    Submit(GL_TRIANGLES, quad);
}

void ClearBuffers(GLbitfield mask) {
    if (Ready()) {
        ApplyFixedState(Current().state);
        webgl::Clear(mask);
    }
}

void ResetRenderer() {
    Instance() = Renderer{};
}

} // namespace VARKO::GLLayer
