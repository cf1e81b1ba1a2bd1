// Classify by modified date through the context-menu handler of kelmora.dll, invoked
// from a folder window whose list view has the focus.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_env.h"
#include "tests/support/ui_script.h"
#include "tools/support/folder_window.h"

namespace {

constexpr unsigned kClassifyByDate = 14;

using Names = std::vector<std::string>;

class ClassifyTest : public FullMenuTest {};

}  // namespace

TEST_F(ClassifyTest, FilesLandInTheFolderOfTheirLocalDay)
{
    const std::string a = dir_.File("a.jpg", "a");
    const std::string b = dir_.File("b.jpg", "b");
    const std::string c = dir_.File("c.jpg", "c");
    ASSERT_TRUE(SetLastWriteLocal(a, 2024, 1, 15, 0, 10));   // 14 January in UTC
    ASSERT_TRUE(SetLastWriteLocal(b, 2024, 1, 15, 23, 50));
    ASSERT_TRUE(SetLastWriteLocal(c, 2024, 1, 16, 8, 0));
    FolderWindow window;

    UiScript ui;
    // The days alternate: the folder of the 15th is met again after the 16th's.
    ASSERT_EQ(InvokeKelmoraCommand({a, c, b}, kClassifyByDate, window.frame()), S_OK);
    EXPECT_EQ(dir_.List(), (Names{"20240115", "20240116"}));
    EXPECT_EQ(dir_.List("20240115"), (Names{"a.jpg", "b.jpg"}));
    EXPECT_EQ(dir_.List("20240116"), (Names{"c.jpg"}));
    EXPECT_EQ(ReadFileText(dir_.At("20240116\\c.jpg")), "c");

    // Once more on a file inside a date folder: a date folder inside that one.
    ASSERT_EQ(InvokeKelmoraCommand({dir_.At("20240116\\c.jpg")}, kClassifyByDate, window.frame()), S_OK);
    EXPECT_EQ(dir_.List("20240116"), (Names{"20240116"}));
    EXPECT_EQ(dir_.List("20240116\\20240116"), (Names{"c.jpg"}));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(ClassifyTest, ExistingFolderIsUsedAndATakenNameOrAFileInUseStaysPut)
{
    dir_.File("20240301\\same.txt", "already there");
    const std::string same = dir_.File("same.txt", "selected");
    const std::string busy = dir_.File("busy.txt", "busy");
    const std::string other = dir_.File("other.txt", "other");
    ASSERT_TRUE(SetLastWriteLocal(same, 2024, 3, 1, 12, 0));
    ASSERT_TRUE(SetLastWriteLocal(busy, 2024, 3, 1, 12, 30));
    ASSERT_TRUE(SetLastWriteLocal(other, 2024, 3, 1, 13, 0));
    FolderWindow window;
    // Held open with no sharing: the move is refused (sharing violation).
    HANDLE held = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    UiScript ui;
    const HRESULT hr = InvokeKelmoraCommand({same, busy, other}, kClassifyByDate, window.frame());
    CloseHandle(held);
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(dir_.List(), (Names{"20240301", "busy.txt", "same.txt"}));
    EXPECT_EQ(dir_.List("20240301"), (Names{"other.txt", "same.txt"}));
    EXPECT_EQ(ReadFileText(busy), "busy");
    EXPECT_EQ(ReadFileText(same), "selected");
    EXPECT_EQ(ReadFileText(dir_.At("20240301\\same.txt")), "already there");
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(ClassifyTest, OnlyFilesMove)
{
    const std::string folder = dir_.Folder("album");
    dir_.File("album\\inside.txt");
    const std::string file = dir_.File("x.txt");
    ASSERT_TRUE(SetLastWriteLocal(folder, 2022, 7, 7, 12, 0));
    ASSERT_TRUE(SetLastWriteLocal(file, 2022, 8, 8, 12, 0));
    FolderWindow window;

    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({folder, file}, kClassifyByDate, window.frame()), S_OK);
    EXPECT_EQ(dir_.List(), (Names{"20220808", "album"}));
    EXPECT_EQ(dir_.List("20220808"), (Names{"x.txt"}));
    EXPECT_EQ(dir_.List("album"), (Names{"inside.txt"}));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(ClassifyTest, LastMinutesOfTheYearInUtcBelongToNewYearsDayInTokyo)
{
    const std::string file = dir_.File("fireworks.mov");
    ASSERT_TRUE(SetLastWriteUtc(file, 2023, 12, 31, 23, 30));
    FolderWindow window;

    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({file}, kClassifyByDate, window.frame()), S_OK);
    EXPECT_EQ(dir_.List(), (Names{"20240101"}));
    EXPECT_EQ(dir_.List("20240101"), (Names{"fireworks.mov"}));
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(ClassifyTest, TargetPastTheLimitSkipsTheItemAndTheRunGoesOn)
{
    // The date folder plus a backslash makes the target 9 bytes longer than the file's
    // path: a file path of 255 bytes fits, its target does not.
    const std::string deep = dir_.Folder(std::string(120, 'd'));
    const std::string longName(255 - deep.size() - 1, 'n');
    const std::string longFile = dir_.File(std::string(120, 'd') + "\\" + longName);
    ASSERT_EQ(longFile.size(), 255u);
    ASSERT_TRUE(PathExists(longFile));
    const std::string shortFile = dir_.File(std::string(120, 'd') + "\\s.txt");
    ASSERT_TRUE(SetLastWriteLocal(longFile, 2021, 2, 3, 12, 0));
    ASSERT_TRUE(SetLastWriteLocal(shortFile, 2021, 2, 4, 12, 0));
    FolderWindow window;

    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({longFile, shortFile}, kClassifyByDate, window.frame()), S_OK);
    EXPECT_EQ(dir_.List(std::string(120, 'd')), (Names{"20210204", longName}));
    EXPECT_EQ(dir_.List(std::string(120, 'd') + "\\20210204"), (Names{"s.txt"}));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(ClassifyTest, OnlyTheListViewIsAccepted)
{
    const std::string file = dir_.File("a.txt");
    ASSERT_TRUE(SetLastWriteLocal(file, 2024, 5, 5, 12, 0));
    for (const char* viewClass : {kDirectUiClass, "Edit"}) {
        FolderWindow window(std::string(), viewClass);
        ASSERT_EQ(GetFocus(), window.view());
        UiScript ui;
        ui.ExpectBox();
        ASSERT_EQ(InvokeKelmoraCommand({file}, kClassifyByDate, window.frame()), S_OK);
        ASSERT_TRUE(IsOnlyErrorBox(ui, "ウィンドウを認識できませんでした。")) << viewClass;
        EXPECT_EQ(ui.Boxes()[0].owner, window.frame());
        EXPECT_EQ(dir_.List(), (Names{"a.txt"})) << viewClass;
        EXPECT_TRUE(ui.Failures().empty());
    }
}

TEST_F(ClassifyTest, FailuresAreReportedAndMoveNothingFurther)
{
    const std::string file = dir_.File("a.txt");
    ASSERT_TRUE(SetLastWriteLocal(file, 2020, 10, 10, 12, 0));
    FolderWindow window;
    struct Case {
        const char* what;
        std::vector<std::string> paths;
        HWND owner;
        const char* text;
    };
    const Case refused[] = {
        {"no owner", {file}, nullptr, "システム異常です。"},
        {"empty list", {}, window.frame(), "ファイルが選択されていません。"},
        // A name that does not fit in 260 bytes is not read at all.
        {"over-long item 0", {dir_.At(std::string(260, 'x') + ".txt"), file}, window.frame(),
         "指定されたファイルを認識できません。"},
    };
    for (const Case& c : refused) {
        UiScript ui;
        ui.ExpectBox();
        ASSERT_EQ(InvokeKelmoraCommand(c.paths, kClassifyByDate, c.owner), S_OK) << c.what;
        ASSERT_TRUE(IsOnlyErrorBox(ui, c.text)) << c.what;
        EXPECT_EQ(ui.Boxes()[0].owner, window.frame()) << c.what;
        EXPECT_EQ(dir_.List(), (Names{"a.txt"})) << c.what;
        EXPECT_TRUE(ui.Failures().empty()) << c.what;
    }
    {
        // The first item moves; the second has vanished and stops the run before the third.
        const std::string gone = dir_.At("2.txt");
        const std::string third = dir_.File("3.txt");
        ASSERT_TRUE(SetLastWriteLocal(third, 2020, 10, 10, 12, 0));
        UiScript ui;
        ui.ExpectBox();
        ASSERT_EQ(InvokeKelmoraCommand({file, gone, third}, kClassifyByDate, window.frame()), S_OK);
        EXPECT_TRUE(IsOnlyErrorBox(ui, "システム異常です。"));
        EXPECT_EQ(dir_.List(), (Names{"20201010", "3.txt"}));
        EXPECT_EQ(dir_.List("20201010"), (Names{"a.txt"}));
        EXPECT_TRUE(ui.Failures().empty());
    }
}
