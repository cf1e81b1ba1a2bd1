#include "common/exact_text.h"

#include <memory>
#include <new>

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

int ModulePathExact(HMODULE module, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0 || outSize > 0x7FFFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    out[0] = '\0';
    // Every character takes at least one byte in code page 932, so a path that fills
    // `outSize` wide characters cannot fit `outSize` bytes either.
    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[outSize]);
    if (!wide) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    SetLastError(NO_ERROR);
    const DWORD length = GetModuleFileNameW(module, wide.get(), static_cast<DWORD>(outSize));
    if (length == 0) {
        if (GetLastError() == NO_ERROR) SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (length >= outSize) {   // the path filled the buffer: it may be cut
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    BOOL usedDefault = FALSE;
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.get(), -1, nullptr, 0, nullptr,
                                           &usedDefault);
    if (needed <= 0 || usedDefault) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (static_cast<std::size_t>(needed) > outSize) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    if (!WideToAnsiExact(wide.get(), out, outSize)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return 1;
}
