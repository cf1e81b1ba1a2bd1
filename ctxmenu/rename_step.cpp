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

int RenameStep::Rename(WalkItem& item, const char* source, std::size_t folderLength, const char* newName,
                       const char* tooLong, bool skipUnchanged)
{
    item.after[0] = '\0';
    if (newName[0] == '\0' || HasPathSeparator932(newName)) {
        ReportError(ERROR_INVALID_NAME);
        return 0;
    }
    char folder[kPathSize];
    std::memcpy(folder, source, folderLength);
    folder[folderLength] = '\0';
    char target[kPathSize];
    if (!ConcatPath(target, kPathSize, folder, newName)) {
        ShowPathMessage(tooLong, source);
        return 0;
    }
    // An item left as it is stays where it is, for the descent too.
    if (skipUnchanged && std::strcmp(target, source) == 0) return 1;
    if (!Move(item, source, target)) return 0;
    std::memcpy(item.after, target, std::strlen(target) + 1);
    return 1;
}

int DiskRenames::Move(WalkItem&, const char* source, const char* target)
{
    if (!MoveFileA(source, target)) {
        ReportLastError();
        return 0;
    }
    return 1;
}
