#include "math/matrix4x4.h"

#include "math/angle.h"

#include <cmath>

namespace {

// Entry index of row r, column c.
constexpr int At(int row, int column) {
    return 4 * column + row;
}

} // namespace

MATRIX4X4::MATRIX4X4(float e0, float e1, float e2, float e3, float e4, float e5, float e6, float e7,
                     float e8, float e9, float e10, float e11, float e12, float e13, float e14,
                     float e15)
    : entries{e0, e1, e2, e3, e4, e5, e6, e7, e8, e9, e10, e11, e12, e13, e14, e15} {}

MATRIX4X4::MATRIX4X4(const float* rhs) {
    for (int i = 0; i < 16; ++i) {
        entries[i] = rhs[i];
    }
}

void MATRIX4X4::SetEntry(int position, float value) {
    if (position >= 0 && position <= 15) {
        entries[position] = value;
    }
}

float MATRIX4X4::GetEntry(int position) const {
    if (position >= 0 && position <= 15) {
        return entries[position];
    }
    return 0.0f;
}

VECTOR4D MATRIX4X4::GetRow(int position) const {
    if (position < 0 || position > 3) {
        return VECTOR4D(0.0f, 0.0f, 0.0f, 0.0f);
    }
    return VECTOR4D(entries[position], entries[4 + position], entries[8 + position],
                    entries[12 + position]);
}

VECTOR4D MATRIX4X4::GetColumn(int position) const {
    if (position < 0 || position > 3) {
        return VECTOR4D(0.0f, 0.0f, 0.0f, 0.0f);
    }
    const float* column = entries + 4 * position;
    return VECTOR4D(column[0], column[1], column[2], column[3]);
}

void MATRIX4X4::LoadIdentity() {
    LoadZero();
    entries[0] = entries[5] = entries[10] = entries[15] = 1.0f;
}

void MATRIX4X4::LoadZero() {
    for (float& entry : entries) {
        entry = 0.0f;
    }
}

bool MATRIX4X4::IsAffine() const {
    return entries[3] == 0.0f && entries[7] == 0.0f && entries[11] == 0.0f && entries[15] == 1.0f;
}

MATRIX4X4 MATRIX4X4::operator+(const MATRIX4X4& rhs) const {
    MATRIX4X4 result;
    for (int i = 0; i < 16; ++i) {
        result.entries[i] = entries[i] + rhs.entries[i];
    }
    return result;
}

MATRIX4X4 MATRIX4X4::operator-(const MATRIX4X4& rhs) const {
    MATRIX4X4 result;
    for (int i = 0; i < 16; ++i) {
        result.entries[i] = entries[i] - rhs.entries[i];
    }
    return result;
}

MATRIX4X4 MATRIX4X4::operator-() const {
    MATRIX4X4 result;
    for (int i = 0; i < 16; ++i) {
        result.entries[i] = -entries[i];
    }
    return result;
}

MATRIX4X4 MATRIX4X4::operator*(float scaleFactor) const {
    MATRIX4X4 result;
    for (int i = 0; i < 16; ++i) {
        result.entries[i] = entries[i] * scaleFactor;
    }
    return result;
}

MATRIX4X4 operator*(float scaleFactor, const MATRIX4X4& rhs) {
    return rhs * scaleFactor;
}

MATRIX4X4 MATRIX4X4::operator/(float scaleFactor) const {
    if (scaleFactor == 0.0f || scaleFactor == 1.0f) {
        return *this;
    }
    return *this * (1.0f / scaleFactor);
}

bool MATRIX4X4::operator==(const MATRIX4X4& rhs) const {
    for (int i = 0; i < 16; ++i) {
        if (entries[i] != rhs.entries[i]) {
            return false;
        }
    }
    return true;
}

