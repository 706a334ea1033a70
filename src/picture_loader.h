#pragma once
// The platform-independent half of Image::LoadOther: the backend decodes a picture at its own
// size, and this code fits it to a power-of-two texture size.

#include "src/platform/platform.h"

namespace VARKO {

// The nearest power of two on a logarithmic scale (181 -> 128, 182 -> 256); dimension >= 1.
int RoundToPowerOfTwo(int dimension);

// The rounded size of a picture dimension, never above the largest power of two within
// maxTextureSize (no limit when maxTextureSize is 0 or less).
int TextureSize(int dimension, int maxTextureSize);

// Resamples a decoded picture to width x height pixels of red, green, blue, bottom row first.
// Transparent parts come out over black. `out` holds width x height x 3 bytes.
void ResampleToRGB(const Platform::Picture& picture, int width, int height, unsigned char* out);

} // namespace VARKO
