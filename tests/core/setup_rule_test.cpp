// The setup program's command-line switch and the strings built from its own path at
// their limits, under the sanitizers (the fuzz target checks them and the lists too).
#include <gtest/gtest.h>

#include <string>

#include "setup/rules/setup_rules.h"

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
}
