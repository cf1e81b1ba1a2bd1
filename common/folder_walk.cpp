#include "common/folder_walk.h"

#include <cstring>
#include <new>
#include <vector>

#include "common/exact_text.h"
#include "common/handles.h"
#include "common/report.h"
#include "common/selection.h"

namespace {

// One listed entry: its converted name, or an empty name when it had no exact form.
struct ListedEntry {
    FolderEntry entry;
    bool exact;
};

bool IsDots(const wchar_t* name)
{
    return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

}  // namespace

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

int WalkFolder(HWND owner, const char* folder, const char* pattern, FolderVisitor visit, void* context)
{
    if (folder == nullptr || pattern == nullptr || visit == nullptr) {
        ShowErrorBox(owner, kMsgSystemFault);
        return 0;
    }
    char search[kPathSize];
    if (!BuildChildPath(search, folder, pattern, owner)) return 0;
    wchar_t wideSearch[kPathSize];
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, search, -1, wideSearch, static_cast<int>(kPathSize)) == 0) {
        ShowErrorBox(owner, kMsgUnreadablePath);
        return 0;
    }

    // The whole listing is taken before the first visit: a visitor that renames an entry
    // must not meet it again under its new name, which some file systems would list.
    std::vector<ListedEntry> entries;
    {
        WIN32_FIND_DATAW found;
        FindHandle listing(FindFirstFileW(wideSearch, &found));
        if (!listing.valid()) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return 1;
            ReportSystemError(owner, error);
            return 0;
        }
        for (;;) {
            if (!IsDots(found.cFileName)) {
                ListedEntry listed;
                listed.exact = WideToAnsiExact(found.cFileName, listed.entry.name, sizeof listed.entry.name);
                listed.entry.attributes = found.dwFileAttributes;
                listed.entry.creationTime = found.ftCreationTime;
                listed.entry.lastAccessTime = found.ftLastAccessTime;
                listed.entry.lastWriteTime = found.ftLastWriteTime;
                listed.entry.size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
                const std::size_t before = entries.size();
                try {
                    entries.push_back(listed);
                } catch (...) {
                    // No exception leaves the walk: the failed growth is seen below.
                }
                if (entries.size() == before) {
                    ShowErrorBox(owner, kMsgNoMemory);
                    return 0;
                }
            }
            if (!FindNextFileW(listing.get(), &found)) {
                const DWORD error = GetLastError();
                if (error != ERROR_NO_MORE_FILES) {
                    ReportSystemError(owner, error);
                    return 0;
                }
                break;
            }
        }
        if (!listing.Close()) {
            ReportSystemError(owner, GetLastError());
            return 0;
        }
    }
    for (const ListedEntry& listed : entries) {
        if (!listed.exact) {
            ShowErrorBox(owner, kMsgUnreadablePath);
            return 0;
        }
        if (!visit(folder, listed.entry, context)) return 0;
    }
    return 1;
}

int ForEachFolderEntry(HWND owner, const char* folder, FolderVisitor visit, void* context)
{
    return WalkFolder(owner, folder, "*.*", visit, context);
}
