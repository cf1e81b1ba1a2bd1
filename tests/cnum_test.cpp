// Serial-number renaming (entry 12, dialog 144) end to end: real scratch files, the
// dialog filled by control id, the new names read back.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/resource_ids.h"
#include "tests/support/command_run.h"
#include "tests/support/test_env.h"

namespace {

constexpr unsigned kCnumEntry = 12;

struct Numbering {
    const char* prefix = "";
    const char* start = "0";
    const char* digits = "4";
    bool zeroFill = false;
    bool byName = false;
    bool ascending = true;
};

DialogFill Set(const Numbering& n)
{
    return [n](DialogDriver& d) {
        d.SetText(IDC_CNUM_PREFIX, n.prefix);
        d.SetText(IDC_CNUM_START, n.start);
        d.Check(IDC_CNUM_ZERO_FILL, n.zeroFill);
        d.SetText(IDC_CNUM_DIGITS, n.digits);
        d.Check(n.byName ? IDC_CNUM_BY_DATE : IDC_CNUM_BY_NAME, false);
        d.Check(n.byName ? IDC_CNUM_BY_NAME : IDC_CNUM_BY_DATE, true);
        d.Check(n.ascending ? IDC_CNUM_DESCENDING : IDC_CNUM_ASCENDING, false);
        d.Check(n.ascending ? IDC_CNUM_ASCENDING : IDC_CNUM_DESCENDING, true);
    };
}

class CnumTest : public FullMenuTest {
protected:
    // Files named after their content, last written in the order given (oldest first).
    std::vector<std::string> Files(const std::string& folder, const std::vector<std::string>& names)
    {
        std::vector<std::string> paths;
        int minute = 0;
        for (const std::string& name : names) {
            paths.push_back(dir_.File(folder + "\\" + name, name));
            EXPECT_TRUE(SetLastWriteUtc(paths.back(), 2024, 5, 1, 10, minute++));
        }
        return paths;
    }

    std::unique_ptr<CommandRun> ui_;
};

struct Row {
    std::vector<std::string> names;   // oldest first
    std::vector<int> selection;       // indices into names, in selection order
    Numbering numbering;
    std::vector<std::string> expected;   // the new name of each of `names`
};

Numbering With(const char* prefix, const char* start, const char* digits, bool zeroFill, bool byName = false,
               bool ascending = true)
{
    return Numbering{prefix, start, digits, zeroFill, byName, ascending};
}

TEST_F(CnumTest, NumbersByTheRows)
{
    const Row rows[] = {
        {{"a.jpg", "b.JPG", "c.png"}, {2, 0, 1}, With("IMG_", "1", "3", true), {"IMG_001.jpg", "IMG_002.JPG", "IMG_003.png"}},
        {{"a.jpg", "b.JPG", "c.png"}, {1, 2, 0}, With("IMG_", "1", "3", false), {"IMG_1.jpg", "IMG_2.JPG", "IMG_3.png"}},
        {{"x", "y", "z"}, {0, 1, 2}, Numbering{}, {"0", "1", "2"}},
        {{"x", "y", "z"}, {0, 1, 2}, With("", "998", "4", true), {"0998", "0999", "1000"}},
        {{"x"}, {0}, With("", "12345", "4", true), {"12345"}},
        {{"x"}, {0}, With("", "abc", "4", false), {"0"}},
        {{"x"}, {0}, With("", "-5", "4", false), {"0"}},
        {{"x"}, {0}, With("", "3", "-5", true), {"3"}},   // a wrapped "-5" would be 4294967291 digits
        {{"x"}, {0}, With("", "2147483648", "4", false), {"2147483648"}},
        {{"x", "y"}, {0, 1}, With("", "4294967295", "4", false), {"4294967295", "4294967296"}},
        {{"x.txt"}, {0}, With("%d%s_", "7", "4", false), {"%d%s_7.txt"}},
        {{".profile", "a.b.c"}, {0, 1}, With("p", "0", "4", false), {"p0", "p1.c"}},
        {{"x", "y", "z"}, {0, 1, 2}, With("", "0", "4", false, false, false), {"2", "1", "0"}},
        // By name: ASCII letters fold, nothing else does, and the date plays no part.
        {{"b.txt", "apple2.txt", "Apple.txt"}, {0, 1, 2}, With("n", "0", "4", false, true), {"n2.txt", "n1.txt", "n0.txt"}},
        {{"b.txt", "apple2.txt", "Apple.txt"}, {0, 1, 2}, With("n", "0", "4", false, true, false), {"n0.txt", "n1.txt", "n2.txt"}},
        {{"Ｂ", "ａ", "z"}, {0, 1, 2}, With("n", "0", "4", false, true), {"n1", "n2", "n0"}},
    };
    int n = 0;
    for (const Row& row : rows) {
        const std::string folder = "row" + std::to_string(++n);
        SCOPED_TRACE(folder);
        const std::vector<std::string> paths = Files(folder, row.names);
        std::vector<std::string> selection;
        for (int i : row.selection) selection.push_back(paths[i]);
        ui_ = RunCommand(kCnumEntry, selection, Set(row.numbering));
        EXPECT_TRUE(ui_->Boxes().empty());
        for (std::size_t i = 0; i < row.names.size(); ++i)
            EXPECT_EQ(ReadFileText(dir_.At(folder + "\\" + row.expected[i])), row.names[i]) << row.expected[i];
        EXPECT_EQ(dir_.List(folder).size(), row.names.size());
    }
}

TEST_F(CnumTest, TwentyThousandItemsAreAllNumbered)
{
    const LargeTree tree("cnum", 20000, true);
    ui_ = std::make_unique<CommandRun>(kCnumEntry, Set(With("n", "0", "4", false, true)));
    UiScript::Progress progress;
    ui_->ExpectProgress(false, &progress);
    ui_->On(tree.Paths());
    EXPECT_TRUE(ui_->Boxes().empty());
    // By name, the files are numbered in the order of their names, folder by folder.
    unsigned wrong = 0;
    std::vector<std::string> expected;
    for (unsigned i = 0; i < tree.count(); ++i) {
        expected.push_back("n" + std::to_string(i) + ".txt");
        if (i + 1 < tree.count() && tree.Folder(i + 1) == tree.Folder(i)) continue;
        std::sort(expected.begin(), expected.end());
        if (FolderNames(tree.Folder(i)) != expected) ++wrong;
        expected.clear();
    }
    EXPECT_EQ(wrong, 0u) << "folders not numbered as expected";
}

TEST_F(CnumTest, FolderKeepsTheTextAfterItsDot)
{
    dir_.File("a.b\\inside");
    ui_ = RunCommand(kCnumEntry, {dir_.At("a.b")}, Set(With("F", "3", "4", false)));
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"F3.b"});
    EXPECT_EQ(dir_.List("F3.b"), std::vector<std::string>{"inside"});
}

