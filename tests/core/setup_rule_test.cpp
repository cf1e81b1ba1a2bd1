// The setup program's path strings, command-line switch, customisation lists and letter
// repair, under the sanitizers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "option_blocks.h"
#include "setup_rules.h"

TEST(SetupRules, UninstallSwitchIsExact)
{
    const struct { const char* line; bool maintenance; } cases[] = {
        {"/uninst", true}, {"/UNINST", false}, {"/uninst ", false}, {" /uninst", false},
        {"/uninst x", false}, {"/un-inst", false}, {"", false}, {nullptr, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsUninstallSwitch(c.line), c.maintenance) << (c.line ? c.line : "null");
}

TEST(SetupRules, StringsBuiltFromOwnPathStopAtTheirBuffer)
{
    const std::string folder = "C:\\Program Files\\Tidalon\\";
    const std::string module = folder + "pellast.exe";
    char out[260];
    // Quoted path, blank, switch: a path fits when 11 bytes are left.
    const struct { std::size_t pathLength; bool fits; } lengths[] = {{249, true}, {250, false}, {259, false}};
    for (const auto& c : lengths) {
        const std::string path(c.pathLength, 'a');
        EXPECT_EQ(BuildUninstallCommand(path.c_str(), out, sizeof out), c.fits) << c.pathLength;
        EXPECT_EQ(std::string(out), c.fits ? "\"" + path + "\" /uninst" : "");
    }
    ASSERT_TRUE(BuildUninstallCommand(module.c_str(), out, sizeof out));
    EXPECT_STREQ(out, "\"C:\\Program Files\\Tidalon\\pellast.exe\" /uninst");

    ASSERT_TRUE(BuildSiblingPath(module.c_str(), folder.size(), kKelmoraFile, out, sizeof out));
    EXPECT_EQ(std::string(out), folder + "kelmora.dll");
    const std::string deep(248, 'b');   // 248 + 11 + terminator = 260
    EXPECT_TRUE(BuildSiblingPath(deep.c_str(), deep.size(), kKelmoraFile, out, sizeof out));
    const std::string deeper(249, 'b');
    EXPECT_FALSE(BuildSiblingPath(deeper.c_str(), deeper.size(), kKelmoraFile, out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(BuildSiblingPath("C:\\a", 9, kOrvidFile, out, sizeof out));   // folder past the text

    EXPECT_FALSE(ModulePathComplete(0, 260));
    EXPECT_TRUE(ModulePathComplete(259, 260));
    EXPECT_FALSE(ModulePathComplete(260, 260));   // filled: possibly cut
}

TEST(SetupRules, AvailableEntriesLeaveOutShownCommandsAndTheTwoWithoutAction)
{
    const struct {
        std::vector<unsigned char> layout;
        std::vector<unsigned char> available;
    } cases[] = {
        {{kDefaultLayout, kDefaultLayout + sizeof kDefaultLayout}, {0, 2, 4, 5, 14}},
        {{1, 6, 15, 0, 0}, {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 16}},
        {{0, 17, 200, 255, 1}, {0, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 16}},   // bytes above 16 passed over
        {{0}, {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 16}},
    };
    for (const auto& c : cases) {
        unsigned char out[17];
        const std::size_t n = AvailableIndices(c.layout.data(), c.layout.size(), out, sizeof out);
        EXPECT_EQ(std::vector<unsigned char>(out, out + n), c.available);
    }
}

TEST(SetupRules, MovesStayInsideTheList)
{
    const struct { int selected, count; bool up; int target; } cases[] = {
        {0, 3, true, -1}, {2, 3, false, -1}, {1, 3, true, 0}, {1, 3, false, 2}, {-1, 3, true, -1}, {0, 0, false, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(MovedPosition(c.selected, c.count, c.up), c.target);
}

TEST(SetupRules, MissingLettersTakeTheirDefaults)
{
    unsigned char table[17] = {'Q', 'l', 0, 'X'};
    FillMissingHotkeys(table, sizeof table);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(table), 17), "QlFXURHCTBAGNEDOI");
}
