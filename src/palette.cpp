#include "src/palette.h"

#include "src/opengl.h"

#include <algorithm>

namespace VARKO {

const unsigned char threeto8[8] = {0, 36, 73, 109, 146, 182, 219, 255};
const unsigned char twoto8[4] = {0, 85, 170, 255};
const unsigned char oneto8[2] = {0, 255};
const int palDefaultOverride[13] = {0, 3, 24, 27, 64, 67, 88, 173, 181, 236, 247, 164, 91};
const Platform::PaletteEntry palDefaultPalEntry[20] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
};

namespace {

bool IsThreeThreeTwo(const Platform::SurfaceFormatInfo& f) {
    return f.redBits == 3 && f.redShift == 0 && f.greenBits == 3 && f.greenShift == 3 &&
           f.blueBits == 2 && f.blueShift == 6;
}

void FillFromLayout(Palette& palette, const Platform::SurfaceFormatInfo& f) {
    const int colours = 1 << std::clamp(f.colorBits, 0, 8);
    for (int i = 0; i < colours; ++i) {
        palette[i] = {ComponentFromIndex(i, f.redBits, f.redShift),
                      ComponentFromIndex(i, f.greenBits, f.greenShift),
                      ComponentFromIndex(i, f.blueBits, f.blueShift), 0};
    }
}

void FillColourCube(Palette& palette, const Platform::PaletteEntry* systemLow,
                    const Platform::PaletteEntry* systemHigh) {
    for (int i = 0; i < 10; ++i) {
        palette[i] = systemLow[i];
        palette[246 + i] = systemHigh[i];
    }
    int index = 10;
    for (int red = 0; red < 6; ++red) {
        for (int green = 0; green < 6; ++green) {
            for (int blue = 0; blue < 6; ++blue) {
                palette[index++] = {static_cast<unsigned char>(red * 255 / 6),
                                    static_cast<unsigned char>(green * 255 / 6),
                                    static_cast<unsigned char>(blue * 255 / 6),
                                    Platform::kPaletteNoCollapse};
            }
        }
    }
    // A grey ramp from black to white over the 20 entries left.
    for (int k = 0; k < 20; ++k) {
        auto level = static_cast<unsigned char>(k * 255 / 19);
        palette[226 + k] = {level, level, level, Platform::kPaletteNoCollapse};
    }
}

} // namespace

unsigned char ComponentFromIndex(unsigned int i, unsigned int nbits, unsigned int shift) {
    const unsigned int value = shift < 32 ? i >> shift : 0;
    switch (nbits) {
    case 1:
        return oneto8[value % 2];
    case 2:
        return twoto8[value % 4];
    case 3:
        return threeto8[value % 8];
    default:
        return 0;
    }
}

Palette BuildPalette(const Platform::SurfaceFormatInfo& format,
                     const Platform::PaletteEntry* systemLow,
                     const Platform::PaletteEntry* systemHigh) {
    Palette palette{};
    FillFromLayout(palette, format);
    if (IsThreeThreeTwo(format)) {
        for (int k = 1; k <= 12; ++k) {
            palette[palDefaultOverride[k]] = palDefaultPalEntry[k];
        }
    } else {
        FillColourCube(palette, systemLow, systemHigh);
    }
    return palette;
}

void OpenGL::SetPalette() {
    Platform::SurfaceFormatInfo format;
    if (!Platform::DescribeSurfaceFormat(hDC, format) || !format.needsPalette) {
        return;
    }
    Platform::PaletteEntry systemLow[10], systemHigh[10];
    Platform::ReadSystemPalette(hDC, 0, 10, systemLow);
    Platform::ReadSystemPalette(hDC, 246, 10, systemHigh);
    Palette palette = BuildPalette(format, systemLow, systemHigh);
    Platform::ApplyPalette(hDC, palette.data());
}

unsigned char OpenGL::ComponentFromIndex(unsigned int i, unsigned int nbits, unsigned int shift) {
    return VARKO::ComponentFromIndex(i, nbits, shift);
}

} // namespace VARKO
