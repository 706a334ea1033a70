#pragma once

namespace VARKO {

// The GL window's mode, as the launcher's three choices name it.
struct DisplayMode {
    int width;
    int height;
    int bits;
    bool fullscreen;
};

// Resolution choice 0/1/2 gives 640x480, 800x600, 1024x768; depth choice 0/1/2 gives 8, 16 and
// 32 bits. Any other choice falls back to 800x600 or 32 bits.
DisplayMode ModeFromChoices(int res, int depth, bool full);

} // namespace VARKO
