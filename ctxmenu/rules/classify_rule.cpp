#include "ctxmenu/rules/classify_rule.h"

#include <cstdio>
#include <cstring>

bool IsClassifyViewClass(const char* className)
{
    return className != nullptr && std::strcmp(className, "SysListView32") == 0;
}

bool FormatDateFolderName(char* out, std::size_t outSize, unsigned year, unsigned month, unsigned day)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    const int written = std::snprintf(out, outSize, "%04u%02u%02u", year, month, day);
    if (written < 0 || static_cast<std::size_t>(written) >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool BuildClassifyTarget(const char* fullPath, std::size_t nameOffset, const char* dateName,
                         char* folder, std::size_t folderSize, char* target, std::size_t targetSize)
{
    if (folder == nullptr || folderSize == 0 || target == nullptr || targetSize == 0) return false;
    folder[0] = '\0';
    target[0] = '\0';
    if (fullPath == nullptr || dateName == nullptr) return false;
    const std::size_t pathLength = std::strlen(fullPath);
    if (nameOffset >= pathLength) return false;  // no file-name part
    const char* name = fullPath + nameOffset;
    const std::size_t nameLength = pathLength - nameOffset;
    const std::size_t dateLength = std::strlen(dateName);
    const std::size_t folderLength = nameOffset + dateLength;
    const std::size_t targetLength = folderLength + 1 + nameLength;
    if (folderLength >= folderSize || targetLength >= targetSize) return false;

    std::memcpy(folder, fullPath, nameOffset);
    std::memcpy(folder + nameOffset, dateName, dateLength);
    folder[folderLength] = '\0';
    std::memcpy(target, folder, folderLength);
    target[folderLength] = '\\';
    std::memcpy(target + folderLength + 1, name, nameLength);
    target[targetLength] = '\0';
    return true;
}
