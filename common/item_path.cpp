#include "common/item_path.h"

#include <cstring>

#include "common/report.h"
#include "common/rules/cp932_text.h"
#include "common/rules/path_build.h"

int ResolveItemPath(const char* path, char* full, std::size_t* nameOffset, NoNameReport noName)
{
    std::memset(full, 0, kPathSize);
    *nameOffset = 0;
    const DWORD length = GetFullPathNameA(path, static_cast<DWORD>(kPathSize), full, nullptr);
    if (length == 0) {
        ReportLastError();
        return 0;
    }
    if (length >= kPathSize) {
        std::memset(full, 0, kPathSize);
        ReportPathTooLong(nullptr, path, nullptr);
        return 0;
    }
    *nameOffset = FinalComponentOffset(full);
    if (full[*nameOffset] == '\0') {
        if (noName == NoNameReport::NoNamePart) {
            ShowPathMessage(kMsgNoNamePart, full);
        } else {
            ShowErrorBox(nullptr, kMsgUnreadablePath);
        }
        return 0;
    }
    return 1;
}
