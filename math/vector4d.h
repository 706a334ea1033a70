#pragma once

#include "math/vector3d.h"

// Homogeneous four-vector: (x, y, z) turns like a VECTOR3D, w rides along.
class VECTOR4D {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    constexpr VECTOR4D() = default;
    constexpr VECTOR4D(float newX, float newY, float newZ, float newW)
        : x(newX), y(newY), z(newZ), w(newW) {}

    constexpr VECTOR4D operator*(float scaleFactor) const {
        return VECTOR4D(x * scaleFactor, y * scaleFactor, z * scaleFactor, w * scaleFactor);
    }
    constexpr bool operator==(const VECTOR4D& rhs) const {
        return x == rhs.x && y == rhs.y && z == rhs.z && w == rhs.w;
    }

    void RotateX(double angle);
    void RotateY(double angle);
    void RotateZ(double angle);
    void RotateAxis(double angle, const VECTOR3D& axis);
    VECTOR4D GetRotatedX(double angle) const;
    VECTOR4D GetRotatedY(double angle) const;
    VECTOR4D GetRotatedZ(double angle) const;
    VECTOR4D GetRotatedAxis(double angle, const VECTOR3D& axis) const;

    // Divides through by w, except when w is exactly 0 (a direction) or exactly 1.
    operator VECTOR3D() const;
};

constexpr VECTOR4D operator*(float scaleFactor, const VECTOR4D& rhs) {
    return rhs * scaleFactor;
}