// The product skips the terms that an exact (0, 0, 0, 1) bottom row makes known: most products
// in practice are of rotations, translations and scales.
MATRIX4X4 MATRIX4X4::operator*(const MATRIX4X4& rhs) const {
    const float* a = entries;
    const float* b = rhs.entries;
    MATRIX4X4 result;
    float* out = result.entries;
    const bool lhsAffine = IsAffine();
    const bool rhsAffine = rhs.IsAffine();

    if (lhsAffine && rhsAffine) {
        for (int c = 0; c < 4; ++c) {
            for (int r = 0; r < 3; ++r) {
                out[At(r, c)] = a[At(r, 0)] * b[At(0, c)] + a[At(r, 1)] * b[At(1, c)] +
                                a[At(r, 2)] * b[At(2, c)];
            }
        }
        for (int r = 0; r < 3; ++r) {
            out[At(r, 3)] += a[At(r, 3)];
        }
        out[3] = out[7] = out[11] = 0.0f;
        out[15] = 1.0f;
    } else if (lhsAffine) {
        for (int c = 0; c < 4; ++c) {
            for (int r = 0; r < 3; ++r) {
                out[At(r, c)] = a[At(r, 0)] * b[At(0, c)] + a[At(r, 1)] * b[At(1, c)] +
                                a[At(r, 2)] * b[At(2, c)] + a[At(r, 3)] * b[At(3, c)];
            }
            out[At(3, c)] = b[At(3, c)];
        }
    } else if (rhsAffine) {
        for (int c = 0; c < 4; ++c) {
            for (int r = 0; r < 4; ++r) {
                out[At(r, c)] = a[At(r, 0)] * b[At(0, c)] + a[At(r, 1)] * b[At(1, c)] +
                                a[At(r, 2)] * b[At(2, c)];
            }
        }
        for (int r = 0; r < 4; ++r) {
            out[At(r, 3)] += a[At(r, 3)];
        }
    } else {
        for (int c = 0; c < 4; ++c) {
            for (int r = 0; r < 4; ++r) {
                out[At(r, c)] = a[At(r, 0)] * b[At(0, c)] + a[At(r, 1)] * b[At(1, c)] +
                                a[At(r, 2)] * b[At(2, c)] + a[At(r, 3)] * b[At(3, c)];
            }
        }
    }
    return result;
}

void MATRIX4X4::operator+=(const MATRIX4X4& rhs) {
    *this = *this + rhs;
}
void MATRIX4X4::operator-=(const MATRIX4X4& rhs) {
    *this = *this - rhs;
}
void MATRIX4X4::operator*=(const MATRIX4X4& rhs) {
    *this = *this * rhs;
}
void MATRIX4X4::operator*=(float scaleFactor) {
    *this = *this * scaleFactor;
}
void MATRIX4X4::operator/=(float scaleFactor) {
    *this = *this / scaleFactor;
}

VECTOR4D MATRIX4X4::operator*(const VECTOR4D& rhs) const {
    const float* e = entries;
    const float x = e[0] * rhs.x + e[4] * rhs.y + e[8] * rhs.z + e[12] * rhs.w;
    const float y = e[1] * rhs.x + e[5] * rhs.y + e[9] * rhs.z + e[13] * rhs.w;
    const float z = e[2] * rhs.x + e[6] * rhs.y + e[10] * rhs.z + e[14] * rhs.w;
    if (IsAffine()) {
        return VECTOR4D(x, y, z, rhs.w);
    }
    return VECTOR4D(x, y, z, e[3] * rhs.x + e[7] * rhs.y + e[11] * rhs.z + e[15] * rhs.w);
}

VECTOR3D MATRIX4X4::GetRotatedVector3D(const VECTOR3D& rhs) const {
    const float* e = entries;
    return VECTOR3D(e[0] * rhs.x + e[4] * rhs.y + e[8] * rhs.z,
                    e[1] * rhs.x + e[5] * rhs.y + e[9] * rhs.z,
                    e[2] * rhs.x + e[6] * rhs.y + e[10] * rhs.z);
}

VECTOR3D MATRIX4X4::GetInverseRotatedVector3D(const VECTOR3D& rhs) const {
    const float* e = entries;
    return VECTOR3D(e[0] * rhs.x + e[1] * rhs.y + e[2] * rhs.z,
                    e[4] * rhs.x + e[5] * rhs.y + e[6] * rhs.z,
                    e[8] * rhs.x + e[9] * rhs.y + e[10] * rhs.z);
}

