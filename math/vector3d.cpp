#include "math/vector3d.h"

#include "math/angle.h"

#include <cmath>

VECTOR3D VECTOR3D::operator/(float scaleFactor) const {
    if (scaleFactor == 0.0f) {
        return VECTOR3D();
    }
    return *this * (1.0f / scaleFactor);
}

void VECTOR3D::operator/=(float scaleFactor) {
    if (scaleFactor == 0.0f) {
        return;
    }
    *this = *this * (1.0f / scaleFactor);
}

float VECTOR3D::GetLength() const {
    return static_cast<float>(std::sqrt(static_cast<double>(x * x + y * y + z * z)));
}

void VECTOR3D::Normalize() {
    const float length = GetLength();
    if (length == 1.0f || length == 0.0f) {
        return;
    }
    *this = *this * (1.0f / length);
}

VECTOR3D VECTOR3D::GetNormalized() const {
    VECTOR3D result(*this);
    result.Normalize();
    return result;
}

VECTOR3D VECTOR3D::GetRotatedX(double angle) const {
    if (angle == 0.0) {
        return *this;
    }
    const SINE_COSINE sc = SineCosineOfDegrees(angle);
    return VECTOR3D(x, sc.c * y - sc.s * z, sc.s * y + sc.c * z);
}

VECTOR3D VECTOR3D::GetRotatedY(double angle) const {
    if (angle == 0.0) {
        return *this;
    }
    const SINE_COSINE sc = SineCosineOfDegrees(angle);
    return VECTOR3D(sc.c * x + sc.s * z, y, -sc.s * x + sc.c * z);
}

VECTOR3D VECTOR3D::GetRotatedZ(double angle) const {
    if (angle == 0.0) {
        return *this;
    }
    const SINE_COSINE sc = SineCosineOfDegrees(angle);
    return VECTOR3D(sc.c * x - sc.s * y, sc.s * x + sc.c * y, z);
}

VECTOR3D VECTOR3D::GetRotatedAxis(double angle, const VECTOR3D& axis) const {
    if (angle == 0.0) {
        return *this;
    }
    const VECTOR3D u = axis.GetNormalized();
    const SINE_COSINE sc = SineCosineOfDegrees(angle);
    const float s = sc.s;
    const float c = sc.c;
    const float t = 1.0f - c;

    const VECTOR3D row0((1.0f - u.x * u.x) * c + u.x * u.x, u.x * u.y * t - u.z * s,
                        u.x * u.z * t + u.y * s);
    const VECTOR3D row1(u.x * u.y * t + u.z * s, (1.0f - u.y * u.y) * c + u.y * u.y,
                        u.y * u.z * t - u.x * s);
    const VECTOR3D row2(u.x * u.z * t - u.y * s, u.y * u.z * t + u.x * s,
                        (1.0f - u.z * u.z) * c + u.z * u.z);
    return VECTOR3D(DotProduct(row0), DotProduct(row1), DotProduct(row2));
}

void VECTOR3D::RotateX(double angle) {
    *this = GetRotatedX(angle);
}
void VECTOR3D::RotateY(double angle) {
    *this = GetRotatedY(angle);
}
void VECTOR3D::RotateZ(double angle) {
    *this = GetRotatedZ(angle);
}
void VECTOR3D::RotateAxis(double angle, const VECTOR3D& axis) {
    *this = GetRotatedAxis(angle, axis);
}

VECTOR3D VECTOR3D::GetPackedTo01() const {
    return GetNormalized() * 0.5f + VECTOR3D(0.5f, 0.5f, 0.5f);
}

void VECTOR3D::PackTo01() {
    *this = GetPackedTo01();
}
