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
