// SDL2 drawing surfaces are true-colour visuals: none asks for a palette, so an 8-bit request
// simply draws in true colour and these are no-ops.

#include "src/platform/sdl/sdl_internal.h"

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
