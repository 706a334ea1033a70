// Palettes for drawing surfaces whose pixel format asks for one (8-bit formats). The palette's
// colours are built by the framework; this file only reads the format and hands the palette to GDI.

#include "src/platform/win32/win32_internal.h"

#include <vector>

namespace VARKO::Platform {

bool DescribeSurfaceFormat(DeviceHandle device, SurfaceFormatInfo& info) {
    HDC dc = ToHdc(device);
    PIXELFORMATDESCRIPTOR descriptor{};
    const int format = GetPixelFormat(dc);
    if (format == 0 || DescribePixelFormat(dc, format, sizeof descriptor, &descriptor) == 0) {
        return false;
    }
    info.needsPalette = (descriptor.dwFlags & PFD_NEED_PALETTE) != 0;
    info.colorBits = descriptor.cColorBits;
    info.redBits = descriptor.cRedBits;
    info.redShift = descriptor.cRedShift;
    info.greenBits = descriptor.cGreenBits;
    info.greenShift = descriptor.cGreenShift;
    info.blueBits = descriptor.cBlueBits;
    info.blueShift = descriptor.cBlueShift;
    return true;
}

void ReadSystemPalette(DeviceHandle device, int first, int count, PaletteEntry* entries) {
    std::vector<PALETTEENTRY> system(count);
    const UINT read = GetSystemPaletteEntries(ToHdc(device), first, count, system.data());
    for (int i = 0; i < count; ++i) {
        const PALETTEENTRY& e = system[i];
        entries[i] = i < static_cast<int>(read)
                         ? PaletteEntry{e.peRed, e.peGreen, e.peBlue, e.peFlags}
                         : PaletteEntry{};
    }
}

void ApplyPalette(DeviceHandle device, const PaletteEntry* entries) {
    constexpr int kEntries = 256;
    // LOGPALETTE ends in a one-entry array; the other 255 follow it in the same block.
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + (kEntries - 1) * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = kEntries;
    for (int i = 0; i < kEntries; ++i) {
        palette->palPalEntry[i] = {entries[i].red, entries[i].green, entries[i].blue,
                                   entries[i].flags};
    }
    HDC dc = ToHdc(device);
    if (HPALETTE handle = CreatePalette(palette)) {
        SelectPalette(dc, handle, TRUE);
        RealizePalette(dc);
    }
}

} // namespace VARKO::Platform
