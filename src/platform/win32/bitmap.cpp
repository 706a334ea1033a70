// Launcher bitmaps: Windows bitmap files loaded through GDI, and rectangles of them copied to the
// same place in a window.

#include "src/platform/win32/win32_internal.h"

namespace VARKO::Platform {

BitmapHandle LoadBitmapFile(const std::string& path) {
    HANDLE bitmap =
        LoadImageA(GetModuleHandleA(nullptr), path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    return reinterpret_cast<BitmapHandle>(bitmap);
}

void GetBitmapSize(BitmapHandle bitmap, int& width, int& height) {
    BITMAP info{};
    GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof info, &info);
    width = info.bmWidth;
    height = info.bmHeight;
}

void FreeBitmap(BitmapHandle bitmap) {
    if (bitmap) {
        DeleteObject(reinterpret_cast<HBITMAP>(bitmap));
    }
}

void CopyBitmapRect(WindowHandle window, BitmapHandle bitmap, int x, int y, int width, int height) {
    if (!window || !bitmap) {
        return;
    }
    HDC windowDc = GetDC(window->hwnd);
    HDC memoryDc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memoryDc, reinterpret_cast<HBITMAP>(bitmap));
    BitBlt(windowDc, x, y, width, height, memoryDc, x, y, SRCCOPY);
    SelectObject(memoryDc, previous);
    DeleteDC(memoryDc);
    ReleaseDC(window->hwnd, windowDc);
}

void PresentWindow(WindowHandle window) {
    if (window) {
        UpdateWindow(window->hwnd);
    }
}

} // namespace VARKO::Platform
