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

namespace {

// Double-byte characters in code order: the 188 trail bytes 40-7E and 80-FC of each
// lead byte, lead bytes 81-9F then E0-FC. The ranges below run in this order and may
// cross from one lead byte to the next.
constexpr int kTrailsPerLead = 188;

int CodeIndex(unsigned code)
{
    const unsigned lead = code >> 8, trail = code & 0xFF;
    if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return -1;
    const int leadIndex = lead <= 0x9F ? static_cast<int>(lead) - 0x81 : static_cast<int>(lead) - 0xE0 + 31;
    return leadIndex * kTrailsPerLead + static_cast<int>(trail < 0x7F ? trail - 0x40 : trail - 0x41);
}

unsigned CodeAt(int index)
{
    const int leadIndex = index / kTrailsPerLead, trailIndex = index % kTrailsPerLead;
    const unsigned lead = static_cast<unsigned>(leadIndex < 31 ? 0x81 + leadIndex : 0xE0 + leadIndex - 31);
    const unsigned trail = static_cast<unsigned>(trailIndex < 0x3F ? 0x40 + trailIndex : 0x41 + trailIndex);
    return lead << 8 | trail;
}

struct CodeRange {
    unsigned short first, last;
};

// The double-byte codes that are characters; every other pair of a lead byte and a
// byte after it comes back from Unicode as "・".
constexpr CodeRange kCharacters[] = {
    {0x8140, 0x81AC}, {0x81B8, 0x81BF}, {0x81C8, 0x81CE}, {0x81DA, 0x81E8}, {0x81F0, 0x81F7},
    {0x81FC, 0x81FC}, {0x824F, 0x8258}, {0x8260, 0x8279}, {0x8281, 0x829A}, {0x829F, 0x82F1},
    {0x8340, 0x8396}, {0x839F, 0x83B6}, {0x83BF, 0x83D6}, {0x8440, 0x8460}, {0x8470, 0x8491},
    {0x849F, 0x84BE}, {0x8740, 0x875D}, {0x875F, 0x8775}, {0x877E, 0x879C}, {0x889F, 0x9872},
    {0x989F, 0xEAA4}, {0xED40, 0xEEEC}, {0xEEEF, 0xEEFC}, {0xF040, 0xFC4B},
};
constexpr unsigned kNoCharacter = 0x8145;   // ・

struct CodeShift {
    unsigned short first, last, to;   // first..last come back as to..
};

// Characters with two codes, and the code Unicode gives back for them.
constexpr CodeShift kSecondCodes[] = {
    {0x8790, 0x8790, 0x81E0}, {0x8791, 0x8791, 0x81DF}, {0x8792, 0x8792, 0x81E7}, {0x8795, 0x8795, 0x81E3},
    {0x8796, 0x8796, 0x81DB}, {0x8797, 0x8797, 0x81DA}, {0x879A, 0x879A, 0x81E6}, {0x879B, 0x879B, 0x81BF},
    {0x879C, 0x879C, 0x81BE}, {0xED40, 0xEEEC, 0xFA5C}, {0xEEEF, 0xEEF8, 0xFA40}, {0xEEF9, 0xEEF9, 0x81CA},
    {0xEEFA, 0xEEFC, 0xFA55}, {0xFA4A, 0xFA53, 0x8754}, {0xFA54, 0xFA54, 0x81CA}, {0xFA58, 0xFA58, 0x878A},
    {0xFA59, 0xFA59, 0x8782}, {0xFA5A, 0xFA5A, 0x8784}, {0xFA5B, 0xFA5B, 0x81E6},
};

struct CaseRun {
    unsigned short upper, lower, count;
};

// Letters with two cases, as runs in code order: Ａ-Ｚ, Α-Ω, А-Я (Ё among them), Ⅰ-Ⅹ.
constexpr CaseRun kCaseRuns[] = {{0x8260, 0x8281, 26}, {0x839F, 0x83BF, 24}, {0x8440, 0x8470, 33}, {0x8754, 0xFA40, 10}};

// The usual code of the double-byte character `code` (lead and following byte).
unsigned UsualCode(unsigned code)
{
    const int index = CodeIndex(code);
    if (index < 0) return kNoCharacter;
    bool character = false;
    for (const CodeRange& range : kCharacters)
        if (index >= CodeIndex(range.first) && index <= CodeIndex(range.last)) character = true;
    if (!character) return kNoCharacter;
    for (const CodeShift& shift : kSecondCodes)
        if (index >= CodeIndex(shift.first) && index <= CodeIndex(shift.last))
            return CodeAt(CodeIndex(shift.to) + index - CodeIndex(shift.first));
    return code;
}

unsigned OtherCase(unsigned code, bool toUpper)
{
    const int index = CodeIndex(code);
    for (const CaseRun& run : kCaseRuns) {
        const int from = CodeIndex(toUpper ? run.lower : run.upper);
        if (index >= from && index < from + run.count)
            return CodeAt(CodeIndex(toUpper ? run.upper : run.lower) + index - from);
    }
    return code;
}

void ChangeCase(char* text, bool toUpper)
{
    if (text == nullptr) return;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(text);
    for (std::size_t at = 0; bytes[at] != '\0';) {
        const unsigned char b = bytes[at];
        if (IsLeadByte932(b)) {
            // A lead byte that ends the text makes the system call give up before it.
            if (bytes[at + 1] == '\0') return;
            const unsigned code = OtherCase(UsualCode(static_cast<unsigned>(b) << 8 | bytes[at + 1]), toUpper);
            bytes[at] = static_cast<unsigned char>(code >> 8);
            bytes[at + 1] = static_cast<unsigned char>(code & 0xFF);
            at += 2;
            continue;
        }
        if (toUpper && InRange(b, 'a', 'z')) bytes[at] = static_cast<unsigned char>(b - 0x20);
        if (!toUpper && InRange(b, 'A', 'Z')) bytes[at] = static_cast<unsigned char>(b + 0x20);
        ++at;
    }
}

// A text field up to its first zero byte, at most 259 bytes.
struct FieldText {
    explicit FieldText(const char (&field)[kPathSize])
    {
        const void* zero = std::memchr(field, '\0', kPathSize - 1);
        const std::size_t length = zero != nullptr ? static_cast<const char*>(zero) - field : kPathSize - 1;
        std::memcpy(text, field, length);
        text[length] = '\0';
    }
    char text[kPathSize];
};

// The extension of `name` replaced by `extension`, or `extension` appended when it has
// none; false, leaving the name as it was, past 259 bytes, where the platform's call
// refuses too.
bool RenameExtension(char* name, std::size_t nameSize, const char* extension)
{
    const std::size_t at = FindExtension932(name);
    const std::size_t length = std::strlen(extension);
    if (at + length >= kPathSize || at + length >= nameSize) return false;
    std::memcpy(name + at, extension, length + 1);
    return true;
}

}  // namespace

