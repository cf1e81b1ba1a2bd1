#include "ctxmenu/rules/time_rule.h"

namespace {

bool Fits16(unsigned value) { return value <= 0xFFFF; }

}  // namespace

bool ChangeMaskHasWork(unsigned mask)
{
    return (mask & (kChangeCreation | kChangeLastWrite)) != 0 && (mask & (kChangeDate | kChangeTimeOfDay)) != 0;
}

bool ReplaceCalendarParts(const CalendarTime& time, unsigned mask, const CalendarEntry& entry, CalendarTime* out)
{
    if (out == nullptr) return false;
    CalendarTime result = time;
    if (mask & kChangeDate) {
        if (!Fits16(entry.year) || !Fits16(entry.month) || !Fits16(entry.day)) return false;
        result.year = static_cast<std::uint16_t>(entry.year);
        result.month = static_cast<std::uint16_t>(entry.month);
        result.day = static_cast<std::uint16_t>(entry.day);
    }
    if (mask & kChangeTimeOfDay) {
        if (!Fits16(entry.hour) || !Fits16(entry.minute) || !Fits16(entry.second)) return false;
        result.hour = static_cast<std::uint16_t>(entry.hour);
        result.minute = static_cast<std::uint16_t>(entry.minute);
        result.second = static_cast<std::uint16_t>(entry.second);
    }
    *out = result;
    return true;
}
