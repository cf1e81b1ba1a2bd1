#include "common/folder_walk.h"

#include <cstring>

#include "common/exact_text.h"
#include "common/handles.h"
#include "common/report.h"

namespace {

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

FolderEntry FolderListing::operator[](std::size_t index) const
{
    const Listed& listed = entries_[index];
    return FolderEntry{names_.data() + listed.name, listed.exact,         listed.attributes, listed.creationTime,
                       listed.lastAccessTime,       listed.lastWriteTime, listed.size};
}

int FolderListing::Read(HWND owner, const char* folder, const char* pattern)
{
    entries_.clear();
    names_.clear();
    if (folder == nullptr || pattern == nullptr) {
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
            char name[kPathSize];
            const bool exact = WideToAnsiExact(found.cFileName, name, sizeof name);
            const std::size_t length = std::strlen(name);
            try {
                entries_.push_back(Listed{names_.size(), exact, found.dwFileAttributes, found.ftCreationTime,
                                          found.ftLastAccessTime, found.ftLastWriteTime,
                                          (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
                names_.insert(names_.end(), name, name + length + 1);
            } catch (...) {
                // No exception leaves the walk.
                entries_.clear();
                names_.clear();
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
    return 1;
}

int WalkFolder(HWND owner, const char* folder, const char* pattern, FolderVisitor visit, void* context)
{
    if (visit == nullptr) {
        ShowErrorBox(owner, kMsgSystemFault);
        return 0;
    }
    FolderListing listing;
    if (!listing.Read(owner, folder, pattern)) return 0;
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const FolderEntry entry = listing[i];
        if (!entry.exact) {
            ShowErrorBox(owner, kMsgUnreadablePath);
            return 0;
        }
        if (!visit(folder, entry, context)) return 0;
    }
    return 1;
}

int ForEachFolderEntry(HWND owner, const char* folder, FolderVisitor visit, void* context)
{
    return WalkFolder(owner, folder, "*.*", visit, context);
}
