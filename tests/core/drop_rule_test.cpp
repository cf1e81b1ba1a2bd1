// The drop commands' names and paths on code page 932 text: tables of names, then
// the limits of the fixed buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dragdrop/rules/drop_rule.h"

namespace {

// Literals are compiled to code page 932: "ソ" is 83 5C, "表" is 95 5C.
TEST(DropNames, FolderNameForItem)
{
    struct Row {
        const char* path;
        bool dropExtension;
        const char* expected;   // nullptr: refused
    };
    const Row rows[] = {
        {"D:\\in\\a.txt", true, "a"},
        {"D:\\in\\report.final.doc", true, "report.final"},
        {"D:\\in\\data.2001", true, "data"},
        {"D:\\in\\data.2001", false, "data.2001"},
        {"D:\\in\\noext", true, "noext"},
        {"D:\\in\\my file.tar gz", true, "my file.tar gz"},   // a space after the dot: no extension
        {"D:\\in\\.profile", true, ".profile"},               // nothing would be left
        {"D:\\in\\..x", true, "..x"},                         // dots alone name no folder
        {"D:\\in\\表.txt", true, "表"},                      // trail byte 5C is no separator
        {"D:\\ソ\\表示", true, "表示"},
        {"name.txt", true, "name"},
        // As the file system stores a folder name: no trailing spaces or dots.
        {"D:\\in\\memo .txt", true, "memo"},
        {"D:\\in\\x...txt", true, "x"},
        {"D:\\in\\v1..txt", true, "v1"},
        {"D:\\in\\ソ..txt", true, "ソ"},
        {"D:\\in\\ .txt", true, " .txt"},                     // nothing would be left
        {"D:\\in\\. .", true, nullptr},                       // ... nor of the whole name
        {"D:\\", true, nullptr},                             // a drive root has no name
        {"D:\\in\\", true, nullptr},
        {"", true, nullptr},
    };
    for (const Row& row : rows) {
        char out[260] = "junk";
        const bool ok = FolderNameForItem(row.path, row.dropExtension, out, sizeof out);
        EXPECT_EQ(ok, row.expected != nullptr) << row.path;
        EXPECT_STREQ(out, row.expected != nullptr ? row.expected : "") << row.path;
    }
}

TEST(DropNames, JoinUnderFolderAndCandidates)
{
    struct Row {
        const char* folder;
        const char* name;
        const char* expected;
    };
    const Row rows[] = {
        {"D:\\work", "a", "D:\\work\\a"},
        {"D:\\", "a", "D:\\a"},                 // a root already ends in a backslash
        {"D:\\表", "a", "D:\\表\\a"},          // ... a trail byte 5C does not
        {"D:\\ソ", "a", "D:\\ソ\\a"},
    };
    for (const Row& row : rows) {
        char out[260];
        ASSERT_TRUE(JoinUnderFolder(out, sizeof out, row.folder, row.name)) << row.folder;
        EXPECT_STREQ(out, row.expected);
    }
    char out[260];
    ASSERT_TRUE(FormatCandidate(out, sizeof out, "D:\\work\\a", 1));
    EXPECT_STREQ(out, "D:\\work\\a(1)");
    ASSERT_TRUE(FormatCandidate(out, sizeof out, "D:\\work\\a", 4294967295u));
    EXPECT_STREQ(out, "D:\\work\\a(4294967295)");
}

TEST(DropNames, PathsPast259BytesAreRefusedWhole)
{
    const std::string folder(250, 'f');
    char out[260] = "junk";
    EXPECT_TRUE(JoinUnderFolder(out, sizeof out, folder.c_str(), std::string(8, 'n').c_str()));   // 259 bytes
    EXPECT_EQ(std::strlen(out), 259u);
    EXPECT_FALSE(JoinUnderFolder(out, sizeof out, folder.c_str(), std::string(9, 'n').c_str()));
    EXPECT_STREQ(out, "");

    const std::string wanted(256, 'w');
    EXPECT_TRUE(FormatCandidate(out, sizeof out, wanted.c_str(), 9));     // 259 bytes
    EXPECT_FALSE(FormatCandidate(out, sizeof out, wanted.c_str(), 10));
    EXPECT_STREQ(out, "");

    char name[4] = "x";
    EXPECT_FALSE(FolderNameForItem("D:\\abcd.txt", true, name, sizeof name));
    EXPECT_STREQ(name, "");
}

TEST(DropNames, OperationListsEndInTwoZeros)
{
    char list[kOperationListSize];
    const std::string longest(259, 'p');
    std::memset(list, 'x', sizeof list);
    ASSERT_TRUE(BuildOperationList(list, sizeof list, longest.c_str()));
    EXPECT_EQ(std::string(list), longest);
    EXPECT_EQ(list[259], '\0');
    EXPECT_EQ(list[260], '\0');
    EXPECT_EQ(list[261], '\0');

    char small[6];
    std::memset(small, 'x', sizeof small);
    EXPECT_TRUE(BuildOperationList(small, sizeof small, "abcd"));
    EXPECT_FALSE(BuildOperationList(small, sizeof small, "abcde"));   // no room for the second zero
    EXPECT_EQ(std::string(small, sizeof small), std::string(sizeof small, '\0'));
    EXPECT_FALSE(BuildOperationList(small, sizeof small, ""));
}

TEST(DropNames, SameOrInsideByWholeComponents)
{
    struct Row {
        const char* inner;
        const char* outer;
        bool expected;
    };
    const Row rows[] = {
        {"D:\\a", "D:\\a", true},
        {"d:\\A\\sub", "D:\\a", true},
        {"D:\\ab", "D:\\a", false},
        {"D:\\a\\b", "D:\\", true},
        {"D:\\a", "D:\\a\\b", false},
        {"D:\\\x83\x7A", "D:\\\x83\x5A", false},   // trail bytes are not folded like letters
        {"D:\\表\\x", "D:\\表", true},
        {"D:\\表x", "D:\\表", false},
    };
    for (const Row& row : rows) EXPECT_EQ(IsSameOrInside(row.inner, row.outer), row.expected) << row.inner;
}

}  // namespace
