// Attribute change (entry 10, dialog 148) end to end: the dialog is driven by control id
// on real scratch files, whose attributes are read back afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/resource_ids.h"
#include "tests/support/command_run.h"
#include "tests/support/test_env.h"

namespace {

constexpr unsigned kAttributeEntry = 10;
constexpr DWORD kRO = FILE_ATTRIBUTE_READONLY, kHidden = FILE_ATTRIBUTE_HIDDEN, kSystem = FILE_ATTRIBUTE_SYSTEM;
// The bits compared: the archive bit of a file may be fixed by the file system.
constexpr DWORD kCompared = kRO | kHidden | kSystem;

struct Options {
    bool archive, readOnly, hidden;
    int mode;      // IDC_ATTRIBUTE_ABSOLUTE, _ADD or _REMOVE
    int targets;   // item of 1084
    bool subfolders;
};

DialogFill Set(const Options& o)
{
    return [o](DialogDriver& d) {
        d.Check(IDC_ATTRIBUTE_ARCHIVE, o.archive);
        d.Check(IDC_ATTRIBUTE_READONLY, o.readOnly);
        d.Check(IDC_ATTRIBUTE_HIDDEN, o.hidden);
        for (int id : {IDC_ATTRIBUTE_ABSOLUTE, IDC_ATTRIBUTE_ADD, IDC_ATTRIBUTE_REMOVE}) d.Check(id, id == o.mode);
        d.SelectCombo(IDC_ATTRIBUTE_TARGETS, o.targets);
        d.Check(IDC_ATTRIBUTE_SUBFOLDERS, o.subfolders);
    };
}

class AttributeTest : public FullMenuTest {
protected:
    void ExpectOnlyBox(const std::string& start)
    {
        ASSERT_EQ(ui_->Boxes().size(), 1u);
        EXPECT_EQ(ui_->Boxes()[0].title, "Tidalon　エラー");
        EXPECT_EQ(ui_->Boxes()[0].text.compare(0, start.size(), start), 0) << ui_->Boxes()[0].text;
    }
    std::unique_ptr<CommandRun> ui_;
};

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()) & kCompared; }

TEST_F(AttributeTest, ModesChangeOnlyWhatTheyShould)
{
    struct Row {
        DWORD before;
        Options options;
        DWORD after;
    } rows[] = {
        {kHidden, {false, true, false, IDC_ATTRIBUTE_ADD, 0, false}, kHidden | kRO},
        {kHidden | kRO, {false, false, true, IDC_ATTRIBUTE_REMOVE, 0, false}, kRO},
        {kHidden | kRO | kSystem, {true, false, false, IDC_ATTRIBUTE_ABSOLUTE, 0, false}, 0},
        {kHidden | kRO | kSystem, {false, false, false, IDC_ATTRIBUTE_ABSOLUTE, 2, false}, 0},
        {kHidden, {false, true, true, IDC_ATTRIBUTE_ADD, 1, false}, kHidden},   // folders only: a file stays
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE("row " + std::to_string(++n));
        const std::string file = dir_.File("f" + std::to_string(n));
        ASSERT_TRUE(SetFileAttributesA(file.c_str(), row.before));
        ASSERT_EQ(Attributes(file), row.before) << "the file system keeps these attributes";
        ui_ = RunCommand(kAttributeEntry, {file}, Set(row.options));
        EXPECT_TRUE(ui_->Boxes().empty());
        EXPECT_EQ(Attributes(file), row.after);
        if (row.options.archive) {
            EXPECT_TRUE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_ARCHIVE);
        }
    }
}

TEST_F(AttributeTest, FilesOnlyDescentChangesEveryFileAndNoFolder)
{
    const std::vector<std::string> files = {dir_.File("top\\a"), dir_.File("top\\sub\\b"),
                                            dir_.File("top\\sub\\deeper\\c")};
    const std::string outside = dir_.File("outside");
    ui_ = RunCommand(kAttributeEntry, {dir_.At("top")}, Set({false, false, true, IDC_ATTRIBUTE_ADD, 0, true}));
    EXPECT_TRUE(ui_->Boxes().empty());
    for (const std::string& file : files) EXPECT_EQ(Attributes(file), kHidden) << file;
    for (const char* folder : {"top", "top\\sub", "top\\sub\\deeper"}) EXPECT_EQ(Attributes(dir_.At(folder)), 0u) << folder;
    EXPECT_EQ(Attributes(outside), 0u);
}

