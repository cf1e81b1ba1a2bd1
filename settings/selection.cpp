#include "selection.h"

#include <cstring>

#include <shlobj.h>

#include "path_build.h"

bool WideToAnsiExact(const wchar_t* wide, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (wide == nullptr) return false;
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out,
                                            static_cast<int>(outSize), nullptr, &usedDefault);
    if (written <= 0 || usedDefault) {
        out[0] = '\0';
        return false;
    }
    return true;
}

UINT SelectedCount(HDROP drop)
{
    // An empty or foreign block holds no list; asking the shell to count it would read
    // past its end.
    if (drop == nullptr || GlobalSize(drop) < sizeof(DROPFILES)) return 0;
    return DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
}

int QuerySelectedPath(HDROP drop, UINT index, char* path)
{
    if (path == nullptr) return 0;
    std::memset(path, 0, kPathSize);
    if (drop == nullptr) return 0;
    // A name that would not fit whole is not read at all: a cut path names another item.
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0 || length >= kPathSize) return 0;
    wchar_t wide[kPathSize] = {};
    if (DragQueryFileW(drop, index, wide, static_cast<UINT>(kPathSize)) == 0) return 0;
    // The code page 932 form must fit in 260 bytes as well: a double-byte character
    // takes two.
    if (!WideToAnsiExact(wide, path, kPathSize)) {
        std::memset(path, 0, kPathSize);
        return 0;
    }
    return 1;
}
