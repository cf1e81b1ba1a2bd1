// Time arithmetic of the timestamp change: the replacement of the date or time-of-day
// part of a calendar time. Plain numbers; no Win32 here.
#pragma once
#include <cstddef>
#include <cstdint>

// A broken-down time, field for field as the platform's calendar time.
struct CalendarTime {
    std::uint16_t year;
    std::uint16_t month;
    std::uint16_t dayOfWeek;
    std::uint16_t day;
    std::uint16_t hour;
    std::uint16_t minute;
    std::uint16_t second;
    std::uint16_t milliseconds;
};

// The parts of a time a timestamp run replaces, and which times it writes.
inline constexpr unsigned kChangeCreation = 0x01;
inline constexpr unsigned kChangeLastWrite = 0x02;
inline constexpr unsigned kChangeDate = 0x10;
inline constexpr unsigned kChangeTimeOfDay = 0x20;

// True when the mask names at least one time and at least one part of it.
bool ChangeMaskHasWork(unsigned mask);

// Typed values of one row: year, month, day, hour, minute, second.
struct CalendarEntry {
    unsigned year, month, day, hour, minute, second;
};

// `time` with its date (kChangeDate) and/or time of day (kChangeTimeOfDay) replaced by
// the typed values; milliseconds and every part not named stay. False, `out`
// untouched, when a replaced value does not fit its 16-bit field. Whether the date
// exists is left to the calendar conversion that follows.
bool ReplaceCalendarParts(const CalendarTime& time, unsigned mask, const CalendarEntry& entry, CalendarTime* out);
