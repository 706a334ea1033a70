#include "tests/support/platform_fake.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace VARKO::Testing::FakePlatform {
namespace {

struct FakeBitmap {
    std::string path;
    int width, height;
};

struct State {
    std::vector<std::string> log;
    std::vector<std::unique_ptr<FakeWindow>> windows;
    std::vector<std::unique_ptr<FakeBitmap>> bitmaps;
    std::set<const FakeBitmap*> liveBitmaps;
    std::map<std::string, std::pair<int, int>> bitmapFiles;
    std::map<std::string, Platform::Picture> pictures;
    std::vector<CopiedRect> copied;
    std::vector<ShownMessage> messages;
    std::vector<Platform::MessageAnswer> answers;
    std::vector<Platform::PixelFormatRequest> formatRequests;
    Platform::SurfaceFormatInfo surfaceFormat;
    std::vector<std::vector<Platform::PaletteEntry>> palettes;
    std::vector<GlyphRequest> glyphRequests;
    std::set<std::string> failing;
    std::map<std::string, int> failOnCall;
    std::map<std::string, int> callCounts;
    bool failRegister = false;
    bool failCreate = false;
    bool failDisplayMode = false;
    bool counter = true;
    int maxStencil = 32;
    int frameWidth = 0; // what a framed window's frame and caption take from its outer size
    int frameHeight = 0;
    int desktopWidth = 1024;
    int desktopHeight = 768;
    double clockMs = 0;
    std::uintptr_t nextContext = 1;
};

State& S() {
    static State state;
    return state;
}

// Logs the call and tells whether the test asked it to fail.
bool Called(const std::string& name) {
    State& s = S();
    s.log.push_back(name);
    int count = ++s.callCounts[name];
    auto nth = s.failOnCall.find(name);
    return s.failing.count(name) != 0 || (nth != s.failOnCall.end() && nth->second == count);
}

FakeBitmap* Bitmap(Platform::BitmapHandle handle) {
    return reinterpret_cast<FakeBitmap*>(handle);
}

} // namespace

void Reset() {
    S() = State();
}
const std::vector<std::string>& Log() {
    return S().log;
}
std::size_t CountLog(const std::string& name) {
    return static_cast<std::size_t>(std::count(S().log.begin(), S().log.end(), name));
}
void ClearLog() {
    S().log.clear();
}

FakeWindow* Window(Platform::WindowHandle handle) {
    return reinterpret_cast<FakeWindow*>(handle);
}
Platform::WindowHandle LastWindow() {
    if (S().windows.empty()) {
        return nullptr;
    }
    return reinterpret_cast<Platform::WindowHandle>(S().windows.back().get());
}
std::size_t LiveWindowCount() {
    return static_cast<std::size_t>(std::count_if(S().windows.begin(), S().windows.end(),
                                                  [](const auto& w) { return w->alive; }));
}
void QueueEvent(Platform::WindowHandle window, Platform::Event event) {
    Window(window)->events.push_back(event);
}
void FailRegisterClass(bool fail) {
    S().failRegister = fail;
}
void SetWindowFrame(int width, int height) {
    S().frameWidth = width;
    S().frameHeight = height;
}

void FailCreateWindow(bool fail) {
    S().failCreate = fail;
}

void SetMaxStencilBits(int bits) {
    S().maxStencil = bits;
}
void Fail(const std::string& function, bool fail) {
    if (fail) {
        S().failing.insert(function);
    } else {
        S().failing.erase(function);
    }
}
void FailNth(const std::string& function, int n) {
    S().failOnCall[function] = n;
}
const std::vector<Platform::PixelFormatRequest>& FormatRequests() {
    return S().formatRequests;
}

void ScriptSurfaceFormat(const Platform::SurfaceFormatInfo& format) {
    S().surfaceFormat = format;
}
const std::vector<std::vector<Platform::PaletteEntry>>& AppliedPalettes() {
    return S().palettes;
}

void FailDisplayModeChange(bool fail) {
    S().failDisplayMode = fail;
}
void SetDesktopSize(int width, int height) {
    S().desktopWidth = width;
    S().desktopHeight = height;
}

