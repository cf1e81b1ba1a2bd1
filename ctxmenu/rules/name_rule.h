// Name arrangement rules on code page 932 names: full-width and half-width forms,
// letter case, capitals after a token, a new extension and the texts added to a name,
// and the whole arrangement of one name from the dialog's options. Byte work only; no
// Win32 here.
#pragma once
#include <cstddef>

#include "common/rules/path_build.h"

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

// Letter case in place, as the system's ANSI case calls give it on code page 932 text
// (they go through Unicode and back); the length never changes. Besides a-z, the
// full-width Latin, the Greek and the Cyrillic letters and the Roman numerals Ⅰ to Ⅹ
// have two cases. A character with two codes comes back under its usual one (the
// NEC-selected IBM extensions as IBM extensions, for instance), also when it has no
// case; a lead byte with a byte after it that makes no character becomes "・" (81 45);
// a lead byte that ends the text stays as it is.
void UpperCase932(char* text);
void LowerCase932(char* text);

enum class WidthMode { None, Half, Full };
enum class CaseMode { Unchanged, Upper, Lower, CapitalAfterToken };

// Everything the dialog decides about a name. Each text ends at its first zero byte, at
// the latest after 259 bytes, as the dialog's fields give it.
struct NameOptions {
    WidthMode width = WidthMode::None;
    WidthClasses classes;
    CaseMode letterCase = CaseMode::Unchanged;
    char token[kPathSize] = {};
    bool changeExtension = false;
    char extension[kPathSize] = {};   // with or without its "."
    bool addStart = false;
    char start[kPathSize] = {};
    bool addEnd = false;
    char end[kPathSize] = {};
};

// Room for every arranged name: a name and the three texts that can be added to it.
inline constexpr std::size_t kArrangedNameSize = kPathSize * 4;

// The new final component for `name` into `out`, step by step: width, case, new
// extension, start text, end text (before the extension). A width conversion whose
// result would pass 259 bytes leaves the name as it was, and the other steps still
// run. false, with `out` empty, when the name itself passes 259 bytes, when the new
// extension makes it pass 259 bytes, or when the result does not fit in `outSize`
// bytes.
bool ArrangeName(const char* name, const NameOptions& options, char* out, std::size_t outSize);
