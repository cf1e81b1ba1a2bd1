// Name arrangement (entry 11, dialog 136) end to end: the menu entry is invoked on real
// scratch files, the dialog is filled by control id, the results are read back.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/resource_ids.h"
#include "tests/support/command_run.h"
#include "tests/support/test_env.h"

namespace {

constexpr unsigned kNameEntry = 11;

struct Arrange {
    int width = IDC_NAME_WIDTH_NONE;
    bool symbols = false;          // letters, digits and spaces stay ticked as stored
    bool keepExtension = false;
    int letterCase = IDC_NAME_CASE_NONE;
    const char* token = "";
    const char* extension = nullptr;   // texts: null leaves the step off
    const char* start = nullptr;
    const char* end = nullptr;
    bool keepFolders = false;
    bool subfolders = false;
};

void Choose(DialogDriver& d, std::initializer_list<int> group, int chosen)
{
    for (int id : group)
        if (id != chosen) d.Check(id, false);
    d.Check(chosen, true);
}

void OptionalText(DialogDriver& d, int box, int edit, const char* text)
{
    d.Check(box, text != nullptr);
    d.SetText(edit, text != nullptr ? text : "");
}

DialogFill Set(const Arrange& a)
{
    return [a](DialogDriver& d) {
        Choose(d, {IDC_NAME_WIDTH_NONE, IDC_NAME_WIDTH_HALF, IDC_NAME_WIDTH_FULL}, a.width);
        d.Check(IDC_NAME_SYMBOLS, a.symbols);
        d.Check(IDC_NAME_KEEP_EXTENSION, a.keepExtension);
        Choose(d, {IDC_NAME_CASE_NONE, IDC_NAME_CASE_UPPER, IDC_NAME_CASE_LOWER, IDC_NAME_CASE_TOKEN}, a.letterCase);
        d.SetText(IDC_NAME_TOKEN, a.token);
        OptionalText(d, IDC_NAME_CHANGE_EXTENSION, IDC_NAME_EXTENSION_TEXT, a.extension);
        OptionalText(d, IDC_NAME_ADD_START, IDC_NAME_START_TEXT, a.start);
        OptionalText(d, IDC_NAME_ADD_END, IDC_NAME_END_TEXT, a.end);
        d.Check(IDC_NAME_KEEP_FOLDERS, a.keepFolders);
        d.Check(IDC_NAME_SUBFOLDERS, a.subfolders);
    };
}

class NameTest : public FullMenuTest {
protected:
    std::unique_ptr<CommandRun> ui_;
};

struct Row {
    const char* name;
    Arrange arrange;
    const char* expected;
};

Arrange Width(int width, bool symbols, bool keepExtension = false)
{
    Arrange a;
    a.width = width, a.symbols = symbols, a.keepExtension = keepExtension;
    return a;
}
// Each case row also adds an end text: the file system under test keeps the old case
// on a rename that changes the case alone.
Arrange Case(int letterCase, const char* token = "")
{
    Arrange a;
    a.letterCase = letterCase, a.token = token, a.end = "_1";
    return a;
}
Arrange Texts(const char* extension, const char* start, const char* end)
{
    Arrange a;
    a.extension = extension, a.start = start, a.end = end;
    return a;
}

// One selected file per row, each in a folder of its own.
TEST_F(NameTest, RenamesByTheRows)
{
    Arrange longName = Case(IDC_NAME_CASE_UPPER);
    longName.width = IDC_NAME_WIDTH_FULL;
    const std::string a130(130, 'a');
    const std::string upper130(130, 'A');
    const std::string upper130_1 = upper130 + "_1";
    const Row rows[] = {
        {"Keep.TXT", Arrange{}, "Keep.TXT"},   // the defaults rename to the same name
        {"ＡＢＣ　１２３．ｔｘｔ", Width(IDC_NAME_WIDTH_HALF, false), "ABC 123．txt"},
        {"ＡＢＣ　１２３．ｔｘｔ", Width(IDC_NAME_WIDTH_HALF, true), "ABC 123.txt"},
        {"a.txt", Width(IDC_NAME_WIDTH_FULL, true), "ａ．ｔｘｔ"},
        {"a.txt", Width(IDC_NAME_WIDTH_FULL, true, true), "ａ.txt"},
        {"｡｢｣､", Width(IDC_NAME_WIDTH_FULL, true), "。「」、"},
        {".ab", Width(IDC_NAME_WIDTH_FULL, true, true), ".ab"},   // all extension: not converted
        // 130 letters would need 260 bytes full-width: the width stays, the case changes.
        {a130.c_str(), longName, upper130_1.c_str()},
        {"hello WORLD.TXT", Case(IDC_NAME_CASE_TOKEN, " "), "Hello World_1.txt"},
        {"hello WORLD.TXT", Case(IDC_NAME_CASE_TOKEN, "."), "Hello world_1.Txt"},
        {"aXb", Case(IDC_NAME_CASE_TOKEN, "X"), "AxB_1"},
        {"Mixed ａｂ.Txt", Case(IDC_NAME_CASE_LOWER), "mixed ａｂ_1.txt"},
        {"a.txt", Texts("doc", nullptr, nullptr), "a.doc"},
        {"README", Texts(".doc", nullptr, nullptr), "README.doc"},
        {"photo.jpg", Texts(nullptr, "2020_", "_s"), "2020_photo_s.jpg"},
        {".profile", Texts(nullptr, nullptr, "_s"), ".profile_s"},
        {"README", Texts(nullptr, nullptr, "_s"), "README_s"},
    };
    int n = 0;
    for (const Row& row : rows) {
        const std::string folder = "row" + std::to_string(++n);
        SCOPED_TRACE(folder + ": " + row.name);
        dir_.File(folder + "\\" + row.name, "content");
        ui_ = RunCommand(kNameEntry, {dir_.At(folder + "\\" + row.name)}, Set(row.arrange));
        EXPECT_TRUE(ui_->Boxes().empty());
        EXPECT_EQ(dir_.List(folder), std::vector<std::string>{row.expected});
        EXPECT_EQ(ReadFileText(dir_.At(folder + "\\" + row.expected)), "content");
    }
}

TEST_F(NameTest, FoldersKeepTheirNamesAtEveryDepthWhileTheirFilesChange)
{
    dir_.File("top\\a.txt");
    dir_.File("top\\sub\\deeper\\b.txt");
    Arrange a = Case(IDC_NAME_CASE_UPPER);
    a.keepFolders = true, a.subfolders = true;
    ui_ = RunCommand(kNameEntry, {dir_.At("top")}, Set(a));
    EXPECT_TRUE(ui_->Boxes().empty());
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"top"});
    EXPECT_EQ(dir_.List("top"), (std::vector<std::string>{"A_1.TXT", "sub"}));
    EXPECT_EQ(dir_.List("top\\sub\\deeper"), std::vector<std::string>{"B_1.TXT"});

    // Without 1109 the folders are renamed first and their contents found under the new
    // names; each entry is handled once, so the start text is added once.
    dir_.File("two\\x\\y.txt");
    a = Texts(nullptr, "n_", nullptr);
    a.subfolders = true;
    ui_ = RunCommand(kNameEntry, {dir_.At("two")}, Set(a));
    EXPECT_EQ(dir_.List("n_two"), std::vector<std::string>{"n_x"});
    EXPECT_EQ(dir_.List("n_two\\n_x"), std::vector<std::string>{"n_y.txt"});
}

