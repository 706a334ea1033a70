#include "tests/support/gl_fake.h"

#include "src/gl_api.h"
#include <GL/glext.h> // names past 1.1 (GL_BGRA, ...), which Linux's gl.h brings along

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <numbers>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string_view>
#include <utility>

// The Linux headers leave the calling convention empty; Windows headers define it.
#ifndef APIENTRY
#define APIENTRY
#endif

// The tessellator's callback type, which the two systems' headers spell differently.
#ifdef _WIN32
using GluCallback = void(CALLBACK*)();
#else
using GluCallback = _GLUfuncptr;
#endif

namespace VARKO::Testing::GL {
namespace {

// ---------------------------------------------------------------------------------------------
// Names for the call texts. Enumerant values below 0x100 mean different things per parameter
// (GL_POINTS, GL_ZERO and GL_FALSE are all 0), so those get their own tables, chosen by the
// parameter's kind letter.

struct EnumName {
    GLenum value;
    const char* name;
};
#define NAMED(e)                                                                                   \
    { e, #e }

constexpr EnumName kPrimitiveNames[] = {
    NAMED(GL_POINTS),     NAMED(GL_LINES),          NAMED(GL_LINE_LOOP),    NAMED(GL_LINE_STRIP),
    NAMED(GL_TRIANGLES),  NAMED(GL_TRIANGLE_STRIP), NAMED(GL_TRIANGLE_FAN), NAMED(GL_QUADS),
    NAMED(GL_QUAD_STRIP), NAMED(GL_POLYGON)};

constexpr EnumName kSmallFactorNames[] = {NAMED(GL_ZERO), NAMED(GL_ONE)};
constexpr EnumName kBooleanNames[] = {NAMED(GL_FALSE), NAMED(GL_TRUE)};
constexpr EnumName kNoErrorName[] = {NAMED(GL_NO_ERROR)};

constexpr EnumName kEnumNames[] = {
    // Blend factors and comparison functions.
    NAMED(GL_SRC_COLOR), NAMED(GL_ONE_MINUS_SRC_COLOR), NAMED(GL_SRC_ALPHA),
    NAMED(GL_ONE_MINUS_SRC_ALPHA), NAMED(GL_DST_ALPHA), NAMED(GL_ONE_MINUS_DST_ALPHA),
    NAMED(GL_DST_COLOR), NAMED(GL_ONE_MINUS_DST_COLOR), NAMED(GL_SRC_ALPHA_SATURATE),
    NAMED(GL_NEVER), NAMED(GL_LESS), NAMED(GL_EQUAL), NAMED(GL_LEQUAL), NAMED(GL_GREATER),
    NAMED(GL_NOTEQUAL), NAMED(GL_GEQUAL), NAMED(GL_ALWAYS),
    // Faces, winding, shading, hints.
    NAMED(GL_FRONT), NAMED(GL_BACK), NAMED(GL_FRONT_AND_BACK), NAMED(GL_CW), NAMED(GL_CCW),
    NAMED(GL_FLAT), NAMED(GL_SMOOTH), NAMED(GL_PERSPECTIVE_CORRECTION_HINT),
    NAMED(GL_POINT_SMOOTH_HINT), NAMED(GL_LINE_SMOOTH_HINT), NAMED(GL_POLYGON_SMOOTH_HINT),
    NAMED(GL_FOG_HINT), NAMED(GL_DONT_CARE), NAMED(GL_FASTEST), NAMED(GL_NICEST),
    // Matrices and display lists.
    NAMED(GL_MODELVIEW), NAMED(GL_PROJECTION), NAMED(GL_TEXTURE), NAMED(GL_COMPILE),
    NAMED(GL_COMPILE_AND_EXECUTE),
    // Lights and materials.
    NAMED(GL_AMBIENT), NAMED(GL_DIFFUSE), NAMED(GL_SPECULAR), NAMED(GL_POSITION),
    NAMED(GL_SPOT_DIRECTION), NAMED(GL_SPOT_EXPONENT), NAMED(GL_SPOT_CUTOFF),
    NAMED(GL_CONSTANT_ATTENUATION), NAMED(GL_LINEAR_ATTENUATION), NAMED(GL_QUADRATIC_ATTENUATION),
    NAMED(GL_EMISSION), NAMED(GL_SHININESS), NAMED(GL_AMBIENT_AND_DIFFUSE), NAMED(GL_COLOR_INDEXES),
    NAMED(GL_LIGHT_MODEL_LOCAL_VIEWER), NAMED(GL_LIGHT_MODEL_TWO_SIDE),
    NAMED(GL_LIGHT_MODEL_AMBIENT),
    // Data types and pixel formats.
    NAMED(GL_BYTE), NAMED(GL_UNSIGNED_BYTE), NAMED(GL_SHORT), NAMED(GL_UNSIGNED_SHORT),
    NAMED(GL_INT), NAMED(GL_UNSIGNED_INT), NAMED(GL_FLOAT), NAMED(GL_2_BYTES), NAMED(GL_3_BYTES),
    NAMED(GL_4_BYTES), NAMED(GL_DOUBLE), NAMED(GL_BITMAP), NAMED(GL_COLOR_INDEX),
    NAMED(GL_STENCIL_INDEX), NAMED(GL_DEPTH_COMPONENT), NAMED(GL_RED), NAMED(GL_GREEN),
    NAMED(GL_BLUE), NAMED(GL_ALPHA), NAMED(GL_RGB), NAMED(GL_RGBA), NAMED(GL_LUMINANCE),
    NAMED(GL_LUMINANCE_ALPHA), NAMED(GL_BGR), NAMED(GL_BGRA), NAMED(GL_RGB8), NAMED(GL_RGBA8),
    // Textures, texture environment and coordinate generation.
    NAMED(GL_TEXTURE_MAG_FILTER), NAMED(GL_TEXTURE_MIN_FILTER), NAMED(GL_TEXTURE_WRAP_S),
    NAMED(GL_TEXTURE_WRAP_T), NAMED(GL_TEXTURE_BORDER_COLOR), NAMED(GL_TEXTURE_PRIORITY),
    NAMED(GL_NEAREST), NAMED(GL_LINEAR), NAMED(GL_NEAREST_MIPMAP_NEAREST),
    NAMED(GL_LINEAR_MIPMAP_NEAREST), NAMED(GL_NEAREST_MIPMAP_LINEAR),
    NAMED(GL_LINEAR_MIPMAP_LINEAR), NAMED(GL_CLAMP), NAMED(GL_REPEAT), NAMED(GL_CLAMP_TO_EDGE),
    NAMED(GL_TEXTURE_ENV), NAMED(GL_TEXTURE_ENV_MODE), NAMED(GL_TEXTURE_ENV_COLOR),
    NAMED(GL_MODULATE), NAMED(GL_DECAL), NAMED(GL_REPLACE), NAMED(GL_S), NAMED(GL_T), NAMED(GL_R),
    NAMED(GL_Q), NAMED(GL_TEXTURE_GEN_MODE), NAMED(GL_OBJECT_PLANE), NAMED(GL_EYE_PLANE),
    NAMED(GL_EYE_LINEAR), NAMED(GL_OBJECT_LINEAR), NAMED(GL_SPHERE_MAP),
    // Pixel storage.
    NAMED(GL_UNPACK_SWAP_BYTES), NAMED(GL_UNPACK_LSB_FIRST), NAMED(GL_UNPACK_ROW_LENGTH),
    NAMED(GL_UNPACK_SKIP_ROWS), NAMED(GL_UNPACK_SKIP_PIXELS), NAMED(GL_UNPACK_ALIGNMENT),
    NAMED(GL_PACK_SWAP_BYTES), NAMED(GL_PACK_LSB_FIRST), NAMED(GL_PACK_ROW_LENGTH),
    NAMED(GL_PACK_SKIP_ROWS), NAMED(GL_PACK_SKIP_PIXELS), NAMED(GL_PACK_ALIGNMENT),
    // Queries.
    NAMED(GL_MODELVIEW_MATRIX), NAMED(GL_PROJECTION_MATRIX), NAMED(GL_TEXTURE_MATRIX),
    NAMED(GL_MODELVIEW_STACK_DEPTH), NAMED(GL_PROJECTION_STACK_DEPTH),
    NAMED(GL_TEXTURE_STACK_DEPTH), NAMED(GL_MATRIX_MODE), NAMED(GL_VIEWPORT),
    NAMED(GL_MAX_TEXTURE_SIZE), NAMED(GL_MAX_MODELVIEW_STACK_DEPTH),
    NAMED(GL_MAX_PROJECTION_STACK_DEPTH), NAMED(GL_MAX_TEXTURE_STACK_DEPTH),
    NAMED(GL_MAX_ATTRIB_STACK_DEPTH), NAMED(GL_ATTRIB_STACK_DEPTH), NAMED(GL_MAX_LIGHTS),
    NAMED(GL_MAX_LIST_NESTING), NAMED(GL_CURRENT_COLOR), NAMED(GL_CURRENT_NORMAL),
    NAMED(GL_CURRENT_TEXTURE_COORDS), NAMED(GL_LIST_BASE), NAMED(GL_LIST_INDEX),
    NAMED(GL_LIST_MODE), NAMED(GL_BLEND_SRC), NAMED(GL_BLEND_DST), NAMED(GL_DEPTH_FUNC),
    NAMED(GL_DEPTH_CLEAR_VALUE), NAMED(GL_COLOR_CLEAR_VALUE), NAMED(GL_SHADE_MODEL),
    NAMED(GL_CULL_FACE_MODE), NAMED(GL_FRONT_FACE), NAMED(GL_COLOR_MATERIAL_FACE),
    NAMED(GL_COLOR_MATERIAL_PARAMETER), NAMED(GL_TEXTURE_BINDING_2D), NAMED(GL_VENDOR),
    NAMED(GL_RENDERER), NAMED(GL_VERSION), NAMED(GL_EXTENSIONS),
    // Errors.
    NAMED(GL_INVALID_ENUM), NAMED(GL_INVALID_VALUE), NAMED(GL_INVALID_OPERATION),
    NAMED(GL_STACK_OVERFLOW), NAMED(GL_STACK_UNDERFLOW), NAMED(GL_OUT_OF_MEMORY),
    // GLU.
    NAMED(GLU_SMOOTH), NAMED(GLU_FLAT), NAMED(GLU_NONE), NAMED(GLU_POINT), NAMED(GLU_LINE),
    NAMED(GLU_FILL), NAMED(GLU_SILHOUETTE), NAMED(GLU_OUTSIDE), NAMED(GLU_INSIDE),
    NAMED(GLU_TESS_BEGIN), NAMED(GLU_TESS_VERTEX), NAMED(GLU_TESS_END), NAMED(GLU_TESS_ERROR),
    NAMED(GLU_TESS_EDGE_FLAG), NAMED(GLU_TESS_COMBINE), NAMED(GLU_TESS_BEGIN_DATA),
    NAMED(GLU_TESS_VERTEX_DATA), NAMED(GLU_TESS_END_DATA), NAMED(GLU_TESS_ERROR_DATA),
    NAMED(GLU_TESS_EDGE_FLAG_DATA), NAMED(GLU_TESS_COMBINE_DATA), NAMED(GLU_TESS_WINDING_RULE),
    NAMED(GLU_TESS_BOUNDARY_ONLY), NAMED(GLU_TESS_TOLERANCE), NAMED(GLU_TESS_WINDING_ODD),
    NAMED(GLU_TESS_WINDING_NONZERO), NAMED(GLU_TESS_WINDING_POSITIVE),
    NAMED(GLU_TESS_WINDING_NEGATIVE), NAMED(GLU_TESS_WINDING_ABS_GEQ_TWO), NAMED(GLU_INVALID_ENUM),
    NAMED(GLU_INVALID_VALUE), NAMED(GLU_OUT_OF_MEMORY)};

// Capabilities for glEnable, each with the attribute group that glPushAttrib saves it under
// (besides GL_ENABLE_BIT).
struct Capability {
    GLenum value;
    const char* name;
    GLbitfield group;
};
#define CAPABILITY(e, group)                                                                       \
    { e, #e, group }

constexpr Capability kCapabilities[] = {CAPABILITY(GL_ALPHA_TEST, GL_COLOR_BUFFER_BIT),
                                        CAPABILITY(GL_AUTO_NORMAL, GL_EVAL_BIT),
                                        CAPABILITY(GL_BLEND, GL_COLOR_BUFFER_BIT),
                                        CAPABILITY(GL_CLIP_PLANE0, GL_TRANSFORM_BIT),
                                        CAPABILITY(GL_CLIP_PLANE1, GL_TRANSFORM_BIT),
                                        CAPABILITY(GL_CLIP_PLANE2, GL_TRANSFORM_BIT),
                                        CAPABILITY(GL_CLIP_PLANE3, GL_TRANSFORM_BIT),
                                        CAPABILITY(GL_CLIP_PLANE4, GL_TRANSFORM_BIT),
                                        CAPABILITY(GL_CLIP_PLANE5, GL_TRANSFORM_BIT),
                                        CAPABILITY(GL_COLOR_LOGIC_OP, GL_COLOR_BUFFER_BIT),
                                        CAPABILITY(GL_COLOR_MATERIAL, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_CULL_FACE, GL_POLYGON_BIT),
                                        CAPABILITY(GL_DEPTH_TEST, GL_DEPTH_BUFFER_BIT),
                                        CAPABILITY(GL_DITHER, GL_COLOR_BUFFER_BIT),
                                        CAPABILITY(GL_FOG, GL_FOG_BIT),
                                        CAPABILITY(GL_INDEX_LOGIC_OP, GL_COLOR_BUFFER_BIT),
                                        CAPABILITY(GL_LIGHT0, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_LIGHT1, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_LIGHT2, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_LIGHT3, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_LIGHT4, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_LIGHT5, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_LIGHT6, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_LIGHT7, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_LIGHTING, GL_LIGHTING_BIT),
                                        CAPABILITY(GL_LINE_SMOOTH, GL_LINE_BIT),
                                        CAPABILITY(GL_LINE_STIPPLE, GL_LINE_BIT),
                                        CAPABILITY(GL_NORMALIZE, GL_TRANSFORM_BIT),
                                        CAPABILITY(GL_POINT_SMOOTH, GL_POINT_BIT),
                                        CAPABILITY(GL_POLYGON_OFFSET_FILL, GL_POLYGON_BIT),
                                        CAPABILITY(GL_POLYGON_OFFSET_LINE, GL_POLYGON_BIT),
                                        CAPABILITY(GL_POLYGON_OFFSET_POINT, GL_POLYGON_BIT),
                                        CAPABILITY(GL_POLYGON_SMOOTH, GL_POLYGON_BIT),
                                        CAPABILITY(GL_POLYGON_STIPPLE, GL_POLYGON_BIT),
                                        CAPABILITY(GL_SCISSOR_TEST, GL_SCISSOR_BIT),
                                        CAPABILITY(GL_STENCIL_TEST, GL_STENCIL_BUFFER_BIT),
                                        CAPABILITY(GL_TEXTURE_1D, GL_TEXTURE_BIT),
                                        CAPABILITY(GL_TEXTURE_2D, GL_TEXTURE_BIT),
                                        CAPABILITY(GL_TEXTURE_GEN_Q, GL_TEXTURE_BIT),
                                        CAPABILITY(GL_TEXTURE_GEN_R, GL_TEXTURE_BIT),
                                        CAPABILITY(GL_TEXTURE_GEN_S, GL_TEXTURE_BIT),
                                        CAPABILITY(GL_TEXTURE_GEN_T, GL_TEXTURE_BIT)};

struct BitName {
    GLbitfield bit;
    const char* name;
};

constexpr BitName kClearBits[] = {NAMED(GL_COLOR_BUFFER_BIT), NAMED(GL_DEPTH_BUFFER_BIT),
                                  NAMED(GL_STENCIL_BUFFER_BIT), NAMED(GL_ACCUM_BUFFER_BIT)};

constexpr BitName kAttribBits[] = {NAMED(GL_CURRENT_BIT),
                                   NAMED(GL_POINT_BIT),
                                   NAMED(GL_LINE_BIT),
                                   NAMED(GL_POLYGON_BIT),
                                   NAMED(GL_POLYGON_STIPPLE_BIT),
                                   NAMED(GL_PIXEL_MODE_BIT),
                                   NAMED(GL_LIGHTING_BIT),
                                   NAMED(GL_FOG_BIT),
                                   NAMED(GL_DEPTH_BUFFER_BIT),
                                   NAMED(GL_ACCUM_BUFFER_BIT),
                                   NAMED(GL_STENCIL_BUFFER_BIT),
                                   NAMED(GL_VIEWPORT_BIT),
                                   NAMED(GL_TRANSFORM_BIT),
                                   NAMED(GL_ENABLE_BIT),
                                   NAMED(GL_COLOR_BUFFER_BIT),
                                   NAMED(GL_HINT_BIT),
                                   NAMED(GL_EVAL_BIT),
                                   NAMED(GL_LIST_BIT),
                                   NAMED(GL_TEXTURE_BIT),
                                   NAMED(GL_SCISSOR_BIT)};

#undef NAMED
#undef CAPABILITY

// ---------------------------------------------------------------------------------------------
// Plain state values, readable by glGet*, with their glPushAttrib group (0: client state,
// never restored by glPopAttrib) and their GL defaults.

struct StateValue {
    GLenum pname;
    GLbitfield group;
    int count;
    std::array<double, 4> initial;
};

constexpr StateValue kStateValues[] = {
    {GL_CURRENT_COLOR, GL_CURRENT_BIT, 4, {1, 1, 1, 1}},
    {GL_CURRENT_NORMAL, GL_CURRENT_BIT, 3, {0, 0, 1}},
    {GL_CURRENT_TEXTURE_COORDS, GL_CURRENT_BIT, 4, {0, 0, 0, 1}},
    {GL_VIEWPORT, GL_VIEWPORT_BIT, 4, {0, 0, 0, 0}},
    {GL_MATRIX_MODE, GL_TRANSFORM_BIT, 1, {GL_MODELVIEW}},
    {GL_BLEND_SRC, GL_COLOR_BUFFER_BIT, 1, {GL_ONE}},
    {GL_BLEND_DST, GL_COLOR_BUFFER_BIT, 1, {GL_ZERO}},
    {GL_COLOR_CLEAR_VALUE, GL_COLOR_BUFFER_BIT, 4, {0, 0, 0, 0}},
    {GL_DEPTH_FUNC, GL_DEPTH_BUFFER_BIT, 1, {GL_LESS}},
    {GL_DEPTH_CLEAR_VALUE, GL_DEPTH_BUFFER_BIT, 1, {1}},
    {GL_SHADE_MODEL, GL_LIGHTING_BIT, 1, {GL_SMOOTH}},
    {GL_COLOR_MATERIAL_FACE, GL_LIGHTING_BIT, 1, {GL_FRONT_AND_BACK}},
    {GL_COLOR_MATERIAL_PARAMETER, GL_LIGHTING_BIT, 1, {GL_AMBIENT_AND_DIFFUSE}},
    {GL_CULL_FACE_MODE, GL_POLYGON_BIT, 1, {GL_BACK}},
    {GL_FRONT_FACE, GL_POLYGON_BIT, 1, {GL_CCW}},
    {GL_PERSPECTIVE_CORRECTION_HINT, GL_HINT_BIT, 1, {GL_DONT_CARE}},
    {GL_POINT_SMOOTH_HINT, GL_HINT_BIT, 1, {GL_DONT_CARE}},
    {GL_LINE_SMOOTH_HINT, GL_HINT_BIT, 1, {GL_DONT_CARE}},
    {GL_POLYGON_SMOOTH_HINT, GL_HINT_BIT, 1, {GL_DONT_CARE}},
    {GL_FOG_HINT, GL_HINT_BIT, 1, {GL_DONT_CARE}},
    {GL_LIST_BASE, GL_LIST_BIT, 1, {0}},
    {GL_TEXTURE_BINDING_2D, GL_TEXTURE_BIT, 1, {0}},
    {GL_UNPACK_SWAP_BYTES, 0, 1, {0}},
    {GL_UNPACK_LSB_FIRST, 0, 1, {0}},
    {GL_UNPACK_ROW_LENGTH, 0, 1, {0}},
    {GL_UNPACK_SKIP_ROWS, 0, 1, {0}},
    {GL_UNPACK_SKIP_PIXELS, 0, 1, {0}},
    {GL_UNPACK_ALIGNMENT, 0, 1, {4}},
    {GL_PACK_SWAP_BYTES, 0, 1, {0}},
    {GL_PACK_LSB_FIRST, 0, 1, {0}},
    {GL_PACK_ROW_LENGTH, 0, 1, {0}},
    {GL_PACK_SKIP_ROWS, 0, 1, {0}},
    {GL_PACK_SKIP_PIXELS, 0, 1, {0}},
    {GL_PACK_ALIGNMENT, 0, 1, {4}}};

const StateValue* FindStateValue(GLenum pname) {
    for (const StateValue& value : kStateValues) {
        if (value.pname == pname) {
            return &value;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// State.

using Matrix = std::array<float, 16>;
using MatrixD = std::array<double, 16>;

constexpr Matrix kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr MatrixD kIdentityD{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct MatrixStack {
    std::vector<Matrix> entries;
    std::size_t maxDepth;
};

struct AttribState {
    std::map<GLenum, bool> enables;
    std::map<GLenum, std::array<double, 4>> values;
};

struct SavedAttribs {
    GLbitfield mask;
    AttribState saved;
};

constexpr std::size_t kMaxAttribDepth = 16;
constexpr GLuint kMaxLights = 8;
constexpr GLint kMaxListNesting = 64;

struct FakeState {
    AttribState attribs;
    std::vector<SavedAttribs> attribStack;
    // Modelview, projection, texture. The projection and texture depths are the least any
    // GL guarantees, so code that needs deeper stacks fails here rather than on some driver.
    std::array<MatrixStack, 3> matrices{{{{kIdentity}, 32}, {{kIdentity}, 2}, {{kIdentity}, 2}}};
    GLenum error = GL_NO_ERROR;
    bool insideBeginEnd = false;
    GLuint openList = 0;
    GLenum openListMode = 0;
    GLuint nextList = 1;
    std::optional<GLuint> scriptedList;
    GLuint nextTexture = 1;
    std::set<GLuint> textures;
    std::map<GLuint, TextureUpload> uploads;
    GLint maxTextureSize = 1024;
    GLint build2DMipmapsResult = 0;
    bool newQuadricFails = false;
    unsigned quadricCount = 0;
    unsigned tessCount = 0;
};

FakeState DefaultState() {
    FakeState state;
    for (const Capability& capability : kCapabilities) {
        state.attribs.enables[capability.value] = capability.value == GL_DITHER;
    }
    for (const StateValue& value : kStateValues) {
        state.attribs.values[value.pname] = value.initial;
    }
    return state;
}

// Never destroyed: program-wide objects may still call GL from their destructors at exit.
FakeState& State() {
    static auto* state = new FakeState(DefaultState());
    return *state;
}

std::array<double, 4>& Value(GLenum pname) {
    return State().attribs.values.at(pname);
}

void SetValue(GLenum pname, std::initializer_list<double> values) {
    std::copy(values.begin(), values.end(), Value(pname).begin());
}

void RaiseError(GLenum error) {
    // GL keeps the first error until it is read.
    if (State().error == GL_NO_ERROR) {
        State().error = error;
    }
}

// ---------------------------------------------------------------------------------------------
// The call log: fixed-size records and one shared argument pool, so that pushing hundreds of
// thousands of vertices stays cheap. Texts and Call records are built only when asked for.

struct RawCall {
    const char* name;
    const char* kinds; // one letter per argument, see FormatArg; missing letters mean numbers
    std::uint32_t firstArg;
    std::uint32_t argCount;
};

struct Recorder {
    std::vector<RawCall> calls;
    std::vector<double> args;
    std::vector<Call> materialised;
};

Recorder& Log() {
    static auto* recorder = new Recorder;
    return *recorder;
}

void StartCall(const char* name, const char* kinds) {
    Recorder& log = Log();
    log.calls.push_back({name, kinds, static_cast<std::uint32_t>(log.args.size()), 0});
}

void AddArg(double value) {
    Recorder& log = Log();
    log.args.push_back(value);
    ++log.calls.back().argCount;
}

template <typename T> void AddArgs(const T* values, std::size_t count) {
    if (values == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        AddArg(static_cast<double>(values[i]));
    }
}

void Record(const char* name, const char* kinds, std::initializer_list<double> args) {
    StartCall(name, kinds);
    for (double arg : args) {
        AddArg(arg);
    }
}

const char* FindName(std::span<const EnumName> names, GLenum value) {
    for (const EnumName& entry : names) {
        if (entry.value == value) {
            return entry.name;
        }
    }
    return nullptr;
}

const char* FindGeneralName(GLenum value) {
    for (const Capability& capability : kCapabilities) {
        if (capability.value == value) {
            return capability.name;
        }
    }
    return FindName(kEnumNames, value);
}

std::string FormatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string FormatHex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

std::string FormatMask(GLbitfield mask, std::span<const BitName> names) {
    if (mask == 0) {
        return "0";
    }
    std::string text;
    for (const BitName& entry : names) {
        if ((mask & entry.bit) != 0) {
            text += (text.empty() ? "" : " | ") + std::string(entry.name);
            mask &= ~entry.bit;
        }
    }
    if (mask != 0) {
        text += (text.empty() ? "" : " | ") + FormatHex(mask);
    }
    return text;
}

// Kinds: 'E' enumerant (unknown ones in hex), 'e' enumerant or plain number, 'P' primitive
// mode, 'F' blend factor, 'b' boolean, 'r' error code, 'C' clear mask, 'A' attribute mask;
// anything else is a number.
std::string FormatArg(char kind, double value) {
    // Arguments logged as enumerants are whole, non-negative numbers; anything else (a float
    // texture parameter, say) keeps its numeric text.
    const bool whole = value >= 0 && value <= 0xFFFFFFFF && value == std::floor(value);
    const auto asEnum = whole ? static_cast<GLenum>(value) : 0xFFFFFFFFu;
    const char* name = nullptr;
    switch (kind) {
    case 'E':
        name = FindGeneralName(asEnum);
        return name ? name : whole ? FormatHex(asEnum) : FormatNumber(value);
    case 'e':
        name = FindGeneralName(asEnum);
        return name ? name : FormatNumber(value);
    case 'P':
        name = FindName(kPrimitiveNames, asEnum);
        return name ? name : FormatHex(asEnum);
    case 'F':
        name = FindName(kSmallFactorNames, asEnum);
        return name ? name : FormatArg('E', value);
    case 'b':
        name = FindName(kBooleanNames, asEnum);
        return name ? name : FormatNumber(value);
    case 'r':
        name = FindName(kNoErrorName, asEnum);
        return name ? name : FormatArg('E', value);
    case 'C':
        return FormatMask(asEnum, kClearBits);
    case 'A':
        return asEnum == GL_ALL_ATTRIB_BITS ? "GL_ALL_ATTRIB_BITS"
                                            : FormatMask(asEnum, kAttribBits);
    default:
        return FormatNumber(value);
    }
}

std::span<const double> ArgsOf(const RawCall& call) {
    return std::span<const double>(Log().args).subspan(call.firstArg, call.argCount);
}

std::string TextOf(const RawCall& call) {
    const std::size_t kindCount = std::strlen(call.kinds);
    std::string text = std::string(call.name) + "(";
    const auto args = ArgsOf(call);
    for (std::size_t i = 0; i < args.size(); ++i) {
        text += (i == 0 ? "" : ", ") + FormatArg(i < kindCount ? call.kinds[i] : 'n', args[i]);
    }
    return text + ")";
}

// ---------------------------------------------------------------------------------------------
// When a command takes effect.

bool CompilingOnly() {
    return State().openList != 0 && State().openListMode == GL_COMPILE;
}

bool OutsideBeginEnd() {
    if (State().insideBeginEnd) {
        RaiseError(GL_INVALID_OPERATION);
        return false;
    }
    return true;
}

// Commands that go into a display list being compiled and are refused between glBegin/glEnd.
bool Executes() {
    return !CompilingOnly() && OutsideBeginEnd();
}

// Commands GL runs at once even while compiling a list (queries, names, client state).
bool Immediate() {
    return OutsideBeginEnd();
}

// Commands whose state this fake does not keep still get GL's error inside glBegin/glEnd.
void LoggedOnly() {
    if (!CompilingOnly()) {
        OutsideBeginEnd();
    }
}

bool OneOf(GLenum value, std::initializer_list<GLenum> allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

void SetChecked(GLenum pname, GLenum value, std::initializer_list<GLenum> allowed) {
    if (!OneOf(value, allowed)) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    SetValue(pname, {static_cast<double>(value)});
}

void SetCapability(GLenum cap, bool enabled) {
    auto found = State().attribs.enables.find(cap);
    if (found == State().attribs.enables.end()) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    found->second = enabled;
}

// ---------------------------------------------------------------------------------------------
// Matrices.

std::optional<std::size_t> StackIndex(GLenum mode) {
    switch (mode) {
    case GL_MODELVIEW:
        return 0;
    case GL_PROJECTION:
        return 1;
    case GL_TEXTURE:
        return 2;
    default:
        return std::nullopt;
    }
}

MatrixStack& CurrentStack() {
    return State().matrices[*StackIndex(static_cast<GLenum>(Value(GL_MATRIX_MODE)[0]))];
}

Matrix& CurrentTop() {
    return CurrentStack().entries.back();
}

// Products in double precision, results kept in single precision as GL keeps them.
void MultiplyCurrent(const MatrixD& right) {
    Matrix& top = CurrentTop();
    Matrix product{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += top[k * 4 + row] * right[column * 4 + k];
            }
            product[column * 4 + row] = static_cast<float>(sum);
        }
    }
    top = product;
}

void Translate(double x, double y, double z) {
    MatrixD m = kIdentityD;
    m[12] = x;
    m[13] = y;
    m[14] = z;
    MultiplyCurrent(m);
}

void Rotate(double degrees, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) {
        return;
    }
    x /= length;
    y /= length;
    z /= length;
    const double radians = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double t = 1 - c;
    MultiplyCurrent({x * x * t + c, y * x * t + z * s, x * z * t - y * s, 0, x * y * t - z * s,
                     y * y * t + c, y * z * t + x * s, 0, x * z * t + y * s, y * z * t - x * s,
                     z * z * t + c, 0, 0, 0, 0, 1});
}

void Ortho(double l, double r, double b, double t, double n, double f) {
    if (l == r || b == t || n == f) {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    MatrixD m{};
    m[0] = 2 / (r - l);
    m[5] = 2 / (t - b);
    m[10] = -2 / (f - n);
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    m[14] = -(f + n) / (f - n);
    m[15] = 1;
    MultiplyCurrent(m);
}

void Frustum(double l, double r, double b, double t, double n, double f) {
    if (n <= 0 || f <= 0 || l == r || b == t || n == f) {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    MatrixD m{};
    m[0] = 2 * n / (r - l);
    m[5] = 2 * n / (t - b);
    m[8] = (r + l) / (r - l);
    m[9] = (t + b) / (t - b);
    m[10] = -(f + n) / (f - n);
    m[11] = -1;
    m[14] = -2 * f * n / (f - n);
    MultiplyCurrent(m);
}

void Perspective(double fovy, double aspect, double zNear, double zFar) {
    const double half = fovy / 2 * std::numbers::pi / 180.0;
    const double depth = zFar - zNear;
    const double sine = std::sin(half);
    // GLU ignores a degenerate frustum rather than dividing by zero.
    if (depth == 0 || sine == 0 || aspect == 0) {
        return;
    }
    const double cotangent = std::cos(half) / sine;
    MatrixD m{};
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / depth;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / depth;
    MultiplyCurrent(m);
}

using Vec3 = std::array<double, 3>;

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// A zero vector stays zero instead of turning into NaNs.
Vec3 Normalised(const Vec3& v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return length == 0 ? v : Vec3{v[0] / length, v[1] / length, v[2] / length};
}

void LookAt(const Vec3& eye, const Vec3& centre, const Vec3& up) {
    const Vec3 forward = Normalised({centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]});
    const Vec3 side = Normalised(Cross(forward, up));
    const Vec3 trueUp = Cross(side, forward);
    MatrixD m = kIdentityD;
    for (int i = 0; i < 3; ++i) {
        m[i * 4 + 0] = side[i];
        m[i * 4 + 1] = trueUp[i];
        m[i * 4 + 2] = -forward[i];
    }
    MultiplyCurrent(m);
    Translate(-eye[0], -eye[1], -eye[2]);
}

// ---------------------------------------------------------------------------------------------
// Queries.

bool IsNormalisedValue(GLenum pname) {
    return OneOf(pname, {GL_CURRENT_COLOR, GL_COLOR_CLEAR_VALUE, GL_DEPTH_CLEAR_VALUE});
}

std::optional<std::vector<double>> MatrixQuery(GLenum pname) {
    std::optional<std::size_t> index;
    switch (pname) {
    case GL_MODELVIEW_MATRIX:
        index = 0;
        break;
    case GL_PROJECTION_MATRIX:
        index = 1;
        break;
    case GL_TEXTURE_MATRIX:
        index = 2;
        break;
    default:
        return std::nullopt;
    }
    const Matrix& top = State().matrices[*index].entries.back();
    return std::vector<double>(top.begin(), top.end());
}

std::optional<double> CountQuery(GLenum pname) {
    const FakeState& state = State();
    switch (pname) {
    case GL_MODELVIEW_STACK_DEPTH:
        return state.matrices[0].entries.size();
    case GL_PROJECTION_STACK_DEPTH:
        return state.matrices[1].entries.size();
    case GL_TEXTURE_STACK_DEPTH:
        return state.matrices[2].entries.size();
    case GL_MAX_MODELVIEW_STACK_DEPTH:
        return state.matrices[0].maxDepth;
    case GL_MAX_PROJECTION_STACK_DEPTH:
        return state.matrices[1].maxDepth;
    case GL_MAX_TEXTURE_STACK_DEPTH:
        return state.matrices[2].maxDepth;
    case GL_ATTRIB_STACK_DEPTH:
        return state.attribStack.size();
    case GL_MAX_ATTRIB_STACK_DEPTH:
        return kMaxAttribDepth;
    case GL_MAX_TEXTURE_SIZE:
        return state.maxTextureSize;
    case GL_MAX_LIGHTS:
        return kMaxLights;
    case GL_MAX_LIST_NESTING:
        return kMaxListNesting;
    case GL_LIST_INDEX:
        return state.openList;
    case GL_LIST_MODE:
        return state.openListMode;
    default:
        return std::nullopt;
    }
}

std::optional<std::vector<double>> Query(GLenum pname) {
    if (auto matrix = MatrixQuery(pname)) {
        return matrix;
    }
    if (auto count = CountQuery(pname)) {
        return std::vector<double>{*count};
    }
    if (const StateValue* value = FindStateValue(pname)) {
        const auto& current = Value(pname);
        return std::vector<double>(current.begin(), current.begin() + value->count);
    }
    const auto& enables = State().attribs.enables;
    if (auto found = enables.find(pname); found != enables.end()) {
        return std::vector<double>{found->second ? 1.0 : 0.0};
    }
    return std::nullopt;
}

GLint ToInteger(GLenum pname, double value) {
    if (IsNormalisedValue(pname)) {
        // GL maps [-1, 1] linearly onto the whole integer range.
        return static_cast<GLint>(std::lround(std::clamp(value, -1.0, 1.0) * 2147483647.0));
    }
    return static_cast<GLint>(std::lround(value));
}

// ---------------------------------------------------------------------------------------------
// Pixel transfers.

std::size_t ComponentsOf(GLenum format) {
    switch (format) {
    case GL_COLOR_INDEX:
    case GL_STENCIL_INDEX:
    case GL_DEPTH_COMPONENT:
    case GL_RED:
    case GL_GREEN:
    case GL_BLUE:
    case GL_ALPHA:
    case GL_LUMINANCE:
        return 1;
    case GL_LUMINANCE_ALPHA:
        return 2;
    case GL_RGB:
    case GL_BGR:
        return 3;
    case GL_RGBA:
    case GL_BGRA:
        return 4;
    default:
        return 0;
    }
}

std::size_t BytesOfType(GLenum type) {
    switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
        return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
        return 2;
    case GL_INT:
    case GL_UNSIGNED_INT:
    case GL_FLOAT:
        return 4;
    default:
        return 0;
    }
}

// 0 for a format or type this fake does not transfer.
std::size_t BytesPerPixel(GLenum format, GLenum type) {
    return ComponentsOf(format) * BytesOfType(type);
}

// Where GL finds each row of a client-side image, under the pack or unpack parameters.
struct RowLayout {
    std::size_t offset;
    std::size_t stride;
    std::size_t rowBytes;
};

RowLayout LayoutOf(GLsizei width, std::size_t pixelBytes, bool pack) {
    const auto param = [pack](GLenum packName, GLenum unpackName) {
        return static_cast<std::size_t>(Value(pack ? packName : unpackName)[0]);
    };
    const std::size_t rowLength = param(GL_PACK_ROW_LENGTH, GL_UNPACK_ROW_LENGTH);
    const std::size_t alignment = param(GL_PACK_ALIGNMENT, GL_UNPACK_ALIGNMENT);
    const std::size_t pixelsPerRow = rowLength > 0 ? rowLength : static_cast<std::size_t>(width);
    const std::size_t stride = (pixelsPerRow * pixelBytes + alignment - 1) / alignment * alignment;
    const std::size_t offset = param(GL_PACK_SKIP_ROWS, GL_UNPACK_SKIP_ROWS) * stride +
                               param(GL_PACK_SKIP_PIXELS, GL_UNPACK_SKIP_PIXELS) * pixelBytes;
    return {offset, stride, static_cast<std::size_t>(width) * pixelBytes};
}

std::vector<unsigned char> ReadImage(const void* data, GLsizei width, GLsizei height,
                                     std::size_t pixelBytes) {
    std::vector<unsigned char> pixels;
    if (data == nullptr || width <= 0 || height <= 0) {
        return pixels;
    }
    const RowLayout layout = LayoutOf(width, pixelBytes, false);
    const auto* source = static_cast<const unsigned char*>(data) + layout.offset;
    pixels.reserve(layout.rowBytes * static_cast<std::size_t>(height));
    for (GLsizei row = 0; row < height; ++row) {
        const unsigned char* start = source + static_cast<std::size_t>(row) * layout.stride;
        pixels.insert(pixels.end(), start, start + layout.rowBytes);
    }
    return pixels;
}

bool IsPowerOfTwo(GLsizei size) {
    return size > 0 && (size & (size - 1)) == 0;
}

// GL 1.1 takes only power-of-two sizes (plus the border), up to the maximum texture size.
bool ValidTextureSize(GLsizei size, GLint border) {
    const GLsizei inner = size - 2 * border;
    return size == 0 || (IsPowerOfTwo(inner) && inner <= State().maxTextureSize);
}

void StoreUpload(TextureUpload upload) {
    const auto name = static_cast<GLuint>(Value(GL_TEXTURE_BINDING_2D)[0]);
    State().uploads[name] = std::move(upload);
}

// ---------------------------------------------------------------------------------------------
// Object names.

GLuint NextTextureName() {
    FakeState& state = State();
    while (state.nextTexture == 0 || state.textures.count(state.nextTexture) != 0) {
        ++state.nextTexture;
    }
    return state.nextTexture++;
}

void DeleteTexture(GLuint name) {
    if (name == 0) {
        return;
    }
    State().textures.erase(name);
    State().uploads.erase(name);
    if (Value(GL_TEXTURE_BINDING_2D)[0] == name) {
        SetValue(GL_TEXTURE_BINDING_2D, {0});
    }
}

GLuint GenerateLists(GLsizei range) {
    FakeState& state = State();
    if (state.scriptedList) {
        const GLuint first = *std::exchange(state.scriptedList, std::nullopt);
        if (first != 0) {
            state.nextList = std::max(state.nextList, first + static_cast<GLuint>(range));
        }
        return first;
    }
    if (range < 0) {
        RaiseError(GL_INVALID_VALUE);
        return 0;
    }
    if (range == 0) {
        return 0;
    }
    const GLuint first = state.nextList;
    state.nextList += static_cast<GLuint>(range);
    return first;
}

std::vector<double> ReadListNames(GLsizei n, GLenum type, const GLvoid* lists) {
    std::vector<double> names;
    if (lists == nullptr || n <= 0) {
        return names;
    }
    const auto read = [&names, n](const auto* values) { names.assign(values, values + n); };
    switch (type) {
    case GL_BYTE:
        read(static_cast<const GLbyte*>(lists));
        break;
    case GL_UNSIGNED_BYTE:
        read(static_cast<const GLubyte*>(lists));
        break;
    case GL_SHORT:
        read(static_cast<const GLshort*>(lists));
        break;
    case GL_UNSIGNED_SHORT:
        read(static_cast<const GLushort*>(lists));
        break;
    case GL_INT:
        read(static_cast<const GLint*>(lists));
        break;
    case GL_UNSIGNED_INT:
        read(static_cast<const GLuint*>(lists));
        break;
    case GL_FLOAT:
        read(static_cast<const GLfloat*>(lists));
        break;
    default:
        break;
    }
    return names;
}

// GLU objects are opaque to callers; each hands out a record that only carries its number for
// the log. Records are never freed, so a stale or twice-deleted handle is still harmless.
struct Handle {
    unsigned id;
};

template <typename T> T* NewHandle(unsigned id) {
    static auto* handles = new std::deque<Handle>;
    handles->push_back({id});
    return reinterpret_cast<T*>(&handles->back());
}

double IdOf(const void* handle) {
    return handle == nullptr ? 0 : static_cast<const Handle*>(handle)->id;
}

// ---------------------------------------------------------------------------------------------
// Lights and materials: only the range checks GL makes, so that rejected values show up as
// errors the way they would on a real driver.

std::size_t ParamCount(GLenum pname) {
    if (OneOf(pname,
              {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_POSITION, GL_EMISSION,
               GL_AMBIENT_AND_DIFFUSE, GL_LIGHT_MODEL_AMBIENT, GL_OBJECT_PLANE, GL_EYE_PLANE})) {
        return 4;
    }
    if (OneOf(pname, {GL_SPOT_DIRECTION, GL_COLOR_INDEXES})) {
        return 3;
    }
    return 1;
}

bool IsLight(GLenum light) {
    return light >= GL_LIGHT0 && light < GL_LIGHT0 + kMaxLights;
}

void CheckLight(GLenum light, GLenum pname, float first) {
    if (!IsLight(light)) {
        RaiseError(GL_INVALID_ENUM);
    } else if (pname == GL_SPOT_EXPONENT && (first < 0 || first > 128)) {
        RaiseError(GL_INVALID_VALUE);
    } else if (pname == GL_SPOT_CUTOFF && (first < 0 || first > 90) && first != 180) {
        RaiseError(GL_INVALID_VALUE);
    } else if (OneOf(pname,
                     {GL_CONSTANT_ATTENUATION, GL_LINEAR_ATTENUATION, GL_QUADRATIC_ATTENUATION}) &&
               first < 0) {
        RaiseError(GL_INVALID_VALUE);
    }
}

void CheckMaterial(GLenum face, GLenum pname, float first) {
    if (!OneOf(face, {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK})) {
        RaiseError(GL_INVALID_ENUM);
    } else if (pname == GL_SHININESS && (first < 0 || first > 128)) {
        RaiseError(GL_INVALID_VALUE);
    }
}

void SetColour(double r, double g, double b, double a) {
    if (!CompilingOnly()) {
        SetValue(GL_CURRENT_COLOR, {r, g, b, a});
    }
}

void PushAttribs(GLbitfield mask) {
    FakeState& state = State();
    if (state.attribStack.size() == kMaxAttribDepth) {
        RaiseError(GL_STACK_OVERFLOW);
        return;
    }
    state.attribStack.push_back({mask, state.attribs});
}

GLbitfield GroupOfCapability(GLenum cap) {
    for (const Capability& capability : kCapabilities) {
        if (capability.value == cap) {
            return capability.group | GL_ENABLE_BIT;
        }
    }
    return 0;
}

void PopAttribs() {
    FakeState& state = State();
    if (state.attribStack.empty()) {
        RaiseError(GL_STACK_UNDERFLOW);
        return;
    }
    const SavedAttribs top = std::move(state.attribStack.back());
    state.attribStack.pop_back();
    for (auto& [cap, enabled] : state.attribs.enables) {
        if ((GroupOfCapability(cap) & top.mask) != 0) {
            enabled = top.saved.enables.at(cap);
        }
    }
    for (auto& [pname, value] : state.attribs.values) {
        if ((FindStateValue(pname)->group & top.mask) != 0) {
            value = top.saved.values.at(pname);
        }
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Test API.

void Reset() {
    State() = DefaultState();
    ClearLog();
}

void ClearLog() {
    Recorder& log = Log();
    log.calls.clear();
    log.args.clear();
    log.materialised.clear();
}

const std::vector<Call>& Calls() {
    Recorder& log = Log();
    for (std::size_t i = log.materialised.size(); i < log.calls.size(); ++i) {
        const auto args = ArgsOf(log.calls[i]);
        log.materialised.push_back({log.calls[i].name, {args.begin(), args.end()}});
    }
    return log.materialised;
}

std::vector<std::string> CallTexts() {
    std::vector<std::string> texts;
    texts.reserve(Log().calls.size());
    for (const RawCall& call : Log().calls) {
        texts.push_back(TextOf(call));
    }
    return texts;
}

std::vector<std::string> CallTexts(const std::string& name) {
    std::vector<std::string> texts;
    for (const RawCall& call : Log().calls) {
        if (name == call.name) {
            texts.push_back(TextOf(call));
        }
    }
    return texts;
}

std::vector<std::string> CallNames() {
    std::vector<std::string> names;
    names.reserve(Log().calls.size());
    for (const RawCall& call : Log().calls) {
        names.emplace_back(call.name);
    }
    return names;
}

std::size_t CountCalls(const std::string& name) {
    return std::count_if(Log().calls.begin(), Log().calls.end(),
                         [&name](const RawCall& call) { return name == call.name; });
}

bool NoGLCalls() {
    return Log().calls.empty();
}

bool CallsInOrder(const std::vector<std::string>& texts) {
    auto wanted = texts.begin();
    for (const RawCall& call : Log().calls) {
        if (wanted == texts.end()) {
            break;
        }
        // Cheap name check first: building every text of a long log would be slow.
        const std::string_view name = call.name;
        if (std::string_view(*wanted).substr(0, name.size()) == name && TextOf(call) == *wanted) {
            ++wanted;
        }
    }
    return wanted == texts.end();
}

void SetGenListsResult(GLuint first) {
    State().scriptedList = first;
}
void SetGenTexturesStart(GLuint first) {
    State().nextTexture = first;
}
void SetNewQuadricFails(bool fails) {
    State().newQuadricFails = fails;
}
void SetMaxTextureSize(GLint size) {
    State().maxTextureSize = size;
}
void SetBuild2DMipmapsResult(GLint result) {
    State().build2DMipmapsResult = result;
}
void SetError(GLenum error) {
    State().error = error;
}

namespace {
Matrix& StackTopFor(GLenum which) {
    const auto index = StackIndex(which);
    if (!index) {
        throw std::invalid_argument("gl_fake: not a matrix mode: " + FormatHex(which));
    }
    return State().matrices[*index].entries.back();
}
} // namespace

void SetMatrix(GLenum which, const float m[16]) {
    std::copy(m, m + 16, StackTopFor(which).begin());
}

std::vector<float> CurrentMatrix(GLenum which) {
    const Matrix& top = StackTopFor(which);
    return {top.begin(), top.end()};
}

bool Enabled(GLenum cap) {
    const auto& enables = State().attribs.enables;
    const auto found = enables.find(cap);
    return found != enables.end() && found->second;
}

std::array<float, 4> CurrentColour() {
    const auto& colour = Value(GL_CURRENT_COLOR);
    return {static_cast<float>(colour[0]), static_cast<float>(colour[1]),
            static_cast<float>(colour[2]), static_cast<float>(colour[3])};
}

GLuint BoundTexture() {
    return static_cast<GLuint>(Value(GL_TEXTURE_BINDING_2D)[0]);
}

bool TextureExists(GLuint name) {
    return State().textures.count(name) != 0;
}

const TextureUpload* LastUpload(GLuint name) {
    const auto found = State().uploads.find(name);
    return found == State().uploads.end() ? nullptr : &found->second;
}

GLenum PendingError() {
    return State().error;
}

} // namespace VARKO::Testing::GL

// =============================================================================================
// The entry points, with the linkage and signatures of the system headers.

using namespace VARKO::Testing::GL;

extern "C" {

// --- Capabilities ----------------------------------------------------------------------------

void APIENTRY glEnable(GLenum cap) {
    Record("glEnable", "E", {double(cap)});
    if (Executes()) {
        SetCapability(cap, true);
    }
}

void APIENTRY glDisable(GLenum cap) {
    Record("glDisable", "E", {double(cap)});
    if (Executes()) {
        SetCapability(cap, false);
    }
}

GLboolean APIENTRY glIsEnabled(GLenum cap) {
    Record("glIsEnabled", "E", {double(cap)});
    if (!Immediate()) {
        return GL_FALSE;
    }
    const auto& enables = State().attribs.enables;
    const auto found = enables.find(cap);
    if (found == enables.end()) {
        RaiseError(GL_INVALID_ENUM);
        return GL_FALSE;
    }
    return found->second ? GL_TRUE : GL_FALSE;
}

// --- Primitives and vertex attributes --------------------------------------------------------

void APIENTRY glBegin(GLenum mode) {
    Record("glBegin", "P", {double(mode)});
    if (!Executes()) {
        return;
    }
    if (mode > GL_POLYGON) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    State().insideBeginEnd = true;
}

void APIENTRY glEnd() {
    Record("glEnd", "", {});
    if (CompilingOnly()) {
        return;
    }
    if (!State().insideBeginEnd) {
        RaiseError(GL_INVALID_OPERATION);
        return;
    }
    State().insideBeginEnd = false;
}

void APIENTRY glVertex2f(GLfloat x, GLfloat y) {
    Record("glVertex2f", "", {x, y});
}
void APIENTRY glVertex2i(GLint x, GLint y) {
    Record("glVertex2i", "", {double(x), double(y)});
}
void APIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    Record("glVertex3f", "", {x, y, z});
}

void APIENTRY glVertex3fv(const GLfloat* v) {
    StartCall("glVertex3fv", "");
    AddArgs(v, 3);
}

void APIENTRY glNormal3f(GLfloat nx, GLfloat ny, GLfloat nz) {
    Record("glNormal3f", "", {nx, ny, nz});
    if (!CompilingOnly()) {
        SetValue(GL_CURRENT_NORMAL, {nx, ny, nz});
    }
}

void APIENTRY glNormal3fv(const GLfloat* v) {
    StartCall("glNormal3fv", "");
    AddArgs(v, 3);
    if (v != nullptr && !CompilingOnly()) {
        SetValue(GL_CURRENT_NORMAL, {v[0], v[1], v[2]});
    }
}

void APIENTRY glTexCoord2f(GLfloat s, GLfloat t) {
    Record("glTexCoord2f", "", {s, t});
    if (!CompilingOnly()) {
        SetValue(GL_CURRENT_TEXTURE_COORDS, {s, t, 0, 1});
    }
}

void APIENTRY glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    Record("glColor3f", "", {red, green, blue});
    SetColour(red, green, blue, 1);
}

void APIENTRY glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    Record("glColor4f", "", {red, green, blue, alpha});
    SetColour(red, green, blue, alpha);
}

void APIENTRY glColor3fv(const GLfloat* v) {
    StartCall("glColor3fv", "");
    AddArgs(v, 3);
    if (v != nullptr) {
        SetColour(v[0], v[1], v[2], 1);
    }
}

void APIENTRY glColor4fv(const GLfloat* v) {
    StartCall("glColor4fv", "");
    AddArgs(v, 4);
    if (v != nullptr) {
        SetColour(v[0], v[1], v[2], v[3]);
    }
}

// --- Matrices and viewport -------------------------------------------------------------------

void APIENTRY glMatrixMode(GLenum mode) {
    Record("glMatrixMode", "E", {double(mode)});
    if (Executes()) {
        SetChecked(GL_MATRIX_MODE, mode, {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE});
    }
}

void APIENTRY glLoadIdentity() {
    Record("glLoadIdentity", "", {});
    if (Executes()) {
        CurrentTop() = kIdentity;
    }
}

void APIENTRY glLoadMatrixf(const GLfloat* m) {
    StartCall("glLoadMatrixf", "");
    AddArgs(m, 16);
    if (m != nullptr && Executes()) {
        std::copy(m, m + 16, CurrentTop().begin());
    }
}

void APIENTRY glMultMatrixf(const GLfloat* m) {
    StartCall("glMultMatrixf", "");
    AddArgs(m, 16);
    if (m != nullptr && Executes()) {
        MatrixD right;
        std::copy(m, m + 16, right.begin());
        MultiplyCurrent(right);
    }
}

void APIENTRY glPushMatrix() {
    Record("glPushMatrix", "", {});
    if (!Executes()) {
        return;
    }
    MatrixStack& stack = CurrentStack();
    if (stack.entries.size() == stack.maxDepth) {
        RaiseError(GL_STACK_OVERFLOW);
        return;
    }
    stack.entries.push_back(stack.entries.back());
}

void APIENTRY glPopMatrix() {
    Record("glPopMatrix", "", {});
    if (!Executes()) {
        return;
    }
    MatrixStack& stack = CurrentStack();
    if (stack.entries.size() == 1) {
        RaiseError(GL_STACK_UNDERFLOW);
        return;
    }
    stack.entries.pop_back();
}

void APIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    Record("glTranslatef", "", {x, y, z});
    if (Executes()) {
        Translate(x, y, z);
    }
}

void APIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    Record("glRotatef", "", {angle, x, y, z});
    if (Executes()) {
        Rotate(angle, x, y, z);
    }
}

void APIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z) {
    Record("glScalef", "", {x, y, z});
    if (Executes()) {
        MatrixD m = kIdentityD;
        m[0] = x;
        m[5] = y;
        m[10] = z;
        MultiplyCurrent(m);
    }
}

void APIENTRY glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
                      GLdouble zFar) {
    Record("glOrtho", "", {left, right, bottom, top, zNear, zFar});
    if (Executes()) {
        Ortho(left, right, bottom, top, zNear, zFar);
    }
}

void APIENTRY glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top,
                        GLdouble zNear, GLdouble zFar) {
    Record("glFrustum", "", {left, right, bottom, top, zNear, zFar});
    if (Executes()) {
        Frustum(left, right, bottom, top, zNear, zFar);
    }
}

void APIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record("glViewport", "", {double(x), double(y), double(width), double(height)});
    if (!Executes()) {
        return;
    }
    if (width < 0 || height < 0) {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    SetValue(GL_VIEWPORT, {double(x), double(y), double(width), double(height)});
}

// --- Frame buffer and fixed-function state ---------------------------------------------------

void APIENTRY glClear(GLbitfield mask) {
    Record("glClear", "C", {double(mask)});
    constexpr GLbitfield known =
        GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_ACCUM_BUFFER_BIT;
    if (Executes() && (mask & ~known) != 0) {
        RaiseError(GL_INVALID_VALUE);
    }
}

void APIENTRY glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    Record("glClearColor", "", {red, green, blue, alpha});
    if (Executes()) {
        const auto clamped = [](GLclampf v) { return std::clamp(double(v), 0.0, 1.0); };
        SetValue(GL_COLOR_CLEAR_VALUE,
                 {clamped(red), clamped(green), clamped(blue), clamped(alpha)});
    }
}

void APIENTRY glClearDepth(GLclampd depth) {
    Record("glClearDepth", "", {depth});
    if (Executes()) {
        SetValue(GL_DEPTH_CLEAR_VALUE, {std::clamp(depth, 0.0, 1.0)});
    }
}

void APIENTRY glDepthFunc(GLenum func) {
    Record("glDepthFunc", "E", {double(func)});
    if (Executes()) {
        SetChecked(GL_DEPTH_FUNC, func,
                   {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL,
                    GL_ALWAYS});
    }
}

