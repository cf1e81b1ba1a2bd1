#include "ctxmenu/rules/cnum_rule.h"

#include <algorithm>
#include <cstring>

#include "common/rules/cp932_text.h"
#include "ctxmenu/rules/permute_rule.h"

bool FormatSerialNumber(std::uint64_t number, bool zeroFill, std::uint64_t digits, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    char reversed[24];
    std::size_t length = 0;
    do {
        reversed[length++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    const std::uint64_t width = zeroFill && digits > length ? digits : length;
    if (width >= outSize) return false;
    const std::size_t zeros = static_cast<std::size_t>(width) - length;
    std::memset(out, '0', zeros);
    for (std::size_t i = 0; i < length; ++i) out[zeros + i] = reversed[length - 1 - i];
    out[width] = '\0';
    return true;
}

std::size_t KeptExtensionOffset(const char* name)
{
    if (name == nullptr) return 0;
    const std::size_t at = FindExtension932(name);
    return at == 0 ? std::strlen(name) : at;
}

bool BuildSerialPath(const char* folder, const char* prefix, const char* number, const char* extension, char* out,
                     std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    const char* parts[] = {folder, prefix, number, extension};
    std::size_t total = 0;
    for (const char* part : parts) {
        if (part == nullptr) return false;
        total += std::strlen(part);
    }
    if (total >= outSize) return false;
    std::size_t used = 0;
    for (const char* part : parts) {
        const std::size_t length = std::strlen(part);
        std::memcpy(out + used, part, length);
        used += length;
    }
    out[used] = '\0';
    return true;
}

int CompareNameAscending(const SerialItem& a, const SerialItem& b)
{
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 0x20) : c; };
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a.path);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b.path);
    for (;; ++x, ++y) {
        const unsigned char cx = fold(*x);
        const unsigned char cy = fold(*y);
        if (cx != cy) return cx < cy ? -1 : 1;
        if (cx == 0) return 0;
    }
}

int CompareNameDescending(const SerialItem& a, const SerialItem& b) { return -CompareNameAscending(a, b); }

int CompareDateAscending(const SerialItem& a, const SerialItem& b)
{
    if (a.timeKnown != b.timeKnown) return a.timeKnown ? 1 : -1;
    if (!a.timeKnown || a.lastWrite == b.lastWrite) return 0;
    return a.lastWrite < b.lastWrite ? -1 : 1;
}

int CompareDateDescending(const SerialItem& a, const SerialItem& b) { return -CompareDateAscending(a, b); }

void SortSerialItems(SerialItem* items, std::size_t count, SerialSortKey key, bool ascending)
{
    if (items == nullptr) return;
    int (*const compare)(const SerialItem&, const SerialItem&) =
        key == SerialSortKey::Name ? (ascending ? CompareNameAscending : CompareNameDescending)
                                   : (ascending ? CompareDateAscending : CompareDateDescending);
    // The selection order breaks ties, so the order is total and std::sort (which never
    // allocates) gives the same result every time.
    std::sort(items, items + count, [compare](const SerialItem& a, const SerialItem& b) {
        const int order = compare(a, b);
        return order != 0 ? order < 0 : a.listIndex < b.listIndex;
    });
}
