// Fuzz target of the time-difference correction's rules: the bytes give a "Revise"
// block, then the offset's hours, minutes and seconds and a time. Checks that no shift
// ever leaves the range of file times and that a block reads back as it was stored.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "common/rules/option_blocks.h"
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
    if (size >= kReviseBlockSize) {
        // The block as the dialog loads it and stores it again: the numbers come back.
        const OptionBlock& revise = BlockOf(OptionBlockId::Revise);
        unsigned char loaded[kReviseBlockSize];
        std::memcpy(loaded, data, sizeof loaded);
        ApplyLoadingRules(revise, loaded);
        unsigned char block[kReviseBlockSize] = {};
        for (std::size_t i = 0; i < 3; ++i)
            WriteBlockNumber(revise.fields[i], ReadBlockNumber(revise.fields[i], loaded), block);
        Check(std::memcmp(block, data, 4) == 0);
        Check(loaded[4] == 1 || loaded[5] != 0 || data[4] != 0);
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