void APIENTRY glShadeModel(GLenum mode) {
    Record("glShadeModel", "E", {double(mode)});
    if (Executes()) {
        SetChecked(GL_SHADE_MODEL, mode, {GL_FLAT, GL_SMOOTH});
    }
}

void APIENTRY glHint(GLenum target, GLenum mode) {
    Record("glHint", "EE", {double(target), double(mode)});
    if (!Executes()) {
        return;
    }
    if (!OneOf(target, {GL_PERSPECTIVE_CORRECTION_HINT, GL_POINT_SMOOTH_HINT, GL_LINE_SMOOTH_HINT,
                        GL_POLYGON_SMOOTH_HINT, GL_FOG_HINT})) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    SetChecked(target, mode, {GL_DONT_CARE, GL_FASTEST, GL_NICEST});
}

void APIENTRY glFlush() {
    Record("glFlush", "", {});
    OutsideBeginEnd();
}

void APIENTRY glFinish() {
    Record("glFinish", "", {});
    OutsideBeginEnd();
}

void APIENTRY glBlendFunc(GLenum sfactor, GLenum dfactor) {
    Record("glBlendFunc", "FF", {double(sfactor), double(dfactor)});
    if (Executes()) {
        SetValue(GL_BLEND_SRC, {double(sfactor)});
        SetValue(GL_BLEND_DST, {double(dfactor)});
    }
}

