// The preview of the renaming commands (button 2020, dialog 160) end to end: for rows of
// the three commands the preview's names are read from its list, then OK runs, and the
// disk must hold exactly what the preview said, up to the item where it said the run
// would stop.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/resource_ids.h"
#include "tests/support/command_run.h"
#include "tests/support/test_env.h"

namespace {

constexpr unsigned kNameEntry = 11;
constexpr unsigned kCnumEntry = 12;
constexpr unsigned kPermuteEntry = 13;

struct PreviewRow {
    std::string present, name, result;
};

// The rows and the summary of the preview dialog that is up.
struct Shown {
    std::string caption, summary;
    std::vector<PreviewRow> rows;
};

std::string ItemText(HWND list, int item, int column)
{
    char text[512] = {};
    LVITEMA request{};
    request.iSubItem = column;
    request.pszText = text;
    request.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request));
    return text;
}

Shown ReadPreview(DialogDriver& d)
{
    Shown shown;
    shown.caption = d.Caption();
    shown.summary = d.Text(IDC_PREVIEW_SUMMARY);
    const HWND list = GetDlgItem(d.hwnd(), IDC_PREVIEW_LIST);
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) shown.rows.push_back({ItemText(list, i, 0), ItemText(list, i, 1), ItemText(list, i, 2)});
    return shown;
}

struct Row {
    const char* what;
    unsigned entry;
    std::vector<std::string> files;      // made beforehand (a trailing "\" makes a folder)
    std::vector<std::string> selected;
    DialogFill fill;
    std::vector<PreviewRow> expected;    // paths relative to the scratch folder
    std::string summary;
};

DialogFill Permute(const char* search, const char* replacement, bool subfolders)
{
    return [=](DialogDriver& d) {
        d.SetText(IDC_PERMUTE_SEARCH, search);
        d.SetText(IDC_PERMUTE_REPLACEMENT, replacement);
        d.Check(IDC_PERMUTE_EVERY, true);
        d.Check(IDC_PERMUTE_KEEP_EXTENSION, false);
        d.Check(IDC_PERMUTE_SUBFOLDERS, subfolders);
    };
}

DialogFill Arrange(const char* start)
{
    return [=](DialogDriver& d) {
        d.Check(IDC_NAME_CASE_NONE, false);
        d.Check(IDC_NAME_CASE_UPPER, true);
        d.Check(IDC_NAME_ADD_START, true);
        d.SetText(IDC_NAME_START_TEXT, start);
    };
}

DialogFill Number(const char* start)
{
    return [=](DialogDriver& d) {
        d.SetText(IDC_CNUM_PREFIX, "");
        d.SetText(IDC_CNUM_START, start);
        d.Check(IDC_CNUM_ZERO_FILL, false);
        d.Check(IDC_CNUM_BY_DATE, false);
        d.Check(IDC_CNUM_BY_NAME, true);
        d.Check(IDC_CNUM_DESCENDING, false);
        d.Check(IDC_CNUM_ASCENDING, true);
    };
}

class PreviewTest : public FullMenuTest {};

