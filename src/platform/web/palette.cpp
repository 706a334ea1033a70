// WebGL draws in true colour only: no drawing surface asks for a palette.

#include "src/platform/web/web_internal.h"

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
