#pragma once

namespace VARKO {

// Small value types handed to the state cache, the view and the image code.

struct Vector {
    float x = 0, y = 0, z = 0, w = 0;
    Vector() = default;
    Vector(float x, float y, float z, float w = 0) : x(x), y(y), z(z), w(w) {}
};

// Sixteen floats in OpenGL's column-major order (row r, column c at 4*c + r).
struct Matrix {
    float m[16];
    Matrix() { Id(); }
    explicit Matrix(const float* mt) {
        for (int i = 0; i < 16; ++i) {
            m[i] = mt[i];
        }
    }
    void Zero() {
        for (float& e : m) {
            e = 0.0f;
        }
    }
    void Id() {
        Zero();
        m[0] = m[5] = m[10] = m[15] = 1.0f;
    }
};

struct Colour {
    float r, g, b;
    Colour(float r, float g, float b) : r(r), g(g), b(b) {}
};

struct ColourAlpha {
    float r, g, b, a;
    ColourAlpha(float r, float g, float b) : r(r), g(g), b(b), a(1.0f) {}
    ColourAlpha(float r, float g, float b, float a) : r(r), g(g), b(b), a(a) {}
};

} // namespace VARKO
