// The palette calls for backends whose drawing surfaces are all true colour (SDL2's visuals,
// WebGL's canvas): none asks for a palette, so an 8-bit request simply draws in true colour and
// these do nothing.

#include "src/platform/platform.h"

namespace VARKO::Platform {

bool DescribeSurfaceFormat(DeviceHandle, SurfaceFormatInfo& info) {
    info = SurfaceFormatInfo{};
    return true;
}

void ReadSystemPalette(DeviceHandle, int, int count, PaletteEntry* entries) {
    for (int i = 0; i < count; ++i) {
        entries[i] = PaletteEntry{};
    }
}

void ApplyPalette(DeviceHandle, const PaletteEntry*) {}

} // namespace VARKO::Platform
