// Joining a folder and a name, and two texts, into a path buffer: whatever does not fit
// is refused, never cut.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/rules/path_build.h"

TEST(PathBuild, RefusesWhatDoesNotFit)
{
    char out[kPathSize];
    const std::string folder(200, 'f');
    const std::string fits(58, 'n');   // 200 + 1 + 58 = 259 bytes and the terminator
    EXPECT_TRUE(JoinChildPath(out, sizeof out, folder.c_str(), fits.c_str()));
    EXPECT_EQ(std::strlen(out), 259u);
    EXPECT_EQ(out[200], '\\');
    const std::string tooLong(59, 'n');
    EXPECT_FALSE(JoinChildPath(out, sizeof out, folder.c_str(), tooLong.c_str()));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(JoinChildPath(out, sizeof out, nullptr, "x"));
    EXPECT_TRUE(ConcatPath(out, sizeof out, "C:\\a\\", "b.txt"));
    EXPECT_STREQ(out, "C:\\a\\b.txt");
    EXPECT_FALSE(ConcatPath(out, 4, "abc", "d"));
}
