#include "ctxmenu/rename_step.h"

#include <cstring>

#include "common/item_path.h"
#include "common/report.h"
#include "common/rules/cp932_text.h"
#include "common/rules/path_build.h"

int ResolveItemName(const char* path, char* full, char** name)
{
    std::size_t offset = 0;
    *name = nullptr;
    if (!ResolveItemPath(path, full, &offset, NoNameReport::NoNamePart)) return 0;
    *name = full + offset;
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