TEST_F(NameTest, RefusalsStopTheRunAndRenameNothingAfterThem)
{
    struct Refusal {
        const char* start;
        const char* end;
        std::string box;
        TextIs match;
    };
    dir_.File("taken\\x_b", "other");
    const Refusal rows[] = {
        {"x_", nullptr, SystemText(ERROR_ALREADY_EXISTS), TextIs::Whole},   // b is a collision
        {"sub\\", nullptr, SystemText(ERROR_INVALID_NAME), TextIs::Whole},   // a separator
        {nullptr, "_too_long_to_fit_in_259_bytes_too_long", "整理後の名前ではパスが長すぎるため", TextIs::Start},
    };
    int n = 0;
    for (const Refusal& row : rows) {
        const std::string folder = "refuse" + std::to_string(++n);
        SCOPED_TRACE(folder);
        // The longest name that fits in the folder; the end text makes it too long.
        const std::string longName(259 - dir_.At(folder).size() - 1, 'n');
        const std::string first = dir_.File(folder + "\\a", "a");
        dir_.File(folder + "\\x_b", "taken");
        const std::string second = dir_.File(folder + "\\b", "b");
        const std::string third = dir_.File(folder + "\\" + longName, "long");
        ui_ = RunCommand(kNameEntry, {first, second, third}, Set(Texts(nullptr, row.start, row.end)));
        EXPECT_TRUE(IsOnlyErrorBox(*ui_, row.box, row.match));
        const std::vector<std::string> names = dir_.List(folder);
        if (n == 1) {
            EXPECT_EQ(names, (std::vector<std::string>{"b", longName, "x_a", "x_b"}));
            EXPECT_EQ(ReadFileText(dir_.At(folder + "\\x_b")), "taken");
        } else if (n == 2) {
            EXPECT_EQ(names, (std::vector<std::string>{"a", "b", longName, "x_b"}));
        } else {
            EXPECT_EQ(names, (std::vector<std::string>{"a_too_long_to_fit_in_259_bytes_too_long",
                                                       "b_too_long_to_fit_in_259_bytes_too_long", longName, "x_b"}));
        }
    }
}

