// The raster position, bitmaps and feedback mode. A bitmap is drawn as a screen-aligned quad of
// its own small texture, in the raster colour at the raster depth; compiled into a list, its
// texture is made once and kept with the list.
#include "src/platform/web/gl/context.h"
#include "src/platform/web/gl/webgl.h"

#include <cmath>

namespace VARKO::GLLayer {
namespace {

bool InsideClipVolume(const Vec4& c) {
    return std::abs(c[0]) <= c[3] && std::abs(c[1]) <= c[3] && std::abs(c[2]) <= c[3];
}

void SetRasterPosition(const Vec4& object) {
    Context& context = Current();
    const Vec4 eye = Transform(context.matrices.modelview.back(), object);
    const Vec4 clip = Transform(context.matrices.projection.back(), eye);
    RasterPosition& raster = context.state.current.raster;
    raster.valid = InsideClipVolume(clip);
    if (!raster.valid) {
        return;
    }
    const auto& viewport = context.state.viewport;
    const float x = clip[0] / clip[3], y = clip[1] / clip[3], z = clip[2] / clip[3];
    raster.window = {viewport[0] + (x + 1) * 0.5f * viewport[2],
                     viewport[1] + (y + 1) * 0.5f * viewport[3], (z + 1) * 0.5f, clip[3]};
    // Lighting of the raster colour is left out (see gl_layer.h).
    raster.colour = context.state.current.colour;
}

void WriteFeedback(float value) {
    Feedback& feedback = Current().feedback;
    if (feedback.written < feedback.size) {
        feedback.buffer[feedback.written++] = value;
    } else {
        feedback.overflowed = true;
    }
}

// What feedback mode reports for a bitmap: its token and the raster position's vertex.
void FeedbackBitmap(const RasterPosition& raster) {
    const GLenum type = Current().feedback.type;
    WriteFeedback(GL_BITMAP_TOKEN);
    WriteFeedback(raster.window[0]);
    WriteFeedback(raster.window[1]);
    if (type != GL_2D) {
        WriteFeedback(raster.window[2]);
    }
    if (type == GL_3D_COLOR || type == GL_3D_COLOR_TEXTURE || type == GL_4D_COLOR_TEXTURE) {
        for (float c : raster.colour) {
            WriteFeedback(c);
        }
    }
}

// One byte per pixel (0 or 255), rows bottom first, read under the unpack state in force.
std::vector<unsigned char> UnpackBitmap(GLsizei width, GLsizei height, const GLubyte* bits) {
    const PixelStore& unpack = Current().client.unpack;
    const std::size_t rowPixels = unpack.rowLength > 0 ? unpack.rowLength : width;
    const std::size_t rowBits =
        ((rowPixels + 7) / 8 + unpack.alignment - 1) / unpack.alignment * unpack.alignment * 8;
    std::vector<unsigned char> alpha(static_cast<std::size_t>(width) * height);
    for (GLsizei y = 0; y < height; ++y) {
        for (GLsizei x = 0; x < width; ++x) {
            const std::size_t bit =
                (y + unpack.skipRows) * rowBits + static_cast<std::size_t>(x + unpack.skipPixels);
            const int shift = unpack.lsbFirst ? bit % 8 : 7 - bit % 8;
            const bool on = (bits[bit / 8] >> shift) & 1;
            alpha[static_cast<std::size_t>(y) * width + x] = on ? 255 : 0;
        }
    }
    return alpha;
}

struct BitmapImage {
    GLsizei width = 0, height = 0;
    std::vector<unsigned char> alpha;
    unsigned int texture = 0; // WebGL's, made at the first draw

