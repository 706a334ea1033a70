// Matrix stacks and transforms. The stacks are as deep as Mesa's, so the same pushes overflow.
#include "src/platform/web/gl/context.h"

#include <cmath>

namespace VARKO::GLLayer {
namespace {

constexpr std::size_t kModelviewDepth = 32;
constexpr std::size_t kProjectionDepth = 32;
constexpr std::size_t kTextureDepth = 10;

std::size_t MaxDepth() {
    switch (Current().state.matrixMode) {
    case GL_PROJECTION:
        return kProjectionDepth;
    case GL_TEXTURE:
        return kTextureDepth;
    default:
        return kModelviewDepth;
    }
}

void MultiplyTop(const Matrix& m) {
    Matrix& top = ActiveStack().back();
    top = Multiply(top, m);
}

template <typename T> Matrix ToMatrix(const T* m) {
    Matrix out{};
    for (int i = 0; i < 16; ++i) {
        out[i] = static_cast<float>(m[i]);
    }
    return out;
}

Matrix Translation(double x, double y, double z) {
    Matrix m = Identity();
    m[12] = static_cast<float>(x);
    m[13] = static_cast<float>(y);
    m[14] = static_cast<float>(z);
    return m;
}

Matrix Rotation(double degrees, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) {
        return Identity();
    }
    x /= length, y /= length, z /= length;
    const double radians = degrees * (3.14159265358979323846 / 180.0);
    const double c = std::cos(radians), s = std::sin(radians), t = 1 - c;
    const double m[16] = {t * x * x + c,
                          t * x * y + s * z,
                          t * x * z - s * y,
                          0,
                          t * x * y - s * z,
                          t * y * y + c,
                          t * y * z + s * x,
                          0,
                          t * x * z + s * y,
                          t * y * z - s * x,
                          t * z * z + c,
                          0,
                          0,
                          0,
                          0,
                          1};
    return ToMatrix(m);
}

} // namespace

std::vector<Matrix>& ActiveStack() {
    MatrixStacks& stacks = Current().matrices;
    switch (Current().state.matrixMode) {
    case GL_PROJECTION:
        return stacks.projection;
    case GL_TEXTURE:
        return stacks.texture;
    default:
        return stacks.modelview;
    }
}

} // namespace VARKO::GLLayer

using namespace VARKO::GLLayer;

// Every matrix command: recorded in a list being compiled, refused inside glBegin/glEnd.
static bool MatrixCommandDone(Command command) {
    return Compiled(std::move(command)) || !OutsideBeginEnd();
}

void GLAPIENTRY glMatrixMode(GLenum mode) {
    if (MatrixCommandDone([=] { glMatrixMode(mode); })) {
        return;
    }
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Current().state.matrixMode = mode;
}

void GLAPIENTRY glPushMatrix() {
    if (MatrixCommandDone([] { glPushMatrix(); })) {
        return;
    }
    std::vector<Matrix>& stack = ActiveStack();
    if (stack.size() >= MaxDepth()) {
        SetError(GL_STACK_OVERFLOW);
        return;
    }
    stack.push_back(stack.back());
}

void GLAPIENTRY glPopMatrix() {
    if (MatrixCommandDone([] { glPopMatrix(); })) {
        return;
    }
    std::vector<Matrix>& stack = ActiveStack();
    if (stack.size() <= 1) {
        SetError(GL_STACK_UNDERFLOW);
        return;
    }
    stack.pop_back();
}

void GLAPIENTRY glLoadIdentity() {
    if (MatrixCommandDone([] { glLoadIdentity(); })) {
        return;
    }
    ActiveStack().back() = Identity();
}

void GLAPIENTRY glLoadMatrixf(const GLfloat* m) {
    const Matrix matrix = ToMatrix(m);
    if (MatrixCommandDone([=] { glLoadMatrixf(matrix.data()); })) {
        return;
    }
    ActiveStack().back() = matrix;
}

void GLAPIENTRY glLoadMatrixd(const GLdouble* m) {
    const Matrix matrix = ToMatrix(m);
    glLoadMatrixf(matrix.data());
}

void GLAPIENTRY glMultMatrixf(const GLfloat* m) {
    const Matrix matrix = ToMatrix(m);
    if (MatrixCommandDone([=] { glMultMatrixf(matrix.data()); })) {
        return;
    }
    MultiplyTop(matrix);
}

void GLAPIENTRY glMultMatrixd(const GLdouble* m) {
    const Matrix matrix = ToMatrix(m);
    glMultMatrixf(matrix.data());
}

void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    glMultMatrixf(Translation(x, y, z).data());
}

void GLAPIENTRY glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    glMultMatrixf(Translation(x, y, z).data());
}

void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    glMultMatrixf(Rotation(angle, x, y, z).data());
}

void GLAPIENTRY glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    glMultMatrixf(Rotation(angle, x, y, z).data());
}

void GLAPIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z) {
    const GLfloat m[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
    glMultMatrixf(m);
}

void GLAPIENTRY glScaled(GLdouble x, GLdouble y, GLdouble z) {
    glScalef(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
}

void GLAPIENTRY glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top,
                        GLdouble nearZ, GLdouble farZ) {
    if (left == right || bottom == top || nearZ == farZ) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    const double w = right - left, h = top - bottom, d = farZ - nearZ;
    const GLdouble m[16] = {2 / w,
                            0,
                            0,
                            0,
                            0,
                            2 / h,
                            0,
                            0,
                            0,
                            0,
                            -2 / d,
                            0,
                            -(right + left) / w,
                            -(top + bottom) / h,
                            -(farZ + nearZ) / d,
                            1};
    glMultMatrixd(m);
}

void GLAPIENTRY glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top,
                          GLdouble nearZ, GLdouble farZ) {
    if (nearZ <= 0 || farZ <= 0 || left == right || bottom == top || nearZ == farZ) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    const double w = right - left, h = top - bottom, d = farZ - nearZ;
    const GLdouble m[16] = {2 * nearZ / w,
                            0,
                            0,
                            0,
                            0,
                            2 * nearZ / h,
                            0,
                            0,
                            (right + left) / w,
                            (top + bottom) / h,
                            -(farZ + nearZ) / d,
                            -1,
                            0,
                            0,
                            -2 * farZ * nearZ / d,
                            0};
    glMultMatrixd(m);
}
