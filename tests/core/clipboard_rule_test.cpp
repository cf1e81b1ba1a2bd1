// Lines of the file list: the worked example byte for byte, size figures per unit with
// 64-bit sizes and the other formats. Buffer limits are the fuzz target's properties.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "ctxmenu/rules/clipboard_rule.h"

namespace {

// 'report.doc', 1234 bytes, 2001-02-03 04:05:06, version 1.0.0.0; width 30, every column.
ListFormat WorkedFormat() { return ListFormat{0, 1, 1, 1, 1, 30, 0, 0, 0, 0, 0}; }
ListItemFacts WorkedFacts() { return ListItemFacts{"report.doc", 1234, true, 2001, 2, 3, 4, 5, 6, {1, 0, 0, 0}}; }

std::string Line(const ListFormat& format, const ListItemFacts& facts)
{
    char line[kListLineSize];
    EXPECT_TRUE(FormatListLine(format, facts, line, sizeof line));
    return line;
}

}  // namespace

TEST(ListLine, WorkedExample)
{
    const std::string name = "report.doc" + std::string(20, ' ');
    EXPECT_EQ(Line(WorkedFormat(), WorkedFacts()),
              name + std::string(8, ' ') + "1234 " + "  2001/02/03  04:05:06  1.0.0.0\r\n");
    ListFormat kb = WorkedFormat();
    kb.sizeUnit = 2;
    EXPECT_EQ(Line(kb, WorkedFacts()), name + std::string(11, ' ') + "2 KB  2001/02/03  04:05:06  1.0.0.0\r\n");
}

TEST(ListLine, SizeFieldPerUnit)
{
    constexpr std::uint64_t k5GiB = 5ull << 30;
    struct Row {
        std::uint64_t size;
        int unit;
        int thousands;
        const char* field;
    };
    const Row rows[] = {
        {0, 0, 0, "           0 "}, {0, 1, 0, "           0 KB"}, {0, 4, 0, "           0 MB"},
        {1, 1, 0, "           1 KB"}, {1, 3, 0, "           1 MB"}, {1025, 2, 0, "           2 KB"},
        {1000000, 3, 0, "           1 MB"}, {1000001, 3, 0, "           2 MB"},
        {1234567, 0, 1, "   1,234,567 "}, {123, 0, 1, "         123 "}, {UINT64_MAX, 0, 1, "  18,446,744,073,709,551,615 "},
        // Indices outside the lists count as bytes.
        {1234, 5, 0, "        1234 "}, {1234, -1, 0, "        1234 "},
        // The whole 64-bit size; a figure wider than 10 is not cut.
        {k5GiB, 0, 0, "  5368709120 "}, {k5GiB, 0, 1, "  5,368,709,120 "}, {k5GiB, 2, 0, "     5242880 KB"},
        {k5GiB, 4, 0, "        5120 MB"}, {UINT64_MAX, 1, 0, "  18446744073709552 KB"},
    };
    for (const Row& row : rows) {
        ListFormat format{0, 1, 0, 0, 0, 0, row.unit, 0, 0, row.thousands, 0};
        ListItemFacts facts = WorkedFacts();
        facts.name = "n";
        facts.size = row.size;
        EXPECT_EQ(Line(format, facts), std::string("n") + row.field + "\r\n") << row.size << " unit " << row.unit;
    }
}

TEST(ListLine, NamesDatesAndTimes)
{
    ListFormat format{0, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0};
    ListItemFacts facts = WorkedFacts();
    // Width 0: the date's two blanks follow the name at once; the second formats.
    EXPECT_EQ(Line(format, facts), "report.doc  2001年02月03日  04時05分06秒\r\n");
    format.width = 4;   // a longer name is written whole
    facts.timeKnown = false;
    EXPECT_EQ(Line(format, facts), "report.doc  ----年--月--日  --時--分--秒\r\n");
    format.dateFormat = 7;   // anything but 1 is the first format
    format.timeFormat = 0;
    EXPECT_EQ(Line(format, facts), "report.doc  ----/--/--  --:--:--\r\n");
    format = ListFormat{0, 0, 0, 0, 0, 12, 0, 0, 0, 0, 0};
    facts.name = "表.txt";   // 6 bytes: a double-byte character counts 2
    EXPECT_EQ(Line(format, facts), "表.txt      \r\n");
    EXPECT_EQ(ColumnWidthFromNumber(300), 44);
}
