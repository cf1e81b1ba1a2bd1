// The settings store as every deliverable links it: accessors, error box, defaults and
// the layout loader.
#include <gtest/gtest.h>

#include <cstring>

#include "common/menu_layout.h"
#include "common/report.h"
#include "common/settings_store.h"
#include "tests/support/test_env.h"
#include "tests/support/ui_script.h"

namespace {

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { DeleteSettingsKey(); }
};

}  // namespace

TEST_F(SettingsTest, ShortValueReadsWithZeroTailAndMissingKeyIsCreated)
{
    UiScript ui;
    const unsigned char data[3] = {7, 8, 9};
    ASSERT_EQ(WriteBinaryValue(HKEY_CURRENT_USER, kSettingsKey, "Probe", data, 3), 1);  // key did not exist
    unsigned char buffer[6];
    std::memset(buffer, 0xCC, sizeof buffer);
    EXPECT_EQ(ReadBinaryValue(HKEY_CURRENT_USER, kSettingsKey, "Probe", buffer, sizeof buffer), 1);
    const unsigned char expected[6] = {7, 8, 9, 0, 0, 0};
    EXPECT_EQ(std::memcmp(buffer, expected, 6), 0);
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(SettingsTest, MissingValueReportsSystemTextAndLeavesZeros)
{
    UiScript ui;
    ui.ExpectBox();
    unsigned char buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(ReadBinaryValue(HKEY_CURRENT_USER, kSettingsKey, "Absent", buffer, sizeof buffer), 0);
    EXPECT_EQ(std::memcmp(buffer, "\0\0\0\0", 4), 0);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], SystemText(ERROR_FILE_NOT_FOUND)));
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(SettingsTest, ValueLongerThanBufferReportsMoreData)
{
    WriteSettingsValue("Long", std::vector<unsigned char>(8, 1));
    UiScript ui;
    ui.ExpectBox();
    unsigned char buffer[4];
    EXPECT_EQ(ReadBinaryValue(HKEY_CURRENT_USER, kSettingsKey, "Long", buffer, sizeof buffer), 0);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], SystemText(ERROR_MORE_DATA)));
}

TEST_F(SettingsTest, StringValueStoresTerminator)
{
    ASSERT_EQ(WriteStringValue(HKEY_CURRENT_USER, kSettingsKey, "Version", "1.20"), 1);
    DWORD type = 0;
    const std::vector<unsigned char> bytes = ReadSettingsValue("Version", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(bytes.size(), 5u);
    EXPECT_EQ(std::memcmp(bytes.data(), "1.20\0", 5), 0);
}

TEST_F(SettingsTest, MissingArgumentsShowGenericFailure)
{
    UiScript ui;
    ui.ExpectBox().ExpectBox().ExpectBox();
    unsigned char buffer[2];
    EXPECT_EQ(ReadBinaryValue(HKEY_CURRENT_USER, kSettingsKey, "X", buffer, 0), 0);
    EXPECT_EQ(WriteBinaryValue(HKEY_CURRENT_USER, kSettingsKey, nullptr, buffer, 2), 0);
    EXPECT_EQ(WriteStringValue(HKEY_CURRENT_USER, kSettingsKey, "X", nullptr), 0);
    ASSERT_EQ(ui.Boxes().size(), 3u);
    for (const SeenBox& box : ui.Boxes()) EXPECT_TRUE(IsErrorBox(box, "システム異常です。"));
    EXPECT_FALSE(SettingsValueExists("X"));
}

TEST(ReportSystemError, ShowsSystemTextWithoutLineBreakOwnedByForegroundWindow)
{
    HWND window = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    UiScript ui;
    ui.ExpectBox();
    ReportSystemError(nullptr, ERROR_ACCESS_DENIED);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    const SeenBox& box = ui.Boxes()[0];
    EXPECT_TRUE(IsErrorBox(box, SystemText(ERROR_ACCESS_DENIED)));
    ASSERT_FALSE(box.text.empty());
    EXPECT_NE(box.text.back(), '\n');
    EXPECT_EQ(box.owner, GetForegroundWindow());
    DestroyWindow(window);
}

TEST(ReportSystemError, CodeWithoutTextShowsNothing)
{
    UiScript ui;
    ReportSystemError(nullptr, 0x2F0F1234);
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}

TEST(ReportSystemError, UnexpectedStateShowsGenericFailure)
{
    UiScript ui;
    ui.ExpectBox();
    ReportFault();
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], "システム異常です。"));
}

