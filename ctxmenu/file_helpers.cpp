#include "file_helpers.h"

#include <commdlg.h>

#include <cstring>

#include "handles.h"
#include "path_build.h"
#include "permute_rule.h"
#include "report.h"

namespace {

// The filter pairs of the Save-As chooser, each text followed by its pattern.
constexpr char kTextFileFilter[] =
    "テキストファイル(*.txt)\0*.txt\0すべてのファイル(*.*)\0*.*\0";

}  // namespace

int ChooseSaveFile(HWND owner, const char* title, const char* initialFolder, char* fileName)
{
    if (fileName == nullptr) {
        ReportFault();
        return 0;
    }
    OPENFILENAMEA ofn;
    std::memset(&ofn, 0, sizeof ofn);
    // The short form of the structure: no places bar, the layout every version knows.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kTextFileFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = fileName;
    ofn.nMaxFile = static_cast<DWORD>(kPathSize);
    ofn.lpstrInitialDir = initialFolder;
    ofn.lpstrTitle = title;
    // The chooser runs inside Explorer: it must not change Explorer's current folder.
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = "txt";
    return GetSaveFileNameA(&ofn) ? 1 : 0;
}

int AppendToFile(const char* path, const void* data, DWORD size)
{
    if (path == nullptr || data == nullptr || size == 0) {
        ReportFault();
        return 0;
    }
    // OPEN_ALWAYS: created when missing, never truncated.
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        ReportLastError();
        return 0;
    }
    bool ok = false;
    DWORD written = 0;
    if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER ||
        !WriteFile(file.get(), data, size, &written, nullptr)) {
        ReportLastError();
    } else if (written != size) {
        ReportFault();
    } else {
        ok = true;
    }
    if (!CloseReporting(file)) return 0;
    return ok ? 1 : 0;
}

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

int ResolveItemName(const char* path, char* full, char** name)
{
    *name = nullptr;
    const DWORD length = GetFullPathNameA(path, static_cast<DWORD>(kPathSize), full, name);
    if (length == 0) {
        ReportLastError();
        return 0;
    }
    if (length >= kPathSize) {
        ReportPathTooLong(nullptr, path, nullptr);
        return 0;
    }
    if (*name == nullptr || **name == '\0') {
        ShowPathMessage(kMsgNoNamePart, full);
        return 0;
    }
    return 1;
}

int RenameToName(const char* source, std::size_t folderLength, const char* newName, const char* tooLong,
                 bool skipUnchanged, char* target)
{
    if (newName[0] == '\0' || HasPathSeparator932(newName)) {
        ReportError(ERROR_INVALID_NAME);
        return 0;
    }
    char folder[kPathSize];
    std::memcpy(folder, source, folderLength);
    folder[folderLength] = '\0';
    if (!ConcatPath(target, kPathSize, folder, newName)) {
        ShowPathMessage(tooLong, source);
        return 0;
    }
    if (skipUnchanged && std::strcmp(target, source) == 0) return 1;
    if (!MoveFileA(source, target)) {
        ReportLastError();
        return 0;
    }
    return 1;
}
