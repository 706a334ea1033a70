#pragma once

#include <cmath>

// Rotations take degrees as double; the sine and cosine are worked out in double and only then
// narrowed, so the single-precision types all turn by exactly the same amounts.
struct SINE_COSINE {
    float s;
    float c;
};

inline SINE_COSINE SineCosineOfDegrees(double angle) {
    const double radians = angle * 0.017453292519943295;
    return {static_cast<float>(std::sin(radians)), static_cast<float>(std::cos(radians))};
}