VECTOR3D MATRIX4X4::GetTranslatedVector3D(const VECTOR3D& rhs) const {
    return rhs + VECTOR3D(entries[12], entries[13], entries[14]);
}

VECTOR3D MATRIX4X4::GetInverseTranslatedVector3D(const VECTOR3D& rhs) const {
    return rhs - VECTOR3D(entries[12], entries[13], entries[14]);
}

MATRIX4X4 MATRIX4X4::GetTranspose() const {
    MATRIX4X4 result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            result.entries[At(r, c)] = entries[At(c, r)];
        }
    }
    return result;
}

void MATRIX4X4::Transpose() {
    *this = GetTranspose();
}

// Cofactors from 2x2 determinants of the top two and the bottom two rows, each formed once and
// shared by six of the 3x3 determinants.
MATRIX4X4 MATRIX4X4::GetInverseTranspose() const {
    const auto m = [this](int row, int column) { return entries[At(row, column)]; };

    const float top01 = m(0, 0) * m(1, 1) - m(1, 0) * m(0, 1);
    const float top02 = m(0, 0) * m(1, 2) - m(1, 0) * m(0, 2);
    const float top03 = m(0, 0) * m(1, 3) - m(1, 0) * m(0, 3);
    const float top12 = m(0, 1) * m(1, 2) - m(1, 1) * m(0, 2);
    const float top13 = m(0, 1) * m(1, 3) - m(1, 1) * m(0, 3);
    const float top23 = m(0, 2) * m(1, 3) - m(1, 2) * m(0, 3);
    const float bottom01 = m(2, 0) * m(3, 1) - m(3, 0) * m(2, 1);
    const float bottom02 = m(2, 0) * m(3, 2) - m(3, 0) * m(2, 2);
    const float bottom03 = m(2, 0) * m(3, 3) - m(3, 0) * m(2, 3);
    const float bottom12 = m(2, 1) * m(3, 2) - m(3, 1) * m(2, 2);
    const float bottom13 = m(2, 1) * m(3, 3) - m(3, 1) * m(2, 3);
    const float bottom23 = m(2, 2) * m(3, 3) - m(3, 2) * m(2, 3);

    // cofactor(r, c) is (-1)^(r + c) times the determinant without row r and column c; it is
    // stored where entry (r, c) was, which makes this the transpose of the adjugate.
    MATRIX4X4 cofactors;
    float* out = cofactors.entries;
    out[At(0, 0)] = m(1, 1) * bottom23 - m(1, 2) * bottom13 + m(1, 3) * bottom12;
    out[At(1, 0)] = -m(0, 1) * bottom23 + m(0, 2) * bottom13 - m(0, 3) * bottom12;
    out[At(2, 0)] = m(3, 1) * top23 - m(3, 2) * top13 + m(3, 3) * top12;
    out[At(3, 0)] = -m(2, 1) * top23 + m(2, 2) * top13 - m(2, 3) * top12;
    out[At(0, 1)] = -m(1, 0) * bottom23 + m(1, 2) * bottom03 - m(1, 3) * bottom02;
    out[At(1, 1)] = m(0, 0) * bottom23 - m(0, 2) * bottom03 + m(0, 3) * bottom02;
    out[At(2, 1)] = -m(3, 0) * top23 + m(3, 2) * top03 - m(3, 3) * top02;
    out[At(3, 1)] = m(2, 0) * top23 - m(2, 2) * top03 + m(2, 3) * top02;
    out[At(0, 2)] = m(1, 0) * bottom13 - m(1, 1) * bottom03 + m(1, 3) * bottom01;
    out[At(1, 2)] = -m(0, 0) * bottom13 + m(0, 1) * bottom03 - m(0, 3) * bottom01;
    out[At(2, 2)] = m(3, 0) * top13 - m(3, 1) * top03 + m(3, 3) * top01;
    out[At(3, 2)] = -m(2, 0) * top13 + m(2, 1) * top03 - m(2, 3) * top01;
    out[At(0, 3)] = -m(1, 0) * bottom12 + m(1, 1) * bottom02 - m(1, 2) * bottom01;
    out[At(1, 3)] = m(0, 0) * bottom12 - m(0, 1) * bottom02 + m(0, 2) * bottom01;
    out[At(2, 3)] = -m(3, 0) * top12 + m(3, 1) * top02 - m(3, 2) * top01;
    out[At(3, 3)] = m(2, 0) * top12 - m(2, 1) * top02 + m(2, 2) * top01;

    const float determinant = m(0, 0) * out[At(0, 0)] + m(1, 0) * out[At(1, 0)] +
                              m(2, 0) * out[At(2, 0)] + m(3, 0) * out[At(3, 0)];
    if (determinant == 0.0f) {
        return MATRIX4X4();
    }
    return cofactors / determinant;
}

