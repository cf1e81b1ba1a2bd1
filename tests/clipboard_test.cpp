// File list to clipboard (entry 7, dialog 143) end to end: the dialog is filled by
// control id, and the list is read back from the clipboard, the saved file and the
// settings key.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "common/handles.h"
#include "common/resource_ids.h"
#include "tests/support/command_run.h"
#include "tests/support/test_env.h"

namespace {

constexpr unsigned kClipboardEntry = 7;

std::string Padded(const std::string& name, size_t width)
{
    return name + std::string(width > name.size() ? width - name.size() : 0, ' ');
}

class ClipboardTest : public FullMenuTest {
protected:
    // Copies the list of `paths` with the dialog (the default block: every box
    // unchecked, width 0, the first entry of each list) filled by `fill`; the chooser is
    // driven by `chooser` when one is given (and its replace question answered with Yes).
    void Copy(const std::vector<std::string>& paths, const DialogFill& fill, const DialogFill& chooser = nullptr,
              bool replace = false)
    {
        ui_ = std::make_unique<CommandRun>(kClipboardEntry, fill);
        if (chooser) ui_->ExpectDialog(chooser);
        if (replace) ui_->ExpectBox(IDYES);
        ui_->AnswerAllBoxes(IDOK);
        ui_->On(paths);
        EXPECT_FALSE(LeftoverTempFile());
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const SeenBox& box : ui_->Boxes()) texts.push_back(box.text);
        return texts;
    }
    std::unique_ptr<CommandRun> ui_;
};

std::string VersionedSample()
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    return path.substr(0, path.rfind('\\') + 1) + "versioned_sample.exe";
}

TEST_F(ClipboardTest, ListsTheColumnsAndFolderTreesAsChosen)
{
    const std::string doc = dir_.At("report.doc");
    ASSERT_TRUE(CopyFileA(VersionedSample().c_str(), doc.c_str(), FALSE));
    ASSERT_TRUE(SetLastWriteLocal(doc, 2001, 2, 3, 4, 5));
    const std::string docKb = std::to_string((ReadFileText(doc).size() + 1023) / 1024);
    const std::string leaf = dir_.File("top\\a\\b\\leaf.txt", std::string(1234567, 'x'));
    const std::string one = dir_.File("one.txt", "1");
    const std::string top = dir_.At("top");
    struct Row {
        std::vector<std::string> paths;
        DialogFill fill;
        std::string expected;
    };
    const Row rows[] = {
        {{doc}, [](DialogDriver& d) {
             for (int id : {IDC_CLIPBOARD_SIZE, IDC_CLIPBOARD_DATE, IDC_CLIPBOARD_TIME, IDC_CLIPBOARD_VERSION}) d.Check(id, true);
             d.SetText(IDC_CLIPBOARD_WIDTH, "30");
             d.SelectCombo(IDC_CLIPBOARD_SIZE_UNIT, 2);
         },
         Padded("report.doc", 30) + Padded("", 12 - docKb.size()) + docKb + " KB  2001/02/03  04:05:00  1.2.3.40000\r\n"},
        {{top, one}, [](DialogDriver& d) {
             for (int id : {IDC_CLIPBOARD_SIZE, IDC_CLIPBOARD_THOUSANDS, IDC_CLIPBOARD_SUBFOLDERS, IDC_CLIPBOARD_VERSION}) d.Check(id, true);
             d.SetText(IDC_CLIPBOARD_WIDTH, "0");
         },
         "top           0   0.0.0.0\r\n    a           0   0.0.0.0\r\n        b           0   0.0.0.0\r\n"
         "            leaf.txt   1,234,567   0.0.0.0\r\none.txt           1   0.0.0.0\r\n"},
        {{top}, [](DialogDriver& d) {
             d.Check(IDC_CLIPBOARD_PATH, true);
             d.Check(IDC_CLIPBOARD_SUBFOLDERS, true);
             d.SetText(IDC_CLIPBOARD_WIDTH, "abc");
         },
         top + "\r\n    " + top + "\\a\r\n        " + top + "\\a\\b\r\n            " + leaf + "\r\n"},
        {{top}, [](DialogDriver& d) { d.SetText(IDC_CLIPBOARD_WIDTH, "260"); }, "top \r\n"},
        // A wrapped "-5" would pad to 251 bytes.
        {{top}, [](DialogDriver& d) { d.SetText(IDC_CLIPBOARD_WIDTH, "-5"); }, "top\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        Copy(row.paths, row.fill);
        EXPECT_TRUE(ui_->Boxes().empty());
        EXPECT_EQ(ClipboardText(), row.expected);
    }
}

TEST_F(ClipboardTest, SavedListHoldsTheClipboardBytesAndCancellingStillCopies)
{
    const std::string a = dir_.File("a.txt", "aaa");
    const std::string saved = dir_.File("list.txt", "older and longer content");
    const DialogFill withFile = [](DialogDriver& d) {
        d.Check(IDC_CLIPBOARD_SIZE, true);
        d.Check(IDC_CLIPBOARD_TEXT_FILE, true);
    };
    Copy({a}, withFile, [&saved](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "リストファイルの保存");
        EXPECT_EQ(d.Text(cmb13), "~FileList.txt");
        d.SetText(cmb13, saved);
        d.Press(IDOK);
    }, true);
    EXPECT_EQ(ClipboardText(), "a.txt           3 \r\n");
    EXPECT_EQ(ReadFileText(saved), ClipboardText());

    PutOnClipboard("before");
    Copy({dir_.File("b.txt")}, withFile, [](DialogDriver& d) { d.Press(IDCANCEL); });
    EXPECT_EQ(ClipboardText(), "b.txt           0 \r\n");
    EXPECT_TRUE(ui_->Boxes().empty());
}