TEST_F(SettingsTest, DefaultsWriteEveryValueWithItsSizeAndBytes)
{
    ASSERT_EQ(WriteDefaultSettings(), 1);
    const std::vector<unsigned char> menu = ReadSettingsValue("Menu");
    EXPECT_EQ(menu, std::vector<unsigned char>({0x00, 0x03, 0x01, 0x00, 0x07, 0x00, 0x08, 0x09, 0x0A, 0x00, 0x0B,
                                                0x0C, 0x0D, 0x00, 0x10}));
    const std::vector<unsigned char> key = ReadSettingsValue("Key");
    EXPECT_EQ(std::string(key.begin(), key.end()), "ELFXURHCTBAGNEDOI");

    struct Block {
        const char* name;
        size_t size;
        std::vector<std::pair<size_t, unsigned char>> set;
    };
    const Block blocks[] = {
        {"Clipboard", 12, {}},
        {"Time", 4, {{0, 1}, {1, 1}, {2, 1}, {3, 1}}},
        {"Revise", 6, {}},
        {"Attribute", 8, {}},
        {"Name", 1098, {{3, 1}, {4, 1}, {5, 1}, {7, 1}}},
        {"Cnum", 785, {{260, '0'}, {520, '4'}}},
        {"Permute", 3, {}},
        {"Archive", 9, {{0, 1}, {6, 1}}},
    };
    for (const Block& b : blocks) {
        DWORD type = 0;
        const std::vector<unsigned char> bytes = ReadSettingsValue(b.name, &type);
        EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY)) << b.name;
        std::vector<unsigned char> expected(b.size, 0);
        for (const auto& [at, value] : b.set) expected[at] = value;
        EXPECT_EQ(bytes, expected) << b.name;
    }
    EXPECT_EQ(ReadSettingsValue("Version"), std::vector<unsigned char>({'1', '.', '2', '0', 0}));
}

TEST_F(SettingsTest, LoadMenuLayoutCreatesDefaultsOnFirstUse)
{
    BYTE* layout = nullptr;
    DWORD length = 0;
    ASSERT_EQ(LoadMenuLayout(&layout, &length), 1);
    ASSERT_EQ(length, 15u);
    EXPECT_EQ(layout[1], 0x03);
    EXPECT_EQ(layout[14], 0x10);
    EXPECT_EQ(GlobalFree(layout), nullptr);
    EXPECT_EQ(ReadSettingsValue("Archive").size(), 9u);
    EXPECT_EQ(std::memcmp(HotkeyTable(), "ELFXURHCTBAGNEDOI", 17), 0);
}

TEST_F(SettingsTest, LoadMenuLayoutRefusesBrokenValues)
{
    ASSERT_EQ(WriteDefaultSettings(), 1);
    BYTE* layout = reinterpret_cast<BYTE*>(1);
    DWORD length = 5;

    {   // only the flag: no entries
        WriteSettingsValue("Menu", std::vector<unsigned char>{1});
        UiScript ui;
        ui.ExpectBox();
        EXPECT_EQ(LoadMenuLayout(&layout, &length), 0);
        EXPECT_EQ(layout, nullptr);
        EXPECT_EQ(length, 0u);
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], "システム異常です。"));
    }
    WriteSettingsValue("Menu", std::vector<unsigned char>{0, 0x0B});
    {   // 16 letters: the last slot stays zero
        WriteSettingsValue("Key", std::string("ZLFXURHCTBAGNEDO"));
        UiScript ui;
        ASSERT_EQ(LoadMenuLayout(&layout, &length), 1);
        GlobalFree(layout);
        EXPECT_EQ(HotkeyTable()[0], 'Z');
        EXPECT_EQ(HotkeyTable()[16], 0);
        EXPECT_TRUE(ui.Failures().empty());
    }
    {   // 18 letters do not fit the table
        WriteSettingsValue("Key", std::string("ELFXURHCTBAGNEDOIQ"));
        UiScript ui;
        ui.ExpectBox();
        EXPECT_EQ(LoadMenuLayout(&layout, &length), 0);
        EXPECT_EQ(layout, nullptr);
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], SystemText(ERROR_MORE_DATA)));
    }
    {   // no "Key": the table is left all zeros
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "Key");
        UiScript ui;
        ui.ExpectBox();
        EXPECT_EQ(LoadMenuLayout(&layout, &length), 0);
        for (size_t i = 0; i < 17; ++i) EXPECT_EQ(HotkeyTable()[i], 0) << i;
    }
    {   // missing out arguments
        UiScript ui;
        ui.ExpectBox();
        EXPECT_EQ(LoadMenuLayout(nullptr, &length), 0);
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], "システム異常です。"));
    }
}