void APIENTRY glCullFace(GLenum mode) {
    Record("glCullFace", "E", {double(mode)});
    if (Executes()) {
        SetChecked(GL_CULL_FACE_MODE, mode, {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK});
    }
}

void APIENTRY glFrontFace(GLenum mode) {
    Record("glFrontFace", "E", {double(mode)});
    if (Executes()) {
        SetChecked(GL_FRONT_FACE, mode, {GL_CW, GL_CCW});
    }
}

// --- Lighting --------------------------------------------------------------------------------

void APIENTRY glLightf(GLenum light, GLenum pname, GLfloat param) {
    Record("glLightf", "EE", {double(light), double(pname), param});
    if (Executes()) {
        CheckLight(light, pname, param);
    }
}

void APIENTRY glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    Record("glLightfv", "EE", {double(light), double(pname)});
    AddArgs(params, ParamCount(pname));
    if (params != nullptr && Executes()) {
        CheckLight(light, pname, params[0]);
    }
}

void APIENTRY glLightModelfv(GLenum pname, const GLfloat* params) {
    Record("glLightModelfv", "E", {double(pname)});
    AddArgs(params, ParamCount(pname));
    LoggedOnly();
}

void APIENTRY glMaterialf(GLenum face, GLenum pname, GLfloat param) {
    Record("glMaterialf", "EE", {double(face), double(pname), param});
    if (CompilingOnly()) {
        return;
    }
    if (pname != GL_SHININESS) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    CheckMaterial(face, pname, param);
}

