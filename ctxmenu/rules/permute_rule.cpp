#include "permute_rule.h"

#include <cstring>

namespace {

// Bytes of the character at `at`: 2 for a lead byte with a byte after it, else 1.
std::size_t CharLength(const char* text, std::size_t length, std::size_t at)
{
    return IsLeadByte932(static_cast<unsigned char>(text[at])) && at + 1 < length ? 2 : 1;
}

// Follows the bytes of a text fed piece by piece the way FindExtension932 reads a whole
// path: the result is where the extension of everything fed so far begins.
class ExtensionScanner {
public:
    void Feed(unsigned char b)
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
    std::size_t length() const { return length_; }
    std::size_t extension() const { return dot_ == kTextNotFound ? length_ : dot_; }

private:
    std::size_t length_ = 0;
    std::size_t dot_ = kTextNotFound;
    bool trail_ = false;
};

// Writes the first `limit` bytes of a text fed piece by piece.
class BoundedWriter {
public:
    BoundedWriter(char* out, std::size_t limit) : out_(out), limit_(limit) {}
    void Feed(unsigned char b)
    {
        if (written_ < limit_) out_[written_++] = static_cast<char>(b);
    }
    std::size_t written() const { return written_; }

private:
    char* out_;
    std::size_t limit_;
    std::size_t written_ = 0;
};

// Feeds the replaced name to `sink` byte by byte, so its length and extension are known
// before anything is written to a fixed buffer.
template <typename Sink>
void EmitReplaced(const char* name, const PermuteRule& rule, Sink& sink)
{
    const std::size_t nameLength = std::strlen(name);
    const std::size_t searchLength = std::strlen(rule.search);
    const std::size_t replacementLength = std::strlen(rule.replacement);
    std::size_t rest = 0;   // start of the part of the name not yet consumed
    for (;;) {
        const std::size_t match = FindText932(name, nameLength, rest, rule.search, searchLength);
        if (match == kTextNotFound) break;
        for (std::size_t i = rest; i < match; ++i) sink.Feed(static_cast<unsigned char>(name[i]));
        for (std::size_t i = 0; i < replacementLength; ++i) sink.Feed(static_cast<unsigned char>(rule.replacement[i]));
        rest = match + searchLength;
        if (!rule.everyOccurrence) break;
    }
    for (std::size_t i = rest; i < nameLength; ++i) sink.Feed(static_cast<unsigned char>(name[i]));
}

}  // namespace

bool IsLeadByte932(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::size_t FindText932(const char* text, std::size_t textLength, std::size_t from, const char* search,
                        std::size_t searchLength)
{
    if (text == nullptr || search == nullptr || searchLength == 0) return kTextNotFound;
    for (std::size_t at = from; at < textLength && searchLength <= textLength - at;
         at += CharLength(text, textLength, at)) {
        if (std::memcmp(text + at, search, searchLength) != 0) continue;
        // The match must cover whole characters of the text.
        std::size_t end = at;
        while (end < at + searchLength) end += CharLength(text, textLength, end);
        if (end == at + searchLength) return at;
    }
    return kTextNotFound;
}

std::size_t FindExtension932(const char* path)
{
    if (path == nullptr) return 0;
    ExtensionScanner scanner;
    for (const char* p = path; *p != '\0'; ++p) scanner.Feed(static_cast<unsigned char>(*p));
    return scanner.extension();
}

bool HasPathSeparator932(const char* name)
{
    if (name == nullptr) return false;
    const std::size_t length = std::strlen(name);
    for (std::size_t at = 0; at < length; at += CharLength(name, length, at)) {
        if (name[at] == '\\' || name[at] == '/') return true;
    }
    return false;
}

bool PermuteName(const char* name, const PermuteRule& rule, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (name == nullptr || rule.search == nullptr || rule.replacement == nullptr) return false;

    ExtensionScanner scanner;
    EmitReplaced(name, rule, scanner);

    std::size_t keep = scanner.length();   // bytes of the replaced name that stay
    const char* oldExtension = "";
    if (rule.keepExtension) {
        keep = scanner.extension();
        oldExtension = name + FindExtension932(name);
    }
    const std::size_t extensionLength = std::strlen(oldExtension);
    if (keep + extensionLength >= outSize) return false;

    BoundedWriter writer(out, keep);
    EmitReplaced(name, rule, writer);
    std::memcpy(out + keep, oldExtension, extensionLength);
    out[keep + extensionLength] = '\0';
    return true;
}
