// Texture objects, images, parameters, the texture environment and coordinate generation, and
// the pixel store. Images are repacked on the processor into tight rows of the internal format,
// which is all WebGL 1 takes.
#include "src/platform/web/gl/context.h"
#include "src/platform/web/gl/webgl.h"

#include <algorithm>

namespace VARKO::GLLayer {
namespace {

// The base format an internal format names (1 to 4 components, or a GL format); 0 when unknown.
GLenum BaseFormat(GLint internalFormat) {
    switch (internalFormat) {
    case 1:
    case GL_LUMINANCE:
    case GL_LUMINANCE8:
        return GL_LUMINANCE;
    case 2:
    case GL_LUMINANCE_ALPHA:
    case GL_LUMINANCE8_ALPHA8:
        return GL_LUMINANCE_ALPHA;
    case 3:
    case GL_RGB:
    case GL_RGB8:
        return GL_RGB;
    case 4:
    case GL_RGBA:
    case GL_RGBA8:
        return GL_RGBA;
    case GL_ALPHA:
    case GL_ALPHA8:
        return GL_ALPHA;
    default:
        return 0;
    }
}

int Components(GLenum format) {
    switch (format) {
    case GL_LUMINANCE_ALPHA:
        return 2;
    case GL_RGB:
        return 3;
    case GL_RGBA:
        return 4;
    default:
        return 1;
    }
}

// One pixel of `format` as RGBA; GL takes luminance from red when it goes the other way.
std::array<unsigned char, 4> ToRgba(GLenum format, const unsigned char* p) {
    switch (format) {
    case GL_LUMINANCE:
        return {p[0], p[0], p[0], 255};
    case GL_LUMINANCE_ALPHA:
        return {p[0], p[0], p[0], p[1]};
    case GL_ALPHA:
        return {0, 0, 0, p[0]};
    case GL_RGB:
        return {p[0], p[1], p[2], 255};
    default:
        return {p[0], p[1], p[2], p[3]};
    }
}

void FromRgba(GLenum base, const std::array<unsigned char, 4>& rgba, unsigned char* out) {
    switch (base) {
    case GL_LUMINANCE_ALPHA:
        out[0] = rgba[0], out[1] = rgba[3];
        break;
    case GL_ALPHA:
        out[0] = rgba[3];
        break;
    default: // luminance, RGB and RGBA take their first components
        std::copy_n(rgba.begin(), Components(base), out);
    }
}

// Tight rows of `base` from client memory read under the unpack state.
std::vector<unsigned char> Repack(GLsizei width, GLsizei height, GLenum format, GLenum base,
                                  const unsigned char* pixels) {
    const PixelStore& unpack = Current().client.unpack;
    const std::size_t in = Components(format), out = Components(base);
    const std::size_t rowPixels = unpack.rowLength > 0 ? unpack.rowLength : width;
    const std::size_t stride =
        (rowPixels * in + unpack.alignment - 1) / unpack.alignment * unpack.alignment;
    std::vector<unsigned char> packed(static_cast<std::size_t>(width) * height * out);
    for (GLsizei y = 0; y < height; ++y) {
        const unsigned char* row = pixels + (y + unpack.skipRows) * stride + unpack.skipPixels * in;
        for (GLsizei x = 0; x < width; ++x) {
            FromRgba(base, ToRgba(format, row + x * in),
                     &packed[(static_cast<std::size_t>(y) * width + x) * out]);
        }
    }
    return packed;
}

bool PowerOfTwo(GLsizei n) {
    return n > 0 && (n & (n - 1)) == 0;
}

bool FormatValid(GLenum format) {
    return format == GL_RGB || format == GL_RGBA || format == GL_LUMINANCE ||
           format == GL_LUMINANCE_ALPHA || format == GL_ALPHA;
}

// GL 1.1's checks on a 2D image; false with the error set.
bool ImageValid(GLint level, GLenum base, GLsizei width, GLsizei height, GLint border,
                GLenum format, GLenum type) {
    if (!FormatValid(format) || type != GL_UNSIGNED_BYTE) {
        SetError(GL_INVALID_ENUM);
        return false;
    }
    const bool valid = base != 0 && level >= 0 && level < 32 && border == 0 && PowerOfTwo(width) &&
                       PowerOfTwo(height);
    if (!valid) {
        SetError(GL_INVALID_VALUE);
    }
    return valid;
}

void Upload(GLint level, GLenum base, GLsizei width, GLsizei height, GLenum format,
            const GLvoid* pixels) {
    TextureObject& texture = BoundTexture();
    if (texture.handle == 0) {
        texture.handle = webgl::CreateTexture();
    }
    if (texture.levels.size() <= static_cast<std::size_t>(level)) {
        texture.levels.resize(level + 1, {0, 0, 0});
    }
    texture.levels[level] = {width, height, static_cast<GLint>(base)};
    std::vector<unsigned char> packed;
    if (pixels != nullptr) {
        packed = Repack(width, height, format, base, static_cast<const unsigned char*>(pixels));
    }
    webgl::BindTexture2D(texture.handle);
    webgl::TexImage2D(level, base, width, height, pixels != nullptr ? packed.data() : nullptr);
}

int MipmapLevels(const TextureObject& texture) {
    const auto& base = texture.levels[0];
    int levels = 1;
    for (GLint size = std::max(base[0], base[1]); size > 1; size /= 2) {
        ++levels;
    }
    return levels;
}

} // namespace

GLint* PixelStoreField(GLenum name) {
    ClientState& client = Current().client;
    const bool unpack = name >= GL_UNPACK_SWAP_BYTES && name <= GL_UNPACK_ALIGNMENT;
    PixelStore& store = unpack ? client.unpack : client.pack;
    switch (unpack ? name : name - GL_PACK_SWAP_BYTES + GL_UNPACK_SWAP_BYTES) {
    case GL_UNPACK_SWAP_BYTES:
        return &store.swapBytes;
    case GL_UNPACK_LSB_FIRST:
        return &store.lsbFirst;
    case GL_UNPACK_ROW_LENGTH:
        return &store.rowLength;
    case GL_UNPACK_SKIP_ROWS:
        return &store.skipRows;
    case GL_UNPACK_SKIP_PIXELS:
        return &store.skipPixels;
    case GL_UNPACK_ALIGNMENT:
        return &store.alignment;
    default:
        return nullptr;
    }
}

TextureObject& BoundTexture() {
    return Current().textures[Current().state.boundTexture];
}

// GL 1.1 turns texturing off for a texture without the images its filter needs.
bool TextureComplete(const TextureObject& texture) {
    if (texture.levels.empty() || texture.levels[0][0] == 0) {
        return false;
    }
    const bool mipmapped = texture.minFilter != GL_NEAREST && texture.minFilter != GL_LINEAR;
    if (!mipmapped) {
        return true;
    }
    const auto count = static_cast<std::size_t>(MipmapLevels(texture));
    if (texture.levels.size() < count) {
        return false;
    }
    for (std::size_t level = 1; level < count; ++level) {
        const auto& size = texture.levels[level];
        if (size[0] != std::max(1, texture.levels[0][0] >> level) ||
            size[1] != std::max(1, texture.levels[0][1] >> level)) {
            return false;
        }
    }
    return true;
}

} // namespace VARKO::GLLayer

