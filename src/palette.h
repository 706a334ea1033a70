#pragma once
#include "src/platform/platform.h"

#include <array>

namespace VARKO {

extern const unsigned char threeto8[8];
extern const unsigned char twoto8[4];
extern const unsigned char oneto8[2];
extern const int palDefaultOverride[13];
extern const Platform::PaletteEntry palDefaultPalEntry[20];

using Palette = std::array<Platform::PaletteEntry, 256>;

// The 8-bit level of the bit field `nbits` wide at `shift` in palette index i.
unsigned char ComponentFromIndex(unsigned int i, unsigned int nbits, unsigned int shift);

// The palette for a palette-based surface: one colour per index from the format's bit layout,
// with the standard system colours patched in for the common 3-3-2 layout; any other layout gets
// the system's 20 reserved colours around a 6 x 6 x 6 colour cube and a grey ramp.
// `systemLow` and `systemHigh` are system palette entries 0-9 and 246-255.
Palette BuildPalette(const Platform::SurfaceFormatInfo& format,
                     const Platform::PaletteEntry* systemLow,
                     const Platform::PaletteEntry* systemHigh);

} // namespace VARKO
