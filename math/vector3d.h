#pragma once

// Three floats: every position and normal of the scene. The arithmetic the field evaluation runs
// millions of times a frame stays inline here.
class VECTOR3D {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr VECTOR3D() = default;
    constexpr VECTOR3D(float newX, float newY, float newZ) : x(newX), y(newY), z(newZ) {}

    constexpr void Set(float newX, float newY, float newZ) {
        x = newX;
        y = newY;
        z = newZ;
    }
    constexpr void LoadZero() { Set(0.0f, 0.0f, 0.0f); }

    constexpr VECTOR3D operator+(const VECTOR3D& rhs) const {
        return VECTOR3D(x + rhs.x, y + rhs.y, z + rhs.z);
    }
    constexpr VECTOR3D operator-(const VECTOR3D& rhs) const {
        return VECTOR3D(x - rhs.x, y - rhs.y, z - rhs.z);
    }
    constexpr VECTOR3D operator*(float scaleFactor) const {
        return VECTOR3D(x * scaleFactor, y * scaleFactor, z * scaleFactor);
    }
    // Dividing by exactly 0 gives the zero vector rather than infinities.
    VECTOR3D operator/(float scaleFactor) const;
    // Dividing by exactly 0 leaves the vector as it is.
    void operator/=(float scaleFactor);
    constexpr bool operator==(const VECTOR3D& rhs) const {
        return x == rhs.x && y == rhs.y && z == rhs.z;
    }

    constexpr float DotProduct(const VECTOR3D& rhs) const {
        return x * rhs.x + y * rhs.y + z * rhs.z;
    }
    constexpr VECTOR3D CrossProduct(const VECTOR3D& rhs) const {
        return VECTOR3D(y * rhs.z - z * rhs.y, z * rhs.x - x * rhs.z, x * rhs.y - y * rhs.x);
    }

    float GetLength() const;
    // Leaves a zero vector, and one that is already unit length, exactly as it is.
    void Normalize();
    VECTOR3D GetNormalized() const;

    // Right-handed turns by degrees; a turn by exactly 0 returns the vector untouched.
    void RotateX(double angle);
    void RotateY(double angle);
    void RotateZ(double angle);
    // The axis is normalised first; a zero axis only scales the vector by the cosine.
    void RotateAxis(double angle, const VECTOR3D& axis);
    VECTOR3D GetRotatedX(double angle) const;
    VECTOR3D GetRotatedY(double angle) const;
    VECTOR3D GetRotatedZ(double angle) const;
    VECTOR3D GetRotatedAxis(double angle, const VECTOR3D& axis) const;

    // Maps a direction into [0, 1] per component, the way normals are stored as colours.
    void PackTo01();
    VECTOR3D GetPackedTo01() const;

    // Straight into glVertex3fv, glNormal3fv and friends.
    constexpr operator float*() { return &x; }
    constexpr operator const float*() const { return &x; }
};

constexpr VECTOR3D operator*(float scaleFactor, const VECTOR3D& rhs) {
    return rhs * scaleFactor;
}

static_assert(sizeof(VECTOR3D) == 3 * sizeof(float), "VECTOR3D is handed to GL as float[3]");