void APIENTRY glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    Record("glMaterialfv", "EE", {double(face), double(pname)});
    AddArgs(params, ParamCount(pname));
    if (params != nullptr && !CompilingOnly()) {
        CheckMaterial(face, pname, params[0]);
    }
}

void APIENTRY glColorMaterial(GLenum face, GLenum mode) {
    Record("glColorMaterial", "EE", {double(face), double(mode)});
    if (!Executes()) {
        return;
    }
    SetChecked(GL_COLOR_MATERIAL_FACE, face, {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK});
    SetChecked(GL_COLOR_MATERIAL_PARAMETER, mode,
               {GL_EMISSION, GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_AMBIENT_AND_DIFFUSE});
}

// --- Display lists ---------------------------------------------------------------------------

GLuint APIENTRY glGenLists(GLsizei range) {
    Record("glGenLists", "", {double(range)});
    return Immediate() ? GenerateLists(range) : 0;
}

void APIENTRY glNewList(GLuint list, GLenum mode) {
    Record("glNewList", "nE", {double(list), double(mode)});
    if (!Immediate()) {
        return;
    }
    if (list == 0) {
        RaiseError(GL_INVALID_VALUE);
    } else if (!OneOf(mode, {GL_COMPILE, GL_COMPILE_AND_EXECUTE})) {
        RaiseError(GL_INVALID_ENUM);
    } else if (State().openList != 0) {
        RaiseError(GL_INVALID_OPERATION);
    } else {
        State().openList = list;
        State().openListMode = mode;
    }
}