TEST_F(AttributeTest, FoldersOnlyWithoutDescentSkipsFilesAndContents)
{
    const std::string inner = dir_.File("folder\\inner");
    const std::string file = dir_.File("file");
    ui_ = RunCommand(kAttributeEntry, {file, dir_.At("folder")}, Set({false, false, true, IDC_ATTRIBUTE_ADD, 1, false}));
    EXPECT_TRUE(ui_->Boxes().empty());
    EXPECT_EQ(Attributes(dir_.At("folder")), kHidden);
    EXPECT_EQ(Attributes(file), 0u);
    EXPECT_EQ(Attributes(inner), 0u);
}

TEST_F(AttributeTest, VanishedItemStopsTheRun)
{
    const std::string later = dir_.File("later");
    ui_ = RunCommand(kAttributeEntry, {dir_.At("gone"), later}, Set({false, true, false, IDC_ATTRIBUTE_ADD, 0, false}));
    ExpectOnlyBox("システム異常です。");
    EXPECT_EQ(Attributes(later), 0u);
}

TEST_F(AttributeTest, AnsiNameThatIsNoCodePage932TextIsRefused)
{
    // 82 40 is no character of code page 932; read without that check it is "・" (81 45),
    // and the attributes of this other, existing file would change.
    const std::string lookAlike = dir_.File("x・.txt");
    ui_ = RunCommand(kAttributeEntry, {dir_.At("x\x82\x40.txt")}, Set({false, true, true, IDC_ATTRIBUTE_ADD, 0, false}));
    ExpectOnlyBox("指定されたファイルを認識できません。");
    EXPECT_EQ(Attributes(lookAlike), 0u);
}

TEST_F(AttributeTest, ChildPathPastTheLimitStopsTheDescentUncut)
{
    // Made through the wide calls: the child's path needs 260 bytes, its folder's fits.
    const std::string folder = dir_.Folder("d");
    const std::string name(260 - folder.size() - 1, 'y');
    const std::wstring wide = L"\\\\?\\" + std::wstring(folder.begin(), folder.end()) + L"\\" +
                              std::wstring(name.begin(), name.end());
    ASSERT_TRUE(CloseHandle(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    ui_ = RunCommand(kAttributeEntry, {folder}, Set({false, false, true, IDC_ATTRIBUTE_ADD, 2, true}));
    ExpectOnlyBox("パスが長すぎるため処理できません。");
    EXPECT_NE(ui_->Boxes()[0].text.find(name), std::string::npos) << "the whole path is named";
    EXPECT_EQ(Attributes(folder), kHidden) << "the folder came before its contents";
    EXPECT_EQ(GetFileAttributesW(wide.c_str()) & kHidden, 0u);
    DeleteFileW(wide.c_str());
}

TEST_F(AttributeTest, DialogOpensFromTheBlockAndStoresIt)
{
    // Byte 3 outside the list leaves it empty, and OK then refuses to run.
    WriteSettingsValue("Attribute", std::vector<unsigned char>{0, 1, 0, 5, 0, 1, 0, 1});
    const std::string file = dir_.File("f");
    ui_ = RunCommand(kAttributeEntry, {file}, [](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "属性変更");
        EXPECT_EQ(d.ComboCount(IDC_ATTRIBUTE_TARGETS), 3);
        EXPECT_EQ(d.ComboSelection(IDC_ATTRIBUTE_TARGETS), -1);
        EXPECT_TRUE(d.IsChecked(IDC_ATTRIBUTE_READONLY) && d.IsChecked(IDC_ATTRIBUTE_ADD));
        EXPECT_FALSE(d.IsChecked(IDC_ATTRIBUTE_ABSOLUTE));
    });
    ASSERT_EQ(ui_->Boxes().size(), 1u);
    EXPECT_EQ(ui_->Boxes()[0].text, "システム異常です。");
    EXPECT_EQ(Attributes(file), 0u);

    // A block naming no mode opens in absolute mode; the defaults button stores the state.
    WriteSettingsValue("Attribute", std::vector<unsigned char>(8, 0));
    CommandRun(kAttributeEntry, [](DialogDriver& d) {
        EXPECT_TRUE(d.IsChecked(IDC_ATTRIBUTE_ABSOLUTE));
        EXPECT_EQ(d.ComboSelection(IDC_ATTRIBUTE_TARGETS), 0);
        d.Check(IDC_ATTRIBUTE_HIDDEN, true);
        d.Check(IDC_ATTRIBUTE_ABSOLUTE, false);
        d.Check(IDC_ATTRIBUTE_REMOVE, true);
        d.SelectCombo(IDC_ATTRIBUTE_TARGETS, 2);
        d.Press(IDC_DEFAULT);
    }, IDCANCEL).On({file});
    EXPECT_EQ(ReadSettingsValue("Attribute"), (std::vector<unsigned char>{0, 0, 1, 2, 0, 0, 1, 0}));
}

}  // namespace
