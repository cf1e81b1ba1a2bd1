// Name arrangement rules on code page 932 names: full-width and half-width forms,
// capitals after a token, and the texts added to a name. Byte work only; no Win32 here.
#pragma once
#include <cstddef>

// One symbol that has both forms: the full-width form is the lead byte 81 and `fullTrail`,
// the half-width form the single byte `half`.
struct SymbolWidthPair {
    unsigned char fullTrail;
    unsigned char half;
};
inline constexpr unsigned char kSymbolLeadByte = 0x81;
inline constexpr std::size_t kSymbolWidthPairs = 25;
extern const SymbolWidthPair SymbolWidthTable[kSymbolWidthPairs];

// The kinds of characters a width conversion touches, and whether the extension is left
// as it is.
struct WidthClasses {
    bool upper = false;      // A-Z
    bool lower = false;      // a-z
    bool digits = false;     // 0-9
    bool symbols = false;    // the pairs of SymbolWidthTable
    bool spaces = false;     // the space
    bool keepExtension = false;
};

// Writes `name` converted to half-width (full-width) forms into `out`. Characters of a
// class that is not selected, and characters without the other form, are copied as they
// are. Returns false, with `out` empty, when the result and its terminator do not fit in
// `outSize` bytes.
bool ToHalfWidth(const char* name, const WidthClasses& classes, char* out, std::size_t outSize);
bool ToFullWidth(const char* name, const WidthClasses& classes, char* out, std::size_t outSize);

// Capitals after a token. `lowered` holds `name` lower-cased as a whole (same length).
// Raises the first character of `lowered` and the character after every occurrence of
// `token` in `name`, when that character is a single-byte letter a-z. Occurrences are
// searched left to right from character boundaries of `name`; an empty token raises
// only the first character.
void CapitalizeAfterToken(const char* name, const char* token, char* lowered);

// The extension text as typed, with a "." put in front when it has none. false, with
// `out` empty, when it does not fit.
bool DottedExtension(const char* typed, char* out, std::size_t outSize);

// `text` put in front of the name held in `name` (a buffer of `nameSize` bytes); the
// name is not read while it is written. false, leaving the name as it was, when the
// result does not fit.
bool PrependText(char* name, std::size_t nameSize, const char* text);

// `text` put before the extension of the name held in `name`, or at its end when it has
// none or when its only "." is its first character. false, leaving the name as it was,
// when the result does not fit.
bool InsertBeforeExtension(char* name, std::size_t nameSize, const char* text);