TEST_F(ClipboardTest, OnlyTheDefaultsButtonStoresTheControls)
{
    const std::vector<unsigned char> zeros(12, 0);
    const std::string a = dir_.File("a");
    EXPECT_EQ(ReadSettingsValue("Clipboard"), zeros);
    CommandRun(kClipboardEntry, [](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "クリップボードへコピー");
        EXPECT_FALSE(d.IsChecked(IDC_CLIPBOARD_PATH));
        EXPECT_EQ(d.Text(IDC_CLIPBOARD_WIDTH), "0");
        d.Check(IDC_CLIPBOARD_VERSION, true);
        d.Check(IDC_CLIPBOARD_TEXT_FILE, true);
        d.SetText(IDC_CLIPBOARD_WIDTH, "300");
        d.SelectCombo(IDC_CLIPBOARD_SIZE_UNIT, 4);
        d.SelectCombo(IDC_CLIPBOARD_DATE_FORMAT, 1);
        d.Press(IDC_DEFAULT);
    }, IDCANCEL).On({a});
    const std::vector<unsigned char> stored = {0, 44, 0, 4, 0, 1, 0, 0, 1, 0, 0, 1};
    EXPECT_EQ(ReadSettingsValue("Clipboard"), stored);
    CommandRun(kClipboardEntry, [](DialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_CLIPBOARD_WIDTH), "44");
        EXPECT_TRUE(d.IsChecked(IDC_CLIPBOARD_VERSION));
        EXPECT_EQ(d.ComboSelection(IDC_CLIPBOARD_SIZE_UNIT), 4);
        d.Check(IDC_CLIPBOARD_TEXT_FILE, false);
        d.Check(IDC_CLIPBOARD_PATH, true);
    }).On({a});
    EXPECT_EQ(ReadSettingsValue("Clipboard"), stored);
    CommandRun(kClipboardEntry, [](DialogDriver& d) {
        d.SetText(IDC_CLIPBOARD_WIDTH, "-5");
        d.Press(IDC_DEFAULT);
    }, IDCANCEL).On({a});
    EXPECT_EQ(ReadSettingsValue("Clipboard")[1], 0u) << "a minus sign stores 0, not FB";
}

TEST_F(ClipboardTest, FailuresKeepTheClipboardAndLongPathsEndOnlyTheirFolder)
{
    const std::string missing = dir_.At("missing");
    PutOnClipboard("before");
    Copy({missing}, [](DialogDriver& d) { d.Check(IDC_CLIPBOARD_SUBFOLDERS, true); });
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{SystemText(ERROR_FILE_NOT_FOUND), SystemText(ERROR_FILE_NOT_FOUND),
                                                    "クリップボードへコピーに失敗しました。"}));
    EXPECT_EQ(ClipboardText(), "before");
    // Without the descent the vanished item is listed by name, its time unknown.
    Copy({missing}, [](DialogDriver& d) { d.Check(IDC_CLIPBOARD_DATE, true); });
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{SystemText(ERROR_FILE_NOT_FOUND)});
    EXPECT_EQ(ClipboardText(), "missing  ----/--/--\r\n");

    // top\A\B fits the 260-byte paths, its entry C does not: B's listing ends there.
    const std::string deep = dir_.Folder("top\\" + std::string(90, 'A') + "\\" + std::string(250 - dir_.path().size() - 96, 'B'));
    const std::wstring c = L"\\\\?\\" + std::wstring(deep.begin(), deep.end()) + L"\\" + std::wstring(40, L'C');
    ASSERT_TRUE(CreateDirectoryW(c.c_str(), nullptr));
    const std::string one = dir_.File("one");
    Copy({dir_.At("top"), one}, [](DialogDriver& d) {
        d.Check(IDC_CLIPBOARD_SUBFOLDERS, true);
        d.SetText(IDC_CLIPBOARD_WIDTH, "0");
    });
    RemoveDirectoryW(c.c_str());
    ASSERT_EQ(ui_->Boxes().size(), 1u);
    EXPECT_EQ(ui_->Boxes()[0].text.rfind("パスが長すぎるため処理できません。", 0), 0u);
    EXPECT_EQ(ClipboardText(), "top\r\n    " + std::string(90, 'A') + "\r\n        " + deep.substr(deep.rfind('\\') + 1) +
                                   "\r\none\r\n");
}

