#include "math/vector2d.h"

#include <cmath>

float VECTOR2D::GetLength() const {
    return static_cast<float>(std::sqrt(static_cast<double>(x * x + y * y)));
}

void VECTOR2D::Normalize() {
    const float length = GetLength();
    if (length == 1.0f || length == 0.0f) {
        return;
    }
    const float scaleFactor = 1.0f / length;
    x *= scaleFactor;
    y *= scaleFactor;
}

VECTOR2D VECTOR2D::GetNormalized() const {
    VECTOR2D result(*this);
    result.Normalize();
    return result;
}
