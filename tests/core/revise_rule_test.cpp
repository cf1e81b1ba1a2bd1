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

TEST(ReviseRule, BlockReadAndCut)
{
    struct Row {
        unsigned char block[kReviseBlockBytes];
        ReviseOptions options;
    } decoded[] = {
        {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 1, 0}},   // the defaults read as "later"
        {{0x34, 0x12, 90, 255, 0, 1}, {0x1234, 90, 255, 0, 1}},
        {{9, 0, 0, 0, 1, 1}, {9, 0, 0, 1, 1}},
        {{0, 0, 0, 0, 2, 0}, {0, 0, 0, 0, 0}},   // only the byte 1 chooses
    };
    for (const Row& row : decoded) {
        const ReviseOptions got = DecodeReviseBlock(row.block);
        EXPECT_EQ(got.hours, row.options.hours);
        EXPECT_EQ(got.minutes, row.options.minutes);
        EXPECT_EQ(got.seconds, row.options.seconds);
        EXPECT_EQ(got.later, row.options.later);
        EXPECT_EQ(got.earlier, row.options.earlier);
    }

    struct Cut {
        ReviseOptions options;
        unsigned char block[kReviseBlockBytes];
    } encoded[] = {
        {{0, 90, 0, 1, 0}, {0, 0, 90, 0, 1, 0}},
        {{0, 300, 0, 0, 1}, {0, 0, 44, 0, 0, 1}},
        {{70000, 0, 256, 1, 1}, {0x70, 0x11, 0, 0, 1, 1}},
        {{9999, 59, 59, 0, 0}, {0x0F, 0x27, 59, 59, 0, 0}},
    };
    for (const Cut& row : encoded) {
        unsigned char block[kReviseBlockBytes];
        std::memset(block, 0xAA, sizeof block);
        EncodeReviseBlock(row.options, block);
        EXPECT_EQ(std::memcmp(block, row.block, sizeof block), 0) << row.options.hours << " " << row.options.minutes;
    }
}

}  // namespace
