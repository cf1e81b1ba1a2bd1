// Fuzz target of the timestamp change's rule: the bytes give typed calendar values, a
// time and a mask. Checks that a replacement changes only the parts the mask names and
// that a refused one leaves the time untouched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

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
    const std::uint64_t yearMonth = Take64(data, size);
    const std::uint64_t dayHour = Take64(data, size);
    const std::uint64_t minuteSecond = Take64(data, size);
    const std::uint64_t time = Take64(data, size);
    const unsigned mask = size > 0 ? *data : 0;

    const CalendarTime before = {static_cast<std::uint16_t>(time), 1, 2, 3, 4, 5, 6,
                                 static_cast<std::uint16_t>(time >> 16)};
    const CalendarEntry entry = {static_cast<unsigned>(yearMonth), static_cast<unsigned>(yearMonth >> 32),
                                 static_cast<unsigned>(dayHour), static_cast<unsigned>(dayHour >> 32),
                                 static_cast<unsigned>(minuteSecond), static_cast<unsigned>(minuteSecond >> 32)};
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
