#pragma once

// RGBA floats for GL light and material calls; alpha takes part in every operation.
class COLOR {
public:
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    constexpr COLOR() = default;
    constexpr COLOR(float newR, float newG, float newB, float newA)
        : r(newR), g(newG), b(newB), a(newA) {}

    constexpr void Set(float newR, float newG, float newB, float newA) {
        r = newR;
        g = newG;
        b = newB;
        a = newA;
    }

    constexpr COLOR operator*(float scaleFactor) const {
        return COLOR(r * scaleFactor, g * scaleFactor, b * scaleFactor, a * scaleFactor);
    }
    constexpr bool operator==(const COLOR& rhs) const {
        return r == rhs.r && g == rhs.g && b == rhs.b && a == rhs.a;
    }

    // Clamps each component into [0, 1]; a NaN component stays NaN.
    void ClampTo01();

    // Straight into glLightfv and glMaterialfv.
    constexpr operator float*() { return &r; }
    constexpr operator const float*() const { return &r; }
};

constexpr COLOR operator*(float scaleFactor, const COLOR& rhs) {
    return rhs * scaleFactor;
}

static_assert(sizeof(COLOR) == 4 * sizeof(float), "COLOR is handed to GL as float[4]");

extern const COLOR white;
extern const COLOR red;
extern const COLOR green;
extern const COLOR blue;
// Note: fully transparent.
extern const COLOR black;
