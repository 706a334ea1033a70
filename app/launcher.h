#pragma once
// The launcher: a borderless window showing a picture with eight clickable areas, from which the
// user picks resolution, colour depth and full screen before the GL window opens. The picture,
// its pressed look and the areas come from a configuration file (see DoSplash).

#include "src/platform/platform.h"

#include <cstdint>
#include <cstdio>
#include <functional>

namespace VARKO {

// One clickable rectangle, in pixels of the launcher picture.
class Button {
public:
    // 1 when four decimal integers were read into left, top, right, bottom; 0 otherwise (also
    // for no file), leaving the rectangle as it was.
    int Load(std::FILE* fp);
    // 1 when (x, y) lies inside, all four edges included.
    int Pressed(int x, int y) const;
    void Get(int& x, int& y, int& wid, int& hit) const;
    void Setup(int x, int y, int wid, int hit);

    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// Button indices: three resolution choices, three depth choices, the full-screen toggle, start.
enum SplashButton {
    kRes640 = 0,
    kRes800 = 1,
    kRes1024 = 2,
    kDepth8 = 3,
    kDepth16 = 4,
    kDepth32 = 5,
    kFullScreen = 6,
    kStart = 7,
    kSplashButtonCount = 8,
};

extern Button buttons[kSplashButtonCount];
// Selection state per button, non-zero = selected.
extern int values[kSplashButtonCount];
// Size of the launcher picture, which is also the window's size.
extern int swidth;
extern int sheight;

// Applies a click at (x, y): every button containing the point is applied in index order, so
// 0-2 and 3-5 act as radio groups, 6 toggles and 7 starts.
void SplashTestButtons(int x, int y);

// Draws the normal picture, then the pressed look of every selected button over it.
void DrawSplash(Platform::WindowHandle hwnd, Platform::BitmapHandle up,
                Platform::BitmapHandle down);

// Runs the launcher from the configuration file `fname`: two bitmap paths (normal and pressed
// look), then eight rectangles of four integers, all whitespace-separated. True when the user
// pressed start, with the resolution choice (0-2), depth choice (0-2) and full-screen flag
// written out; false, writing nothing and showing nothing, on any failure.
bool DoSplash(const char* fname, int& res, int& depth, bool& full);

// The same, calling `idle` whenever a poll of the window found nothing to act on. The plain
// form sleeps a millisecond there so the launcher does not keep a processor busy.
bool DoSplash(const char* fname, int& res, int& depth, bool& full,
              const std::function<void()>& idle);

} // namespace VARKO