using namespace VARKO::GLLayer;
namespace webgl = VARKO::webgl;

void GLAPIENTRY glGenTextures(GLsizei n, GLuint* textures) {
    if (n < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    Context& context = Current();
    for (GLsizei i = 0; i < n; ++i) {
        while (context.textures.count(context.nextTextureName) != 0) {
            ++context.nextTextureName;
        }
        textures[i] = context.nextTextureName++;
    }
}

void GLAPIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) {
    if (n < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    Context& context = Current();
    for (GLsizei i = 0; i < n; ++i) {
        const auto found = context.textures.find(textures[i]);
        if (textures[i] == 0 || found == context.textures.end()) {
            continue;
        }
        if (found->second.handle != 0) {
            webgl::DeleteTexture(found->second.handle);
        }
        context.textures.erase(found);
        if (context.state.boundTexture == textures[i]) {
            context.state.boundTexture = 0;
        }
    }
}

void GLAPIENTRY glBindTexture(GLenum target, GLuint texture) {
    if (Compiled([=] { glBindTexture(target, texture); }) || !OutsideBeginEnd()) {
        return;
    }
    if (target != GL_TEXTURE_2D) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Current().state.boundTexture = texture;
    BoundTexture(); // a bound name is a texture from now on
}

GLboolean GLAPIENTRY glIsTexture(GLuint texture) {
    return texture != 0 && Current().textures.count(texture) != 0 ? GL_TRUE : GL_FALSE;
}

void GLAPIENTRY glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const GLvoid* pixels) {
    if (target != GL_TEXTURE_2D && target != GL_PROXY_TEXTURE_2D) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    const GLenum base = BaseFormat(internalFormat);
    const bool valid = ImageValid(level, base, width, height, border, format, type);
    if (target == GL_PROXY_TEXTURE_2D) {
        const bool fits = valid && std::max(width, height) <= webgl::MaxTextureSize() >> level;
        Current().proxyLevel = fits ? Vec4{float(width), float(height), float(base), 0} : Vec4{};
        return;
    }
    if (valid && OutsideBeginEnd()) {
        Upload(level, base, width, height, format, pixels);
    }
}