const std::vector<ShownMessage>& Messages() {
    return S().messages;
}
void ScriptAnswers(const std::vector<Platform::MessageAnswer>& answers) {
    S().answers = answers;
}

void SetClockMilliseconds(double ms) {
    S().clockMs = ms;
}
void AdvanceClock(double ms) {
    S().clockMs += ms;
}
void SetCounterAvailable(bool available) {
    S().counter = available;
}

void ScriptBitmap(const std::string& path, int width, int height) {
    S().bitmapFiles[path] = {width, height};
}
std::size_t LiveBitmapCount() {
    return S().liveBitmaps.size();
}
const std::vector<CopiedRect>& CopiedRects() {
    return S().copied;
}
std::string BitmapPath(Platform::BitmapHandle bitmap) {
    return Bitmap(bitmap)->path;
}

void ScriptPicture(const std::string& path, const Platform::Picture& picture) {
    S().pictures[path] = picture;
}

const std::vector<GlyphRequest>& GlyphRequests() {
    return S().glyphRequests;
}

} // namespace VARKO::Testing::FakePlatform

namespace VARKO::Platform {
using namespace VARKO::Testing::FakePlatform;

bool RegisterWindowClass(const std::string&) {
    return !Called("RegisterWindowClass") && !S().failRegister;
}

WindowHandle CreateNativeWindow(const std::string& className, const std::string& title,
                                WindowStyle style, int x, int y, int width, int height) {
    if (Called("CreateNativeWindow") || S().failCreate) {
        return nullptr;
    }
    auto window = std::make_unique<FakeWindow>();
    *window = FakeWindow{className, title, style, x, y, width, height, true, nullptr, {}};
    S().windows.push_back(std::move(window));
    return reinterpret_cast<WindowHandle>(S().windows.back().get());
}

void DestroyNativeWindow(WindowHandle window) {
    Called("DestroyNativeWindow");
    FakeWindow* w = Window(window);
    w->alive = false;
    w->slot = nullptr;
    w->events.clear();
}

void SetWindowSlot(WindowHandle window, void* owner) {
    Window(window)->slot = owner;
}
void* GetWindowSlot(WindowHandle window) {
    return Window(window)->slot;
}
void GetClientSize(WindowHandle window, int& width, int& height) {
    const FakeWindow* w = Window(window);
    const bool framed = w->style == WindowStyle::Framed;
    width = w->width - (framed ? S().frameWidth : 0);
    height = w->height - (framed ? S().frameHeight : 0);
}
std::string GetWindowTitle(WindowHandle window) {
    return Window(window)->title;
}
void* ModuleHandle() {
    return nullptr;
}
void FocusWindow(WindowHandle) {
    Called("FocusWindow");
}

bool PollEvent(WindowHandle window, Event& event) {
    FakeWindow* w = Window(window);
    if (w->events.empty()) {
        return false;
    }
    event = w->events.front();
    w->events.erase(w->events.begin());
    return true;
}

DeviceHandle GetWindowDevice(WindowHandle window) {
    return Called("GetWindowDevice") ? nullptr : reinterpret_cast<DeviceHandle>(window);
}

int ChooseSurfaceFormat(DeviceHandle, const PixelFormatRequest& request) {
    Called("ChooseSurfaceFormat");
    S().formatRequests.push_back(request);
    return request.stencilBits <= S().maxStencil ? 1 : 0;
}

bool SetSurfaceFormat(DeviceHandle, int, const PixelFormatRequest&) {
    return !Called("SetSurfaceFormat");
}

ContextHandle CreateGLContext(DeviceHandle) {
    if (Called("CreateGLContext")) {
        return nullptr;
    }
    return reinterpret_cast<ContextHandle>(S().nextContext++);
}

bool MakeGLContextCurrent(DeviceHandle, ContextHandle) {
    return !Called("MakeGLContextCurrent");
}
bool ReleaseGLContext() {
    return !Called("ReleaseGLContext");
}
bool DeleteGLContext(ContextHandle) {
    return !Called("DeleteGLContext");
}
void SwapSurfaceBuffers(DeviceHandle) {
    Called("SwapSurfaceBuffers");
}

bool DescribeSurfaceFormat(DeviceHandle, SurfaceFormatInfo& info) {
    Called("DescribeSurfaceFormat");
    info = S().surfaceFormat;
    return true;
}

void ReadSystemPalette(DeviceHandle, int first, int count, PaletteEntry* entries) {
    Called("ReadSystemPalette");
    for (int i = 0; i < count; ++i) {
        auto level = static_cast<unsigned char>(first + i);
        entries[i] = {level, level, level, 0};
    }
}

void ApplyPalette(DeviceHandle, const PaletteEntry* entries) {
    Called("ApplyPalette");
    S().palettes.emplace_back(entries, entries + 256);
}

bool ChangeDisplayMode(int, int, int) {
    Called("ChangeDisplayMode");
    return !S().failDisplayMode;
}
void RestoreDisplayMode() {
    Called("RestoreDisplayMode");
}
void ShowMouseCursor() {
    Called("ShowMouseCursor");
}
void GetDesktopSize(int& width, int& height) {
    width = S().desktopWidth;
    height = S().desktopHeight;
}

MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                          MessageButtons buttons, MessageIcon icon) {
    Called("ShowMessage");
    S().messages.push_back({text, caption, buttons, icon});
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (S().answers.empty()) {
        return MessageAnswer::Yes;
    }
    MessageAnswer answer = S().answers.front();
    S().answers.erase(S().answers.begin());
    return answer;
}

