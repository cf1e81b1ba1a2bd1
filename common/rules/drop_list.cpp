#include "common/rules/drop_list.h"

namespace {

unsigned ReadLittle32(const unsigned char* p)
{
    return static_cast<unsigned>(p[0]) | static_cast<unsigned>(p[1]) << 8 | static_cast<unsigned>(p[2]) << 16 |
           static_cast<unsigned>(p[3]) << 24;
}

}  // namespace

bool ReadDropHeader(const unsigned char* block, std::size_t size, DropListInfo* info)
{
    if (block == nullptr || info == nullptr || size < kDropHeaderSize) return false;
    const std::size_t first = ReadLittle32(block);
    if (first < kDropHeaderSize || first >= size) return false;
    info->first = first;
    info->wide = ReadLittle32(block + 16) != 0;
    return true;
}

bool NextDropName(const unsigned char* block, std::size_t size, bool wide, std::size_t* offset,
                  std::size_t* start, std::size_t* length)
{
    if (block == nullptr || offset == nullptr || start == nullptr || length == nullptr) return false;
    const std::size_t unit = wide ? 2 : 1;
    std::size_t at = *offset;
    std::size_t units = 0;
    for (;;) {
        if (at > size || size - at < unit) return false;   // no terminator inside the block
        const bool zero = wide ? (block[at] == 0 && block[at + 1] == 0) : block[at] == 0;
        if (zero) break;
        at += unit;
        ++units;
    }
    if (units == 0) return false;   // the empty name ends the list
    *start = *offset;
    *length = units;
    *offset = at + unit;
    return true;
}
