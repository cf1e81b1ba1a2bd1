// Selecting items in a folder window: a real list view with the focus, filled with the
// entries of a scratch folder, driven through the context-menu handler of kelmora.dll.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/support/test_env.h"
#include "tests/support/ui_script.h"
#include "tools/support/folder_window.h"

namespace {

using Names = std::set<std::string>;

constexpr unsigned kSelectAll = 1;
constexpr unsigned kFilesOrFolders = 2;
constexpr unsigned kSameExtension = 3;
constexpr unsigned kSameDate = 4;
constexpr unsigned kSameAttributes = 5;

// Names of the platform's own wildcard search `pattern` in `folder`, folders left out.
Names FilesMatching(const std::string& folder, const char* pattern)
{
    Names names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

// The one box of the run is the error box with `text`, owned by `owner`.
void ExpectErrorBox(const UiScript& ui, const std::string& text, HWND owner)
{
    ASSERT_TRUE(IsOnlyErrorBox(ui, text));
    EXPECT_EQ(ui.Boxes()[0].owner, owner);
}

// The handler as Explorer uses it, but initialised without a data object: the command
// then runs with no HDROP in the selection medium.
HRESULT InvokeWithoutSelection(unsigned index, HWND owner) { return InvokeKelmoraCommandWith(nullptr, index, owner); }

class SelectViewTest : public FullMenuTest {};

}  // namespace

TEST_F(SelectViewTest, SameExtensionMatchesCaseInsensitivelyAndOnlyTheSameKind)
{
    const std::string reference = dir_.File("report.TXT");
    dir_.File("a.txt");
    dir_.File("b.Txt");
    dir_.File("c.txt.bak");
    dir_.File("e.log");
    dir_.Folder("d.txt");
    FolderWindow window(dir_.path());
    ASSERT_EQ(window.ItemCount(), 6);
    ASSERT_EQ(GetFocus(), window.view());
    window.Select({"report.TXT", "e.log"});

    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({reference, dir_.At("e.log")}, kSameExtension, window.frame()), S_OK);
    EXPECT_EQ(window.Selected(), (Names{"report.TXT", "a.txt", "b.Txt"}));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());

    // A folder as reference: the folders whose name ends in the same extension.
    dir_.Folder("f.TXT");
    FolderWindow again(dir_.path());
    ASSERT_EQ(InvokeKelmoraCommand({dir_.At("d.txt")}, kSameExtension, again.frame()), S_OK);
    EXPECT_EQ(again.Selected(), (Names{"d.txt", "f.TXT"}));
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(SelectViewTest, EachNameSelectsTheItemTheViewsOwnSearchFinds)
{
    // The view's search compares without regard to case and gives the first item: an
    // item shown as "B.TXT" ahead of "b.txt" is the one selected for b.txt, and an item
    // shown only in another case ("C.TXT") is found all the same.
    const std::string reference = dir_.File("a.txt");
    dir_.File("b.txt");
    dir_.File("c.txt");
    FolderWindow window(dir_.path());
    LVITEMA first{};
    first.mask = LVIF_TEXT;
    first.pszText = const_cast<char*>("B.TXT");
    SendMessageA(window.view(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&first));
    for (int i = 0; i < window.ItemCount(); ++i) {
        if (window.TextOf(i) != "c.txt") continue;
        LVITEMA shown{};
        shown.pszText = const_cast<char*>("C.TXT");
        SendMessageA(window.view(), LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&shown));
    }

    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({reference}, kSameExtension, window.frame()), S_OK);
    EXPECT_EQ(window.Selected(), (Names{"a.txt", "B.TXT", "C.TXT"}));
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(SelectViewTest, NameWithoutExtensionSelectsTheFilesWithoutOne)
{
    const std::string reference = dir_.File("Makefile");
    dir_.File("README");
    dir_.File("main.c");
    dir_.File("notes.txt");
    dir_.Folder("bin");
    FolderWindow window(dir_.path());
    window.Select({"notes.txt"});

    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({reference}, kSameExtension, window.frame()), S_OK);
    // What the platform's own "*." search yields, files only.
    const Names expected = FilesMatching(dir_.path(), "*.");
    EXPECT_EQ(window.Selected(), expected);
    EXPECT_EQ(expected.count("Makefile"), 1u);
    EXPECT_EQ(expected.count("README"), 1u);
    EXPECT_EQ(window.Selected().count("bin"), 0u);
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(SelectViewTest, FolderReferenceSelectsFoldersAndFoldersOfTheSameLocalDay)
{
    // Local days in the test time zone (UTC+9). 5 May 08:00 local is 4 May 23:00 UTC, so
    // a comparison of UTC days would pick other entries than one of local days.
    const std::string reference = dir_.Folder("photos");
    const std::string sameDay = dir_.Folder("scans");
    const std::string dayBefore = dir_.Folder("older");
    const std::string dayAfter = dir_.Folder("newer");
    const std::string fileSameDay = dir_.File("list.txt");
    const std::string fileOther = dir_.File("todo.txt");
    ASSERT_TRUE(SetLastWriteLocal(reference, 2023, 5, 5, 8, 0));
    ASSERT_TRUE(SetLastWriteLocal(sameDay, 2023, 5, 5, 23, 50));
    ASSERT_TRUE(SetLastWriteLocal(dayBefore, 2023, 5, 4, 23, 30));  // same UTC day as the reference
    ASSERT_TRUE(SetLastWriteLocal(dayAfter, 2023, 5, 6, 0, 10));
    ASSERT_TRUE(SetLastWriteLocal(fileSameDay, 2023, 5, 5, 12, 0));
    ASSERT_TRUE(SetLastWriteLocal(fileOther, 2023, 5, 6, 12, 0));
    FolderWindow window(dir_.path());
    window.Select({"photos", "todo.txt"});

    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({reference, fileOther}, kFilesOrFolders, window.frame()), S_OK);
    EXPECT_EQ(window.Selected(), (Names{"photos", "scans", "older", "newer"}));

    ASSERT_EQ(InvokeKelmoraCommand({reference, fileOther}, kSameDate, window.frame()), S_OK);
    EXPECT_EQ(window.Selected(), (Names{"photos", "scans"}));

    // A file as reference: files only, and the other selected items play no part.
    ASSERT_EQ(InvokeKelmoraCommand({fileOther, reference}, kFilesOrFolders, window.frame()), S_OK);
    EXPECT_EQ(window.Selected(), (Names{"list.txt", "todo.txt"}));
    ASSERT_EQ(InvokeKelmoraCommand({fileSameDay}, kSameDate, window.frame()), S_OK);
    EXPECT_EQ(window.Selected(), (Names{"list.txt"}));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(SelectViewTest, SameAttributesComparesReadOnlyHiddenSystemFolderAndArchive)
{
    struct Entry {
        const char* name;
        DWORD attributes;
        bool folder;
        bool selected;
    };
    const DWORD rh = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    const Entry entries[] = {
        {"reference.txt", rh, false, true},
        {"other.dat", rh, false, true},
        {"archived.txt", rh | FILE_ATTRIBUTE_ARCHIVE, false, false},
        {"system.txt", rh | FILE_ATTRIBUTE_SYSTEM, false, false},
        {"readonly.txt", FILE_ATTRIBUTE_READONLY, false, false},
        {"hidden.txt", FILE_ATTRIBUTE_HIDDEN, false, false},
        {"plain.txt", FILE_ATTRIBUTE_ARCHIVE, false, false},
        {"folder", rh, true, false},
    };
    Names expected;
    for (const Entry& e : entries) {
        const std::string path = e.folder ? dir_.Folder(e.name) : dir_.File(e.name);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), e.attributes)) << e.name;
        // Wine keeps neither read-only nor archive on a folder: there the folder entry
        // differs in more than its folder bit.
        if (!e.folder) {
            ASSERT_EQ(GetFileAttributesA(path.c_str()) & 0x07, e.attributes & 0x07) << e.name;
        }
        if (e.selected) expected.insert(e.name);
    }
    // Wine reports the archive bit on every file whatever was set: the archive-only
    // difference can be made on a platform that keeps it.
    const DWORD kept = GetFileAttributesA(dir_.At("reference.txt").c_str());
    if (kept & FILE_ATTRIBUTE_ARCHIVE) {
        ASSERT_TRUE(SetFileAttributesA(dir_.At("archived.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
        ASSERT_TRUE(DeleteFileA(dir_.At("archived.txt").c_str()));
    }
    FolderWindow window(dir_.path());
    window.Select({"plain.txt"});

    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({dir_.At("reference.txt"), dir_.At("plain.txt")}, kSameAttributes, window.frame()),
              S_OK);
    EXPECT_EQ(window.Selected(), expected);
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(SelectViewTest, ItemViewOfNewerShellsIsDrivenTheSameWay)
{
    const std::string reference = dir_.File("one.jpg");
    dir_.File("two.JPG");
    dir_.File("three.png");
    FolderWindow window(dir_.path(), kDirectUiClass);
    ASSERT_EQ(GetFocus(), window.view());

    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({reference}, kSameExtension, window.frame()), S_OK);
    EXPECT_EQ(window.Selected(), (Names{"one.jpg", "two.JPG"}));
    ASSERT_EQ(InvokeKelmoraCommand({reference}, kSelectAll, window.frame()), S_OK);
    EXPECT_EQ(window.Selected(), (Names{"one.jpg", "two.JPG", "three.png"}));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(SelectViewTest, FocusOutsideTheViewIsRefusedAndTheSelectionStays)
{
    const std::string reference = dir_.File("a.txt");
    dir_.File("b.txt");
    dir_.File("c.log");
    FolderWindow window(dir_.path());
    window.Select({"c.log"});
    window.FocusEdit();

    for (unsigned index : {kSelectAll, kFilesOrFolders, kSameExtension, kSameDate, kSameAttributes}) {
        UiScript ui;
        ui.ExpectBox();
        ASSERT_EQ(InvokeKelmoraCommand({reference}, index, window.frame()), S_OK);
        ExpectErrorBox(ui, "ウィンドウを認識できませんでした。", window.frame());
        EXPECT_EQ(window.Selected(), (Names{"c.log"})) << "command " << index;
        EXPECT_TRUE(ui.Failures().empty());
    }
}

TEST_F(SelectViewTest, SelectAllNeedsNoSelectionList)
{
    dir_.File("a.txt");
    dir_.File("b.log");
    dir_.Folder("c");
    FolderWindow window(dir_.path());

    UiScript ui;
    ASSERT_EQ(InvokeWithoutSelection(kSelectAll, window.frame()), S_OK);
    EXPECT_EQ(window.Selected(), (Names{"a.txt", "b.log", "c"}));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(SelectViewTest, MissingSelectionOrOwnerLeavesTheSelectionAlone)
{
    const std::string reference = dir_.File("a.txt");
    dir_.File("b.txt");
    FolderWindow window(dir_.path());
    window.Select({"b.txt"});

    {
        // No HDROP at all.
        UiScript ui;
        ui.ExpectBox();
        ASSERT_EQ(InvokeWithoutSelection(kSameExtension, window.frame()), S_OK);
        ExpectErrorBox(ui, "システム異常です。", window.frame());
        EXPECT_EQ(window.Selected(), (Names{"b.txt"}));
        EXPECT_TRUE(ui.Failures().empty());
    }
    {
        // No owner window in the invocation.
        UiScript ui;
        ui.ExpectBox();
        ASSERT_EQ(InvokeKelmoraCommand({reference}, kSameExtension, nullptr), S_OK);
        ExpectErrorBox(ui, "システム異常です。", window.frame());
        EXPECT_EQ(window.Selected(), (Names{"b.txt"}));
        EXPECT_TRUE(ui.Failures().empty());
    }
    {
        // An empty selection list: the view has been cleared by then.
        UiScript ui;
        ui.ExpectBox();
        ASSERT_EQ(InvokeKelmoraCommand({}, kSameExtension, window.frame()), S_OK);
        ExpectErrorBox(ui, "ファイルが選択されていません。", window.frame());
        EXPECT_TRUE(window.Selected().empty());
        EXPECT_TRUE(ui.Failures().empty());
    }

    // With the focus elsewhere as well, the missing owner or HDROP is what is reported,
    // once, and the view is not touched.
    window.Select({"b.txt"});
    window.FocusEdit();
    for (unsigned index : {kSelectAll, kFilesOrFolders, kSameExtension, kSameDate, kSameAttributes}) {
        UiScript ui;
        ui.ExpectBox();
        ASSERT_EQ(InvokeKelmoraCommand({reference}, index, nullptr), S_OK);
        ExpectErrorBox(ui, "システム異常です。", window.frame());
        EXPECT_EQ(window.Selected(), (Names{"b.txt"})) << "command " << index;
        EXPECT_TRUE(ui.Failures().empty()) << "command " << index;
    }
    for (unsigned index : {kFilesOrFolders, kSameExtension, kSameDate, kSameAttributes}) {
        UiScript ui;
        ui.ExpectBox();
        ASSERT_EQ(InvokeWithoutSelection(index, window.frame()), S_OK);
        ExpectErrorBox(ui, "システム異常です。", window.frame());
        EXPECT_EQ(window.Selected(), (Names{"b.txt"})) << "command " << index;
        EXPECT_TRUE(ui.Failures().empty()) << "command " << index;
    }
}

TEST_F(SelectViewTest, UnusableReferenceReportsAndLeavesNothingSelected)
{
    const std::string reference = dir_.File("gone.txt");
    dir_.File("kept.txt");
    FolderWindow window(dir_.path());
    ASSERT_TRUE(DeleteFileA(reference.c_str()));
    // A name that does not fit in 260 bytes is not read at all.
    const std::string overLong = dir_.At(std::string(260, 'x') + ".txt");

    struct Case {
        std::string path;
        const char* text;
    };
    const Case cases[] = {
        {reference, "システム異常です。"},
        {overLong, "指定されたファイルを認識できません。"},
    };
    for (const Case& c : cases) {
        for (unsigned index : {kFilesOrFolders, kSameExtension, kSameDate, kSameAttributes}) {
            window.Select({"kept.txt"});
            UiScript ui;
            ui.ExpectBox();
            ASSERT_EQ(InvokeKelmoraCommand({c.path, dir_.At("kept.txt")}, index, window.frame()), S_OK);
            ExpectErrorBox(ui, c.text, window.frame());
            EXPECT_TRUE(window.Selected().empty()) << "command " << index << ": " << c.text;
            EXPECT_TRUE(ui.Failures().empty()) << "command " << index << ": " << c.text;
        }
    }

    // A drive root is there, but the search finds no entry for it and so no date: by
    // date, nothing is selected and nothing is said.
    window.Select({"kept.txt"});
    UiScript ui;
    ASSERT_EQ(InvokeKelmoraCommand({"C:\\"}, kSameDate, window.frame()), S_OK);
    EXPECT_TRUE(window.Selected().empty());
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.Failures().empty());
}