std::int64_t CounterFrequency() {
    return S().counter ? 1000000 : 0;
}
std::int64_t CounterValue() {
    return static_cast<std::int64_t>(S().clockMs * 1000.0);
}
std::uint32_t Milliseconds() {
    return static_cast<std::uint32_t>(S().clockMs);
}

BitmapHandle LoadBitmapFile(const std::string& path) {
    Called("LoadBitmapFile");
    auto file = S().bitmapFiles.find(path);
    if (file == S().bitmapFiles.end()) {
        return nullptr;
    }
    auto bitmap =
        std::make_unique<FakeBitmap>(FakeBitmap{path, file->second.first, file->second.second});
    S().liveBitmaps.insert(bitmap.get());
    S().bitmaps.push_back(std::move(bitmap));
    return reinterpret_cast<BitmapHandle>(S().bitmaps.back().get());
}

void GetBitmapSize(BitmapHandle bitmap, int& width, int& height) {
    width = Bitmap(bitmap)->width;
    height = Bitmap(bitmap)->height;
}

void FreeBitmap(BitmapHandle bitmap) {
    Called("FreeBitmap");
    S().liveBitmaps.erase(Bitmap(bitmap));
}

void CopyBitmapRect(WindowHandle window, BitmapHandle bitmap, int x, int y, int width, int height) {
    Called("CopyBitmapRect");
    S().copied.push_back({window, bitmap, x, y, width, height});
}

void PresentWindow(WindowHandle) {
    Called("PresentWindow");
}

bool DecodePicture(const std::string& path, Picture& picture) {
    Called("DecodePicture");
    auto found = S().pictures.find(path);
    if (found == S().pictures.end()) {
        return false;
    }
    picture = found->second;
    return true;
}

bool BuildBitmapGlyphs(DeviceHandle, const FontRequest& font, int first, int count,
                       unsigned int base) {
    S().glyphRequests.push_back({font, first, count, base, 0.0f});
    return !Called("BuildBitmapGlyphs");
}

bool BuildOutlineGlyphs(DeviceHandle, const FontRequest& font, int first, int count,
                        unsigned int base, float depth, float* advances) {
    S().glyphRequests.push_back({font, first, count, base, depth});
    if (Called("BuildOutlineGlyphs")) {
        return false;
    }
    std::fill(advances, advances + count, 0.5f);
    return true;
}

} // namespace VARKO::Platform
