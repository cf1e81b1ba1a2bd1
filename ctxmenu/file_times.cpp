#include "ctxmenu/file_times.h"

#include "common/handles.h"
#include "common/report.h"

int GetFileTimes(const char* path, FILETIME* creation, FILETIME* lastWrite)
{
    if (path == nullptr) {
        ReportFault();
        return 0;
    }
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA(path, &found));
    if (!search.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return 1;
        ReportError(error);
        return 0;
    }
    if (creation != nullptr) *creation = found.ftCreationTime;
    if (lastWrite != nullptr) *lastWrite = found.ftLastWriteTime;
    return CloseReporting(search);
}

int SetFileTimes(const char* path, const FILETIME* creation, const FILETIME* lastWrite)
{
    if (path == nullptr) {
        ReportFault();
        return 0;
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ReportLastError();
        return 0;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return 1;

    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        ReportLastError();
        return 0;
    }
    if (!SetFileTime(file.get(), creation, nullptr, lastWrite)) {
        ReportLastError();
        return 0;   // the handle closes on the way out
    }
    return CloseReporting(file);
}

int FileTimeToLocalSystemTime(const FILETIME* time, SYSTEMTIME* local)
{
    if (time == nullptr || local == nullptr) {
        ReportFault();
        return 0;
    }
    FILETIME localTime;
    if (!FileTimeToLocalFileTime(time, &localTime) || !FileTimeToSystemTime(&localTime, local)) {
        ReportLastError();
        return 0;
    }
    return 1;
}

int GetLocalLastWrite(const char* path, SYSTEMTIME* local, bool* found)
{
    *found = false;
    // A time no file can have (its high bit is set): still there when the search found
    // nothing for the path.
    FILETIME written = kNoFileTime;
    if (!GetFileTimes(path, nullptr, &written)) return 0;
    if (IsNoFileTime(written)) return 1;
    if (!FileTimeToLocalSystemTime(&written, local)) return 0;
    *found = true;
    return 1;
}

int LocalSystemTimeToFileTime(const SYSTEMTIME* local, FILETIME* time)
{
    if (local == nullptr || time == nullptr) {
        ReportFault();
        return 0;
    }
    FILETIME localTime;
    FILETIME utc;
    if (!SystemTimeToFileTime(local, &localTime) || !LocalFileTimeToFileTime(&localTime, &utc)) {
        ReportLastError();
        return 0;
    }
    *time = utc;
    return 1;
}

LocalClock::LocalClock()
{
    FILETIME now;
    FILETIME local;
    GetSystemTimeAsFileTime(&now);
    if (FileTimeToLocalFileTime(&now, &local)) {
        offset_ = FileTimeUnits(local) - FileTimeUnits(now);
        known_ = true;
    }
}

int LocalClock::ToLocal(const FILETIME& time, SYSTEMTIME* local) const
{
    if (!known_) return FileTimeToLocalSystemTime(&time, local);
    const FILETIME localTime = FileTimeFromUnits(FileTimeUnits(time) + offset_);
    if (!FileTimeToSystemTime(&localTime, local)) {
        ReportLastError();
        return 0;
    }
    return 1;
}

int LocalClock::FromLocal(const SYSTEMTIME& local, FILETIME* time) const
{
    if (!known_) return LocalSystemTimeToFileTime(&local, time);
    FILETIME localTime;
    if (!SystemTimeToFileTime(&local, &localTime)) {
        ReportLastError();
        return 0;
    }
    *time = FileTimeFromUnits(FileTimeUnits(localTime) - offset_);
    return 1;
}