void APIENTRY glEndList() {
    Record("glEndList", "", {});
    if (!Immediate()) {
        return;
    }
    if (State().openList == 0) {
        RaiseError(GL_INVALID_OPERATION);
        return;
    }
    State().openList = 0;
    State().openListMode = 0;
}

void APIENTRY glCallList(GLuint list) {
    Record("glCallList", "", {double(list)});
}

void APIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    Record("glCallLists", "nE", {double(n), double(type)});
    for (double name : ReadListNames(n, type, lists)) {
        AddArg(name);
    }
    if (n < 0 && !CompilingOnly()) {
        RaiseError(GL_INVALID_VALUE);
    }
}

void APIENTRY glDeleteLists(GLuint list, GLsizei range) {
    Record("glDeleteLists", "", {double(list), double(range)});
    if (Immediate() && range < 0) {
        RaiseError(GL_INVALID_VALUE);
    }
}

void APIENTRY glListBase(GLuint base) {
    Record("glListBase", "", {double(base)});
    if (Executes()) {
        SetValue(GL_LIST_BASE, {double(base)});
    }
}

// --- Textures --------------------------------------------------------------------------------

void APIENTRY glGenTextures(GLsizei n, GLuint* textures) {
    Record("glGenTextures", "", {double(n)});
    if (!Immediate()) {
        return;
    }
    if (n < 0) {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < n; ++i) {
        textures[i] = NextTextureName();
        State().textures.insert(textures[i]);
    }
}

