#include "common/report.h"

#include <cstring>

#include "common/rules/path_build.h"

namespace {

thread_local ReportCapture* t_capture = nullptr;
thread_local ULONGLONG t_boxTime = 0;

}  // namespace

ReportCapture::ReportCapture() : previous_(t_capture) { text_[0] = '\0'; t_capture = this; }

ReportCapture::~ReportCapture() { t_capture = previous_; }

void ReportCapture::Keep(const char* text)
{
    if (Any() || text == nullptr) return;
    std::size_t n = std::strlen(text);
    if (n >= sizeof text_) n = sizeof text_ - 1;
    std::memcpy(text_, text, n);
    text_[n] = '\0';
}

void ShowErrorBox(HWND owner, const char* text)
{
    if (t_capture != nullptr) {
        t_capture->Keep(text);
        return;
    }
    const ULONGLONG start = GetTickCount64();
    MessageBoxA(owner != nullptr ? owner : GetForegroundWindow(), text, kErrorTitle, MB_ICONERROR);
    t_boxTime += GetTickCount64() - start;
}

ULONGLONG TimeInErrorBoxes() { return t_boxTime; }

void ReportSystemError(HWND owner, DWORD code)
{
    if (owner == nullptr) owner = GetForegroundWindow();
    char* buffer = nullptr;
    const char* text = kMsgSystemFault;
    // Inserts are left as they stand: no argument array is passed, so expanding them
    // would read arguments that do not exist.
    const DWORD count = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (count > 0 || GetLastError() == ERROR_MR_MID_NOT_FOUND) {
        if (buffer == nullptr) return;  // the system has no text for this code
        // Drop the line break the system text ends with; nothing else is cut, so a
        // double-byte character at the end stays whole.
        for (DWORD n = count, cut = 0; n > 0 && cut < 2; --n, ++cut) {
            if (buffer[n - 1] != '\r' && buffer[n - 1] != '\n') break;
            buffer[n - 1] = '\0';
        }
        text = buffer;
    }
    ShowErrorBox(owner, text);
    if (buffer != nullptr && LocalFree(buffer) != nullptr) ShowErrorBox(owner, kMsgSystemFault);
}

void ReportPathTooLong(HWND owner, const char* folder, const char* name)
{
    // The path itself cannot be handled, but it is shown whole so the user can find it.
    char message[kPathSize * 3] = "パスが長すぎるため処理できません。\n";
    std::size_t used = std::strlen(message);
    auto append = [&](const char* part) {
        const std::size_t n = std::strlen(part);
        if (used + n < sizeof message) {
            std::memcpy(message + used, part, n + 1);
            used += n;
        }
    };
    if (folder != nullptr) append(folder);
    if (name != nullptr) {
        if (folder != nullptr) append("\\");
        append(name);
    }
    ShowErrorBox(owner, message);
}

void ShowPathMessage(const char* message, const char* path)
{
    // A message and a path of 259 bytes at most: the buffer holds both whole.
    char text[kPathSize * 3] = {};
    if (!ConcatPath(text, sizeof text, message != nullptr ? message : "", path != nullptr ? path : "")) {
        ReportFault();
        return;
    }
    ShowErrorBox(nullptr, text);
}
