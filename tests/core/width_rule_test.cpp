// Width conversion, capitals after a token and the added texts of name arrangement.
// Literals are compiled to code page 932: "ア" is 83 41.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "permute_rule.h"
#include "width_rule.h"

namespace {

WidthClasses Classes(bool upper, bool lower, bool digits, bool symbols, bool spaces, bool keepExtension)
{
    WidthClasses c;
    c.upper = upper, c.lower = lower, c.digits = digits, c.symbols = symbols, c.spaces = spaces;
    c.keepExtension = keepExtension;
    return c;
}
const WidthClasses kAll = Classes(true, true, true, true, true, false);

struct WidthRow {
    bool toHalf;
    const char* name;
    WidthClasses classes;
    const char* expected;
};

TEST(WidthRule, Rows)
{
    const WidthRow rows[] = {
        {true, "ＡＢＣ　１２３．ｔｘｔ", Classes(true, true, true, false, true, false), "ABC 123．txt"},
        {true, "ＡＢＣ　１２３．ｔｘｔ", kAll, "ABC 123.txt"},
        {true, "ＡＢＣ", Classes(false, true, true, true, true, false), "ＡＢＣ"},
        {false, "a.txt", kAll, "ａ．ｔｘｔ"},
        {false, "a.txt", Classes(true, true, true, true, true, true), "ａ.txt"},
        {false, ".profile", Classes(true, true, true, true, true, true), ".profile"},
        {false, "｡｢｣､", kAll, "。「」、"},
        {true, "。「」、", kAll, "｡｢｣､"},
        {false, "ｱ漢\\:,;", kAll, "ｱ漢\\:,;"},        // no other form, or not in the table
        {true, "ア\x82", kAll, "ア\x82"},               // a lone lead byte at the end stays
    };
    for (const WidthRow& row : rows) {
        char out[260];
        const bool ok = row.toHalf ? ToHalfWidth(row.name, row.classes, out, sizeof out)
                                   : ToFullWidth(row.name, row.classes, out, sizeof out);
        ASSERT_TRUE(ok) << row.name;
        EXPECT_STREQ(out, row.expected) << row.name;
    }
}

TEST(WidthRule, EverySingleByteRoundTripsAndTheSymbolTableBothWays)
{
    for (int b = 1; b < 256; ++b) {
        if (IsLeadByte932(static_cast<unsigned char>(b))) continue;
        const char name[2] = {static_cast<char>(b), 0};
        char full[8], half[8];
        ASSERT_TRUE(ToFullWidth(name, kAll, full, sizeof full));
        ASSERT_TRUE(ToHalfWidth(full, kAll, half, sizeof half));
        EXPECT_STREQ(half, name) << "byte " << b;
        // Converted bytes become one double-byte character, the others stay.
        EXPECT_TRUE(std::strlen(full) == 1 ? std::strcmp(full, name) == 0 : IsLeadByte932(full[0] & 0xFF)) << b;
    }
    for (const SymbolWidthPair& pair : SymbolWidthTable) {
        const char full[3] = {static_cast<char>(kSymbolLeadByte), static_cast<char>(pair.fullTrail), 0};
        const char half[2] = {static_cast<char>(pair.half), 0};
        char out[8];
        ASSERT_TRUE(ToHalfWidth(full, kAll, out, sizeof out));
        EXPECT_STREQ(out, half);
        ASSERT_TRUE(ToFullWidth(half, kAll, out, sizeof out));
        EXPECT_STREQ(out, full);
    }
}

TEST(WidthRule, ResultPast259BytesIsRefusedAndLeavesNothing)
{
    char out[260];
    EXPECT_TRUE(ToFullWidth(std::string(129, 'a').c_str(), kAll, out, sizeof out));
    EXPECT_EQ(std::strlen(out), 258u);
    EXPECT_FALSE(ToFullWidth(std::string(130, 'a').c_str(), kAll, out, sizeof out));
    EXPECT_STREQ(out, "");
}

struct TokenRow {
    const char* name;
    const char* lowered;   // the name as the platform lower-cases it
    const char* token;
    const char* expected;
};

TEST(WidthRule, CapitalsAfterTheToken)
{
    const TokenRow rows[] = {
        {"hello WORLD.TXT", "hello world.txt", " ", "Hello World.txt"},
        {"hello WORLD.TXT", "hello world.txt", ".", "Hello world.Txt"},
        {"aXb", "axb", "X", "AxB"},
        {"abc", "abc", "", "Abc"},
        {"xアb", "xアb", "A", "Xアb"},   // the trail byte 41 of "ア" is not the token "A"
        {"ａb", "ａb", "ａ", "ａB"},     // only single-byte letters are raised
    };
    for (const TokenRow& row : rows) {
        std::string lowered = row.lowered;
        CapitalizeAfterToken(row.name, row.token, &lowered[0]);
        EXPECT_EQ(lowered, row.expected) << row.name << " / " << row.token;
    }
}

TEST(WidthRule, AddedTextsAndTheirLimits)
{
    char name[260] = "photo.jpg";
    ASSERT_TRUE(PrependText(name, sizeof name, "2020_"));
    ASSERT_TRUE(InsertBeforeExtension(name, sizeof name, "_s"));
    EXPECT_STREQ(name, "2020_photo_s.jpg");
    for (const char* plain : {".profile", "README"}) {
        std::strcpy(name, plain);
        ASSERT_TRUE(InsertBeforeExtension(name, sizeof name, "_s"));
        EXPECT_EQ(std::string(name), std::string(plain) + "_s");
    }
    // 250 + 9 bytes fit in 260 with the terminator; one more does not, and nothing changes.
    const std::string base(250, 'n');
    std::strcpy(name, base.c_str());
    EXPECT_TRUE(PrependText(name, sizeof name, "123456789"));
    std::strcpy(name, base.c_str());
    EXPECT_FALSE(InsertBeforeExtension(name, sizeof name, "1234567890"));
    EXPECT_EQ(name, base);

    char extension[8];
    for (const char* typed : {"doc", ".doc"}) {
        ASSERT_TRUE(DottedExtension(typed, extension, sizeof extension));
        EXPECT_STREQ(extension, ".doc");
    }
    EXPECT_TRUE(DottedExtension("", extension, sizeof extension) && std::strcmp(extension, ".") == 0);
    EXPECT_FALSE(DottedExtension("1234567", extension, sizeof extension));
}

}  // namespace
