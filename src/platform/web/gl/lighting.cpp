// Lights, materials and the light model, kept as GL 1.1 keeps them: light positions and spot
// directions in eye space, transformed by the modelview matrix in force when they are set.
#include "src/platform/web/gl/context.h"

#include <algorithm>

namespace VARKO::GLLayer {
namespace {

// How many values a light or material parameter takes; 0 when GL has no such parameter.
int ParameterCount(GLenum name) {
    switch (name) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_POSITION:
    case GL_EMISSION:
    case GL_AMBIENT_AND_DIFFUSE:
        return 4;
    case GL_SPOT_DIRECTION:
        return 3;
    case GL_SPOT_EXPONENT:
    case GL_SPOT_CUTOFF:
    case GL_CONSTANT_ATTENUATION:
    case GL_LINEAR_ATTENUATION:
    case GL_QUADRATIC_ATTENUATION:
    case GL_SHININESS:
        return 1;
    default:
        return 0;
    }
}

Vec4 ToVec4(const GLfloat* v) {
    return {v[0], v[1], v[2], v[3]};
}

// The range checks Mesa makes; false with GL_INVALID_VALUE when the value is refused.
bool LightValueAccepted(GLenum name, float value) {
    bool accepted = value >= 0; // attenuations
    if (name == GL_SPOT_EXPONENT) {
        accepted = value >= 0 && value <= 128;
    } else if (name == GL_SPOT_CUTOFF) {
        accepted = (value >= 0 && value <= 90) || value == 180;
    }
    if (!accepted) {
        SetError(GL_INVALID_VALUE);
    }
    return accepted;
}

void SetLight(Light& light, GLenum name, const GLfloat* v) {
    const Matrix& modelview = Current().matrices.modelview.back();
    switch (name) {
    case GL_AMBIENT:
        light.ambient = ToVec4(v);
        break;
    case GL_DIFFUSE:
        light.diffuse = ToVec4(v);
        break;
    case GL_SPECULAR:
        light.specular = ToVec4(v);
        break;
    case GL_POSITION:
        light.position = Transform(modelview, ToVec4(v));
        break;
    case GL_SPOT_DIRECTION: {
        const Vec4 d = Transform(modelview, {v[0], v[1], v[2], 0});
        light.spotDirection = {d[0], d[1], d[2]};
        break;
    }
    case GL_SPOT_EXPONENT:
        light.spotExponent = v[0];
        break;
    case GL_SPOT_CUTOFF:
        light.spotCutoff = v[0];
        break;
    default:
        light.attenuation[name - GL_CONSTANT_ATTENUATION] = v[0];
    }
}

void SetMaterial(Material& material, GLenum name, const GLfloat* v) {
    switch (name) {
    case GL_AMBIENT:
        material.ambient = ToVec4(v);
        break;
    case GL_DIFFUSE:
        material.diffuse = ToVec4(v);
        break;
    case GL_AMBIENT_AND_DIFFUSE:
        material.ambient = material.diffuse = ToVec4(v);
        break;
    case GL_SPECULAR:
        material.specular = ToVec4(v);
        break;
    case GL_EMISSION:
        material.emission = ToVec4(v);
        break;
    default:
        material.shininess = v[0];
    }
}

bool MaterialNameValid(GLenum name) {
    return name == GL_AMBIENT || name == GL_DIFFUSE || name == GL_AMBIENT_AND_DIFFUSE ||
           name == GL_SPECULAR || name == GL_EMISSION || name == GL_SHININESS;
}

} // namespace
} // namespace VARKO::GLLayer

using namespace VARKO::GLLayer;

void GLAPIENTRY glLightfv(GLenum light, GLenum name, const GLfloat* params) {
    const int count = ParameterCount(name);
    const int index = LightIndex(light);
    if (index < 0 || count == 0 || name == GL_EMISSION || name == GL_SHININESS ||
        name == GL_AMBIENT_AND_DIFFUSE) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Vec4 v{};
    std::copy_n(params, count, v.begin());
    if (Compiled([=] { glLightfv(light, name, v.data()); }) || !OutsideBeginEnd()) {
        return;
    }
    if (count == 1 && !LightValueAccepted(name, v[0])) {
        return;
    }
    SetLight(Current().state.lighting.lights[index], name, v.data());
}

void GLAPIENTRY glLightf(GLenum light, GLenum name, GLfloat param) {
    if (ParameterCount(name) != 1) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    glLightfv(light, name, &param);
}

void GLAPIENTRY glMaterialfv(GLenum face, GLenum name, const GLfloat* params) {
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    if (!MaterialNameValid(name)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Vec4 v{};
    std::copy_n(params, ParameterCount(name), v.begin());
    if (Compiled([=] { glMaterialfv(face, name, v.data()); })) {
        return;
    }
    // Mesa refuses exponents outside [0, 128] and keeps the one it had.
    if (name == GL_SHININESS && (v[0] < 0 || v[0] > 128)) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    auto& materials = Current().state.lighting.materials;
    if (face != GL_BACK) {
        SetMaterial(materials[0], name, v.data());
    }
    if (face != GL_FRONT) {
        SetMaterial(materials[1], name, v.data());
    }
}

void GLAPIENTRY glMaterialf(GLenum face, GLenum name, GLfloat param) {
    if (name != GL_SHININESS) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    glMaterialfv(face, name, &param);
}

void GLAPIENTRY glLightModelfv(GLenum name, const GLfloat* params) {
    if (name != GL_LIGHT_MODEL_AMBIENT) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    const Vec4 v = ToVec4(params);
    if (Compiled([=] { glLightModelfv(name, v.data()); }) || !OutsideBeginEnd()) {
        return;
    }
    Current().state.lighting.modelAmbient = v;
}

void GLAPIENTRY glColorMaterial(GLenum face, GLenum mode) {
    if (Compiled([=] { glColorMaterial(face, mode); }) || !OutsideBeginEnd()) {
        return;
    }
    const bool faceValid = face == GL_FRONT || face == GL_BACK || face == GL_FRONT_AND_BACK;
    if (!faceValid || !MaterialNameValid(mode) || mode == GL_SHININESS) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    LightingState& lighting = Current().state.lighting;
    lighting.colourMaterialFace = face;
    lighting.colourMaterialMode = mode;
}

void GLAPIENTRY glShadeModel(GLenum mode) {
    if (Compiled([=] { glShadeModel(mode); }) || !OutsideBeginEnd()) {
        return;
    }
    if (mode != GL_FLAT && mode != GL_SMOOTH) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Current().state.lighting.shadeModel = mode;
}
