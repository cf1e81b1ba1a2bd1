// Name replacement (entry 13) end to end: the menu entry is invoked on
// real scratch files, the dialog is filled by control id and the results are read
// back from the folder, the message boxes and the settings key.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/menu_layout.h"
#include "common/resource_ids.h"
#include "common/settings_store.h"
#include "tests/support/command_run.h"
#include "tests/support/test_env.h"

namespace {

constexpr unsigned kPermuteEntry = 13;

struct Options {
    std::string search;
    std::string replacement;
    bool every = false;
    bool keepExtension = false;
    bool subfolders = false;
};

class PermuteTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        ASSERT_EQ(WriteDefaultSettings(), 1);
        // All three options off in the stored block; every test ticks what it needs in
        // the live dialog (RunFollowsTheLiveDialogNotTheStoredBlock stores ticked ones).
        WriteSettingsValue("Permute", std::vector<unsigned char>{0, 0, 0});
    }
    void TearDown() override { DeleteSettingsKey(); }

    // Replaces with `options` on `paths`, the boxes of the run answered and recorded.
    void Replace(const std::vector<std::string>& paths, const Options& options)
    {
        ui_ = RunCommand(kPermuteEntry, paths, [&options](DialogDriver& d) {
            d.SetText(IDC_PERMUTE_SEARCH, options.search);
            d.SetText(IDC_PERMUTE_REPLACEMENT, options.replacement);
            d.Check(IDC_PERMUTE_EVERY, options.every);
            d.Check(IDC_PERMUTE_KEEP_EXTENSION, options.keepExtension);
            d.Check(IDC_PERMUTE_SUBFOLDERS, options.subfolders);
        });
        EXPECT_EQ(ui_->Dialogs().size(), 1u) << "the dialog opens once and nothing else";
    }

    std::unique_ptr<CommandRun> ui_;
    ScratchDir dir_;
};

// Names directly in `folder` in the order the platform lists them ("." and ".." left out).
std::vector<std::string> ListingOrder(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

// A file held open with no sharing: a real rename of it fails with error 32.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~HeldFile()
    {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

struct NameRow {
    const char* name;
    Options options;
    const char* expected;
};

// One selected file per row, each in a folder of its own.
TEST_F(PermuteTest, RenamesByTheRowsOfTheRule)
{
    const NameRow rows[] = {
        {"aXbXc.X", {"X", "YY", false, false, false}, "aYYbXc.X"},
        {"aXbXc.X", {"X", "YY", true, false, false}, "aYYbYYc.YY"},
        {"aXbXc.X", {"X", "YY", true, true, false}, "aYYbYYc.X"},
        {"aaaa", {"aa", "b", false, false, false}, "baa"},
        {"aaaa", {"aa", "b", true, false, false}, "bb"},
        {"aaa", {"aa", "b", true, false, false}, "ba"},
        {"ABC", {"abc", "x", true, false, false}, "ABC"},
        {"abcX", {"X", "", true, false, false}, "abc"},
        {"foo.txt", {"txt", "doc", false, true, false}, "foo.txt"},
        {"a.b", {".", "_", false, true, false}, "a_b.b"},
        {"abc", {"b", ".", false, true, false}, "a"},
        // "ア" is 83 41: its second byte is the letter A, which must not match.
        {"xアy", {"A", "Z", true, false, false}, "xアy"},
        {"Aア.txt", {"A", "Z", true, false, false}, "Zア.txt"},
        {"アイ.txt", {"イ", "ウ", false, false, false}, "アウ.txt"},
    };
    int n = 0;
    for (const NameRow& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " / " + row.options.search + " -> " + row.options.replacement);
        const std::string folder = dir_.Folder("row" + std::to_string(++n));
        const std::string path = dir_.File("row" + std::to_string(n) + "\\" + row.name, "content");
        Replace({path}, row.options);
        EXPECT_TRUE(ui_->Boxes().empty());
        EXPECT_EQ(dir_.List("row" + std::to_string(n)), std::vector<std::string>{row.expected});
        EXPECT_EQ(ReadFileText(folder + "\\" + row.expected), "content");
    }
}

TEST_F(PermuteTest, DialogShowsInJapaneseWithEmptyTexts)
{
    CommandRun(kPermuteEntry, [](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "名前の置換");
        EXPECT_EQ(d.Text(IDC_PERMUTE_SEARCH), "");
        EXPECT_EQ(d.Text(IDC_PERMUTE_REPLACEMENT), "");
        EXPECT_EQ(d.Text(IDC_PERMUTE_EVERY), "複数含まれる場合は、すべて置換");
        EXPECT_EQ(d.Text(IDC_PERMUTE_KEEP_EXTENSION), "拡張子を置換しない");
        EXPECT_EQ(d.Text(IDC_PERMUTE_SUBFOLDERS), "フォルダ時にサブフォルダも検索");
        EXPECT_EQ(d.Text(IDC_DEFAULT), "デフォルト(&D)");
        EXPECT_EQ(d.Text(IDC_VERSION), "バージョン(&A)");
        EXPECT_EQ(d.Text(IDCANCEL), "キャンセル");
    }, IDCANCEL).On({dir_.File("keep")});
}