// One- and three-dimensional textures are left out; GLU refers to them in code this program
// does not reach.
void GLAPIENTRY glTexImage1D(GLenum, GLint, GLint, GLsizei, GLint, GLenum, GLenum, const GLvoid*) {
    SetError(GL_INVALID_ENUM);
}
void GLAPIENTRY glTexImage3D(GLenum, GLint, GLint, GLsizei, GLsizei, GLsizei, GLint, GLenum, GLenum,
                             const GLvoid*) {
    SetError(GL_INVALID_ENUM);
}

void GLAPIENTRY glGetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* value) {
    std::array<GLint, 3> size{0, 0, 0};
    if (target == GL_PROXY_TEXTURE_2D) {
        const Vec4& proxy = Current().proxyLevel;
        size = {GLint(proxy[0]), GLint(proxy[1]), GLint(proxy[2])};
    } else if (target == GL_TEXTURE_2D) {
        const auto& levels = BoundTexture().levels;
        if (level >= 0 && static_cast<std::size_t>(level) < levels.size()) {
            size = levels[level];
        }
    } else {
        SetError(GL_INVALID_ENUM);
        return;
    }
    if (name == GL_TEXTURE_WIDTH || name == GL_TEXTURE_HEIGHT) {
        *value = size[name == GL_TEXTURE_WIDTH ? 0 : 1];
    } else if (name == GL_TEXTURE_INTERNAL_FORMAT || name == GL_TEXTURE_BORDER) {
        *value = name == GL_TEXTURE_BORDER ? 0 : size[2];
    } else {
        SetError(GL_INVALID_ENUM);
    }
}

void GLAPIENTRY glTexParameteri(GLenum target, GLenum name, GLint value) {
    if (Compiled([=] { glTexParameteri(target, name, value); }) || !OutsideBeginEnd()) {
        return;
    }
    TextureObject& texture = BoundTexture();
    if (target != GL_TEXTURE_2D) {
        SetError(GL_INVALID_ENUM);
    } else if (name == GL_TEXTURE_MIN_FILTER) {
        texture.minFilter = value;
    } else if (name == GL_TEXTURE_MAG_FILTER) {
        texture.magFilter = value;
    } else if (name == GL_TEXTURE_WRAP_S) {
        texture.wrapS = value == GL_CLAMP ? GL_CLAMP_TO_EDGE : value;
    } else if (name == GL_TEXTURE_WRAP_T) {
        texture.wrapT = value == GL_CLAMP ? GL_CLAMP_TO_EDGE : value;
    } else {
        SetError(GL_INVALID_ENUM);
    }
}

void GLAPIENTRY glTexParameterf(GLenum target, GLenum name, GLfloat value) {
    glTexParameteri(target, name, static_cast<GLint>(value));
}

// Only GL's default environment, modulate, is drawn; asking for another is refused.
void GLAPIENTRY glTexEnvi(GLenum target, GLenum name, GLint value) {
    if (target != GL_TEXTURE_ENV || name != GL_TEXTURE_ENV_MODE || value != GL_MODULATE) {
        SetError(GL_INVALID_ENUM);
    }
}

void GLAPIENTRY glTexEnvf(GLenum target, GLenum name, GLfloat value) {
    glTexEnvi(target, name, static_cast<GLint>(value));
}

void GLAPIENTRY glTexGeni(GLenum coord, GLenum name, GLint value) {
    if (Compiled([=] { glTexGeni(coord, name, value); }) || !OutsideBeginEnd()) {
        return;
    }
    const bool modeValid =
        value == GL_SPHERE_MAP || value == GL_EYE_LINEAR || value == GL_OBJECT_LINEAR;
    if ((coord != GL_S && coord != GL_T) || name != GL_TEXTURE_GEN_MODE || !modeValid) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Current().state.sphereGenMode[coord == GL_S ? 0 : 1] = static_cast<GLenum>(value);
}

void GLAPIENTRY glTexGenf(GLenum coord, GLenum name, GLfloat value) {
    glTexGeni(coord, name, static_cast<GLint>(value));
}

void GLAPIENTRY glPixelStorei(GLenum name, GLint value) {
    GLint* field = PixelStoreField(name);
    const bool alignment = name == GL_UNPACK_ALIGNMENT || name == GL_PACK_ALIGNMENT;
    if (field == nullptr) {
        SetError(GL_INVALID_ENUM);
    } else if (alignment ? value != 1 && value != 2 && value != 4 && value != 8 : value < 0) {
        SetError(GL_INVALID_VALUE);
    } else {
        *field = value;
    }
}

void GLAPIENTRY glPixelStoref(GLenum name, GLfloat value) {
    glPixelStorei(name, static_cast<GLint>(value));
}
