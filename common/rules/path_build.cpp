#include "common/rules/path_build.h"

#include <cstring>

namespace {

bool Concat3(char* out, std::size_t outSize, const char* a, const char* b, const char* c)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (a == nullptr || b == nullptr || c == nullptr) return false;
    const std::size_t la = std::strlen(a), lb = std::strlen(b), lc = std::strlen(c);
    if (la + lb + lc >= outSize) return false;
    std::memcpy(out, a, la);
    std::memcpy(out + la, b, lb);
    std::memcpy(out + la + lb, c, lc);
    out[la + lb + lc] = '\0';
    return true;
}

}  // namespace

bool JoinChildPath(char* out, std::size_t outSize, const char* folder, const char* name)
{
    return Concat3(out, outSize, folder, "\\", name);
}

bool ConcatPath(char* out, std::size_t outSize, const char* first, const char* second)
{
    return Concat3(out, outSize, first, "", second);
}