TEST_F(PermuteTest, SeveralItemsInSelectionOrder)
{
    const std::string a = dir_.File("one_X.txt");
    const std::string b = dir_.File("two_X.txt");
    const std::string c = dir_.Folder("three_X");
    Replace({a, b, c}, {"_X", "_Y", false, false, false});
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"one_Y.txt", "three_Y", "two_Y.txt"}));
    EXPECT_TRUE(ui_->Boxes().empty());
}

TEST_F(PermuteTest, EmptySearchTextShowsTheMessageOnceAndRenamesNothing)
{
    const std::string a = dir_.File("abc");
    const std::string b = dir_.File("abd");
    Replace({a, b}, {"", "x", true, false, false});
    ASSERT_TRUE(IsOnlyErrorBox(*ui_, "検索文字列を入力して下さい。"));
    EXPECT_EQ(ui_->Boxes()[0].owner, ui_->dialog()) << "the box is owned by the dialog";
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"abc", "abd"}));
}

TEST_F(PermuteTest, CollisionStopsTheRunAndNeverOverwrites)
{
    const std::string a1 = dir_.File("a1", "first");
    const std::string a2 = dir_.File("a2", "second");
    const std::string a3 = dir_.File("a3", "third");
    dir_.File("b2", "target");
    Replace({a1, a2, a3}, {"a", "b", false, false, false});
    EXPECT_TRUE(IsOnlyErrorBox(*ui_, SystemText(ERROR_ALREADY_EXISTS)));
    // a1 was renamed before the collision; a2 stays, b2 keeps its content, a3 untouched.
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"a2", "a3", "b1", "b2"}));
    EXPECT_EQ(ReadFileText(dir_.At("b1")), "first");
    EXPECT_EQ(ReadFileText(dir_.At("b2")), "target");
    EXPECT_EQ(ReadFileText(dir_.At("a2")), "second");
}

TEST_F(PermuteTest, NoNameLeftIsRefusedAsAnInvalidName)
{
    const std::string path = dir_.File("X");
    Replace({path}, {"X", "", true, false, false});
    EXPECT_TRUE(IsOnlyErrorBox(*ui_, SystemText(ERROR_INVALID_NAME)));
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"X"});
}

TEST_F(PermuteTest, ReplacementWithABackslashCannotMoveTheItemElsewhere)
{
    dir_.Folder("sub");
    const std::string path = dir_.File("aX");
    Replace({path}, {"aX", "sub\\aX", true, false, false});
    EXPECT_TRUE(IsOnlyErrorBox(*ui_, SystemText(ERROR_INVALID_NAME)));
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"aX", "sub"}));
    EXPECT_TRUE(dir_.List("sub").empty());
}

TEST_F(PermuteTest, DescentRenamesTheFolderFirstThenEverythingBelow)
{
    dir_.File("Xtop\\Xfile.X");
    dir_.File("Xtop\\plain\\Xdeep");
    dir_.File("Xtop\\plain\\Xsub\\Xdeepest");
    const std::string hidden = dir_.File("Xtop\\Xhidden");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    dir_.File("outside_X");
    Replace({dir_.At("Xtop")}, {"X", "Q", true, false, true});
    EXPECT_TRUE(ui_->Boxes().empty());
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"Qtop", "outside_X"}));
    EXPECT_EQ(dir_.List("Qtop"), (std::vector<std::string>{"Qfile.Q", "Qhidden", "plain"}));
    EXPECT_EQ(dir_.List("Qtop\\plain"), (std::vector<std::string>{"Qdeep", "Qsub"}));
    EXPECT_EQ(dir_.List("Qtop\\plain\\Qsub"), std::vector<std::string>{"Qdeepest"});
}

TEST_F(PermuteTest, WithoutDescentOnlyTheSelectedFolderIsRenamed)
{
    dir_.File("Xtop\\Xfile");
    Replace({dir_.At("Xtop")}, {"X", "Q", true, false, false});
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"Qtop"});
    EXPECT_EQ(dir_.List("Qtop"), std::vector<std::string>{"Xfile"});
}