TEST_F(CnumTest, RefusalsStopTheRunKeepingEarlierNamesAndOverwritingNothing)
{
    struct Refusal {
        const char* prefix;
        const char* digits;
        std::string box;
        TextIs match;
        std::vector<std::string> after;
    };
    const Refusal rows[] = {
        // "1.txt" is not selected: the second item stops there, the third is not reached.
        {"", "1", SystemText(ERROR_ALREADY_EXISTS), TextIs::Whole, {"0.txt", "1.txt", "b.txt", "c.txt"}},
        {"sub\\", "1", SystemText(ERROR_INVALID_NAME), TextIs::Whole, {"1.txt", "a.txt", "b.txt", "c.txt"}},
        {"", "250", "連番を付けた名前ではパスが長すぎるため", TextIs::Start, {"1.txt", "a.txt", "b.txt", "c.txt"}},
    };
    int n = 0;
    for (const Refusal& row : rows) {
        const std::string folder = "refuse" + std::to_string(++n);
        SCOPED_TRACE(folder);
        const std::vector<std::string> paths = Files(folder, {"a.txt", "b.txt", "c.txt"});
        dir_.File(folder + "\\1.txt", "taken");
        ui_ = RunCommand(kCnumEntry, paths, Set(With(row.prefix, "0", row.digits, true)));
        EXPECT_TRUE(IsOnlyErrorBox(*ui_, row.box, row.match));
        EXPECT_EQ(dir_.List(folder), row.after);
        EXPECT_EQ(ReadFileText(dir_.At(folder + "\\1.txt")), "taken");
    }
    ui_ = RunCommand(kCnumEntry, {"C:\\"}, Set(Numbering{}));
    EXPECT_TRUE(IsOnlyErrorBox(*ui_, "ドライブのルートなど、名前の部分がない項目は名前を変更できません。", TextIs::Start));
}

TEST_F(CnumTest, DialogOpensFromTheBlockAndTheDigitsFollowZeroFill)
{
    // Texts without terminators end at the last byte of their fields.
    std::vector<unsigned char> block(785, 0);
    for (std::size_t i = 0; i < 780; ++i) block[i] = '7';
    block[782] = 1;   // by name; the direction is left to the loading rule
    WriteSettingsValue("Cnum", block);
    const std::string file = dir_.File("stay");
    CommandRun(kCnumEntry, [](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "連番で整理");
        EXPECT_EQ(d.Text(IDC_CNUM_PREFIX), std::string(259, '7'));
        EXPECT_EQ(d.Text(IDC_CNUM_DIGITS), std::string(259, '7'));
        EXPECT_TRUE(d.IsChecked(IDC_CNUM_BY_NAME) && !d.IsChecked(IDC_CNUM_BY_DATE));
        EXPECT_TRUE(d.IsChecked(IDC_CNUM_ASCENDING) && !d.IsChecked(IDC_CNUM_DESCENDING));
        const LRESULT startRange = SendDlgItemMessageA(d.hwnd(), IDC_CNUM_START_SPIN, UDM_GETRANGE, 0, 0);
        const LRESULT digitsRange = SendDlgItemMessageA(d.hwnd(), IDC_CNUM_DIGITS_SPIN, UDM_GETRANGE, 0, 0);
        EXPECT_EQ(startRange, MAKELONG(32767, 0));
        EXPECT_EQ(digitsRange, MAKELONG(99, 1));
        EXPECT_FALSE(d.IsEnabled(IDC_CNUM_DIGITS) || d.IsEnabled(IDC_CNUM_DIGITS_SPIN));
        d.Check(IDC_CNUM_ZERO_FILL, true);
        EXPECT_TRUE(d.IsEnabled(IDC_CNUM_DIGITS) && d.IsEnabled(IDC_CNUM_DIGITS_SPIN));
        d.SetText(IDC_CNUM_PREFIX, "p_");
        d.SetText(IDC_CNUM_DIGITS, "3");
        d.Press(IDC_DEFAULT);
    }, IDCANCEL).On({file});
    block = ReadSettingsValue("Cnum");
    ASSERT_EQ(block.size(), 785u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[0])), "p_");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[520])), "3");
    EXPECT_EQ(std::vector<unsigned char>(block.begin() + 780, block.end()), (std::vector<unsigned char>{1, 0, 1, 1, 0}));
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"stay"});
}

}  // namespace
