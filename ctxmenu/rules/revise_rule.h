// Time arithmetic of the time-difference correction: the shift of a file time by a
// fixed offset, and the "Revise" option block. Plain numbers; no Win32 here.
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