TEST_F(PermuteTest, DescentOneLevelPerRenameNoEntryIsVisitedTwice)
{
    // Each visit appends to the name: an entry met again under its new name would grow
    // again (or forever).
    for (int i = 0; i < 20; ++i) dir_.File("top\\f" + std::to_string(i) + "a");
    Replace({dir_.At("top")}, {"a", "aa", false, false, true});
    const std::vector<std::string> names = dir_.List("top");
    ASSERT_EQ(names.size(), 20u);
    for (const std::string& name : names) EXPECT_EQ(name.substr(name.size() - 2), "aa") << name;
    for (const std::string& name : names) EXPECT_NE(name.substr(name.size() - 3), "aaa") << name;
}

TEST_F(PermuteTest, CollisionInsideADescentKeepsWhatWasDoneAndStops)
{
    // Xc -> Qc collides with Qc inside the renamed folder. Which entries come before it
    // is the platform's listing order, taken here from the same folder.
    for (const char* name : {"Xa", "Xb", "Xc", "Xd", "Xe", "Qc"}) dir_.File(std::string("Xtop\\") + name, name);
    dir_.File("Xtop\\Xasub\\Xinner", "Xinner");
    const std::string later = dir_.File("Xlater");
    const std::vector<std::string> order = ListingOrder(dir_.At("Xtop"));
    ASSERT_EQ(order.size(), 7u);
    Replace({dir_.At("Xtop"), later}, {"X", "Q", true, false, true});
    EXPECT_TRUE(IsOnlyErrorBox(*ui_, SystemText(ERROR_ALREADY_EXISTS)));
    // The folder keeps its new name; the item selected after it is not processed.
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"Qtop", "Xlater"}));

    bool before = true;
    std::vector<std::string> expected;
    for (const std::string& name : order) {
        if (name == "Xc") before = false;
        const std::string now = before && name[0] == 'X' ? "Q" + name.substr(1) : name;
        SCOPED_TRACE(name + (before ? " (handled before)" : " (not reached)"));
        expected.push_back(now);
        if (name == "Xasub") {
            EXPECT_EQ(dir_.List("Qtop\\" + now), std::vector<std::string>{before ? "Qinner" : "Xinner"});
        } else {
            EXPECT_EQ(ReadFileText(dir_.At("Qtop\\" + now)), name);
        }
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir_.List("Qtop"), expected);
    EXPECT_EQ(ReadFileText(dir_.At("Qtop\\Xc")), "Xc");
    EXPECT_EQ(ReadFileText(dir_.At("Qtop\\Qc")), "Qc");
}

TEST_F(PermuteTest, NoRenameCallWhenTheSearchTextDoesNotOccur)
{
    // Both held items would fail a rename with a box; the run still goes past them and
    // into the folder, whose own name does not change either.
    const std::string top = dir_.File("plain.txt", "top");
    const std::string inner = dir_.File("folder\\inner.txt", "inner");
    dir_.File("folder\\Xin");
    HeldFile heldTop(top);
    HeldFile heldInner(inner);
    ASSERT_TRUE(heldTop.held() && heldInner.held());
    ASSERT_FALSE(MoveFileA(top.c_str(), (top + "2").c_str()));
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    Replace({top, dir_.At("folder")}, {"X", "Y", true, false, true});
    EXPECT_TRUE(ui_->Boxes().empty());
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"folder", "plain.txt"}));
    EXPECT_EQ(dir_.List("folder"), (std::vector<std::string>{"Yin", "inner.txt"}));
}

TEST_F(PermuteTest, UnreadableBlockIsReportedOnceAndTheDialogStillWorks)
{
    // One byte longer than the block: the read fails, and no box may be ticked from it.
    WriteSettingsValue("Permute", std::vector<unsigned char>{1, 1, 1, 1});
    const std::string file = dir_.File("aXbX");
    bool allUnchecked = false;
    UiScript ui;
    ui.ExpectBox(IDOK).ExpectDialog([&allUnchecked](DialogDriver& d) {
        allUnchecked = !d.IsChecked(IDC_PERMUTE_EVERY) && !d.IsChecked(IDC_PERMUTE_KEEP_EXTENSION) && !d.IsChecked(IDC_PERMUTE_SUBFOLDERS);
        d.SetText(IDC_PERMUTE_SEARCH, "X");
        d.SetText(IDC_PERMUTE_REPLACEMENT, "Y");
        d.Press(IDOK);
    });
    EXPECT_EQ(InvokeKelmoraCommand({file}, kPermuteEntry), S_OK);
    EXPECT_TRUE(ui.Failures().empty()) << ui.Failures().front();
    EXPECT_TRUE(IsOnlyErrorBox(ui, SystemText(ERROR_MORE_DATA)));
    EXPECT_TRUE(allUnchecked);
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"aYbX"});
    EXPECT_EQ(ReadSettingsValue("Permute"), (std::vector<unsigned char>{1, 1, 1, 1}));
}

