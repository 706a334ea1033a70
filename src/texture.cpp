#include "src/texture.h"

#include "src/exception.h"
#include "src/image.h"

#include "src/gl_api.h"

#include <algorithm>
#include <cstdint>

namespace VARKO {

// Search keys of the record predicates below.
static unsigned int chkid = 0;
static std::string chkstr;

static bool CheckID(TextureType tex) {
    return tex.id == chkid;
}
static bool CheckStr(TextureType tex) {
    return tex.name == chkstr;
}

namespace {

// The line numbers the exception report has always shown for these faults; people who met them
// know them by these numbers.
constexpr int kLineCreateNull = 112;
constexpr int kLineGetInfoIdEmpty = 174;
constexpr int kLineGetInfoIdMissing = 183;
constexpr int kLineGetInfoNameEmpty = 192;
constexpr int kLineGetInfoNameMissing = 201;
constexpr int kLineDeleteIdEmpty = 213;
constexpr int kLineDeleteNameEmpty = 233;

const char* const kFile = ".\\src\\texture";

// GL reads pixel rows at 4-byte alignment by default; rows of other lengths (RGB images of most
// widths that are not powers of two) would be read skewed and past the end of the buffer.
void BuildMipmaps(const Image& img, int width, int height, bool alpha) {
    const int components = alpha ? 4 : 3;
    const GLenum format = alpha ? GL_RGBA : GL_RGB;
    const bool unaligned = (std::int64_t(width) * components) % 4 != 0;
    GLint alignment = 4;
    if (unaligned) {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, GL_UNSIGNED_BYTE,
                      img.GetImage());
    if (unaligned) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    }
}

} // namespace

Texture::~Texture() {
    Reset();
}

unsigned int Texture::Load(std::string filename) {
    if (!textures.empty()) {
        chkstr = filename;
        const auto found = std::find_if(textures.begin(), textures.end(), CheckStr);
        if (found != textures.end()) {
            return found->id;
        }
    }
    Image image;
    if (!image.Load(filename.c_str())) {
        return 0;
    }
    TextureType record = Upload(image);
    record.name = filename;
    textures.push_back(record);
    return record.id;
}

unsigned int Texture::Create(Image* img) {
    // An image without pixels (one that failed to load) would have GLU read from null.
    if (img == nullptr || img->GetImage() == nullptr) {
        throw LumoException(kLineCreateNull, kFile, "Texture :: Create - NULL pointer passed.");
    }
    TextureType record = Upload(*img);
    record.name = "LumoImage" + std::to_string(record.id);
    textures.push_back(record);
    return record.id;
}

// Makes the texture and its record, still unnamed. The new texture is left bound, so it becomes
// `current`.
TextureType Texture::Upload(const Image& img) {
    TextureType record;
    img.GetDimensions(record.width, record.height);
    record.alpha = img.HasAlpha();
    glGenTextures(1, &record.id);
    glBindTexture(GL_TEXTURE_2D, record.id);
    BuildMipmaps(img, record.width, record.height, record.alpha);
    current = record.id;
    return record;
}

void Texture::Set(unsigned int texid) {
    if (texid == current) {
        return;
    }
    glBindTexture(GL_TEXTURE_2D, texid);
    current = texid;
}

TextureType Texture::GetInfo(unsigned int texid) {
    if (textures.empty()) {
        throw LumoException(kLineGetInfoIdEmpty, kFile,
                            "Texture :: GetInfo - No textures allocated.");
    }
    chkid = texid;
    const auto found = std::find_if(textures.begin(), textures.end(), CheckID);
    if (found == textures.end()) {
        throw LumoException(kLineGetInfoIdMissing, kFile,
                            "Texture :: GetInfo - Texture id not found.");
    }
    return *found;
}

TextureType Texture::GetInfo(std::string str) {
    if (textures.empty()) {
        throw LumoException(kLineGetInfoNameEmpty, kFile,
                            "Texture :: GetInfo - No textures allocated.");
    }
    chkstr = str;
    const auto found = std::find_if(textures.begin(), textures.end(), CheckStr);
    if (found == textures.end()) {
        throw LumoException(kLineGetInfoNameMissing, kFile,
                            "Texture :: GetInfo - Texture id not found.");
    }
    return *found;
}

void Texture::Delete(unsigned int texid) {
    if (textures.empty()) {
        throw LumoException(kLineDeleteIdEmpty, kFile,
                            "Texture :: Delete - No textures allocated.");
    }
    chkid = texid;
    const auto found = std::find_if(textures.begin(), textures.end(), CheckID);
    if (found != textures.end()) {
        DeleteAt(found);
    }
}

void Texture::Delete(std::string texname) {
    if (textures.empty()) {
        throw LumoException(kLineDeleteNameEmpty, kFile,
                            "Texture :: Delete - No textures allocated.");
    }
    chkstr = texname;
    const auto found = std::find_if(textures.begin(), textures.end(), CheckStr);
    if (found != textures.end()) {
        DeleteAt(found);
    }
}

void Texture::Reset() {
    while (!textures.empty()) {
        DeleteAt(textures.begin());
    }
}

// Deleting the bound texture rebinds texture 0, which `current` follows.
void Texture::DeleteAt(std::vector<TextureType>::iterator record) {
    const GLuint id = record->id;
    glDeleteTextures(1, &id);
    if (id == current) {
        current = 0;
    }
    textures.erase(record);
}

} // namespace VARKO
