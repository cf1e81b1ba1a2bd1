// The selection commands' byte rules: the focused windows they drive, the search
// pattern of the reference folder and the attribute bits they compare.
#include "ctxmenu/rules/select_view_rule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(SelectViewRule, OnlyTheExactClassNamesAreDriven)
{
    EXPECT_TRUE(IsSelectionViewClass("SysListView32"));
    EXPECT_TRUE(IsSelectionViewClass("DirectUIHWND"));
    for (const char* other : {"syslistview32", "SysListView", "SysListView32 ", "DirectUIHWND2", "Edit",
                              "SysTreeView32", ""}) {
        EXPECT_FALSE(IsSelectionViewClass(other)) << other;
    }
    EXPECT_FALSE(IsSelectionViewClass(nullptr));
}

TEST(SelectViewRule, SearchPatternFolderStarAndTail)
{
    struct Row {
        const char* folder;
        const char* extension;
        const char* expected;
    };
    const Row rows[] = {
        {"C:\\data", ".txt", "C:\\data\\*.txt"},
        {"C:\\data", "", "C:\\data\\*."},        // no extension: names without one
        {"C:", ".TXT", "C:\\*.TXT"},             // reference in a drive root
        {"C:\\data", ".*", "C:\\data\\*.*"},     // every entry
    };
    for (const Row& row : rows) {
        char out[260];
        ASSERT_TRUE(BuildSearchPattern(out, sizeof out, row.folder, ExtensionSearchTail(row.extension)));
        EXPECT_STREQ(out, row.expected);
    }
    EXPECT_STREQ(ExtensionSearchTail(nullptr), ".");
}

TEST(SelectViewRule, SearchPatternRefusesWhatDoesNotFit)
{
    // folder + "\*" + tail + terminator must fit exactly.
    const std::string folder(260 - 1 - 2 - 4, 'a');
    char out[260];
    ASSERT_TRUE(BuildSearchPattern(out, sizeof out, folder.c_str(), ".txt"));
    EXPECT_EQ(std::strlen(out), 259u);
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(BuildSearchPattern(out, sizeof out, (folder + "a").c_str(), ".txt"));
    EXPECT_EQ(out[0], '\0');
    EXPECT_FALSE(BuildSearchPattern(out, 0, "C:", ".*"));
    EXPECT_FALSE(BuildSearchPattern(out, sizeof out, nullptr, ".*"));
}

TEST(SelectViewRule, AttributesCompareOnlyTheFiveBits)
{
    const unsigned readOnlyHidden = 0x01 | 0x02;
    EXPECT_TRUE(SameSelectAttributes(readOnlyHidden, readOnlyHidden));
    // compressed, encrypted, not-indexed, temporary, offline make no difference
    EXPECT_TRUE(SameSelectAttributes(readOnlyHidden | 0x800 | 0x4000 | 0x2000 | 0x100 | 0x1000, readOnlyHidden));
    EXPECT_FALSE(SameSelectAttributes(readOnlyHidden | 0x20, readOnlyHidden));  // archive
    EXPECT_FALSE(SameSelectAttributes(readOnlyHidden | 0x04, readOnlyHidden));  // system
    EXPECT_FALSE(SameSelectAttributes(readOnlyHidden | 0x10, readOnlyHidden));  // folder
    EXPECT_FALSE(SameSelectAttributes(0x01, readOnlyHidden));
    EXPECT_TRUE(SameSelectAttributes(0x80, 0x00));  // "normal" is outside the mask

    EXPECT_TRUE(SameKind(0x10 | 0x01, 0x10));
    EXPECT_TRUE(SameKind(0x20, 0x80));
    EXPECT_FALSE(SameKind(0x10, 0x20));
}
