#include "math/vector4d.h"

namespace {

VECTOR4D WithW(const VECTOR3D& v, float w) {
    return VECTOR4D(v.x, v.y, v.z, w);
}

VECTOR3D XYZ(const VECTOR4D& v) {
    return VECTOR3D(v.x, v.y, v.z);
}

} // namespace

VECTOR4D VECTOR4D::GetRotatedX(double angle) const {
    return WithW(XYZ(*this).GetRotatedX(angle), w);
}

VECTOR4D VECTOR4D::GetRotatedY(double angle) const {
    return WithW(XYZ(*this).GetRotatedY(angle), w);
}

VECTOR4D VECTOR4D::GetRotatedZ(double angle) const {
    return WithW(XYZ(*this).GetRotatedZ(angle), w);
}

VECTOR4D VECTOR4D::GetRotatedAxis(double angle, const VECTOR3D& axis) const {
    return WithW(XYZ(*this).GetRotatedAxis(angle, axis), w);
}

void VECTOR4D::RotateX(double angle) {
    *this = GetRotatedX(angle);
}
void VECTOR4D::RotateY(double angle) {
    *this = GetRotatedY(angle);
}
void VECTOR4D::RotateZ(double angle) {
    *this = GetRotatedZ(angle);
}
void VECTOR4D::RotateAxis(double angle, const VECTOR3D& axis) {
    *this = GetRotatedAxis(angle, axis);
}

VECTOR4D::operator VECTOR3D() const {
    if (w == 0.0f || w == 1.0f) {
        return XYZ(*this);
    }
    const float q = 1.0f / w;
    return VECTOR3D(x * q, y * q, z * q);
}