TEST_F(ClipboardTest, ChosenNameCodePage932CannotHoldIsRefusedAndTheListStillCopied)
{
    // Read through the ANSI chooser, "résumé.txt" would be "resume.txt": another file.
    const std::string a = dir_.File("a.txt", "aaa");
    const std::string lookAlike = dir_.File("resume.txt", "unrelated");
    const std::wstring typed = ToWide(dir_.path()) + L"\\r\u00e9sum\u00e9.txt";
    Copy({a}, [](DialogDriver& d) { d.Check(IDC_CLIPBOARD_TEXT_FILE, true); }, [&typed](DialogDriver& d) {
        TypeSaveName(d, typed);
        d.Press(IDOK);
    });
    EXPECT_TRUE(IsOnlyErrorBox(*ui_, "指定されたファイルを認識できません。"));
    EXPECT_EQ(ReadFileText(lookAlike), "unrelated");
    EXPECT_EQ(GetFileAttributesW(typed.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ClipboardText(), "a.txt\r\n");
}

TEST_F(ClipboardTest, TemporaryFolderCodePage932CannotHoldFailsTheRunAlone)
{
    // Read through the ANSI call, the temporary folder "tmpé" would be "tmpe".
    const std::wstring temp = ToWide(dir_.path()) + L"\\tmp\u00e9";
    ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
    dir_.Folder("tmpe");
    const std::string a = dir_.File("a.txt");
    PutOnClipboard("before");
    {
        const ScopedVariable tmp(L"TMP", temp);
        const ScopedVariable temporary(L"TEMP", temp);
        Copy({a}, nullptr);
    }
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"クリップボードへコピーに失敗しました。"});
    EXPECT_EQ(ClipboardText(), "before");
    EXPECT_TRUE(WideNames(temp).empty());
    EXPECT_TRUE(dir_.List("tmpe").empty());
}

TEST_F(ClipboardTest, EntryCodePage932CannotHoldEndsItsFolderAndTheRunGoesOn)
{
    // Wine lists a folder in the order of the names' code points, which puts "é.txt"
    // after "z.txt": "ア.txt" comes after it.
    const std::wstring top = ToWide(dir_.Folder("top"));
    for (const wchar_t* name : {L"a.txt", L"\u00e9.txt", L"z.txt", L"\u30a2.txt"})
        ASSERT_TRUE(MakeWideFile(top + L"\\" + name));
    const std::string after = dir_.File("after.txt");
    // The folder's entries in the file system's order, up to the one that cannot be named.
    std::string expected = "top\r\n";
    {
        WIN32_FIND_DATAW entry;
        FindHandle find(FindFirstFileW((top + L"\\*.*").c_str(), &entry));
        ASSERT_TRUE(find.valid());
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"\u00e9.txt") break;
            char narrow[MAX_PATH] = {};
            WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
            if (name != L"." && name != L"..") expected += std::string("    ") + narrow + "\r\n";
        } while (FindNextFileW(find.get(), &entry));
    }
    expected += "after.txt\r\n";
    Copy({dir_.At("top"), after}, [](DialogDriver& d) { d.Check(IDC_CLIPBOARD_SUBFOLDERS, true); });
    EXPECT_TRUE(IsOnlyErrorBox(*ui_, "指定されたファイルを認識できません。"));
    EXPECT_EQ(ClipboardText(), expected);
}

TEST_F(ClipboardTest, TwentyThousandItemsAreAllListed)
{
    const LargeTree tree("read", 20000, false);
    std::string expected;
    for (unsigned i = 0; i < tree.count(); ++i) expected += LargeTree::Name(i) + "\r\n";
    UiScript::Progress progress;
    ui_ = std::make_unique<CommandRun>(kClipboardEntry, nullptr);
    ui_->ExpectProgress(false, &progress);
    ui_->On(tree.Paths());
    EXPECT_TRUE(ui_->Boxes().empty());
    const std::string copied = ClipboardText();
    EXPECT_EQ(copied.size(), expected.size());
    const auto differs = std::mismatch(copied.begin(), copied.end(), expected.begin(), expected.end()).first;
    EXPECT_TRUE(copied == expected) << "the list differs from byte " << differs - copied.begin();
}

}  // namespace