void MATRIX4X4::InvertTranspose() {
    *this = GetInverseTranspose();
}

MATRIX4X4 MATRIX4X4::GetInverse() const {
    return GetInverseTranspose().GetTranspose();
}

void MATRIX4X4::Invert() {
    *this = GetInverse();
}

MATRIX4X4 MATRIX4X4::GetAffineInverse() const {
    const auto column = [this](int c) {
        return VECTOR3D(entries[At(0, c)], entries[At(1, c)], entries[At(2, c)]);
    };
    const VECTOR3D translation(entries[12], entries[13], entries[14]);
    const VECTOR3D x = column(0);
    const VECTOR3D y = column(1);
    const VECTOR3D z = column(2);
    return MATRIX4X4(x.x, y.x, z.x, 0.0f, x.y, y.y, z.y, 0.0f, x.z, y.z, z.z, 0.0f,
                     -x.DotProduct(translation), -y.DotProduct(translation),
                     -z.DotProduct(translation), 1.0f);
}

void MATRIX4X4::AffineInvert() {
    *this = GetAffineInverse();
}

MATRIX4X4 MATRIX4X4::GetAffineInverseTranspose() const {
    return GetAffineInverse().GetTranspose();
}

void MATRIX4X4::AffineInvertTranspose() {
    *this = GetAffineInverseTranspose();
}

void MATRIX4X4::SetTranslation(const VECTOR3D& translation) {
    LoadIdentity();
    SetTranslationPart(translation);
}

void MATRIX4X4::SetTranslationPart(const VECTOR3D& translation) {
    entries[12] = translation.x;
    entries[13] = translation.y;
    entries[14] = translation.z;
}

void MATRIX4X4::SetScale(const VECTOR3D& scaleFactor) {
    LoadIdentity();
    entries[0] = scaleFactor.x;
    entries[5] = scaleFactor.y;
    entries[10] = scaleFactor.z;
}

void MATRIX4X4::SetUniformScale(float scaleFactor) {
    LoadZero();
    entries[0] = entries[5] = entries[10] = scaleFactor;
    entries[15] = 1.0f;
}

void MATRIX4X4::SetRotationAxis(double angle, const VECTOR3D& axis) {
    const VECTOR3D u = axis.GetNormalized();
    const SINE_COSINE sc = SineCosineOfDegrees(angle);
    const float s = sc.s;
    const float c = sc.c;
    const float t = 1.0f - c;

    LoadZero();
    entries[At(0, 0)] = (1.0f - u.x * u.x) * c + u.x * u.x;
    entries[At(0, 1)] = u.x * u.y * t - u.z * s;
    entries[At(0, 2)] = u.x * u.z * t + u.y * s;
    entries[At(1, 0)] = u.x * u.y * t + u.z * s;
    entries[At(1, 1)] = (1.0f - u.y * u.y) * c + u.y * u.y;
    entries[At(1, 2)] = u.y * u.z * t - u.x * s;
    entries[At(2, 0)] = u.x * u.z * t - u.y * s;
    entries[At(2, 1)] = u.y * u.z * t + u.x * s;
    entries[At(2, 2)] = (1.0f - u.z * u.z) * c + u.z * u.z;
    entries[15] = 1.0f;
}