    BitmapImage() = default;
    BitmapImage(const BitmapImage&) = delete;
    BitmapImage& operator=(const BitmapImage&) = delete;
    ~BitmapImage() {
        if (texture != 0) {
            webgl::DeleteTexture(texture);
        }
    }
};

void ExecuteBitmap(BitmapImage& image, float xorig, float yorig, float xmove, float ymove) {
    Context& context = Current();
    RasterPosition& raster = context.state.current.raster;
    if (!raster.valid) {
        return;
    }
    if (context.feedback.mode == GL_FEEDBACK) {
        FeedbackBitmap(raster);
    } else if (context.feedback.mode == GL_RENDER && !image.alpha.empty()) {
        // Mesa's small nudge, so that positions meant to be whole land on the same pixel.
        const float epsilon = 0.0001f;
        const int x = static_cast<int>(std::floor(raster.window[0] + epsilon - xorig));
        const int y = static_cast<int>(std::floor(raster.window[1] + epsilon - yorig));
        DrawBitmap(x, y, image.width, image.height, image.alpha, image.texture);
    }
    raster.window[0] += xmove;
    raster.window[1] += ymove;
}

} // namespace
} // namespace VARKO::GLLayer

using namespace VARKO::GLLayer;

void GLAPIENTRY glRasterPos4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    if (!Compiled([=] { glRasterPos4f(x, y, z, w); }) && OutsideBeginEnd()) {
        SetRasterPosition({x, y, z, w});
    }
}
void GLAPIENTRY glRasterPos2f(GLfloat x, GLfloat y) {
    glRasterPos4f(x, y, 0, 1);
}
void GLAPIENTRY glRasterPos2i(GLint x, GLint y) {
    glRasterPos4f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0, 1);
}
void GLAPIENTRY glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
    glRasterPos4f(x, y, z, 1);
}

void GLAPIENTRY glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
                         GLfloat ymove, const GLubyte* bitmap) {
    if (width < 0 || height < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    auto image = std::make_shared<BitmapImage>();
    if (bitmap != nullptr && width > 0 && height > 0) {
        image->width = width;
        image->height = height;
        image->alpha = UnpackBitmap(width, height, bitmap);
    }
    if (Compiled([=] { ExecuteBitmap(*image, xorig, yorig, xmove, ymove); }) ||
        !OutsideBeginEnd()) {
        return;
    }
    ExecuteBitmap(*image, xorig, yorig, xmove, ymove);
}

void GLAPIENTRY glFeedbackBuffer(GLsizei size, GLenum type, GLfloat* buffer) {
    Feedback& feedback = Current().feedback;
    if (size < 0) {
        SetError(GL_INVALID_VALUE);
    } else if (type < GL_2D || type > GL_4D_COLOR_TEXTURE) {
        SetError(GL_INVALID_ENUM);
    } else if (feedback.mode == GL_FEEDBACK || !OutsideBeginEnd()) {
        SetError(GL_INVALID_OPERATION);
    } else {
        feedback.buffer = buffer;
        feedback.size = size;
        feedback.type = type;
    }
}

// Leaving feedback mode gives the count of values written, or -1 when the buffer overflowed.
GLint GLAPIENTRY glRenderMode(GLenum mode) {
    Feedback& feedback = Current().feedback;
    if (!OutsideBeginEnd()) {
        return 0;
    }
    if (mode != GL_RENDER && mode != GL_FEEDBACK) {
        SetError(GL_INVALID_ENUM); // selection is left out (see gl_layer.h)
        return 0;
    }
    if (mode == GL_FEEDBACK && feedback.buffer == nullptr) {
        SetError(GL_INVALID_OPERATION);
        return 0;
    }
    const GLint result =
        feedback.mode == GL_FEEDBACK ? (feedback.overflowed ? -1 : feedback.written) : 0;
    feedback.mode = mode;
    feedback.written = 0;
    feedback.overflowed = false;
    return result;
}

void GLAPIENTRY glPassThrough(GLfloat token) {
    if (Compiled([=] { glPassThrough(token); }) || Current().feedback.mode != GL_FEEDBACK) {
        return;
    }
    WriteFeedback(GL_PASS_THROUGH_TOKEN);
    WriteFeedback(token);
}