void APIENTRY glBindTexture(GLenum target, GLuint texture) {
    Record("glBindTexture", "En", {double(target), double(texture)});
    if (!Executes()) {
        return;
    }
    if (!OneOf(target, {GL_TEXTURE_1D, GL_TEXTURE_2D})) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    if (texture != 0) {
        State().textures.insert(texture); // binding an unused name creates it, as in GL
    }
    if (target == GL_TEXTURE_2D) {
        SetValue(GL_TEXTURE_BINDING_2D, {double(texture)});
    }
}

void APIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) {
    Record("glDeleteTextures", "", {double(n)});
    if (n > 0) {
        AddArgs(textures, static_cast<std::size_t>(n));
    }
    if (!Immediate()) {
        return;
    }
    if (n < 0) {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; textures != nullptr && i < n; ++i) {
        DeleteTexture(textures[i]);
    }
}

void APIENTRY glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                           GLsizei height, GLint border, GLenum format, GLenum type,
                           const GLvoid* pixels) {
    Record("glTexImage2D", "EnennnEE",
           {double(target), double(level), double(internalFormat), double(width), double(height),
            double(border), double(format), double(type)});
    if (!Executes()) {
        return;
    }
    const std::size_t pixelBytes = BytesPerPixel(format, type);
    if (target != GL_TEXTURE_2D || pixelBytes == 0) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    if (level < 0 || (border != 0 && border != 1) || !ValidTextureSize(width, border) ||
        !ValidTextureSize(height, border)) {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    StoreUpload({target, level, internalFormat, width, height, format, type, false,
                 ReadImage(pixels, width, height, pixelBytes)});
}

void APIENTRY glTexParameteri(GLenum target, GLenum pname, GLint param) {
    Record("glTexParameteri", "EEe", {double(target), double(pname), double(param)});
    LoggedOnly();
}

void APIENTRY glTexParameterf(GLenum target, GLenum pname, GLfloat param) {
    Record("glTexParameterf", "EEe", {double(target), double(pname), param});
    LoggedOnly();
}

void APIENTRY glTexEnvi(GLenum target, GLenum pname, GLint param) {
    Record("glTexEnvi", "EEe", {double(target), double(pname), double(param)});
    LoggedOnly();
}

void APIENTRY glTexEnvf(GLenum target, GLenum pname, GLfloat param) {
    Record("glTexEnvf", "EEe", {double(target), double(pname), param});
    LoggedOnly();
}

void APIENTRY glTexGeni(GLenum coord, GLenum pname, GLint param) {
    Record("glTexGeni", "EEe", {double(coord), double(pname), double(param)});
    LoggedOnly();
}

void APIENTRY glTexGenf(GLenum coord, GLenum pname, GLfloat param) {
    Record("glTexGenf", "EEe", {double(coord), double(pname), param});
    LoggedOnly();
}

void APIENTRY glTexGenfv(GLenum coord, GLenum pname, const GLfloat* params) {
    Record("glTexGenfv", "EEe", {double(coord), double(pname)});
    AddArgs(params, ParamCount(pname));
    LoggedOnly();
}

void APIENTRY glPixelStorei(GLenum pname, GLint param) {
    Record("glPixelStorei", "E", {double(pname), double(param)});
    if (!Immediate()) {
        return;
    }
    const StateValue* value = FindStateValue(pname);
    if (value == nullptr || value->group != 0) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    const bool isAlignment = pname == GL_PACK_ALIGNMENT || pname == GL_UNPACK_ALIGNMENT;
    if (isAlignment ? !OneOf(static_cast<GLenum>(param), {1, 2, 4, 8}) : param < 0) {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    SetValue(pname, {double(param)});
}

// --- Raster positions and bitmaps ------------------------------------------------------------

void APIENTRY glRasterPos2f(GLfloat x, GLfloat y) {
    Record("glRasterPos2f", "", {x, y});
    LoggedOnly();
}

void APIENTRY glRasterPos2i(GLint x, GLint y) {
    Record("glRasterPos2i", "", {double(x), double(y)});
    LoggedOnly();
}

void APIENTRY glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
    Record("glRasterPos3f", "", {x, y, z});
    LoggedOnly();
}

void APIENTRY glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
                       GLfloat ymove, const GLubyte* /*bitmap*/) {
    Record("glBitmap", "", {double(width), double(height), xorig, yorig, xmove, ymove});
    if (Executes() && (width < 0 || height < 0)) {
        RaiseError(GL_INVALID_VALUE);
    }
}