void UpperCase932(char* text) { ChangeCase(text, true); }
void LowerCase932(char* text) { ChangeCase(text, false); }

bool ArrangeName(const char* name, const NameOptions& options, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (name == nullptr) return false;
    const std::size_t length = std::strlen(name);
    if (length >= kPathSize) return false;
    char work[kArrangedNameSize];
    std::memcpy(work, name, length + 1);

    if (options.width != WidthMode::None) {
        char converted[kPathSize];
        const bool converts = options.width == WidthMode::Half
                                  ? ToHalfWidth(work, options.classes, converted, sizeof converted)
                                  : ToFullWidth(work, options.classes, converted, sizeof converted);
        if (converts) std::memcpy(work, converted, std::strlen(converted) + 1);
    }

    if (options.letterCase == CaseMode::Upper) UpperCase932(work);
    if (options.letterCase == CaseMode::Lower) LowerCase932(work);
    if (options.letterCase == CaseMode::CapitalAfterToken) {
        // The token is searched in the name as it was before the whole of it is lowered.
        char original[kPathSize];
        std::memcpy(original, work, std::strlen(work) + 1);
        LowerCase932(work);
        CapitalizeAfterToken(original, FieldText(options.token).text, work);
    }

    bool fits = true;
    if (options.changeExtension) {
        char extension[kPathSize + 1];
        fits = DottedExtension(FieldText(options.extension).text, extension, sizeof extension) &&
               RenameExtension(work, sizeof work, extension);
    }
    if (fits && options.addStart) fits = PrependText(work, sizeof work, FieldText(options.start).text);
    if (fits && options.addEnd) fits = InsertBeforeExtension(work, sizeof work, FieldText(options.end).text);
    if (!fits || std::strlen(work) >= outSize) return false;
    std::memcpy(out, work, std::strlen(work) + 1);
    return true;
}
