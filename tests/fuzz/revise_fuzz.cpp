// Fuzz target of the time-difference correction's rules: the bytes give a "Revise"
// block, then the offset's hours, minutes and seconds and a time. Checks that no shift
// ever leaves the range of file times and that a block reads back as it was stored.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "ctxmenu/rules/revise_rule.h"

namespace {

std::uint64_t Take64(const std::uint8_t*& data, std::size_t& size)
{
    std::uint64_t value = 0;
    for (int i = 0; i < 8 && size > 0; ++i, ++data, --size) value = (value << 8) | *data;
    return value;
}

void Check(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= kReviseBlockBytes) {
        const ReviseOptions options = DecodeReviseBlock(data);
        unsigned char block[kReviseBlockBytes];
        EncodeReviseBlock(options, block);
        Check(std::memcmp(block, data, 4) == 0);
        Check(options.later == 1 || options.later == 0);
    }
    const std::uint64_t hours = Take64(data, size);
    const std::uint64_t minutes = Take64(data, size);
    const std::uint64_t seconds = Take64(data, size);
    const std::uint64_t time = Take64(data, size);

    std::uint64_t offset = 0;
    if (ReviseOffset(hours, minutes, seconds, &offset)) {
        Check(offset <= kLatestFileTime);
        for (bool earlier : {false, true}) {
            std::uint64_t shifted = 0;
            if (ShiftFileTime(time, offset, earlier, &shifted)) {
                Check(shifted >= kEarliestFileTime && shifted <= kLatestFileTime);
                Check(earlier ? time - shifted == offset : shifted - time == offset);
            }
        }
    }
    return 0;
}
