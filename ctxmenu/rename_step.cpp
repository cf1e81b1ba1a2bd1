#include "ctxmenu/rename_step.h"

#include <cstring>

#include "common/report.h"
#include "common/rules/cp932_text.h"
#include "common/rules/path_build.h"

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
