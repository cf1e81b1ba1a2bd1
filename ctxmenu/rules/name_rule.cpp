#include "ctxmenu/rules/name_rule.h"

#include <cstring>

#include "common/rules/cp932_text.h"
#include "ctxmenu/rules/permute_rule.h"

const SymbolWidthPair SymbolWidthTable[kSymbolWidthPairs] = {
    {0x41, 0xA4},   // 、 ､
    {0x42, 0xA1},   // 。 ｡
    {0x44, 0x2E},   // ． .
    {0x49, 0x21},   // ！ !
    {0x4D, 0x60},   // ｀ `
    {0x4F, 0x5E},   // ＾ ^
    {0x51, 0x5F},   // ＿ _
    {0x60, 0x7E},   // ～ ~
    {0x66, 0x27},   // ’ '
    {0x69, 0x28},   // （ (
    {0x6A, 0x29},   // ） )
    {0x6D, 0x5B},   // ［ [
    {0x6E, 0x5D},   // ］ ]
    {0x6F, 0x7B},   // ｛ {
    {0x70, 0x7D},   // ｝ }
    {0x75, 0xA2},   // 「 ｢
    {0x76, 0xA3},   // 」 ｣
    {0x7B, 0x2B},   // ＋ +
    {0x7C, 0x2D},   // － -
    {0x81, 0x3D},   // ＝ =
    {0x90, 0x24},   // ＄ $
    {0x93, 0x25},   // ％ %
    {0x94, 0x23},   // ＃ #
    {0x95, 0x26},   // ＆ &
    {0x97, 0x40},   // ＠ @
};

namespace {

constexpr unsigned char kLatinLeadByte = 0x82;
constexpr unsigned char kFullSpaceTrail = 0x40;

const SymbolWidthPair* SymbolByFullTrail(unsigned char trail)
{
    for (const SymbolWidthPair& pair : SymbolWidthTable)
        if (pair.fullTrail == trail) return &pair;
    return nullptr;
}

const SymbolWidthPair* SymbolByHalf(unsigned char half)
{
    for (const SymbolWidthPair& pair : SymbolWidthTable)
        if (pair.half == half) return &pair;
    return nullptr;
}

bool InRange(unsigned char b, unsigned char low, unsigned char high) { return b >= low && b <= high; }

// Collects output bytes up to the room left for the terminator; remembers an overflow.
class Output {
public:
    Output(char* out, std::size_t size) : out_(out), size_(size) {}
    void Put(unsigned char b)
    {
        if (used_ + 1 < size_) {
            out_[used_++] = static_cast<char>(b);
        } else {
            fits_ = false;
        }
    }
    bool Finish()
    {
        out_[fits_ ? used_ : 0] = '\0';
        return fits_;
    }

private:
    char* out_;
    std::size_t size_;
    std::size_t used_ = 0;
    bool fits_ = true;
};

// One character at `at` to half-width forms; gives the bytes it read.
std::size_t HalfOf(const unsigned char* name, std::size_t end, std::size_t at, const WidthClasses& classes,
                   Output& out)
{
    const unsigned char lead = name[at];
    if (!IsLeadByte932(lead) || at + 1 >= end) {
        out.Put(lead);
        return 1;
    }
    const unsigned char trail = name[at + 1];
    if (lead == kLatinLeadByte) {
        if (classes.upper && InRange(trail, 0x60, 0x79)) {
            out.Put(static_cast<unsigned char>(trail - 0x1F));
            return 2;
        }
        if (classes.lower && InRange(trail, 0x81, 0x9A)) {
            out.Put(static_cast<unsigned char>(trail - 0x20));
            return 2;
        }
        if (classes.digits && InRange(trail, 0x4F, 0x58)) {
            out.Put(static_cast<unsigned char>(trail - 0x1F));
            return 2;
        }
    } else if (lead == kSymbolLeadByte) {
        const SymbolWidthPair* symbol = classes.symbols ? SymbolByFullTrail(trail) : nullptr;
        if (symbol != nullptr) {
            out.Put(symbol->half);
            return 2;
        }
        if (classes.spaces && trail == kFullSpaceTrail) {
            out.Put(' ');
            return 2;
        }
    }
    out.Put(lead);
    out.Put(trail);
    return 2;
}

// One character at `at` to full-width forms; gives the bytes it read.
std::size_t FullOf(const unsigned char* name, std::size_t end, std::size_t at, const WidthClasses& classes,
                   Output& out)
{
    const unsigned char b = name[at];
    if (IsLeadByte932(b) && at + 1 < end) {
        out.Put(b);
        out.Put(name[at + 1]);
        return 2;
    }
    const SymbolWidthPair* symbol = classes.symbols ? SymbolByHalf(b) : nullptr;
    if (classes.upper && InRange(b, 0x41, 0x5A)) {
        out.Put(kLatinLeadByte);
        out.Put(static_cast<unsigned char>(b + 0x1F));
    } else if (classes.lower && InRange(b, 0x61, 0x7A)) {
        out.Put(kLatinLeadByte);
        out.Put(static_cast<unsigned char>(b + 0x20));
    } else if (classes.digits && InRange(b, 0x30, 0x39)) {
        out.Put(kLatinLeadByte);
        out.Put(static_cast<unsigned char>(b + 0x1F));
    } else if (symbol != nullptr) {
        out.Put(kSymbolLeadByte);
        out.Put(symbol->fullTrail);
    } else if (classes.spaces && b == ' ') {
        out.Put(kSymbolLeadByte);
        out.Put(kFullSpaceTrail);
    } else {
        out.Put(b);
    }
    return 1;
}

using CharConverter = std::size_t (*)(const unsigned char*, std::size_t, std::size_t, const WidthClasses&, Output&);

// The frame both directions share: the name up to its extension (or whole) through
// `convert`, then the extension as it was.
bool ConvertWidth(const char* name, const WidthClasses& classes, char* out, std::size_t outSize,
                  CharConverter convert)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (name == nullptr) return false;
    const std::size_t length = std::strlen(name);
    const std::size_t end = classes.keepExtension ? FindExtension932(name) : length;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(name);
    Output output(out, outSize);
    for (std::size_t at = 0; at < end;) at += convert(bytes, end, at, classes, output);
    for (std::size_t at = end; at < length; ++at) output.Put(bytes[at]);
    return output.Finish();
}

}  // namespace

