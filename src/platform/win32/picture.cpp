// General pictures through OLE: the system's picture object decodes the file (JPEG, BMP, GIF, ...)
// and renders itself at its own pixel size into a 32-bit DIB section, read back as RGBA rows.

#include "src/platform/win32/win32_internal.h"

#include <ole2.h>
#include <olectl.h>

#include <new>

namespace VARKO::Platform {
namespace {

// The file's full path in UTF-16: the current directory, read as UTF-16 so that a folder named
// outside the ANSI code page keeps its name, a backslash and `path` (converted with the ANSI code
// page, as the system's narrow calls read it). False when the whole would exceed MAX_PATH.
bool FullPath(const std::string& path, WCHAR (&wide)[MAX_PATH + 1]) {
    const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, wide);
    if (length == 0 || length + 1 + path.size() > MAX_PATH) {
        return false;
    }
    wide[length] = L'\\';
    const int room = MAX_PATH - static_cast<int>(length) - 1;
    const int converted = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()),
                                              wide + length + 1, room);
    if (converted == 0 && !path.empty()) {
        return false;
    }
    wide[length + 1 + converted] = L'\0';
    return true;
}

// The picture's size in screen pixels from its extent in hundredths of a millimetre.
bool PixelSize(IPicture* picture, HDC screen, OLE_XSIZE_HIMETRIC& extentX,
               OLE_YSIZE_HIMETRIC& extentY, int& width, int& height) {
    if (FAILED(picture->get_Width(&extentX)) || FAILED(picture->get_Height(&extentY))) {
        return false;
    }
    constexpr int kHimetricPerInch = 2540;
    width = MulDiv(extentX, GetDeviceCaps(screen, LOGPIXELSX), kHimetricPerInch);
    height = MulDiv(extentY, GetDeviceCaps(screen, LOGPIXELSY), kHimetricPerInch);
    return width > 0 && height > 0;
}

// Renders the picture upright into a top-down 32-bit section and copies it out as RGBA. BMPs
// leave the fourth byte 0, so alpha is forced to opaque.
bool Render(IPicture* picture, HDC memory, Picture& out) {
    OLE_XSIZE_HIMETRIC extentX = 0;
    OLE_YSIZE_HIMETRIC extentY = 0;
    int width = 0, height = 0;
    if (!PixelSize(picture, memory, extentX, extentY, width, height)) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section) {
        return false;
    }
    HGDIOBJ previous = SelectObject(memory, section);
    picture->Render(memory, 0, 0, width, height, 0, extentY, extentX, -extentY, nullptr);
    GdiFlush();
    bool copied = true;
    try {
        const std::size_t pixels = std::size_t(width) * height;
        out.rgba.resize(pixels * 4);
        const auto* bgra = static_cast<const unsigned char*>(bits);
        for (std::size_t i = 0; i < pixels; ++i) {
            out.rgba[4 * i + 0] = bgra[4 * i + 2];
            out.rgba[4 * i + 1] = bgra[4 * i + 1];
            out.rgba[4 * i + 2] = bgra[4 * i + 0];
            out.rgba[4 * i + 3] = 255;
        }
        out.width = width;
        out.height = height;
    } catch (const std::bad_alloc&) {
        copied = false; // too big to copy: fails like a picture that cannot be decoded
    }
    SelectObject(memory, previous);
    DeleteObject(section);
    return copied;
}

} // namespace

bool DecodePicture(const std::string& path, Picture& picture) {
    WCHAR wide[MAX_PATH + 1] = {};
    if (!FullPath(path, wide)) {
        return false;
    }
    IPicture* loaded = nullptr;
    if (FAILED(OleLoadPicturePath(wide, nullptr, 0, 0, IID_IPicture,
                                  reinterpret_cast<void**>(&loaded))) ||
        !loaded) {
        return false;
    }
    HDC memory = CreateCompatibleDC(nullptr);
    const bool rendered = memory && Render(loaded, memory, picture);
    if (memory) {
        DeleteDC(memory);
    }
    loaded->Release();
    return rendered;
}

} // namespace VARKO::Platform