TEST_F(PreviewTest, NamesShownAreTheNamesTheRunMakesUpToWhereItStops)
{
    const std::string taken = SystemText(ERROR_ALREADY_EXISTS);
    const Row rows[] = {
        {"replacement, flat", kPermuteEntry, {"aXb.txt", "none.txt", "cXd"}, {"aXb.txt", "none.txt", "cXd"},
         Permute("X", "Y", false),
         {{"aXb.txt", "aYb.txt", ""}, {"none.txt", "none.txt", "変更なし"}, {"cXd", "cYd", ""}},
         "3 件中 2 件の名前を変更します。"},
        // The contents of a renamed folder are shown under its new name.
        {"replacement, descent", kPermuteEntry, {"Xtop\\", "Xtop\\aX.txt", "Xtop\\Xsub\\", "Xtop\\Xsub\\X1"}, {"Xtop"},
         Permute("X", "Q", true),
         {{"Xtop", "Qtop", ""}, {"Qtop\\aX.txt", "aQ.txt", ""}, {"Qtop\\Xsub", "Qsub", ""}, {"Qtop\\Qsub\\X1", "Q1", ""}},
         "4 件中 4 件の名前を変更します。"},
        // "xB" exists already: the second item stops the run, the third is left.
        {"arrangement, collision", kNameEntry, {"a", "b", "c", "xB"}, {"a", "b", "c"}, Arrange("x"),
         {{"a", "xA", ""}, {"b", "xB", taken}, {"c", "c", "未処理"}},
         "3 件中 1 件の名前を変更します。\r\n2 件目で停止します。"},
        // Numbering onto a name that exists, and onto one the run itself made first.
        {"serial numbering, collision", kCnumEntry, {"a.txt", "b.txt", "c.txt", "2.txt"}, {"a.txt", "b.txt", "c.txt"},
         Number("1"), {{"a.txt", "1.txt", ""}, {"b.txt", "2.txt", taken}, {"c.txt", "c.txt", "未処理"}},
         "3 件中 1 件の名前を変更します。\r\n2 件目で停止します。"},
        {"serial numbering, names freed by the run", kCnumEntry, {"1.txt", "2.txt", "a.txt"}, {"1.txt", "2.txt", "a.txt"},
         Number("0"), {{"1.txt", "0.txt", ""}, {"2.txt", "1.txt", ""}, {"a.txt", "2.txt", ""}},
         "3 件中 3 件の名前を変更します。"},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string folder = "row" + std::to_string(++n);
        dir_.Folder(folder);
        for (const std::string& f : row.files) {
            if (f.back() == '\\') {
                dir_.Folder(folder + "\\" + f.substr(0, f.size() - 1));
            } else {
                dir_.File(folder + "\\" + f, f);
            }
        }
        std::vector<std::string> selected;
        for (const std::string& s : row.selected) selected.push_back(dir_.At(folder + "\\" + s));
        Shown shown;
        CommandRun ui(row.entry, [&](DialogDriver& d) {
            row.fill(d);
            d.Press(IDC_PREVIEW);
        });
        ui.ExpectDialog([&](DialogDriver& d) {
            shown = ReadPreview(d);
            d.Press(IDOK);
        });
        ui.AnswerAllBoxes(IDOK);
        ui.On(selected);

        EXPECT_EQ(shown.caption, "プレビュー");
        EXPECT_EQ(shown.summary, row.summary);
        ASSERT_EQ(shown.rows.size(), row.expected.size());
        for (size_t i = 0; i < row.expected.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(shown.rows[i].present, row.expected[i].present);
            EXPECT_EQ(shown.rows[i].name, row.expected[i].name);
            EXPECT_EQ(shown.rows[i].result, row.expected[i].result);
        }
        // The run after the preview: renamed where the preview said so, and where it said
        // the run stops, the run showed the same message and left the rest alone.
        bool stopped = false;
        for (const PreviewRow& r : row.expected) {
            const std::string present = dir_.At(folder + "\\" + r.present);
            const std::string renamed = present.substr(0, present.rfind('\\') + 1) + r.name;
            if (r.result.empty() || r.result == "変更なし") {
                EXPECT_TRUE(PathExists(renamed)) << renamed;
            } else {
                EXPECT_TRUE(PathExists(present)) << present;
                if (r.result != "未処理") {
                    stopped = true;
                    ASSERT_EQ(ui.Boxes().size(), 1u);
                    EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], r.result));
                }
            }
        }
        if (!stopped) {
            EXPECT_TRUE(ui.Boxes().empty());
        }
    }
}

TEST_F(PreviewTest, PreviewTouchesNeitherTheDiskNorTheOptionBlock)
{
    const std::string file = dir_.File("aXb.txt", "content");
    const std::vector<unsigned char> block = ReadSettingsValue("Permute");
    CommandRun ui(kPermuteEntry, [](DialogDriver& d) {
        Permute("X", "Y", true)(d);
        d.Press(IDC_PREVIEW);
    }, IDCANCEL);
    ui.ExpectDialog([](DialogDriver& d) { d.Press(IDOK); });
    ui.On({file});
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"aXb.txt"});
    EXPECT_EQ(ReadSettingsValue("Permute"), block);
    EXPECT_TRUE(ui.Boxes().empty());
}

}  // namespace
