// Shorthands for the error boxes every deliverable shows. Each box is owned by the
// foreground window at the time of the report and carries the error title and icon.
#pragma once
#include <windows.h>

#include "settings.h"

// The system's text for `code`.
inline void ReportError(DWORD code) { ReportSystemError(nullptr, "", "", code); }
// The system's text for the thread's last error.
inline void ReportLastError() { ReportError(GetLastError()); }
// The generic failure: missing arguments and unexpected states.
inline void ReportFault() { ShowErrorBox(nullptr, kMsgSystemFault); }

// Closes `handle` (any owner of handles.h) and reports a failing close. 1 when it
// closed (or held nothing); 0 after the report.
template <typename Handle>
int CloseReporting(Handle& handle)
{
    if (handle.Close()) return 1;
    ReportLastError();
    return 0;
}

// Shows "path too long" naming folder\name whole, so the user can find the item.
void ReportPathTooLong(HWND owner, const char* folder, const char* name);
