// Fuzz target of the time rules: the bytes give offsets, times, masks, typed calendar
// values and "Revise" blocks. Checks that no shift or replacement ever leaves the range
// it promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "ctxmenu/rules/revise_rule.h"
#include "ctxmenu/rules/time_rule.h"

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
    const unsigned mask = size > 0 ? *data : 0;

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

    const CalendarTime before = {static_cast<std::uint16_t>(time), 1, 2, 3, 4, 5, 6,
                                 static_cast<std::uint16_t>(time >> 16)};
    const CalendarEntry entry = {static_cast<unsigned>(hours), static_cast<unsigned>(hours >> 32),
                                 static_cast<unsigned>(minutes), static_cast<unsigned>(minutes >> 32),
                                 static_cast<unsigned>(seconds), static_cast<unsigned>(seconds >> 32)};
    CalendarTime after = before;
    if (ReplaceCalendarParts(before, mask, entry, &after)) {
        Check(after.milliseconds == before.milliseconds && after.dayOfWeek == before.dayOfWeek);
        if (!(mask & kChangeDate)) Check(after.year == before.year && after.day == before.day);
        if (!(mask & kChangeTimeOfDay)) Check(after.hour == before.hour && after.second == before.second);
    } else {
        Check(std::memcmp(&after, &before, sizeof after) == 0);
    }
    (void)ChangeMaskHasWork(mask);
    return 0;
}
