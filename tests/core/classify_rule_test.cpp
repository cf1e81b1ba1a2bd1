// The rules of "classify by modified date": the view it is offered in, the date
// folder's name and the file's place inside it.
#include "ctxmenu/rules/classify_rule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(ClassifyRule, OnlyTheListViewIsClassified)
{
    EXPECT_TRUE(IsClassifyViewClass("SysListView32"));
    EXPECT_FALSE(IsClassifyViewClass("DirectUIHWND"));
    for (const char* other : {"syslistview32", "SysListView", "SysListView32 ", "DirectUIHWND2", "Edit",
                              "SysTreeView32", ""}) {
        EXPECT_FALSE(IsClassifyViewClass(other)) << other;
    }
    EXPECT_FALSE(IsClassifyViewClass(nullptr));
}

TEST(ClassifyRule, DateFolderNameFourTwoTwoDigits)
{
    char out[kDateFolderNameSize];
    ASSERT_TRUE(FormatDateFolderName(out, sizeof out, 2024, 1, 15));
    EXPECT_STREQ(out, "20240115");
    ASSERT_TRUE(FormatDateFolderName(out, sizeof out, 987, 12, 3));
    EXPECT_STREQ(out, "09871203");
    ASSERT_TRUE(FormatDateFolderName(out, sizeof out, 30827, 12, 31));  // largest SYSTEMTIME year
    EXPECT_STREQ(out, "308271231");
    ASSERT_TRUE(FormatDateFolderName(out, sizeof out, 65535, 65535, 65535));
    EXPECT_STREQ(out, "655356553565535");
    char small[8];
    EXPECT_FALSE(FormatDateFolderName(small, sizeof small, 2024, 1, 15));
    EXPECT_EQ(small[0], '\0');
}

TEST(ClassifyRule, TargetReplacesTheNameAndMovesItInside)
{
    const char path[] = "C:\\photos\\IMG_0001.JPG";
    char folder[260], target[260];
    ASSERT_TRUE(BuildClassifyTarget(path, 10, "20240115", folder, sizeof folder, target, sizeof target));
    EXPECT_STREQ(folder, "C:\\photos\\20240115");
    EXPECT_STREQ(target, "C:\\photos\\20240115\\IMG_0001.JPG");

    // A name shorter than the date name: the folder is longer than the file's path.
    ASSERT_TRUE(BuildClassifyTarget("C:\\a", 3, "20240115", folder, sizeof folder, target, sizeof target));
    EXPECT_STREQ(folder, "C:\\20240115");
    EXPECT_STREQ(target, "C:\\20240115\\a");
}

TEST(ClassifyRule, TargetSkipsWhatWouldNotFit)
{
    char folder[260], target[260];
    // The target is the path plus the date name and a backslash: 9 bytes longer.
    const std::string dir = "C:\\" + std::string(200, 'd') + "\\";
    const std::size_t room = 259 - dir.size() - 9;  // longest name whose target fits
    const std::string fits = dir + std::string(room, 'n');
    ASSERT_TRUE(BuildClassifyTarget(fits.c_str(), dir.size(), "20240115", folder, sizeof folder, target,
                                    sizeof target));
    EXPECT_EQ(std::strlen(target), 259u);

    const std::string tooLong = fits + "n";
    std::memset(folder, 'x', sizeof folder);
    std::memset(target, 'x', sizeof target);
    EXPECT_FALSE(BuildClassifyTarget(tooLong.c_str(), dir.size(), "20240115", folder, sizeof folder, target,
                                     sizeof target));
    EXPECT_EQ(folder[0], '\0');
    EXPECT_EQ(target[0], '\0');

    // The folder alone past the buffer: a deep folder and a one-letter name.
    const std::string deep = "C:\\" + std::string(250, 'd') + "\\a";
    EXPECT_FALSE(BuildClassifyTarget(deep.c_str(), deep.size() - 1, "20240115", folder, sizeof folder, target,
                                     sizeof target));

    // No file-name part.
    EXPECT_FALSE(BuildClassifyTarget("C:\\photos\\", 10, "20240115", folder, sizeof folder, target, sizeof target));
    EXPECT_FALSE(BuildClassifyTarget("C:\\photos", 42, "20240115", folder, sizeof folder, target, sizeof target));
}
