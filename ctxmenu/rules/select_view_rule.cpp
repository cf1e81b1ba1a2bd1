#include "ctxmenu/rules/select_view_rule.h"

#include <cstring>

bool IsSelectionViewClass(const char* className)
{
    return className != nullptr &&
           (std::strcmp(className, "SysListView32") == 0 || std::strcmp(className, "DirectUIHWND") == 0);
}

const char* ExtensionSearchTail(const char* extension)
{
    return extension != nullptr && extension[0] != '\0' ? extension : ".";
}

bool BuildSearchPattern(char* out, std::size_t outSize, const char* folder, const char* tail)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (folder == nullptr || tail == nullptr) return false;
    const std::size_t lf = std::strlen(folder), lt = std::strlen(tail);
    if (lf + 2 + lt >= outSize) return false;
    std::memcpy(out, folder, lf);
    out[lf] = '\\';
    out[lf + 1] = '*';
    std::memcpy(out + lf + 2, tail, lt);
    out[lf + 2 + lt] = '\0';
    return true;
}

bool SameKind(unsigned attributes, unsigned reference)
{
    return (attributes & kDirectoryAttribute) == (reference & kDirectoryAttribute);
}

bool SameSelectAttributes(unsigned attributes, unsigned reference)
{
    return (attributes & kSelectAttributeMask) == (reference & kSelectAttributeMask);
}
