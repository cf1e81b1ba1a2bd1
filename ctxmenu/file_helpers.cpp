#include "file_helpers.h"

#include <commdlg.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "handles.h"
#include "path_build.h"
#include "settings.h"

namespace {

// The filter pairs of the Save-As chooser, each text followed by its pattern.
constexpr char kTextFileFilter[] =
    "テキストファイル(*.txt)\0*.txt\0すべてのファイル(*.*)\0*.*\0";

}  // namespace

int ChooseSaveFile(HWND owner, const char* title, const char* initialFolder, char* fileName)
{
    if (fileName == nullptr) {
        ShowErrorBox(nullptr, kMsgSystemFault);
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
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    ofn.lpstrDefExt = "txt";
    return GetSaveFileNameA(&ofn) ? 1 : 0;
}

int AppendToFile(const char* path, const void* data, DWORD size)
{
    if (path == nullptr || data == nullptr || size == 0) {
        ShowErrorBox(nullptr, kMsgSystemFault);
        return 0;
    }
    // OPEN_ALWAYS: created when missing, never truncated.
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        ReportSystemError(nullptr, "", "", GetLastError());
        return 0;
    }
    bool ok = false;
    DWORD written = 0;
    if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER ||
        !WriteFile(file.get(), data, size, &written, nullptr)) {
        ReportSystemError(nullptr, "", "", GetLastError());
    } else if (written != size) {
        ShowErrorBox(nullptr, kMsgSystemFault);
    } else {
        ok = true;
    }
    if (!file.Close()) {
        ReportSystemError(nullptr, "", "", GetLastError());
        return 0;
    }
    return ok ? 1 : 0;
}

int GetFileTimes(const char* path, FILETIME* creation, FILETIME* lastWrite)
{
    if (path == nullptr) {
        ShowErrorBox(nullptr, kMsgSystemFault);
        return 0;
    }
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA(path, &found));
    if (!search.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return 1;
        ReportSystemError(nullptr, "", "", error);
        return 0;
    }
    if (creation != nullptr) *creation = found.ftCreationTime;
    if (lastWrite != nullptr) *lastWrite = found.ftLastWriteTime;
    if (!search.Close()) {
        ReportSystemError(nullptr, "", "", GetLastError());
        return 0;
    }
    return 1;
}

int SetFileTimes(const char* path, const FILETIME* creation, const FILETIME* lastWrite)
{
    if (path == nullptr) {
        ShowErrorBox(nullptr, kMsgSystemFault);
        return 0;
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ReportSystemError(nullptr, "", "", GetLastError());
        return 0;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return 1;

    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        ReportSystemError(nullptr, "", "", GetLastError());
        return 0;
    }
    if (!SetFileTime(file.get(), creation, nullptr, lastWrite)) {
        ReportSystemError(nullptr, "", "", GetLastError());
        return 0;   // the handle closes on the way out
    }
    if (!file.Close()) {
        ReportSystemError(nullptr, "", "", GetLastError());
        return 0;
    }
    return 1;
}

int FileTimeToLocalSystemTime(const FILETIME* time, SYSTEMTIME* local)
{
    if (time == nullptr || local == nullptr) {
        ShowErrorBox(nullptr, kMsgSystemFault);
        return 0;
    }
    FILETIME localTime;
    if (!FileTimeToLocalFileTime(time, &localTime) || !FileTimeToSystemTime(&localTime, local)) {
        ReportSystemError(nullptr, "", "", GetLastError());
        return 0;
    }
    return 1;
}

int GetLocalLastWrite(const char* path, SYSTEMTIME* local, bool* found)
{
    *found = false;
    // A time no file can have (its high bit is set): still there when the search found
    // nothing for the path.
    FILETIME written{0xFFFFFFFF, 0xFFFFFFFF};
    if (!GetFileTimes(path, nullptr, &written)) return 0;
    if (written.dwLowDateTime == 0xFFFFFFFF && written.dwHighDateTime == 0xFFFFFFFF) return 1;
    if (!FileTimeToLocalSystemTime(&written, local)) return 0;
    *found = true;
    return 1;
}

int LocalSystemTimeToFileTime(const SYSTEMTIME* local, FILETIME* time)
{
    if (local == nullptr || time == nullptr) {
        ShowErrorBox(nullptr, kMsgSystemFault);
        return 0;
    }
    FILETIME localTime;
    FILETIME utc;
    if (!SystemTimeToFileTime(local, &localTime) || !LocalFileTimeToFileTime(&localTime, &utc)) {
        ReportSystemError(nullptr, "", "", GetLastError());
        return 0;
    }
    *time = utc;
    return 1;
}

void ReportPathTooLong(HWND owner, const char* folder, const char* name)
{
    // The path itself cannot be handled, but it is shown whole so the user can find it.
    std::string text = "パスが長すぎるため処理できません。\n";
    if (folder != nullptr) text += folder;
    if (name != nullptr) {
        if (folder != nullptr) text += '\\';
        text += name;
    }
    ShowErrorBox(owner, text.c_str());
}

int BuildChildPath(char* out, const char* folder, const char* name, HWND owner)
{
    if (out == nullptr || folder == nullptr || name == nullptr) {
        ShowErrorBox(owner, kMsgSystemFault);
        return 0;
    }
    if (!JoinChildPath(out, kPathSize, folder, name)) {
        ReportPathTooLong(owner, folder, name);
        return 0;
    }
    return 1;
}

int ForEachFolderEntry(HWND owner, const char* folder, FolderVisitor visit, void* context)
{
    if (folder == nullptr || visit == nullptr) {
        ShowErrorBox(owner, kMsgSystemFault);
        return 0;
    }
    char pattern[kPathSize];
    if (!BuildChildPath(pattern, folder, "*.*", owner)) return 0;

    // The whole listing is taken before the first visit: a visitor that renames an entry
    // must not meet it again under its new name, which some file systems would list.
    std::vector<WIN32_FIND_DATAA> entries;
    {
        WIN32_FIND_DATAA found;
        FindHandle search(FindFirstFileA(pattern, &found));
        if (!search.valid()) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return 1;
            ReportSystemError(owner, "", "", error);
            return 0;
        }
        for (;;) {
            const bool dots = std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0;
            if (!dots) {
                try {
                    entries.push_back(found);
                } catch (const std::bad_alloc&) {
                    ShowErrorBox(owner, kMsgNoMemory);
                    return 0;
                }
            }
            if (!FindNextFileA(search.get(), &found)) {
                const DWORD error = GetLastError();
                if (error != ERROR_NO_MORE_FILES) {
                    ReportSystemError(owner, "", "", error);
                    return 0;
                }
                break;
            }
        }
        if (!search.Close()) {
            ReportSystemError(owner, "", "", GetLastError());
            return 0;
        }
    }
    for (const WIN32_FIND_DATAA& entry : entries) {
        if (!visit(folder, entry, context)) return 0;
    }
    return 1;
}
