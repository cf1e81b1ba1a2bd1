// Code page 932 text, byte by byte: which bytes lead a double-byte character, where a
// search text matches on whole characters, where an extension begins and whether a
// name holds a path separator. No Win32 here.
#pragma once
#include <cstddef>

inline constexpr std::size_t kTextNotFound = static_cast<std::size_t>(-1);

// Lead bytes of double-byte characters in code page 932.
bool IsLeadByte932(unsigned char b);

// Bytes of the character at `at` of a text of `length` bytes: 2 for a lead byte with a
// byte after it, else 1.
std::size_t CharLength932(const char* text, std::size_t length, std::size_t at);

// Offset of the first occurrence of `search` in `text` at or after `from`, or
// kTextNotFound. A match starts and ends on a character boundary: it never begins on,
// nor ends before, the second byte of a double-byte character. `from` must be a
// boundary. An empty search text is never found.
std::size_t FindText932(const char* text, std::size_t textLength, std::size_t from, const char* search,
                        std::size_t searchLength);

// Follows the bytes of a text fed one after the other the way FindExtension932 reads a
// whole path: extension() is where the extension of everything fed so far begins.
class ExtensionScanner932 {
public:
    void Feed(unsigned char b);
    std::size_t length() const { return length_; }
    std::size_t extension() const { return dot_ == kTextNotFound ? length_ : dot_; }

private:
    std::size_t length_ = 0;
    std::size_t dot_ = kTextNotFound;
    bool trail_ = false;
};

// Offset of the "." that begins the extension of the final component of `path`, or of
// its terminating zero when it has none. A "." followed later by a space or a
// backslash does not count; double-byte characters are stepped over whole.
std::size_t FindExtension932(const char* path);

// True when `name` holds a "\" or "/" as a character of its own (not as the second
// byte of a double-byte character): such a name would reach into another folder.
bool HasPathSeparator932(const char* name);

// Offset of the final component of `path`: the byte after its last backslash character
// (a trail byte 5C of a double-byte character is no backslash), or 0 when it has none.
std::size_t FinalComponentOffset(const char* path);
