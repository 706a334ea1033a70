#include "src/platform/web/gl/context.h"
#include "src/platform/web/gl/gl_layer.h"

#include <utility>

namespace VARKO::GLLayer {
namespace {

struct CapabilityName {
    GLenum cap;
    Capability index;
};

constexpr CapabilityName kCapabilities[] = {
    {GL_BLEND, kBlend},
    {GL_COLOR_MATERIAL, kColourMaterial},
    {GL_CULL_FACE, kCullFace},
    {GL_DEPTH_TEST, kDepthTest},
    {GL_DITHER, kDither},
    {GL_LIGHTING, kLighting},
    {GL_NORMALIZE, kNormalize},
    {GL_TEXTURE_2D, kTexture2D},
    {GL_TEXTURE_GEN_S, kTextureGenS},
    {GL_TEXTURE_GEN_T, kTextureGenT},
};

Context MakeDefaultContext() {
    Context context;
    Light& light0 = context.state.lighting.lights[0];
    light0.diffuse = {1, 1, 1, 1};
    light0.specular = {1, 1, 1, 1};
    context.state.enabled[kDither] = true;
    return context;
}

Context& Instance() {
    static Context context = MakeDefaultContext();
    return context;
}

} // namespace

Context& Current() {
    return Instance();
}

void ContextCreated(int width, int height) {
    Instance() = MakeDefaultContext();
    Instance().state.viewport = {0, 0, width, height};
    ResetRenderer();
}

void SetError(GLenum error) {
    Context& context = Current();
    if (context.error == GL_NO_ERROR) {
        context.error = error;
    }
}

bool OutsideBeginEnd() {
    if (Current().immediate.inside) {
        SetError(GL_INVALID_OPERATION);
        return false;
    }
    return true;
}

bool Compiled(Command command) {
    DisplayLists& lists = Current().displayLists;
    if (lists.compilingName == 0 || lists.replayDepth > 0) {
        return false;
    }
    lists.compiling.push_back(std::move(command));
    return lists.compileMode == GL_COMPILE;
}

int CapabilityIndex(GLenum cap) {
    const int light = LightIndex(cap);
    if (light >= 0) {
        return kLight0 + light;
    }
    for (const CapabilityName& entry : kCapabilities) {
        if (entry.cap == cap) {
            return entry.index;
        }
    }
    return -1;
}

int LightIndex(GLenum light) {
    const auto index = static_cast<int>(light) - GL_LIGHT0;
    return index >= 0 && index < kMaxLights ? index : -1;
}

Matrix Identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a[k * 4 + row] * b[column * 4 + k];
            }
            product[column * 4 + row] = sum;
        }
    }
    return product;
}

Vec4 Transform(const Matrix& m, const Vec4& v) {
    Vec4 out{};
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    }
    return out;
}

} // namespace VARKO::GLLayer

using namespace VARKO::GLLayer;

GLenum GLAPIENTRY glGetError() {
    Context& context = Current();
    return std::exchange(context.error, GL_NO_ERROR);
}

static void SetCapability(GLenum cap, bool on) {
    const int index = CapabilityIndex(cap);
    if (index < 0) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Current().state.enabled[index] = on;
}

void GLAPIENTRY glEnable(GLenum cap) {
    if (Compiled([=] { glEnable(cap); }) || !OutsideBeginEnd()) {
        return;
    }
    SetCapability(cap, true);
}

void GLAPIENTRY glDisable(GLenum cap) {
    if (Compiled([=] { glDisable(cap); }) || !OutsideBeginEnd()) {
        return;
    }
    SetCapability(cap, false);
}

GLboolean GLAPIENTRY glIsEnabled(GLenum cap) {
    const int index = CapabilityIndex(cap);
    if (index < 0) {
        SetError(GL_INVALID_ENUM);
        return GL_FALSE;
    }
    return Current().state.enabled[index] ? GL_TRUE : GL_FALSE;
}

const GLubyte* GLAPIENTRY glGetString(GLenum name) {
    const char* text = nullptr;
    switch (name) {
    case GL_VENDOR:
        text = "VARKO";
        break;
    case GL_RENDERER:
        text = "VARKO fixed-function layer on WebGL 1";
        break;
    case GL_VERSION:
        text = "1.1";
        break;
    case GL_EXTENSIONS:
        text = "";
        break;
    default:
        SetError(GL_INVALID_ENUM);
    }
    return reinterpret_cast<const GLubyte*>(text);
}
