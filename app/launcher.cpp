#include "app/launcher.h"

#include "src/window.h"

#include <cctype>
#include <charconv>
#include <chrono>
#include <limits>
#include <memory>
#include <string>
#include <thread>

namespace VARKO {

Button buttons[kSplashButtonCount];
int values[kSplashButtonCount];
int swidth;
int sheight;

namespace {

// Longest word taken from the configuration file. A longer bitmap path is refused rather than
// cut short, since a shortened path would name some other file.
constexpr std::size_t kMaxWord = 63;

// Reads the next whitespace-separated word; false at the end of the file or for a word longer
// than kMaxWord.
bool ReadWord(std::FILE* fp, std::string& word) {
    word.clear();
    int c = std::fgetc(fp);
    while (c != EOF && std::isspace(c)) {
        c = std::fgetc(fp);
    }
    while (c != EOF && !std::isspace(c)) {
        if (word.size() == kMaxWord) {
            return false;
        }
        word.push_back(static_cast<char>(c));
        c = std::fgetc(fp);
    }
    return !word.empty();
}

// A whole word as a decimal integer with optional sign; out-of-range values are refused.
bool ParseInt(const std::string& word, std::int32_t& value) {
    const char* first = word.data();
    const char* last = first + word.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') {
            return false;
        }
    }
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

// Rectangles come from a file, so their sums and differences may leave the int range.
int ClampToInt(std::int64_t value) {
    constexpr std::int64_t lowest = std::numeric_limits<int>::min();
    constexpr std::int64_t highest = std::numeric_limits<int>::max();
    return static_cast<int>(value < lowest ? lowest : value > highest ? highest : value);
}

void SelectInGroup(int chosen, int first) {
    for (int i = first; i < first + 3; ++i) {
        values[i] = 0;
    }
    values[chosen] = 1;
}

struct BitmapFree {
    void operator()(Platform::BitmapHandle bitmap) const { Platform::FreeBitmap(bitmap); }
};
using Bitmap = std::unique_ptr<Platform::NativeBitmap, BitmapFree>;

struct SplashFiles {
    std::string up;
    std::string down;
};

// Reads the two bitmap paths, then the eight rectangles into `buttons`.
bool ReadConfig(const char* fname, SplashFiles& files) {
    std::FILE* fp = fname ? std::fopen(fname, "r") : nullptr;
    if (!fp) {
        return false;
    }
    bool ok = ReadWord(fp, files.up) && ReadWord(fp, files.down);
    for (Button& button : buttons) {
        ok = ok && button.Load(fp);
    }
    std::fclose(fp);
    return ok;
}

void Show(const Window& window, Platform::BitmapHandle up, Platform::BitmapHandle down) {
    DrawSplash(window.GetHandle(), up, down);
    Platform::PresentWindow(window.GetHandle());
}

// Acts on each press once, when it is seen, then waits for the release, until start is pressed.
void RunSplash(Window& window, Platform::BitmapHandle up, Platform::BitmapHandle down,
               const std::function<void()>& idle) {
    while (!values[kStart]) {
        window.DoMessaging();
        if (!window.leftButton) {
            idle();
            continue;
        }
        window.DoMessaging();
        SplashTestButtons(window.mouseX, window.mouseY);
        Show(window, up, down);
        while (window.leftButton) {
            idle();
            window.DoMessaging();
        }
    }
}

void SleepBriefly() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace

int Button::Load(std::FILE* fp) {
    if (!fp) {
        return 0;
    }
    std::int32_t edges[4];
    std::string word;
    for (std::int32_t& edge : edges) {
        if (!ReadWord(fp, word) || !ParseInt(word, edge)) {
            return 0;
        }
    }
    left = edges[0];
    top = edges[1];
    right = edges[2];
    bottom = edges[3];
    return 1;
}

int Button::Pressed(int x, int y) const {
    return left <= x && x <= right && top <= y && y <= bottom ? 1 : 0;
}

void Button::Get(int& x, int& y, int& wid, int& hit) const {
    x = left;
    y = top;
    wid = ClampToInt(std::int64_t{right} - left);
    hit = ClampToInt(std::int64_t{bottom} - top);
}

void Button::Setup(int x, int y, int wid, int hit) {
    left = x;
    top = y;
    right = ClampToInt(std::int64_t{x} + wid);
    bottom = ClampToInt(std::int64_t{y} + hit);
}

void SplashTestButtons(int x, int y) {
    for (int i = 0; i < kSplashButtonCount; ++i) {
        if (!buttons[i].Pressed(x, y)) {
            continue;
        }
        if (i <= kRes1024) {
            SelectInGroup(i, kRes640);
        } else if (i <= kDepth32) {
            SelectInGroup(i, kDepth8);
        } else if (i == kFullScreen) {
            values[i] = values[i] ? 0 : 1;
        } else {
            values[i] = 1;
        }
    }
}

void DrawSplash(Platform::WindowHandle hwnd, Platform::BitmapHandle up,
                Platform::BitmapHandle down) {
    Platform::CopyBitmapRect(hwnd, up, 0, 0, swidth, sheight);
    for (int i = 0; i < kSplashButtonCount; ++i) {
        if (values[i]) {
            int x, y, wid, hit;
            buttons[i].Get(x, y, wid, hit);
            Platform::CopyBitmapRect(hwnd, down, x, y, wid, hit);
        }
    }
}

bool DoSplash(const char* fname, int& res, int& depth, bool& full) {
    return DoSplash(fname, res, depth, full, SleepBriefly);
}

bool DoSplash(const char* fname, int& res, int& depth, bool& full,
              const std::function<void()>& idle) {
    Window window;
    SplashFiles files;
    if (!ReadConfig(fname, files)) {
        return false;
    }
    Bitmap up(Platform::LoadBitmapFile(files.up));
    Bitmap down(Platform::LoadBitmapFile(files.down));
    if (!up || !down) {
        return false;
    }
    Platform::GetBitmapSize(up.get(), swidth, sheight);

    int desktopWidth, desktopHeight;
    Platform::GetDesktopSize(desktopWidth, desktopHeight);
    int x = desktopWidth / 2 - swidth / 2;
    int y = desktopHeight / 2 - sheight / 2;
    if (!window.Setup(x, y, swidth, sheight, "Splash")) {
        return false;
    }

    for (int& value : values) {
        value = 0;
    }
    values[kDepth32] = 1;
    values[kRes800] = 1;
    Show(window, up.get(), down.get());
    RunSplash(window, up.get(), down.get(), idle);

    res = values[kRes640] ? 0 : values[kRes800] ? 1 : 2;
    depth = values[kDepth8] ? 0 : values[kDepth16] ? 1 : 2;
    full = values[kFullScreen] != 0;
    return true;
}

} // namespace VARKO
