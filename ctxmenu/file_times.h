// File times of the commands: reading and setting them, and the conversions between
// file times and local calendar times.
#pragma once
#include <windows.h>

// A time no file can have (its high bit is set): what GetFileTimes leaves in a time it
// is given when the search finds nothing for the path.
inline constexpr FILETIME kNoFileTime = {0xFFFFFFFF, 0xFFFFFFFF};
inline bool IsNoFileTime(const FILETIME& t)
{
    return t.dwLowDateTime == kNoFileTime.dwLowDateTime && t.dwHighDateTime == kNoFileTime.dwHighDateTime;
}
// Creation and last-write time of `path` (either out may be null). A path that does not
// exist gives 1 with the outs untouched.
int GetFileTimes(const char* path, FILETIME* creation, FILETIME* lastWrite);
// Sets the given times (null: unchanged). A folder is left alone and gives 1.
int SetFileTimes(const char* path, const FILETIME* creation, const FILETIME* lastWrite);
int FileTimeToLocalSystemTime(const FILETIME* time, SYSTEMTIME* local);
// The local calendar time of the last write of `path`. Gives 1 with `found` false when
// the search finds nothing for the path (it vanished, or it is a drive root); 0 after a
// reported failure.
int GetLocalLastWrite(const char* path, SYSTEMTIME* local, bool* found);
int LocalSystemTimeToFileTime(const SYSTEMTIME* local, FILETIME* time);

// A file time as one 64-bit count and back.
inline ULONGLONG FileTimeUnits(const FILETIME& t)
{
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}
inline FILETIME FileTimeFromUnits(ULONGLONG units)
{
    return FILETIME{static_cast<DWORD>(units & 0xFFFFFFFF), static_cast<DWORD>(units >> 32)};
}

// The system's present offset of local time from UTC, taken once for a run. Local time
// uses that one offset for every date alike, so adding it by arithmetic gives the local
// times the platform's per-item conversions give, without a time-zone query per item.
class LocalClock {
public:
    LocalClock();
    // As FileTimeToLocalSystemTime and LocalSystemTimeToFileTime, failures reported the
    // same way; `time` is written only on success.
    int ToLocal(const FILETIME& time, SYSTEMTIME* local) const;
    int FromLocal(const SYSTEMTIME& local, FILETIME* time) const;

private:
    ULONGLONG offset_ = 0;   // local minus UTC, in file-time units (wrapping)
    bool known_ = false;     // false: the per-item conversions are used
};
