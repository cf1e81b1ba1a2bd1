// The timestamp change's replacement of the date or time-of-day part of a calendar
// time, with values too large for their fields.
#include <gtest/gtest.h>

#include <cstring>

#include "ctxmenu/rules/time_rule.h"

namespace {

TEST(TimeRule, ReplacesOnlyTheNamedParts)
{
    const CalendarTime file = {2023, 7, 3, 14, 9, 8, 7, 654};
    const CalendarEntry typed = {2024, 2, 29, 0, 0, 0};
    struct Row {
        unsigned mask;
        CalendarEntry entry;
        bool ok;
        CalendarTime expected;
    } rows[] = {
        {kChangeDate, typed, true, {2024, 2, 3, 29, 9, 8, 7, 654}},
        {kChangeTimeOfDay, typed, true, {2023, 7, 3, 14, 0, 0, 0, 654}},
        {kChangeDate | kChangeTimeOfDay, typed, true, {2024, 2, 3, 29, 0, 0, 0, 654}},
        {0, typed, true, file},
        // A value too large for its field is refused, never cut.
        {kChangeDate, {67137, 1, 1, 0, 0, 0}, false, {}},
        {kChangeDate, {2024, 1, 65536, 0, 0, 0}, false, {}},
        {kChangeTimeOfDay, {0, 0, 0, 0, 0, 70000}, false, {}},
        // ... but only when it is one of the parts replaced.
        {kChangeTimeOfDay, {67137, 0, 0, 1, 2, 3}, true, {2023, 7, 3, 14, 1, 2, 3, 654}},
        // Dates that do not exist pass through: the calendar conversion refuses them.
        {kChangeDate, {2023, 2, 30, 0, 0, 0}, true, {2023, 2, 3, 30, 9, 8, 7, 654}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "mask " << row.mask << " year " << row.entry.year);
        CalendarTime out = {1, 1, 1, 1, 1, 1, 1, 1};
        const CalendarTime untouched = out;
        EXPECT_EQ(ReplaceCalendarParts(file, row.mask, row.entry, &out), row.ok);
        const CalendarTime& expected = row.ok ? row.expected : untouched;
        EXPECT_EQ(std::memcmp(&out, &expected, sizeof out), 0);
    }
}

}  // namespace
