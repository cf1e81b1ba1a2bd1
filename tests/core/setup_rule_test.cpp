// The setup program's command-line switch, the strings built from its own path and the
// customisation lists, under the sanitizers (the fuzz target checks the strings too).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "option_blocks.h"
#include "setup_rules.h"

TEST(SetupRules, OnlyTheExactSwitchStartsTheMaintenance)
{
    for (const char* line : {"/UNINST", "/uninst ", " /uninst", "/un-inst", "", static_cast<const char*>(nullptr)})
        EXPECT_FALSE(IsUninstallSwitch(line)) << (line != nullptr ? line : "null");
    EXPECT_TRUE(IsUninstallSwitch("/uninst"));
}

TEST(SetupRules, PathStringsStopAtTheirBuffer)
{
    char out[260];
    // Quotes, blank and switch take 10 bytes besides the path and its terminator.
    for (const auto& [length, fits] : {std::pair<std::size_t, bool>{249, true}, {250, false}}) {
        const std::string path(length, 'a');
        EXPECT_EQ(BuildUninstallCommand(path.c_str(), out, sizeof out), fits) << length;
        EXPECT_EQ(std::string(out), fits ? "\"" + path + "\" /uninst" : "");
    }
    const std::string folder(248, 'b');   // + "kelmora.dll" + terminator = 260
    EXPECT_TRUE(BuildSiblingPath((folder + "pellast.exe").c_str(), folder.size(), kKelmoraFile, out, sizeof out));
    EXPECT_FALSE(BuildSiblingPath((folder + "xpellast.exe").c_str(), folder.size() + 1, kKelmoraFile, out, sizeof out));
    EXPECT_FALSE(ModulePathComplete(260, 260));   // filled the buffer: possibly cut
}

TEST(SetupRules, AvailableEntriesLeaveOutShownCommandsAndTheTwoWithoutAction)
{
    const std::vector<unsigned char> all{0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 16};
    const struct {
        std::vector<unsigned char> layout, available;
    } cases[] = {
        {{kDefaultLayout, kDefaultLayout + sizeof kDefaultLayout}, {0, 2, 4, 5, 14}},
        {{1, 6, 15, 0, 0}, all},
        {{0, 17, 200, 255}, all},   // bytes above 16 are passed over
        {{1}, all},                  // the flag is no entry
    };
    for (const auto& c : cases) {
        unsigned char out[17];
        const std::size_t n = AvailableIndices(c.layout.data(), c.layout.size(), out, sizeof out);
        EXPECT_EQ(std::vector<unsigned char>(out, out + n), c.available);
    }
}
