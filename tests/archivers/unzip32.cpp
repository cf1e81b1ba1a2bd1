// Test archiver for ZIP files: walks the local headers and checks the CRC-32 and the
// sizes of every stored entry (other methods are passed over). Sound: non-zero.
#include "tests/archivers/archiver_file.h"

namespace {

unsigned long Le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
unsigned long Le32(const unsigned char* p) { return Le16(p) | (Le16(p + 2) << 16); }

unsigned long Crc32(const unsigned char* p, size_t n)
{
    unsigned long crc = 0xFFFFFFFFul;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320ul : crc >> 1;
    }
    return ~crc & 0xFFFFFFFFul;
}

}  // namespace

extern "C" int WINAPI UnZipCheckArchive(const char* path, int mode)
{
    std::vector<unsigned char> d;
    if (mode != 2 || !ReadArchive(path, d)) return 0;
    size_t at = 0;
    int entries = 0;
    while (at + 4 <= d.size()) {
        const unsigned long signature = Le32(&d[at]);
        if (signature == 0x02014b50ul || signature == 0x06054b50ul) return entries > 0;   // central directory
        if (signature != 0x04034b50ul || at + 30 > d.size()) return 0;
        const unsigned char* h = &d[at];
        const unsigned long size = Le32(h + 18);
        const size_t data = at + 30 + Le16(h + 26) + Le16(h + 28);
        // Sizes written after the data (flag 8) are not followed by this checker.
        if ((Le16(h + 6) & 8) != 0 || data + size > d.size()) return 0;
        if (Le16(h + 8) == 0 && (size != Le32(h + 22) || Crc32(&d[data], size) != Le32(h + 14))) return 0;
        at = data + size;
        ++entries;
    }
    return 0;
}
