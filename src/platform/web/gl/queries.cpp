// glGet*: the values the program and GLU read back, in one table for all four types.
#include "src/platform/web/gl/context.h"
#include "src/platform/web/gl/webgl.h"

#include <optional>

namespace VARKO::GLLayer {
namespace {

using Values = std::vector<double>;

template <typename Container> Values AsValues(const Container& c) {
    return Values(c.begin(), c.end());
}

std::optional<Values> MatrixValues(GLenum name) {
    const MatrixStacks& m = Current().matrices;
    switch (name) {
    case GL_MODELVIEW_MATRIX:
        return AsValues(m.modelview.back());
    case GL_PROJECTION_MATRIX:
        return AsValues(m.projection.back());
    case GL_TEXTURE_MATRIX:
        return AsValues(m.texture.back());
    case GL_MODELVIEW_STACK_DEPTH:
        return Values{double(m.modelview.size())};
    case GL_PROJECTION_STACK_DEPTH:
        return Values{double(m.projection.size())};
    case GL_TEXTURE_STACK_DEPTH:
        return Values{double(m.texture.size())};
    default:
        return std::nullopt;
    }
}

std::optional<Values> CurrentValuesOf(GLenum name) {
    const CurrentValues& current = Current().state.current;
    switch (name) {
    case GL_CURRENT_COLOR:
        return AsValues(current.colour);
    case GL_CURRENT_NORMAL:
        return AsValues(current.normal);
    case GL_CURRENT_TEXTURE_COORDS:
        return AsValues(current.texCoord);
    case GL_CURRENT_RASTER_POSITION:
        return AsValues(current.raster.window);
    case GL_CURRENT_RASTER_COLOR:
        return AsValues(current.raster.colour);
    case GL_CURRENT_RASTER_POSITION_VALID:
        return Values{current.raster.valid ? 1.0 : 0.0};
    default:
        return std::nullopt;
    }
}

std::optional<Values> StateValues(GLenum name) {
    const Context& context = Current();
    const AttribState& s = context.state;
    switch (name) {
    case GL_VIEWPORT:
        return AsValues(s.viewport);
    case GL_MATRIX_MODE:
        return Values{double(s.matrixMode)};
    case GL_COLOR_CLEAR_VALUE:
        return AsValues(s.clearColour);
    case GL_DEPTH_CLEAR_VALUE:
        return Values{s.clearDepth};
    case GL_DEPTH_FUNC:
        return Values{double(s.depthFunc)};
    case GL_BLEND_SRC:
        return Values{double(s.blendSource)};
    case GL_BLEND_DST:
        return Values{double(s.blendDestination)};
    case GL_SHADE_MODEL:
        return Values{double(s.lighting.shadeModel)};
    case GL_LIST_BASE:
        return Values{double(s.listBase)};
    case GL_LIST_INDEX:
        return Values{double(context.displayLists.compilingName)};
    case GL_TEXTURE_BINDING_2D:
        return Values{double(s.boundTexture)};
    case GL_ATTRIB_STACK_DEPTH:
        return Values{double(context.attribStack.size())};
    case GL_RENDER_MODE:
        return Values{double(context.feedback.mode)};
    default:
        return std::nullopt;
    }
}

std::optional<Values> LimitValues(GLenum name) {
    switch (name) {
    case GL_MAX_TEXTURE_SIZE:
        return Values{double(webgl::MaxTextureSize())};
    case GL_MAX_LIGHTS:
        return Values{double(kMaxLights)};
    case GL_MAX_LIST_NESTING:
        return Values{double(kMaxListNesting)};
    case GL_MAX_ATTRIB_STACK_DEPTH:
    case GL_MAX_CLIENT_ATTRIB_STACK_DEPTH:
        return Values{double(kMaxAttribDepth)};
    default:
        return std::nullopt;
    }
}

// The values of `name`, with GL_INVALID_ENUM when GL has no such value here.
std::optional<Values> Lookup(GLenum name) {
    for (auto group : {MatrixValues, CurrentValuesOf, StateValues, LimitValues}) {
        if (auto values = group(name)) {
            return values;
        }
    }
    if (const GLint* field = PixelStoreField(name)) {
        return Values{double(*field)};
    }
    if (CapabilityIndex(name) >= 0) {
        return Values{Current().state.enabled[CapabilityIndex(name)] ? 1.0 : 0.0};
    }
    SetError(GL_INVALID_ENUM);
    return std::nullopt;
}

template <typename T, typename Convert> void Get(GLenum name, T* out, Convert convert) {
    if (!OutsideBeginEnd()) {
        return;
    }
    if (const auto values = Lookup(name)) {
        for (std::size_t i = 0; i < values->size(); ++i) {
            out[i] = convert((*values)[i]);
        }
    }
}

} // namespace
} // namespace VARKO::GLLayer

using namespace VARKO::GLLayer;

void GLAPIENTRY glGetDoublev(GLenum name, GLdouble* out) {
    Get(name, out, [](double v) { return v; });
}

void GLAPIENTRY glGetFloatv(GLenum name, GLfloat* out) {
    Get(name, out, [](double v) { return static_cast<GLfloat>(v); });
}

// Colours and depths would read back scaled to the integer range; none is read that way here, so
// every value is rounded as it is.
void GLAPIENTRY glGetIntegerv(GLenum name, GLint* out) {
    Get(name, out, [](double v) { return static_cast<GLint>(v < 0 ? v - 0.5 : v + 0.5); });
}

void GLAPIENTRY glGetBooleanv(GLenum name, GLboolean* out) {
    Get(name, out, [](double v) { return v != 0 ? GL_TRUE : GL_FALSE; });
}
