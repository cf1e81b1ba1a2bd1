// Test archiver for TAR files: checks the checksum of every header and that each
// entry's data is there. Sound: non-zero.
#include "tests/archivers/archiver_file.h"

namespace {

unsigned long Octal(const unsigned char* p, size_t n)
{
    unsigned long value = 0;
    size_t i = 0;
    while (i < n && p[i] == ' ') ++i;
    for (; i < n && p[i] >= '0' && p[i] <= '7'; ++i) value = value * 8 + (p[i] - '0');
    return value;
}

}  // namespace

extern "C" int WINAPI TarCheckArchive(const char* path, int mode)
{
    std::vector<unsigned char> d;
    if (mode != 2 || !ReadArchive(path, d)) return 0;
    size_t at = 0;
    int entries = 0;
    while (at + 512 <= d.size()) {
        const unsigned char* h = &d[at];
        unsigned long sum = 0;
        bool zero = true;
        for (size_t i = 0; i < 512; ++i) {
            zero = zero && h[i] == 0;
            sum += (i >= 148 && i < 156) ? ' ' : h[i];   // the checksum field counts as blanks
        }
        if (zero) return entries > 0;   // the end blocks
        if (Octal(h + 148, 8) != sum) return 0;
        at += 512 + (Octal(h + 124, 12) + 511) / 512 * 512;
        if (at > d.size()) return 0;
        ++entries;
    }
    return 0;
}