TEST_F(PermuteTest, NewPathPastTheLimitIsRefusedAndNothingIsRenamed)
{
    // Full path of exactly 259 bytes after the replacement fits; one byte more does not.
    const std::string folder = dir_.Folder("long");
    const size_t room = 259 - folder.size() - 1;   // bytes left for the name
    const std::string fits = std::string(room - 1, 'n') + "a";
    const std::string fitsPath = dir_.File("long\\" + fits);
    Replace({fitsPath}, {"a", "b", false, false, false});
    EXPECT_TRUE(ui_->Boxes().empty());
    const std::string renamed = std::string(room - 1, 'n') + "b";
    EXPECT_EQ(dir_.List("long"), std::vector<std::string>{renamed});

    Replace({folder + "\\" + renamed}, {"b", "bb", false, false, false});
    ASSERT_TRUE(IsOnlyErrorBox(*ui_, "置換後の名前ではパスが長すぎるため、名前を変更できません。", TextIs::Start));
    EXPECT_NE(ui_->Boxes()[0].text.find(renamed), std::string::npos) << "the box names the item";
    EXPECT_EQ(dir_.List("long"), std::vector<std::string>{renamed});
}

TEST_F(PermuteTest, ChildPathPastTheLimitStopsTheDescent)
{
    // The child fits under the folder's old name but not under its longer new one.
    const std::string folder = dir_.Folder("d");
    const size_t room = 259 - folder.size() - 1 - 2;   // for "X\" + child name
    const std::string child = std::string(room, 'c');
    dir_.File("d\\X\\" + child);
    dir_.File("d\\X\\Xsmall");
    Replace({dir_.At("d\\X")}, {"X", "XY", false, false, true});
    EXPECT_TRUE(IsOnlyErrorBox(*ui_, "パスが長すぎるため処理できません。", TextIs::Start));
    EXPECT_EQ(dir_.List("d"), std::vector<std::string>{"XY"});
    const std::vector<std::string> inside = dir_.List("d\\XY");
    EXPECT_EQ(inside.size(), 2u);
    EXPECT_NE(std::find(inside.begin(), inside.end(), child), inside.end());
}

TEST_F(PermuteTest, NamesEndingInTheByte5CStayWhole)
{
    // "表" and "ソ" end in 5C, the byte of a backslash: the final component is still
    // found whole, in the folder part and in the name. (Made here with the platform's
    // calls: the scratch helpers split paths byte by byte.)
    ASSERT_TRUE(CreateDirectoryA(dir_.At("表ソ").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(dir_.At("表ソ\\ソX表").c_str(), nullptr));
    HANDLE file = CreateFileA(dir_.At("表ソ\\ソX表\\表X.ソ").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    Replace({dir_.At("表ソ\\ソX表")}, {"X", "Y", true, true, true});
    EXPECT_TRUE(ui_->Boxes().empty());
    EXPECT_EQ(dir_.List("表ソ"), std::vector<std::string>{"ソY表"});
    EXPECT_EQ(dir_.List("表ソ\\ソY表"), std::vector<std::string>{"表Y.ソ"});
}

TEST_F(PermuteTest, DriveRootIsRefused)
{
    Replace({"C:\\"}, {"zzqq", "x", false, false, false});
    ASSERT_TRUE(IsOnlyErrorBox(*ui_, "ドライブのルートなど、名前の部分がない項目は名前を変更できません。", TextIs::Start));
    EXPECT_NE(ui_->Boxes()[0].text.find("C:\\"), std::string::npos);
}

TEST_F(PermuteTest, ItemThatVanishedStopsTheRunWithThePlatformMessage)
{
    const std::string gone = dir_.At("gone_a");
    const std::string later = dir_.File("later_a");
    Replace({gone, later}, {"_a", "_b", false, false, false});
    EXPECT_TRUE(IsOnlyErrorBox(*ui_, SystemText(ERROR_FILE_NOT_FOUND)));
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"later_a"});
}

TEST_F(PermuteTest, RunFollowsTheLiveDialogNotTheStoredBlock)
{
    WriteSettingsValue("Permute", std::vector<unsigned char>{1, 1, 1});
    dir_.File("Xf\\Xa.X");
    Replace({dir_.At("Xf")}, {"X", "Y", false, false, false});
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"Yf"});
    EXPECT_EQ(dir_.List("Yf"), std::vector<std::string>{"Xa.X"});
    EXPECT_EQ(ReadSettingsValue("Permute"), (std::vector<unsigned char>{1, 1, 1}));
}

}  // namespace
