#pragma once

// Two floats, for texture coordinates and screen positions.
class VECTOR2D {
public:
    float x = 0.0f;
    float y = 0.0f;

    constexpr VECTOR2D() = default;
    constexpr VECTOR2D(float newX, float newY) : x(newX), y(newY) {}

    constexpr VECTOR2D operator*(float scaleFactor) const {
        return VECTOR2D(x * scaleFactor, y * scaleFactor);
    }
    constexpr bool operator==(const VECTOR2D& rhs) const { return x == rhs.x && y == rhs.y; }

    float GetLength() const;
    // Leaves a zero vector, and one that is already unit length, exactly as it is.
    void Normalize();
    VECTOR2D GetNormalized() const;
};

constexpr VECTOR2D operator*(float scaleFactor, const VECTOR2D& rhs) {
    return rhs * scaleFactor;
}
