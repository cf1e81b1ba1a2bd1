// Width conversion, capitals after a token and the limits of the added texts, on every
// byte value and at the maximum lengths, and the whole arrangement of a name by rows.
// Literals are code page 932: "ア" is 83 41.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/rules/cp932_text.h"
#include "ctxmenu/rules/name_rule.h"
#include "ctxmenu/rules/permute_rule.h"

namespace {

WidthClasses All()
{
    WidthClasses c;
    c.upper = c.lower = c.digits = c.symbols = c.spaces = true;
    return c;
}

TEST(WidthRule, EverySingleByteRoundTripsAndTheSymbolTableBothWays)
{
    for (int b = 1; b < 256; ++b) {
        if (IsLeadByte932(static_cast<unsigned char>(b))) continue;
        const char name[2] = {static_cast<char>(b), 0};
        char full[8], half[8];
        ASSERT_TRUE(ToFullWidth(name, All(), full, sizeof full));
        ASSERT_TRUE(ToHalfWidth(full, All(), half, sizeof half));
        EXPECT_STREQ(half, name) << "byte " << b;
        // Converted bytes become one double-byte character, the others stay.
        EXPECT_TRUE(std::strlen(full) == 1 ? std::strcmp(full, name) == 0 : IsLeadByte932(full[0] & 0xFF)) << b;
    }
    for (const SymbolWidthPair& pair : SymbolWidthTable) {
        const char full[3] = {static_cast<char>(kSymbolLeadByte), static_cast<char>(pair.fullTrail), 0};
        const char half[2] = {static_cast<char>(pair.half), 0};
        char out[8];
        ASSERT_TRUE(ToHalfWidth(full, All(), out, sizeof out));
        EXPECT_STREQ(out, half);
        ASSERT_TRUE(ToFullWidth(half, All(), out, sizeof out));
        EXPECT_STREQ(out, full);
    }
    char out[16];
    ASSERT_TRUE(ToHalfWidth("ｱ漢\\:,;\x82", All(), out, sizeof out));   // no other form; a lone lead byte
    EXPECT_STREQ(out, "ｱ漢\\:,;\x82");
}

TEST(WidthRule, ResultsPast259BytesAreRefusedAndChangeNothing)
{
    char out[260];
    EXPECT_TRUE(ToFullWidth(std::string(129, 'a').c_str(), All(), out, sizeof out));
    EXPECT_EQ(std::strlen(out), 258u);
    EXPECT_FALSE(ToFullWidth(std::string(130, 'a').c_str(), All(), out, sizeof out));
    EXPECT_STREQ(out, "");

    char name[260];
    const std::string base(250, 'n');
    std::strcpy(name, base.c_str());
    EXPECT_TRUE(PrependText(name, sizeof name, "123456789"));   // 259 bytes
    std::strcpy(name, base.c_str());
    EXPECT_FALSE(InsertBeforeExtension(name, sizeof name, "1234567890"));
    EXPECT_EQ(name, base);
    char extension[8];
    EXPECT_FALSE(DottedExtension("1234567", extension, sizeof extension));
}

TEST(WidthRule, TokensMatchOnlyWholeCharacters)
{
    // "ア" is 83 41: its trail byte is not the token "A", and only single-byte letters
    // are raised.
    std::string lowered = "xアb";
    CapitalizeAfterToken("xアb", "A", &lowered[0]);
    EXPECT_EQ(lowered, "Xアb");
    lowered = "ａb";
    CapitalizeAfterToken("ａb", "ａ", &lowered[0]);
    EXPECT_EQ(lowered, "ａB");
}

struct ArrangeRow {
    const char* name;
    NameOptions options;
    const char* expected;   // null: refused as too long
};

NameOptions Arrange(WidthMode width, CaseMode letterCase, const char* token = "", const char* extension = nullptr,
                    const char* start = nullptr, const char* end = nullptr)
{
    NameOptions o;
    o.width = width, o.classes = All(), o.classes.keepExtension = true, o.letterCase = letterCase;
    o.changeExtension = extension != nullptr, o.addStart = start != nullptr, o.addEnd = end != nullptr;
    std::strcpy(o.token, token), std::strcpy(o.extension, extension ? extension : "");
    std::strcpy(o.start, start ? start : ""), std::strcpy(o.end, end ? end : "");
    return o;
}

TEST(NameRule, ArrangesByTheRows)
{
    const WidthMode none = WidthMode::None, full = WidthMode::Full;
    const std::string a130(130, 'a'), upper130(130, 'A'), n250(250, 'n'), n250x = n250 + ".x";
    const std::string upper130_1 = upper130 + "_1", n250ext = n250 + ".12345678";
    const ArrangeRow rows[] = {
        // Full-width, Greek, Cyrillic letters and Roman numerals change case too.
        {"aｂβж\xFA\x40.txt", Arrange(none, CaseMode::Upper), "AＢΒЖ\x87\x54.TXT"},
        {"ＡΒЖ\x87\x54", Arrange(none, CaseMode::Lower), "ａβж\xFA\x40"},
        // Second codes come back as the usual ones, broken pairs as "・", a last lead stays.
        {"\xED\x40\xFA\x5B\x85\x40" "a\x81", Arrange(none, CaseMode::Upper), "\xFA\x5C∵・A\x81"},
        {"ＡＢ cD", Arrange(none, CaseMode::CapitalAfterToken, " "), "ａｂ Cd"},
        // 130 letters full-width do not fit: the width stays, the other steps run.
        {a130.c_str(), Arrange(full, CaseMode::Upper, "", nullptr, nullptr, "_1"), upper130_1.c_str()},
        {"ab.c", Arrange(full, CaseMode::Upper, "", nullptr, "p_", "_q"), "p_ＡＢ_q.C"},
        // The end text goes behind an extension that a space makes no extension.
        {"a.b", Arrange(none, CaseMode::Unchanged, "", ".x y", nullptr, "_e"), "a.x y_e"},
        {n250x.c_str(), Arrange(none, CaseMode::Unchanged, "", "12345678"), n250ext.c_str()},
        {n250x.c_str(), Arrange(none, CaseMode::Unchanged, "", "123456789"), nullptr},
    };
    for (const ArrangeRow& row : rows) {
        char out[kArrangedNameSize];
        const bool fits = ArrangeName(row.name, row.options, out, sizeof out);
        EXPECT_EQ(fits, row.expected != nullptr) << row.name;
        EXPECT_STREQ(out, row.expected != nullptr ? row.expected : "") << row.name;
    }
}

}  // namespace
