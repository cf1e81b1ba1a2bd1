// The name replacement rule on code page 932 names: table rows, then malformed and
// maximum-length input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/rules/cp932_text.h"
#include "ctxmenu/rules/permute_rule.h"

namespace {

// Literals are compiled to code page 932: "ア" is 83 41, "ソ" is 83 5C, "表" is 95 5C.
struct Row {
    const char* name;
    const char* search;
    const char* replacement;
    bool every;
    bool keepExtension;
    const char* expected;
};

const Row kRows[] = {
    // Worked example and its option combinations.
    {"aXbXc.X", "X", "YY", false, false, "aYYbXc.X"},
    {"aXbXc.X", "X", "YY", true, false, "aYYbYYc.YY"},
    {"aXbXc.X", "X", "YY", true, true, "aYYbYYc.X"},
    {"aXbXc.X", "X", "YY", false, true, "aYYbXc.X"},
    // Occurrences never overlap and are taken from the left.
    {"aaaa", "aa", "b", false, false, "baa"},
    {"aaaa", "aa", "b", true, false, "bb"},
    {"aaa", "aa", "b", true, false, "ba"},
    // The replacement is not searched again.
    {"ab", "a", "aa", true, false, "aab"},
    // Case-sensitive; no occurrence leaves the name as it is.
    {"ABC", "abc", "x", true, false, "ABC"},
    {"name", "q", "x", true, false, "name"},
    // An empty replacement deletes the match.
    {"abcX", "X", "", true, false, "abc"},
    {"X", "X", "", true, false, ""},
    // Extension restore.
    {"foo.txt", "txt", "doc", false, true, "foo.txt"},
    {"a.b", ".", "_", false, true, "a_b.b"},
    {"abc", "b", ".", false, true, "a"},
    {"a.tar.gz", "a", "b", true, true, "b.tbr.gz"},
    {"x.a b", "x", "y", false, true, "y.a b"},   // ". a b" holds a space: no extension
    // Double-byte characters: a match starts and ends on a character boundary.
    {"xアy", "A", "Z", true, false, "xアy"},
    {"Aア", "A", "Z", true, false, "Zア"},
    {"アイ.txt", "イ", "ウ", false, false, "アウ.txt"},
    {"ソA", "\x5C" "A", "Z", true, false, "ソA"},   // the trail byte 5C is not a character
    {"表示", "\x95", "Z", true, false, "表示"},       // a lone lead byte never matches half a character
    {"ｱｲ", "ｲ", "ウ", true, false, "ｱウ"},          // single-byte katakana are whole characters
    {"アア", "ア", "a", true, false, "aa"},
};

TEST(PermuteRule, TableRows)
{
    for (const Row& row : kRows) {
        char out[260];
        const PermuteRule rule{row.search, row.replacement, row.every, row.keepExtension};
        ASSERT_TRUE(PermuteName(row.name, rule, out, sizeof out)) << row.name;
        EXPECT_STREQ(out, row.expected) << "name " << row.name << " search " << row.search;
    }
}

TEST(PermuteRule, KeptExtensionMayEndInATrailByte5C)
{
    // With the trail byte 5C taken for a separator the old extension would be empty.
    char out[260];
    const PermuteRule rule{"x", "y", true, true};
    ASSERT_TRUE(PermuteName("x.表", rule, out, sizeof out));
    EXPECT_STREQ(out, "y.表");
}

TEST(PermuteRule, ResultMustFitItsBuffer)
{
    char out[8];
    std::memset(out, 'z', sizeof out);
    // "aaaaaaa" (7 bytes) fits 8 with its terminator; one byte more does not.
    EXPECT_TRUE(PermuteName("ab", PermuteRule{"b", "aaaaaa", true, false}, out, sizeof out));
    EXPECT_STREQ(out, "aaaaaaa");
    EXPECT_FALSE(PermuteName("ab", PermuteRule{"b", "aaaaaaa", true, false}, out, sizeof out));
    EXPECT_STREQ(out, "");
    // Only the final length counts: a long intermediate extension that is put back short.
    EXPECT_TRUE(PermuteName("a.b", PermuteRule{"b", "bbbbbbbbbbbbbbbb", true, true}, out, sizeof out));
    EXPECT_STREQ(out, "a.b");
    EXPECT_FALSE(PermuteName("a", PermuteRule{"a", "x", true, false}, out, 0));
}

TEST(PermuteRule, MaximumLengthAndMalformedNames)
{
    // 259-byte names and texts, as the dialog and the path buffers allow at most.
    const std::string longName(259, 'a');
    const std::string longSearch(259, 'a');
    char out[260];
    EXPECT_TRUE(PermuteName(longName.c_str(), PermuteRule{longSearch.c_str(), "b", true, false}, out, sizeof out));
    EXPECT_STREQ(out, "b");
    EXPECT_TRUE(PermuteName(longName.c_str(), PermuteRule{"a", "", true, false}, out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(PermuteName(longName.c_str(), PermuteRule{"a", "bb", true, false}, out, sizeof out));
    EXPECT_TRUE(PermuteName(longName.c_str(), PermuteRule{"a", "b", false, true}, out, sizeof out));
    EXPECT_EQ(std::string(out), "b" + std::string(258, 'a'));
    // Every occurrence replaced by a 259-byte text: far past any buffer, refused whole.
    EXPECT_FALSE(PermuteName(longName.c_str(), PermuteRule{"a", longSearch.c_str(), true, true}, out, sizeof out));

    // A lone lead byte at the end of the name, of the search text or of the replacement.
    EXPECT_TRUE(PermuteName("ab\x83", PermuteRule{"\x83", "x", true, false}, out, sizeof out));
    EXPECT_STREQ(out, "abx");
    EXPECT_TRUE(PermuteName("ab\x83", PermuteRule{"b", "\x83", true, true}, out, sizeof out));
    EXPECT_STREQ(out, "a\x83\x83");
    EXPECT_TRUE(PermuteName("\x83", PermuteRule{"A", "x", true, true}, out, sizeof out));
    EXPECT_STREQ(out, "\x83");
    // Empty strings.
    EXPECT_TRUE(PermuteName("", PermuteRule{"a", "b", true, true}, out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(PermuteName("abc", PermuteRule{"", "b", true, true}, out, sizeof out));
    EXPECT_STREQ(out, "abc");
    EXPECT_FALSE(PermuteName(nullptr, PermuteRule{"a", "b", true, true}, out, sizeof out));
}

TEST(PermuteRule, EveryByteValueAsNameAndSearch)
{
    // Names of every pair of byte values: whatever the bytes, the result stays within
    // its buffer and a match never splits a double-byte character.
    for (int first = 1; first < 256; ++first) {
        for (int second = 1; second < 256; second += 7) {
            const char name[4] = {static_cast<char>(first), static_cast<char>(second), 'A', '\0'};
            const char search[2] = {static_cast<char>(second), '\0'};
            char out[4];
            const bool fits = PermuteName(name, PermuteRule{search, "", true, true}, out, sizeof out);
            ASSERT_TRUE(fits);
            const bool lead = IsLeadByte932(static_cast<unsigned char>(first));
            if (lead) {
                // The second byte is a trail byte: only an 'A' after it can be deleted.
                EXPECT_EQ(out[0], name[0]);
                EXPECT_EQ(out[1], name[1]);
            }
        }
    }
}

}  // namespace
