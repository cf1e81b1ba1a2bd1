// Serial numbers, new paths and the order of the items to number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ctxmenu/rules/cnum_rule.h"

namespace {

struct NumberRow {
    std::uint64_t number;
    bool zeroFill;
    std::uint64_t digits;
    const char* expected;   // nullptr: refused
};

TEST(CnumRule, NumberText)
{
    const NumberRow rows[] = {
        {5, true, 0, "5"},
        {0, false, 0, "0"},
        {4294967295ull + 5, false, 0, "4294967300"},
        {18446744073709551615ull, false, 0, "18446744073709551615"},
        {7, true, 260, nullptr},          // 260 digits and the terminator need 261 bytes
        {7, true, 4000000000u, nullptr},
    };
    for (const NumberRow& row : rows) {
        char out[260];
        const bool ok = FormatSerialNumber(row.number, row.zeroFill, row.digits, out, sizeof out);
        ASSERT_EQ(ok, row.expected != nullptr) << row.number << " / " << row.digits;
        EXPECT_STREQ(out, ok ? row.expected : "");
    }
    char out[260];
    ASSERT_TRUE(FormatSerialNumber(7, true, 259, out, sizeof out));
    EXPECT_EQ(std::string(out), std::string(258, '0') + "7");
}

TEST(CnumRule, PathLimit)
{
    char out[260];
    const std::string folder = "C:\\" + std::string(249, 'f') + "\\";   // 253 bytes
    EXPECT_TRUE(BuildSerialPath(folder.c_str(), "%p", "01", ".x", out, sizeof out));   // 259
    EXPECT_EQ(std::string(out), folder + "%p01.x");
    EXPECT_FALSE(BuildSerialPath(folder.c_str(), "%p", "012", ".x", out, sizeof out));
    EXPECT_STREQ(out, "");
}

int CompareNames(const char* a, const char* b)
{
    const int order = CompareNameAscending(SerialItem{a, 0, false, 0}, SerialItem{b, 1, false, 0});
    EXPECT_EQ(CompareNameDescending(SerialItem{a, 0, false, 0}, SerialItem{b, 1, false, 0}), -order);
    return order;
}

TEST(CnumRule, NamesFoldOnlyAsciiLetters)
{
    EXPECT_LT(CompareNames("C:\\Apple.txt", "C:\\apple2.txt"), 0);
    EXPECT_LT(CompareNames("a", "B"), 0);
    EXPECT_EQ(CompareNames("ABC", "abc"), 0);
    EXPECT_NE(CompareNames("Ａ", "ａ"), 0);          // full-width letters are not folded
    EXPECT_GT(CompareNames("\x88\x9f", "z"), 0);   // bytes compare unsigned
}

std::vector<std::size_t> Order(std::vector<SerialItem> items, SerialSortKey key, bool ascending)
{
    SortSerialItems(items.data(), items.size(), key, ascending);
    std::vector<std::size_t> order;
    for (const SerialItem& item : items) order.push_back(item.listIndex);
    return order;
}

TEST(CnumRule, UnknownTimesAreOldestAndTiesKeepTheSelectionOrder)
{
    const std::vector<SerialItem> items = {
        {"c", 0, true, 300}, {"b", 1, false, 0}, {"a", 2, true, 100}, {"d", 3, true, 300}, {"e", 4, false, 0},
    };
    EXPECT_EQ(Order(items, SerialSortKey::Date, true), (std::vector<std::size_t>{1, 4, 2, 0, 3}));
    EXPECT_EQ(Order(items, SerialSortKey::Date, false), (std::vector<std::size_t>{0, 3, 2, 1, 4}));
    EXPECT_EQ(Order(items, SerialSortKey::Name, false), (std::vector<std::size_t>{4, 3, 0, 1, 2}));
}

}  // namespace
