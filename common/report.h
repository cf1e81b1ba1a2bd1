// The one error box of the suite and its shorthands. Every box carries the error title
// and icon; its owner is the given window, or the foreground window at the time of the
// report.
#pragma once
#include <windows.h>

#include "common/messages.h"

// MessageBoxA(owner or the foreground window, text, error title, MB_ICONERROR).
void ShowErrorBox(HWND owner, const char* text);

// Milliseconds this thread has spent in error boxes so far: a run's progress does not
// count the time a user takes to read its boxes.
ULONGLONG TimeInErrorBoxes();

// The system's text for `code`; nothing when the system has no text for it.
void ReportSystemError(HWND owner, DWORD code);
inline void ReportError(DWORD code) { ReportSystemError(nullptr, code); }
// The system's text for the thread's last error.
inline void ReportLastError() { ReportError(GetLastError()); }
// The generic failure: missing arguments and unexpected states.
inline void ReportFault() { ShowErrorBox(nullptr, kMsgSystemFault); }

// Shows "path too long" naming folder\name whole, so the user can find the item.
void ReportPathTooLong(HWND owner, const char* folder, const char* name);

// An error box of `message` followed by `path`.
void ShowPathMessage(const char* message, const char* path);

// While a capture lives on a thread, the error boxes of that thread are not shown but
// kept, their texts in order: a preview learns what a run would report, word for word,
// without a box.
class ReportCapture {
public:
    ReportCapture();
    ~ReportCapture();
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    // The first text kept since the last Clear, or empty.
    bool Any() const { return text_[0] != '\0'; }
    const char* Text() const { return text_; }
    void Clear() { text_[0] = '\0'; }
    // Used by the error box.
    void Keep(const char* text);

private:
    ReportCapture* previous_;
    char text_[1024];
};

// Closes `handle` (any owner of handles.h) and reports a failing close. 1 when it
// closed (or held nothing); 0 after the report.
template <typename Handle>
int CloseReporting(Handle& handle)
{
    if (handle.Close()) return 1;
    ReportLastError();
    return 0;
}
