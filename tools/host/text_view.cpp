// A text file shown as a text editor shows it, for the tour's screenshots of what a
// command wrote (a file list, an archive log): a window of its own over the host window
// with a read-only edit in a fixed-pitch font. The file is code page 932 text.
#include "tools/host/host.h"

#include <algorithm>

namespace {

const char kViewClass[] = "TidalonTextView";
const int kMaxWidth = 700;
const int kMaxHeight = 420;

bool ReadWholeFile(const std::string& path, std::string& text)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 1 << 20) return false;
    text.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr) && read == text.size();
}

struct GdiFont {
    HFONT font;
    ~GdiFont() { if (font != nullptr) DeleteObject(font); }
};

}  // namespace

bool ShowTextShot(const HostWindow& host, const std::string& file, const std::string& png)
{
    const std::string path = WindowsPath(file);
    std::string text;
    if (!ReadWholeFile(path, text)) {
        Log("text-shot: cannot read " + path);
        return false;
    }
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registered) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kViewClass;
        registered = RegisterClassExA(&wc) != 0;
    }
    GdiFont font{CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "IPAGothic")};

    // Sized to the text: its longest line and its line count, within a screen's share.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int longest = 0;
    int lines = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        SIZE extent = {};
        GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &extent);
        longest = std::max(longest, static_cast<int>(extent.cx));
        ++lines;
        start = end + 1;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    RECT frame = {0, 0, std::min(longest + 24, kMaxWidth),
                  std::min((lines + 1) * static_cast<int>(metrics.tmHeight) + 12, kMaxHeight)};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, 0);

    RECT hostRect;
    GetWindowRect(host.hwnd(), &hostRect);
    const std::string title = path.substr(path.find_last_of('\\') + 1) + " - テキスト";
    HWND window = CreateWindowExA(0, kViewClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  hostRect.left + 40, hostRect.top + 60, frame.right - frame.left,
                                  frame.bottom - frame.top, host.hwnd(), nullptr, instance, nullptr);
    if (window == nullptr) {
        Log("text-shot: no window for " + path);
        return false;
    }
    RECT client;
    GetClientRect(window, &client);
    HWND edit = CreateWindowExA(0, "EDIT", nullptr,
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                                4, 4, client.right - 8, client.bottom - 8, window, nullptr, instance, nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.font), FALSE);
    SetWindowTextA(edit, text.c_str());
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    host.Settle(300);
    const bool saved = SaveWindowShot(window, png);
    DestroyWindow(window);
    SetActiveWindow(host.hwnd());
    SetFocus(host.list());
    host.Settle(100);
    return saved;
}
