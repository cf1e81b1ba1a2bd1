// Serial-number renaming rules: the number text, the new path of an item and the order
// of the items. Byte and number work only; no Win32 here.
#pragma once
#include <cstddef>
#include <cstdint>

// `number` in decimal. With `zeroFill`, leading zeros fill it to at least `digits`
// digits (0: no fill); a longer number is written whole. false, with `out` empty, when
// the text and its terminator do not fit in `outSize` bytes. The digit count is checked
// before anything is written.
bool FormatSerialNumber(std::uint64_t number, bool zeroFill, std::uint64_t digits, char* out, std::size_t outSize);

// Offset of the extension an item keeps in its final component `name`: the offset of
// its terminating zero when it has none, or when its only "." is its first character.
std::size_t KeptExtensionOffset(const char* name);

// out = folder + prefix + number + extension, each as given. false, with `out` empty,
// when the whole does not fit in `outSize` bytes.
bool BuildSerialPath(const char* folder, const char* prefix, const char* number, const char* extension, char* out,
                     std::size_t outSize);

// One item to number: its place in the selection and its sort keys.
struct SerialItem {
    const char* path;
    std::size_t listIndex;
    bool timeKnown;              // false when its last-write time could not be read
    std::uint64_t lastWrite;     // 100-ns units, when known
};

// The four orders: negative, zero or positive. Names compare their full paths byte by
// byte with the letters A-Z folded onto a-z and nothing else folded. Dates compare the
// last-write times; an item whose time is not known counts as older than every other.
int CompareNameAscending(const SerialItem& a, const SerialItem& b);
int CompareNameDescending(const SerialItem& a, const SerialItem& b);
int CompareDateAscending(const SerialItem& a, const SerialItem& b);
int CompareDateDescending(const SerialItem& a, const SerialItem& b);

enum class SerialSortKey { Date, Name };

// Sorts the items by date or name, ascending or descending. Items with equal keys keep
// their selection order in either direction.
void SortSerialItems(SerialItem* items, std::size_t count, SerialSortKey key, bool ascending);
