// The name replacement rule: from a name, a search text and a replacement text to the
// new name. Byte work on code page 932 text; no Win32 here.
#pragma once
#include <cstddef>

inline constexpr std::size_t kTextNotFound = static_cast<std::size_t>(-1);

// Lead bytes of double-byte characters in code page 932.
bool IsLeadByte932(unsigned char b);

// Offset of the first occurrence of `search` in `text` at or after `from`, or
// kTextNotFound. A match starts and ends on a character boundary: it never begins on,
// nor ends before, the second byte of a double-byte character. `from` must be a
// boundary. An empty search text is never found.
std::size_t FindText932(const char* text, std::size_t textLength, std::size_t from, const char* search,
                        std::size_t searchLength);

// Offset of the "." that begins the extension of the final component of `path`, or of
// its terminating zero when it has none. A "." followed later by a space or a
// backslash does not count; double-byte characters are stepped over whole.
std::size_t FindExtension932(const char* path);

// True when `name` holds a "\" or "/" as a character of its own (not as the second
// byte of a double-byte character): such a name would reach into another folder.
bool HasPathSeparator932(const char* name);

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
