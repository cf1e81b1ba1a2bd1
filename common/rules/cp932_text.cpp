#include "common/rules/cp932_text.h"

#include <cstring>

std::size_t CharLength932(const char* text, std::size_t length, std::size_t at)
{
    return IsLeadByte932(static_cast<unsigned char>(text[at])) && at + 1 < length ? 2 : 1;
}

bool IsLeadByte932(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::size_t FindText932(const char* text, std::size_t textLength, std::size_t from, const char* search,
                        std::size_t searchLength)
{
    if (text == nullptr || search == nullptr || searchLength == 0) return kTextNotFound;
    for (std::size_t at = from; at < textLength && searchLength <= textLength - at;
         at += CharLength932(text, textLength, at)) {
        if (std::memcmp(text + at, search, searchLength) != 0) continue;
        // The match must cover whole characters of the text.
        std::size_t end = at;
        while (end < at + searchLength) end += CharLength932(text, textLength, end);
        if (end == at + searchLength) return at;
    }
    return kTextNotFound;
}

void ExtensionScanner932::Feed(unsigned char b)
{
    if (trail_) {
        trail_ = false;
    } else if (IsLeadByte932(b)) {
        trail_ = true;
    } else if (b == '\\' || b == ' ') {
        dot_ = kTextNotFound;
    } else if (b == '.') {
        dot_ = length_;
    }
    ++length_;
}

std::size_t FindExtension932(const char* path)
{
    if (path == nullptr) return 0;
    ExtensionScanner932 scanner;
    for (const char* p = path; *p != '\0'; ++p) scanner.Feed(static_cast<unsigned char>(*p));
    return scanner.extension();
}

bool HasPathSeparator932(const char* name)
{
    if (name == nullptr) return false;
    const std::size_t length = std::strlen(name);
    for (std::size_t at = 0; at < length; at += CharLength932(name, length, at)) {
        if (name[at] == '\\' || name[at] == '/') return true;
    }
    return false;
}

std::size_t FinalComponentOffset(const char* path)
{
    if (path == nullptr) return 0;
    const std::size_t length = std::strlen(path);
    std::size_t final = 0;
    for (std::size_t at = 0; at < length; at += CharLength932(path, length, at))
        if (path[at] == '\\') final = at + 1;
    return final;
}
