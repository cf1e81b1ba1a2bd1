#include "dragdrop/new_folder.h"

#include <climits>
#include <cstring>

#include "common/report.h"
#include "common/rules/path_build.h"
#include "dragdrop/rules/drop_rule.h"

int WantedFolderPath(const char* dropFolder, const char* full, std::size_t nameOffset, bool dropExtension,
                     char* wanted)
{
    char name[kPathSize];
    if (!FolderNameForItem(full, dropExtension, name, sizeof name)) {
        ShowErrorBox(nullptr, kMsgUnreadablePath);
        return 0;
    }
    if (!JoinUnderFolder(wanted, kPathSize, dropFolder, name)) {
        ReportPathTooLong(nullptr, dropFolder, full + nameOffset);
        return 0;
    }
    return 1;
}

int CreateUniqueFolder(HWND owner, char* path)
{
    if (owner == nullptr || path == nullptr || path[0] == '\0' || std::memchr(path, '\0', kPathSize) == nullptr) {
        ReportFault();
        return 0;
    }
    char work[kPathSize];
    std::memcpy(work, path, kPathSize);
    for (unsigned counter = 1; !CreateDirectoryA(work, nullptr); ++counter) {
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            ReportError(error);
            return 0;
        }
        if (counter == UINT_MAX) {
            ReportFault();
            return 0;
        }
        if (!FormatCandidate(work, sizeof work, path, counter)) {
            ReportPathTooLong(nullptr, path, nullptr);
            return 0;
        }
    }
    std::memcpy(path, work, kPathSize);
    return 1;
}
