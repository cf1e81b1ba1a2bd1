// The name replacement rule: from a name, a search text and a replacement text to the
// new name. Byte work on code page 932 text; no Win32 here.
#pragma once
#include <cstddef>

#include "common/rules/cp932_text.h"

struct PermuteRule {
    const char* search;        // zero-terminated, not empty to find anything
    const char* replacement;   // zero-terminated, may be empty
    bool everyOccurrence;      // false: the first occurrence only
    bool keepExtension;        // put the old extension back after replacing
};

// Writes the new name for `name` into `out`. Occurrences are taken left to right, never
// overlap, and the replacement text is not searched again. With keepExtension the
// extension of the result is replaced by the extension of `name` (which may be empty).
// Returns false, leaving `out` empty, when the new name and its terminator do not fit
// in `outSize` bytes.
bool PermuteName(const char* name, const PermuteRule& rule, char* out, std::size_t outSize);