// --- Attribute stack and queries -------------------------------------------------------------

void APIENTRY glPushAttrib(GLbitfield mask) {
    Record("glPushAttrib", "A", {double(mask)});
    if (Executes()) {
        PushAttribs(mask);
    }
}

void APIENTRY glPopAttrib() {
    Record("glPopAttrib", "", {});
    if (Executes()) {
        PopAttribs();
    }
}

void APIENTRY glGetFloatv(GLenum pname, GLfloat* params) {
    Record("glGetFloatv", "E", {double(pname)});
    if (!Immediate()) {
        return;
    }
    const auto values = Query(pname);
    if (!values) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    std::transform(values->begin(), values->end(), params,
                   [](double v) { return static_cast<GLfloat>(v); });
}

void APIENTRY glGetIntegerv(GLenum pname, GLint* params) {
    Record("glGetIntegerv", "E", {double(pname)});
    if (!Immediate()) {
        return;
    }
    const auto values = Query(pname);
    if (!values) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    std::transform(values->begin(), values->end(), params,
                   [pname](double v) { return ToInteger(pname, v); });
}

GLenum APIENTRY glGetError() {
    Record("glGetError", "", {});
    if (!Immediate()) {
        return GL_NO_ERROR;
    }
    return std::exchange(State().error, GL_NO_ERROR);
}

void APIENTRY glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                           GLenum type, GLvoid* pixels) {
    Record("glReadPixels", "nnnnEE",
           {double(x), double(y), double(width), double(height), double(format), double(type)});
    if (!Immediate()) {
        return;
    }
    const std::size_t pixelBytes = BytesPerPixel(format, type);
    if (pixelBytes == 0) {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    if (width < 0 || height < 0) {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    if (pixels == nullptr) {
        return;
    }
    // Writes only the bytes GL writes: row padding and skipped pixels are left alone.
    const RowLayout layout = LayoutOf(width, pixelBytes, true);
    auto* target = static_cast<unsigned char*>(pixels) + layout.offset;
    for (GLsizei row = 0; row < height; ++row) {
        std::memset(target + static_cast<std::size_t>(row) * layout.stride, 0, layout.rowBytes);
    }
}

const GLubyte* APIENTRY glGetString(GLenum name) {
    Record("glGetString", "E", {double(name)});
    const char* text = nullptr;
    if (Immediate()) {
        switch (name) {
        case GL_VENDOR:
            text = "VARKO";
            break;
        case GL_RENDERER:
            text = "VARKO GL recording fake";
            break;
        case GL_VERSION:
            text = "1.1";
            break;
        case GL_EXTENSIONS:
            text = "";
            break;
        default:
            RaiseError(GL_INVALID_ENUM);
        }
    }
    return reinterpret_cast<const GLubyte*>(text);
}

// --- GLU: matrices ---------------------------------------------------------------------------

void APIENTRY gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    Record("gluPerspective", "", {fovy, aspect, zNear, zFar});
    if (Executes()) {
        Perspective(fovy, aspect, zNear, zFar);
    }
}

void APIENTRY gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX,
                        GLdouble centerY, GLdouble centerZ, GLdouble upX, GLdouble upY,
                        GLdouble upZ) {
    Record("gluLookAt", "", {eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ});
    if (Executes()) {
        LookAt({eyeX, eyeY, eyeZ}, {centerX, centerY, centerZ}, {upX, upY, upZ});
    }
}

void APIENTRY gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
    Record("gluOrtho2D", "", {left, right, bottom, top});
    if (Executes()) {
        Ortho(left, right, bottom, top, -1, 1);
    }
}

// --- GLU: mipmaps ----------------------------------------------------------------------------

GLint APIENTRY gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height,
                                 GLenum format, GLenum type, const void* data) {
    Record("gluBuild2DMipmaps", "EennEE",
           {double(target), double(internalFormat), double(width), double(height), double(format),
            double(type)});
    if (State().build2DMipmapsResult != 0) {
        return State().build2DMipmapsResult;
    }
    const std::size_t pixelBytes = BytesPerPixel(format, type);
    if (pixelBytes == 0) {
        return GLU_INVALID_ENUM;
    }
    if (width < 1 || height < 1) {
        return GLU_INVALID_VALUE;
    }
    if (Executes()) {
        StoreUpload({target, 0, internalFormat, width, height, format, type, true,
                     ReadImage(data, width, height, pixelBytes)});
    }
    return 0;
}

// --- GLU: quadrics ---------------------------------------------------------------------------

GLUquadric* APIENTRY gluNewQuadric() {
    Record("gluNewQuadric", "", {});
    if (State().newQuadricFails) {
        return nullptr;
    }
    return NewHandle<GLUquadric>(++State().quadricCount);
}

void APIENTRY gluDeleteQuadric(GLUquadric* quad) {
    Record("gluDeleteQuadric", "", {IdOf(quad)});
}

void APIENTRY gluQuadricNormals(GLUquadric* quad, GLenum normal) {
    Record("gluQuadricNormals", "nE", {IdOf(quad), double(normal)});
}

void APIENTRY gluQuadricTexture(GLUquadric* quad, GLboolean texture) {
    Record("gluQuadricTexture", "nb", {IdOf(quad), double(texture)});
}

void APIENTRY gluQuadricDrawStyle(GLUquadric* quad, GLenum draw) {
    Record("gluQuadricDrawStyle", "nE", {IdOf(quad), double(draw)});
}

void APIENTRY gluSphere(GLUquadric* quad, GLdouble radius, GLint slices, GLint stacks) {
    Record("gluSphere", "", {IdOf(quad), radius, double(slices), double(stacks)});
}

void APIENTRY gluCylinder(GLUquadric* quad, GLdouble base, GLdouble top, GLdouble height,
                          GLint slices, GLint stacks) {
    Record("gluCylinder", "", {IdOf(quad), base, top, height, double(slices), double(stacks)});
}

void APIENTRY gluDisk(GLUquadric* quad, GLdouble inner, GLdouble outer, GLint slices, GLint loops) {
    Record("gluDisk", "", {IdOf(quad), inner, outer, double(slices), double(loops)});
}

// --- GLU: tessellator ------------------------------------------------------------------------

GLUtesselator* APIENTRY gluNewTess() {
    Record("gluNewTess", "", {});
    return NewHandle<GLUtesselator>(++State().tessCount);
}

void APIENTRY gluDeleteTess(GLUtesselator* tess) {
    Record("gluDeleteTess", "", {IdOf(tess)});
}

void APIENTRY gluTessCallback(GLUtesselator* tess, GLenum which, GluCallback /*callback*/) {
    Record("gluTessCallback", "nE", {IdOf(tess), double(which)});
}

void APIENTRY gluTessBeginPolygon(GLUtesselator* tess, GLvoid* /*data*/) {
    Record("gluTessBeginPolygon", "", {IdOf(tess)});
}

void APIENTRY gluTessBeginContour(GLUtesselator* tess) {
    Record("gluTessBeginContour", "", {IdOf(tess)});
}

void APIENTRY gluTessVertex(GLUtesselator* tess, GLdouble* location, GLvoid* /*data*/) {
    Record("gluTessVertex", "", {IdOf(tess)});
    AddArgs(location, 3);
}

void APIENTRY gluTessEndContour(GLUtesselator* tess) {
    Record("gluTessEndContour", "", {IdOf(tess)});
}

void APIENTRY gluTessEndPolygon(GLUtesselator* tess) {
    Record("gluTessEndPolygon", "", {IdOf(tess)});
}

void APIENTRY gluTessProperty(GLUtesselator* tess, GLenum which, GLdouble data) {
    Record("gluTessProperty", "nEe", {IdOf(tess), double(which), data});
}

void APIENTRY gluTessNormal(GLUtesselator* tess, GLdouble valueX, GLdouble valueY,
                            GLdouble valueZ) {
    Record("gluTessNormal", "", {IdOf(tess), valueX, valueY, valueZ});
}

const GLubyte* APIENTRY gluErrorString(GLenum error) {
    Record("gluErrorString", "r", {double(error)});
    static const std::map<GLenum, const char*> messages{{GL_NO_ERROR, "no error"},
                                                        {GL_INVALID_ENUM, "invalid enumerant"},
                                                        {GL_INVALID_VALUE, "invalid value"},
                                                        {GL_INVALID_OPERATION, "invalid operation"},
                                                        {GL_STACK_OVERFLOW, "stack overflow"},
                                                        {GL_STACK_UNDERFLOW, "stack underflow"},
                                                        {GL_OUT_OF_MEMORY, "out of memory"},
                                                        {GLU_INVALID_ENUM, "invalid enumerant"},
                                                        {GLU_INVALID_VALUE, "invalid value"},
                                                        {GLU_OUT_OF_MEMORY, "out of memory"}};
    const auto found = messages.find(error);
    // Like GLU, an unknown code has no text.
    return reinterpret_cast<const GLubyte*>(found == messages.end() ? nullptr : found->second);
}

} // extern "C"