TEST_F(NameTest, DialogStatesFollowTheChecksAndTheDefaultsButtonStoresThem)
{
    // The stored texts have no terminators: each is read up to the end of its field.
    std::vector<unsigned char> block = ReadSettingsValue("Name");
    ASSERT_EQ(block.size(), 1098u);
    for (std::size_t i = 58; i < 1098; ++i) block[i] = 'x';
    WriteSettingsValue("Name", block);
    const std::string file = dir_.File("stay");
    CommandRun(kNameEntry, [](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "名前の整理");
        EXPECT_TRUE(d.IsChecked(IDC_NAME_WIDTH_NONE) && d.IsChecked(IDC_NAME_CASE_NONE));
        EXPECT_TRUE(d.IsChecked(IDC_NAME_UPPER) && !d.IsEnabled(IDC_NAME_UPPER));
        EXPECT_TRUE(d.IsChecked(IDC_NAME_FULL_LETTERS) && !d.IsEnabled(IDC_NAME_FULL_LETTERS));
        EXPECT_FALSE(d.IsEnabled(IDC_NAME_TOKEN) || d.IsEnabled(IDC_NAME_EXTENSION_TEXT));
        EXPECT_EQ(d.Text(IDC_NAME_END_TEXT), std::string(259, 'x'));
        EXPECT_EQ(d.Text(IDC_NAME_TOKEN), std::string(259, 'x'));
        d.Check(IDC_NAME_WIDTH_NONE, false);
        d.Check(IDC_NAME_WIDTH_HALF, true);
        EXPECT_TRUE(d.IsEnabled(IDC_NAME_UPPER) && d.IsEnabled(IDC_NAME_KEEP_EXTENSION));
        d.Check(IDC_NAME_CASE_NONE, false);
        d.Check(IDC_NAME_CASE_TOKEN, true);
        EXPECT_TRUE(d.IsEnabled(IDC_NAME_TOKEN));
        d.Check(IDC_NAME_ADD_START, true);
        EXPECT_TRUE(d.IsEnabled(IDC_NAME_START_TEXT));
        d.SetText(IDC_NAME_START_TEXT, "pre");
        d.Press(IDC_DEFAULT);
    }, IDCANCEL).On({file});
    block = ReadSettingsValue("Name");
    ASSERT_EQ(block.size(), 1098u);
    const std::vector<unsigned char> flags(block.begin(), block.begin() + 19);
    EXPECT_EQ(flags, (std::vector<unsigned char>{0, 1, 0, 1, 1, 1, 0, 1, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[578])), "pre");
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"stay"});
}

}  // namespace
