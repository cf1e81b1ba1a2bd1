// The archive check rules on code page 932 paths: format by extension, the bounded
// damaged-archive message, the log line and log path, the folder list of PATH.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ctxmenu/rules/archive_rule.h"

namespace {

// Literals are code page 932: "ア" is 83 41, "表" is 95 5C (its second byte is "\").
TEST(ArchiveRule, FormatByExtension)
{
    const struct {
        const char* path;
        int format;
    } rows[] = {
        {"C:\\a.lzh", 0}, {"C:\\a.Lzh", 0}, {"b.ARJ", 1}, {"c.ish", 2}, {"d.tAr", 3}, {"e.cab", 4},
        {"f.rar", 5},     {"C:\\ア.ZIP", 6}, {"x.tar.gz", -1}, {"noext", -1},  {"name.", -1},
        {"C:\\d.zip\\f", -1}, {"a.zip2", -1}, {"a.zi", -1},   {"a.zip x", -1}, {"表.zip", 6}, {"", -1},
    };
    for (const auto& row : rows) EXPECT_EQ(ArchiveFormatOf(row.path), row.format) << row.path;
    EXPECT_EQ(ArchiveFormatOf(nullptr), -1);
}

TEST(ArchiveRule, DamagedMessageIsBoundedAndCutOnACharacter)
{
    char out[320];
    ASSERT_TRUE(FormatDamagedMessage(out, sizeof out, "C:\\a.zip"));
    EXPECT_STREQ(out, "書庫が壊れています。[C:\\a.zip]");
    for (const std::string& path : {std::string(400, 'p'), std::string("C:\\") + [] {
             std::string s;
             for (int i = 0; i < 200; ++i) s += "ア";
             return s;
         }()}) {
        ASSERT_TRUE(FormatDamagedMessage(out, sizeof out, path.c_str()));
        const std::size_t length = std::strlen(out);
        EXPECT_LE(length, 319u);
        EXPECT_GE(length, 317u);
        EXPECT_EQ(out[length - 1], ']');
        EXPECT_NE(std::string(out, length - 1).back(), '\x83') << "no lead byte without its trail";
    }
    EXPECT_FALSE(FormatDamagedMessage(out, 10, "x"));
    EXPECT_STREQ(out, "");
}

TEST(ArchiveRule, LogLineAndLogPath)
{
    char line[15];
    EXPECT_EQ(FormatLogLine(line, sizeof line, false, "C:\\a.zip"), 0u) << "a log line is never cut";
    EXPECT_STREQ(line, "");

    const struct {
        std::string first;
        std::string proposed;
    } rows[] = {
        {"C:\\dir\\a.zip", "C:\\dir\\~ArcList.txt"},
        {"C:\\", "C:\\~ArcList.txt"},
        {"C:\\表x", "C:\\~ArcList.txt"},   // the 5C of "表" is no separator
        {"C:\\d\\表", "C:\\d\\~ArcList.txt"},
        {"C:\\" + std::string(245, 'f') + "\\a", "~ArcList.txt"},   // 261 bytes: the bare name
        {"C:\\" + std::string(243, 'f') + "\\a", "C:\\" + std::string(243, 'f') + "\\~ArcList.txt"},
        {"a.zip", "~ArcList.txt"},
    };
    for (const auto& row : rows) {
        char out[260];
        ProposeLogPath(out, sizeof out, row.first.c_str());
        EXPECT_EQ(out, row.proposed) << row.first;
    }
}

TEST(ArchiveRule, FoldersOfAPathList)
{
    const std::string tooLong(300, 'x');
    // Relative entries would be found from the current folder: passed over.
    const std::string list = "C:\\a;;.;bin;C:rel;\\x;\"C:\\b c\";" + tooLong + ";C:\\表;\\\\srv\\s;d:/l;\"\"";
    const char* cursor = list.c_str();
    char out[260];
    std::string seen;
    while (NextListedFolder(&cursor, out, sizeof out)) seen += std::string(out) + "|";
    EXPECT_EQ(seen, "C:\\a|C:\\b c|C:\\表|\\\\srv\\s|d:/l|");
    EXPECT_EQ(*cursor, '\0');
}

}  // namespace