bool ToHalfWidth(const char* name, const WidthClasses& classes, char* out, std::size_t outSize)
{
    return ConvertWidth(name, classes, out, outSize, HalfOf);
}

bool ToFullWidth(const char* name, const WidthClasses& classes, char* out, std::size_t outSize)
{
    return ConvertWidth(name, classes, out, outSize, FullOf);
}

void CapitalizeAfterToken(const char* name, const char* token, char* lowered)
{
    if (name == nullptr || token == nullptr || lowered == nullptr) return;
    const std::size_t length = std::strlen(name);
    auto raise = [&](std::size_t at) {
        if (at >= length) return;
        const unsigned char b = static_cast<unsigned char>(lowered[at]);
        if (!IsLeadByte932(b) && InRange(b, 'a', 'z')) lowered[at] = static_cast<char>(b - 0x20);
    };
    raise(0);
    const std::size_t tokenLength = std::strlen(token);
    for (std::size_t from = 0;;) {
        const std::size_t match = FindText932(name, length, from, token, tokenLength);
        if (match == kTextNotFound) break;
        from = match + tokenLength;
        raise(from);
    }
}

bool DottedExtension(const char* typed, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (typed == nullptr) return false;
    const std::size_t length = std::strlen(typed);
    const std::size_t dot = typed[0] == '.' ? 0 : 1;
    if (dot + length >= outSize) return false;
    out[0] = '.';
    std::memcpy(out + dot, typed, length + 1);
    return true;
}

namespace {

// `text` into `name` at offset `at`; the bytes from `at` on move behind it.
bool InsertAt(char* name, std::size_t nameSize, std::size_t at, const char* text)
{
    if (name == nullptr || text == nullptr) return false;
    const std::size_t nameLength = std::strlen(name);
    const std::size_t textLength = std::strlen(text);
    if (nameLength + textLength >= nameSize) return false;
    std::memmove(name + at + textLength, name + at, nameLength - at + 1);
    std::memcpy(name + at, text, textLength);
    return true;
}

}  // namespace

bool PrependText(char* name, std::size_t nameSize, const char* text)
{
    return InsertAt(name, nameSize, 0, text);
}

bool InsertBeforeExtension(char* name, std::size_t nameSize, const char* text)
{
    if (name == nullptr) return false;
    std::size_t at = FindExtension932(name);
    if (at == 0) at = std::strlen(name);
    return InsertAt(name, nameSize, at, text);
}
