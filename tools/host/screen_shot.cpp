// Screenshots: the screen contents of a rectangle, copied from the screen DC so that
// menus and dialogs look exactly as shown, written as a PNG file.
#include "tools/host/host.h"

#include "tools/host/png_writer.h"

namespace {

class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { if (dc_ != nullptr) ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc() { if (dc_ != nullptr) DeleteDC(dc_); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class Bitmap {
public:
    explicit Bitmap(HBITMAP b) : b_(b) {}
    ~Bitmap() { if (b_ != nullptr) DeleteObject(b_); }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    HBITMAP get() const { return b_; }

private:
    HBITMAP b_;
};

}  // namespace

bool SaveScreenRect(RECT area, const std::string& path)
{
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!IntersectRect(&area, &area, &screen)) {
        Log("screenshot: nothing on screen for " + path);
        return false;
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    ScreenDc screenDc;
    MemoryDc memory(screenDc.get());
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(screenDc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (screenDc.get() == nullptr || memory.get() == nullptr || bitmap.get() == nullptr) {
        Log("screenshot: no drawing surface for " + path);
        return false;
    }
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    const BOOL copied = BitBlt(memory.get(), 0, 0, width, height, screenDc.get(), area.left, area.top,
                               SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory.get(), old);
    if (!copied) {
        Log("screenshot: the screen cannot be read for " + path);
        return false;
    }

    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    const auto* bgrx = static_cast<const unsigned char*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        rgb[i * 3] = bgrx[i * 4 + 2];
        rgb[i * 3 + 1] = bgrx[i * 4 + 1];
        rgb[i * 3 + 2] = bgrx[i * 4];
    }
    const std::vector<unsigned char> png =
        EncodePng(rgb.data(), static_cast<size_t>(width) * 3, static_cast<uint32_t>(width), static_cast<uint32_t>(height));

    const std::string file = WindowsPath(path);
    FileHandle out(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!out.valid() || !WriteFile(out.get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) ||
        written != png.size() || !out.Close()) {
        Log("screenshot: cannot write " + path);
        return false;
    }
    char size[32];
    wsprintfA(size, " (%dx%d)", width, height);
    Log("screenshot: " + path + size);
    return true;
}

bool SaveWindowShot(HWND window, const std::string& path)
{
    RECT area;
    if (!GetWindowRect(window, &area)) return false;
    return SaveScreenRect(area, path);
}
