#pragma once
// The layer's GL state: one context, as the program has one, with GL 1.1's defaults. Each file of
// the layer handles one group of entry points over it; the renderer hands it to WebGL.

#include "src/gl_api.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace VARKO::GLLayer {

using Vec4 = std::array<float, 4>;
using Matrix = std::array<float, 16>; // column-major, as GL stores it

constexpr int kMaxLights = 8;
constexpr int kMaxAttribDepth = 16;
constexpr int kMaxListNesting = 64;

Matrix Identity();
Matrix Multiply(const Matrix& a, const Matrix& b);
Vec4 Transform(const Matrix& m, const Vec4& v);

struct Vertex {
    Vec4 position;
    std::array<float, 3> normal;
    Vec4 colour;
    Vec4 texCoord;
};

struct RasterPosition {
    Vec4 window{0, 0, 0, 1}; // x, y, depth in window coordinates, clip w
    bool valid = true;
    Vec4 colour{1, 1, 1, 1};
};

struct CurrentValues {
    Vec4 colour{1, 1, 1, 1};
    std::array<float, 3> normal{0, 0, 1};
    Vec4 texCoord{0, 0, 0, 1};
    RasterPosition raster;
};

struct Light {
    Vec4 ambient{0, 0, 0, 1};
    Vec4 diffuse{0, 0, 0, 1};
    Vec4 specular{0, 0, 0, 1};
    Vec4 position{0, 0, 1, 0}; // eye space
    std::array<float, 3> spotDirection{0, 0, -1};
    float spotExponent = 0;
    float spotCutoff = 180;
    std::array<float, 3> attenuation{1, 0, 0}; // constant, linear, quadratic
};

struct Material {
    Vec4 ambient{0.2f, 0.2f, 0.2f, 1};
    Vec4 diffuse{0.8f, 0.8f, 0.8f, 1};
    Vec4 specular{0, 0, 0, 1};
    Vec4 emission{0, 0, 0, 1};
    float shininess = 0;
};

struct LightingState {
    std::array<Light, kMaxLights> lights;
    std::array<Material, 2> materials; // front, back
    Vec4 modelAmbient{0.2f, 0.2f, 0.2f, 1};
    GLenum colourMaterialFace = GL_FRONT_AND_BACK;
    GLenum colourMaterialMode = GL_AMBIENT_AND_DIFFUSE;
    GLenum shadeModel = GL_SMOOTH;
};

// The capabilities glEnable knows, as indices into EnableState.
enum Capability {
    kBlend,
    kColourMaterial,
    kCullFace,
    kDepthTest,
    kDither,
    kLighting,
    kLight0,
    kNormalize = kLight0 + kMaxLights,
    kTexture2D,
    kTextureGenS,
    kTextureGenT,
    kCapabilityCount
};

// The state glPushAttrib saves and glPopAttrib restores, group by group.
struct AttribState {
    CurrentValues current;
    std::array<bool, kCapabilityCount> enabled{};
    LightingState lighting;
    GLenum matrixMode = GL_MODELVIEW;
    GLuint boundTexture = 0;
    std::array<GLenum, 2> sphereGenMode{GL_EYE_LINEAR, GL_EYE_LINEAR}; // s, t
    Vec4 clearColour{0, 0, 0, 0};
    GLenum blendSource = GL_ONE, blendDestination = GL_ZERO;
    double clearDepth = 1.0;
    GLenum depthFunc = GL_LESS;
    bool depthMask = true;
    std::array<int, 4> viewport{0, 0, 0, 0};
    GLenum cullFace = GL_BACK, frontFace = GL_CCW;
    GLuint listBase = 0;
    GLenum perspectiveHint = GL_DONT_CARE;
};

struct PixelStore {
    GLint alignment = 4, rowLength = 0, skipRows = 0, skipPixels = 0, lsbFirst = 0, swapBytes = 0;
};

struct ClientState {
    PixelStore unpack, pack;
};

struct TextureObject {
    unsigned int handle = 0; // WebGL's, made at the first upload
    GLint minFilter = GL_NEAREST_MIPMAP_LINEAR, magFilter = GL_LINEAR;
    GLint wrapS = GL_REPEAT, wrapT = GL_REPEAT;
    std::vector<std::array<GLint, 3>> levels; // width, height, internal format; 0 x 0 when unset
};

using Command = std::function<void()>;
using CommandList = std::vector<Command>;

struct DisplayLists {
    std::map<GLuint, std::shared_ptr<const CommandList>> lists; // generated names, some empty
    GLuint compilingName = 0;                                   // 0 when not compiling
    GLenum compileMode = GL_COMPILE;
    CommandList compiling;
    int replayDepth = 0;
};

struct MatrixStacks {
    std::vector<Matrix> modelview{Identity()}, projection{Identity()}, texture{Identity()};
};

struct Feedback {
    GLenum mode = GL_RENDER;
    GLfloat* buffer = nullptr;
    GLsizei size = 0;
    GLenum type = GL_2D;
    GLsizei written = 0;
    bool overflowed = false;
};

struct Immediate {
    bool inside = false; // between glBegin and glEnd
    GLenum primitive = GL_TRIANGLES;
    std::vector<Vertex> vertices;
};

struct Context {
    AttribState state;
    std::vector<std::pair<GLbitfield, AttribState>> attribStack;
    ClientState client;
    std::vector<std::pair<GLbitfield, ClientState>> clientStack;
    MatrixStacks matrices;
    std::map<GLuint, TextureObject> textures; // name 0 is the default texture
    GLuint nextTextureName = 1;
    Vec4 proxyLevel{0, 0, 0, 0}; // width, height, internal format of the last proxy upload
    DisplayLists displayLists;
    Feedback feedback;
    Immediate immediate;
    GLenum error = GL_NO_ERROR;
};

Context& Current();
// Keeps the first error until glGetError reads it, as Mesa does.
void SetError(GLenum error);
// False, with GL_INVALID_OPERATION, between glBegin and glEnd, where most commands are refused.
bool OutsideBeginEnd();

// When a list is being compiled, records `command` in it. True when the caller must do nothing
// more (GL_COMPILE); false when it is to execute the command now as well.
bool Compiled(Command command);

// Table lookups shared by the entry points; -1 when GL has no such name.
int CapabilityIndex(GLenum cap);
int LightIndex(GLenum light);

// The matrix stack glMatrixMode picks.
std::vector<Matrix>& ActiveStack();

// The renderer: draws buffered vertices and bitmaps with the state above.
void DrawVertices(GLenum primitive, const std::vector<Vertex>& vertices);
void DrawBitmap(int x, int y, int width, int height, const std::vector<unsigned char>& alpha,
                unsigned int& cachedTexture);
void ClearBuffers(GLbitfield mask);
// Forgets the WebGL objects, for a new context.
void ResetRenderer();
// The field of glPixelStore's `name`, pack or unpack; null when GL has no such name.
GLint* PixelStoreField(GLenum name);
// The texture object bound now, made on first use.
TextureObject& BoundTexture();
bool TextureComplete(const TextureObject& texture);

} // namespace VARKO::GLLayer
