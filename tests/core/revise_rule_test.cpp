// The time-difference correction's arithmetic: offsets and their overflow, shifts at
// the ends of the file-time range, and the "Revise" block.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "ctxmenu/rules/revise_rule.h"

namespace {

constexpr std::uint64_t kHour = 3600 * kUnitsPerSecond;

TEST(ReviseRule, OffsetsAndTheirOverflow)
{
    // The largest hours that still fit in the range of file times.
    const std::uint64_t maxHours = kLatestFileTime / kHour;
    struct Row {
        std::uint64_t h, m, s;
        bool ok;
        std::uint64_t offset;
    } rows[] = {
        {0, 0, 0, true, 0},
        {9, 0, 0, true, 9 * kHour},
        {1, 30, 15, true, 54150000000ull},
        {0, 90, 0, true, 90 * 60 * kUnitsPerSecond},
        {maxHours, 0, 0, true, maxHours * kHour},
        {maxHours + 1, 0, 0, false, 0},
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, false, 0},
        {0xFFFFFFFFFFFFFFFFull, 0, 0, false, 0},
        {0, 0, 0xFFFFFFFFFFFFFFFFull, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.h << " h " << row.m << " min " << row.s << " s");
        std::uint64_t offset = 77;
        EXPECT_EQ(ReviseOffset(row.h, row.m, row.s, &offset), row.ok);
        EXPECT_EQ(offset, row.ok ? row.offset : 77u);
    }
}

TEST(ReviseRule, ShiftsStayInsideTheFileTimeRange)
{
    struct Row {
        std::uint64_t time, offset;
        bool earlier, ok;
        std::uint64_t result;
    } rows[] = {
        {100 * kHour, 9 * kHour, true, true, 91 * kHour},
        {100 * kHour, 9 * kHour, false, true, 109 * kHour},
        {100, 0, false, true, 100},
        {100, 99, true, true, 1},
        {100, 100, true, false, 0},   // 0 would tell the platform "unchanged"
        {100, 101, true, false, 0},   // before 1601
        {kLatestFileTime - 5, 5, false, true, kLatestFileTime},
        {kLatestFileTime - 5, 6, false, false, 0},
        {0xFFFFFFFFFFFFFFF0ull, 0x20, false, false, 0},   // would wrap around
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.time << (row.earlier ? " - " : " + ") << row.offset);
        std::uint64_t out = 42;
        EXPECT_EQ(ShiftFileTime(row.time, row.offset, row.earlier, &out), row.ok);
        EXPECT_EQ(out, row.ok ? row.result : 42u);
    }
}

}  // namespace