void MATRIX4X4::SetRotationX(double angle) {
    const SINE_COSINE sc = SineCosineOfDegrees(angle);
    LoadZero();
    entries[At(0, 0)] = 1.0f;
    entries[At(1, 1)] = sc.c;
    entries[At(1, 2)] = -sc.s;
    entries[At(2, 1)] = sc.s;
    entries[At(2, 2)] = sc.c;
    entries[15] = 1.0f;
}

void MATRIX4X4::SetRotationY(double angle) {
    const SINE_COSINE sc = SineCosineOfDegrees(angle);
    LoadZero();
    entries[At(0, 0)] = sc.c;
    entries[At(0, 2)] = sc.s;
    entries[At(1, 1)] = 1.0f;
    entries[At(2, 0)] = -sc.s;
    entries[At(2, 2)] = sc.c;
    entries[15] = 1.0f;
}

void MATRIX4X4::SetRotationZ(double angle) {
    const SINE_COSINE sc = SineCosineOfDegrees(angle);
    LoadZero();
    entries[At(0, 0)] = sc.c;
    entries[At(0, 1)] = -sc.s;
    entries[At(1, 0)] = sc.s;
    entries[At(1, 1)] = sc.c;
    entries[At(2, 2)] = 1.0f;
    entries[15] = 1.0f;
}

void MATRIX4X4::SetRotationEuler(double angleX, double angleY, double angleZ) {
    LoadIdentity();
    SetRotationPartEuler(angleX, angleY, angleZ);
}

// Rz * Ry * Rx written out.
void MATRIX4X4::SetRotationPartEuler(double angleX, double angleY, double angleZ) {
    const SINE_COSINE ax = SineCosineOfDegrees(angleX);
    const SINE_COSINE ay = SineCosineOfDegrees(angleY);
    const SINE_COSINE az = SineCosineOfDegrees(angleZ);
    const float sx = ax.s, cx = ax.c;
    const float sy = ay.s, cy = ay.c;
    const float sz = az.s, cz = az.c;

    entries[0] = cz * cy;
    entries[1] = sz * cy;
    entries[2] = -sy;
    entries[4] = sy * sx * cz - sz * cx;
    entries[5] = sy * sx * sz + cz * cx;
    entries[6] = cy * sx;
    entries[8] = sy * cx * cz + sz * sx;
    entries[9] = sy * cx * sz - cz * sx;
    entries[10] = cy * cx;
}

void MATRIX4X4::SetPerspective(float left, float right, float bottom, float top, float n, float f) {
    LoadZero();
    if (left == right || top == bottom || n == f) {
        return;
    }
    entries[0] = 2.0f * n / (right - left);
    entries[5] = 2.0f * n / (top - bottom);
    entries[8] = (right + left) / (right - left);
    entries[9] = (top + bottom) / (top - bottom);
    entries[11] = -1.0f;

    if (f == -1.0f) {
        // Far plane at infinity, pulled in a hair so far depths stay inside the clip range.
        constexpr float epsilon = 0.001f;
        entries[10] = epsilon - 1.0f;
        entries[14] = n * (2.0f * epsilon - 2.0f);
    } else {
        entries[10] = -(f + n) / (f - n);
        entries[14] = -2.0f * n * f / (f - n);
    }
}

void MATRIX4X4::SetPerspective(float fovy, float aspect, float n, float f) {
    constexpr float degreesToRadians = 0.01745329238474369f;
    const float t = n * std::tan(fovy * degreesToRadians * 0.5f);
    SetPerspective(-t * aspect, t * aspect, -t, t, n, f);
}

void MATRIX4X4::SetOrtho(float left, float right, float bottom, float top, float n, float f) {
    LoadZero();
    entries[0] = 2.0f / (right - left);
    entries[5] = 2.0f / (top - bottom);
    entries[10] = -2.0f / (f - n);
    entries[12] = -(right + left) / (right - left);
    entries[13] = -(top + bottom) / (top - bottom);
    entries[14] = -(f + n) / (f - n);
    entries[15] = 1.0f;
}
