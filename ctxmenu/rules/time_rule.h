// Time arithmetic of the timestamp and time-difference commands: the shift of a file
// time by a fixed offset, the replacement of the date or time-of-day part of a calendar
// time, and the "Revise" option block. Plain numbers; no Win32 here.
#pragma once
#include <cstddef>
#include <cstdint>

// File times count 100-nanosecond units since 1601-01-01 UTC. The platform takes
// nothing above the largest signed 64-bit value, and a time of 0 tells it to leave the
// time unchanged, so a shift may only land in [kEarliestFileTime, kLatestFileTime].
inline constexpr std::uint64_t kUnitsPerSecond = 10000000;
inline constexpr std::uint64_t kEarliestFileTime = 1;
inline constexpr std::uint64_t kLatestFileTime = 0x7FFFFFFFFFFFFFFFull;

// The offset of hours, minutes and seconds in file-time units. False when it does not
// fit in 64 bits or exceeds the whole range of file times (no item could take it).
bool ReviseOffset(std::uint64_t hours, std::uint64_t minutes, std::uint64_t seconds, std::uint64_t* offset);

// `time` moved by `offset`, earlier or later. False, `out` untouched, when the result
// would leave the range of file times: nothing ever wraps around.
bool ShiftFileTime(std::uint64_t time, std::uint64_t offset, bool earlier, std::uint64_t* out);

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

// The "Revise" option block: hours (16 bits, little-endian), minutes, seconds, then
// the flags of the two direction buttons, "later" and "earlier".
inline constexpr std::size_t kReviseBlockBytes = 6;
struct ReviseOptions {
    unsigned hours;
    unsigned minutes;
    unsigned seconds;
    int later;     // 1 or 0
    int earlier;   // 1 or 0
};
// Only the byte 1 chooses a direction; with neither chosen the block reads as "later".
ReviseOptions DecodeReviseBlock(const unsigned char* block /* kReviseBlockBytes */);
// Each value cut to its field width (hours modulo 65536, minutes and seconds modulo
// 256); each flag stored as 1 or 0.
void EncodeReviseBlock(const ReviseOptions& options, unsigned char* block /* kReviseBlockBytes */);
