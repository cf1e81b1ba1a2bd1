// The command dialog frame as every dialog command shares it (driven through the name
// replacement dialog of the real kelmora.dll), the About box, both languages of the
// templates, and the file, folder and time helpers (compiled in from ctxmenu/).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/folder_walk.h"
#include "common/handles.h"
#include "common/menu_layout.h"
#include "common/resource_ids.h"
#include "common/settings_store.h"
#include "ctxmenu/file_times.h"
#include "ctxmenu/text_file.h"
#include "tests/support/command_run.h"
#include "tests/support/test_env.h"
#include "tools/support/drop_data.h"

namespace {

constexpr unsigned kClipboardEntry = 7;
constexpr unsigned kTimeEntry = 8;
constexpr unsigned kAttributeEntry = 10;
constexpr unsigned kNameEntry = 11;
constexpr unsigned kCnumEntry = 12;
constexpr unsigned kPermuteEntry = 13;

class FrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        ASSERT_EQ(WriteDefaultSettings(), 1);
    }
    void TearDown() override { DeleteSettingsKey(); }

    ScratchDir dir_;
};

// A control of a template and its text; id -1 for a label or group box without an id.
struct Control {
    int id;
    std::string text;
};

// Texts of the name replacement dialog and the About box in one template language.
struct TemplateTexts {
    WORD language;
    std::vector<Control> permute;
    const char* aboutTitle;
    std::vector<Control> about;   // the copyright line is the maker's own wording
};

const TemplateTexts kJapaneseTexts = {
    MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
    {{-1, "検索文字列："}, {-1, "置換文字列："}, {-1, "オプション"}, {IDC_PERMUTE_EVERY, "複数含まれる場合は、すべて置換"},
     {IDC_PERMUTE_KEEP_EXTENSION, "拡張子を置換しない"}, {IDC_PERMUTE_SUBFOLDERS, "フォルダ時にサブフォルダも検索"}, {IDOK, "OK"}, {IDCANCEL, "キャンセル"},
     {IDC_DEFAULT, "デフォルト(&D)"}, {IDC_VERSION, "バージョン(&A)"}},
    "ﾊﾞｰｼﾞｮﾝ情報",
    {{-1, "Tidalon（x64版 シェル拡張）"}, {-1, "Ver 1.20"}, {IDOK, "OK"}},
};
const TemplateTexts kNeutralTexts = {
    MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
    {{-1, "検索文字列："}, {-1, "置換文字列："}, {-1, "Option"}, {IDC_PERMUTE_EVERY, "複数含まれる場合は、すべて置換"},
     {IDC_PERMUTE_KEEP_EXTENSION, "拡張子を置換しない"}, {IDC_PERMUTE_SUBFOLDERS, "ﾃﾞｨﾚｸﾄﾘ時にｻﾌﾞﾃﾞｨﾚｸﾄﾘも検索"}, {IDOK, "OK"}, {IDCANCEL, "Cancel"},
     {IDC_DEFAULT, "&Default"}, {IDC_VERSION, "&Version"}},
    "About...",
    {{-1, "Tidalon(x64 Shell Extension)"}, {-1, "Ver 1.20"}, {IDOK, "OK"}},
};

// Texts of a dialog's child controls in creation order, edit boxes and icons left out.
std::vector<std::string> ControlTexts(HWND dialog)
{
    std::vector<std::string> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char kind[32] = {};
        GetClassNameA(child, kind, sizeof kind);
        if (lstrcmpiA(kind, "Edit") == 0) continue;
        if (lstrcmpiA(kind, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        texts.push_back(WindowText(child));
    }
    return texts;
}

void ExpectControls(HWND dialog, const std::string& title, const std::vector<Control>& controls)
{
    EXPECT_EQ(WindowText(dialog), title);
    const std::vector<std::string> shown = ControlTexts(dialog);
    for (const Control& control : controls) {
        if (control.id == -1) {
            EXPECT_NE(std::find(shown.begin(), shown.end(), control.text), shown.end())
                << "no control reads " << control.text;
        } else {
            EXPECT_EQ(WindowText(GetDlgItem(dialog, control.id)), control.text) << "control " << control.id;
        }
    }
}

// ---- The frame, through the name replacement dialog -----------------------------------

TEST_F(FrameTest, DefaultButtonStoresTheBlockAndTheNextOpeningShowsIt)
{
    const std::string file = dir_.File("item");
    CommandRun(kPermuteEntry, [](DialogDriver& d) {
        EXPECT_FALSE(d.IsChecked(IDC_PERMUTE_EVERY));
        d.Check(IDC_PERMUTE_EVERY, true);
        d.Check(IDC_PERMUTE_KEEP_EXTENSION, false);
        d.Check(IDC_PERMUTE_SUBFOLDERS, true);
        d.Press(IDC_DEFAULT);
        // Still open: Cancel closes it.
        EXPECT_TRUE(IsWindow(d.hwnd()));
    }, IDCANCEL).On({file});   // a box would fail the run
    EXPECT_EQ(ReadSettingsValue("Permute"), (std::vector<unsigned char>{1, 0, 1}));
    CommandRun(kPermuteEntry, [](DialogDriver& d) {
        EXPECT_TRUE(d.IsChecked(IDC_PERMUTE_EVERY));
        EXPECT_FALSE(d.IsChecked(IDC_PERMUTE_KEEP_EXTENSION));
        EXPECT_TRUE(d.IsChecked(IDC_PERMUTE_SUBFOLDERS));
    }, IDCANCEL).On({file});
}

TEST_F(FrameTest, OnlyTheValueOneTicksABox)
{
    WriteSettingsValue("Permute", std::vector<unsigned char>{2, 1, 0xFF});
    CommandRun(kPermuteEntry, [](DialogDriver& d) {
        EXPECT_FALSE(d.IsChecked(IDC_PERMUTE_EVERY));
        EXPECT_TRUE(d.IsChecked(IDC_PERMUTE_KEEP_EXTENSION));
        EXPECT_FALSE(d.IsChecked(IDC_PERMUTE_SUBFOLDERS));
    }, IDCANCEL).On({dir_.File("item")});
}

TEST_F(FrameTest, OkRunsAndClosesButDoesNotStore)
{
    CommandRun(kPermuteEntry, [](DialogDriver& d) {
        d.SetText(IDC_PERMUTE_SEARCH, "b");
        d.SetText(IDC_PERMUTE_REPLACEMENT, "x");
        d.Check(IDC_PERMUTE_EVERY, true);
        d.Check(IDC_PERMUTE_KEEP_EXTENSION, true);
        d.Check(IDC_PERMUTE_SUBFOLDERS, true);
    }).On({dir_.File("abc")});
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"axc"});
    EXPECT_EQ(ReadSettingsValue("Permute"), (std::vector<unsigned char>{0, 0, 0}));
}

// While a run shows its error box, the dialog may still get a click (the box is owned
// by the foreground window): a second OK must not start a second run.
HWND g_busyDialog = nullptr;
HHOOK g_busyHook = nullptr;
LRESULT CALLBACK PressOkAgainOnActivate(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_busyDialog != nullptr && reinterpret_cast<HWND>(wParam) != g_busyDialog) {
        const HWND dialog = std::exchange(g_busyDialog, nullptr);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DEFAULT, BN_CLICKED), 0);
    }
    return CallNextHookEx(g_busyHook, code, wParam, lParam);
}

TEST_F(FrameTest, SecondOkDuringARunIsIgnored)
{
    const std::string a1 = dir_.File("a1"), a2 = dir_.File("a2");
    dir_.File("b2");   // a2 cannot take its new name: the run stops with one box
    UiScript ui;
    ui.ExpectDialog([](DialogDriver& d) {
        d.SetText(IDC_PERMUTE_SEARCH, "a");
        d.SetText(IDC_PERMUTE_REPLACEMENT, "b");
        d.Check(IDC_PERMUTE_SUBFOLDERS, true);
        g_busyDialog = d.hwnd();
        d.Press(IDOK);
    });
    ui.AnswerAllBoxes(IDOK);
    g_busyHook = SetWindowsHookExA(WH_CBT, PressOkAgainOnActivate, nullptr, GetCurrentThreadId());
    EXPECT_EQ(InvokeKelmoraCommand({a1, a2}, kPermuteEntry), S_OK);
    UnhookWindowsHookEx(g_busyHook);
    EXPECT_TRUE(ui.Failures().empty());
    // One run: one box for the name taken, nothing renamed twice, nothing stored.
    EXPECT_TRUE(IsOnlyErrorBox(ui, SystemText(ERROR_ALREADY_EXISTS)));
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"a2", "b1", "b2"}));
    EXPECT_EQ(ReadSettingsValue("Permute"), (std::vector<unsigned char>{0, 0, 0}));
}

TEST_F(FrameTest, EmptySelectionIsReported)
{
    CommandRun ui(kPermuteEntry, [](DialogDriver& d) { d.SetText(IDC_PERMUTE_SEARCH, "a"); });
    ui.ExpectBox(IDOK);
    ui.On({});
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], "ファイルが選択されていません。"));
}

TEST_F(FrameTest, UnreadablePathsAreReportedAndNothingRuns)
{
    // An empty name, and a name too long for a 260-byte buffer (never read cut short).
    const std::string longPath = dir_.At(std::string(300, 'a'));
    const std::string later = dir_.File("later_a");
    for (const std::vector<std::string>& paths :
         {std::vector<std::string>{""}, std::vector<std::string>{longPath, later}}) {
        CommandRun ui(kPermuteEntry, [](DialogDriver& d) {
            d.SetText(IDC_PERMUTE_SEARCH, "a");
            d.SetText(IDC_PERMUTE_REPLACEMENT, "b");
        });
        ui.ExpectBox(IDOK);
        ui.On(paths);
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], "指定されたファイルを認識できません。"));
    }
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"later_a"});
}

// The About box: Esc, the close box and IDCANCEL leave it up; OK closes it.
HWND g_about = nullptr;
bool g_aboutOpenAfterCancel = false;

void CALLBACK CheckAboutThenPressOk(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_aboutOpenAfterCancel = IsWindow(g_about) && IsWindowVisible(g_about);
    if (IsWindow(g_about)) DialogDriver(g_about).Press(IDOK);
}

TEST_F(FrameTest, AboutBoxClosesOnlyWithOk)
{
    const std::string file = dir_.File("item");
    g_about = nullptr;
    g_aboutOpenAfterCancel = false;
    CommandRun ui(kPermuteEntry, [](DialogDriver& d) { d.Press(IDC_VERSION); }, IDCANCEL);
    ui.ExpectDialog([](DialogDriver& d) {
        EXPECT_EQ(d.Caption(), "ﾊﾞｰｼﾞｮﾝ情報");
        g_about = d.hwnd();
        d.Press(IDCANCEL);
        EXPECT_TRUE(IsWindow(d.hwnd()));
        // The close box and the Esc key, through the dialog's own message loop.
        PostMessageA(d.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageA(GetDlgItem(d.hwnd(), IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(GetDlgItem(d.hwnd(), IDOK), WM_KEYUP, VK_ESCAPE, 0);
        SetTimer(nullptr, 0, 300, CheckAboutThenPressOk);
    });
    ui.On({file});
    EXPECT_TRUE(g_aboutOpenAfterCancel);
    EXPECT_EQ(ui.Dialogs(), (std::vector<std::string>{"名前の置換", "ﾊﾞｰｼﾞｮﾝ情報"}));
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"item"});
}

TEST_F(FrameTest, ShownDialogsAreJapaneseAndTheAboutBoxIsOwnedByTheDialog)
{
    HWND aboutOwner = nullptr;
    CommandRun ui(kPermuteEntry, [](DialogDriver& d) {
        ExpectControls(d.hwnd(), "名前の置換", kJapaneseTexts.permute);
        d.Press(IDC_VERSION);
    }, IDCANCEL);
    ui.ExpectDialog([&aboutOwner](DialogDriver& d) {
        aboutOwner = GetWindow(d.hwnd(), GW_OWNER);
        ExpectControls(d.hwnd(), kJapaneseTexts.aboutTitle, kJapaneseTexts.about);
        d.Press(IDOK);
    });
    ui.On({dir_.File("item")});
    ASSERT_NE(ui.dialog(), nullptr);
    EXPECT_EQ(aboutOwner, ui.dialog());
}

// ---- Resources -----------------------------------------------------------------------

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Creates dialog `id` from the template of one language, hidden.
HWND CreateTemplate(int id, WORD language)
{
    HMODULE module = KelmoraModule();
    HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(id), language);
    if (found == nullptr) return nullptr;
    auto* dialog = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
    return CreateDialogIndirectParamA(module, dialog, nullptr, QuietDialogProc, 0);
}

TEST(Resources, BothLanguagesCarryTheSameControls)
{
    for (const TemplateTexts* texts : {&kJapaneseTexts, &kNeutralTexts}) {
        SCOPED_TRACE(texts->language);
        HWND permute = CreateTemplate(IDD_PERMUTE, texts->language);
        ASSERT_NE(permute, nullptr);
        for (int id : {IDC_PERMUTE_SEARCH, IDC_PERMUTE_REPLACEMENT, IDC_PERMUTE_EVERY, IDC_PERMUTE_KEEP_EXTENSION, IDC_PERMUTE_SUBFOLDERS, IDOK, IDCANCEL, IDC_DEFAULT, IDC_VERSION}) EXPECT_NE(GetDlgItem(permute, id), nullptr) << id;
        ExpectControls(permute, "名前の置換", texts->permute);
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(permute, IDC_PERMUTE_SEARCH), GWL_STYLE) & ES_AUTOHSCROLL);
        EXPECT_EQ(SendDlgItemMessageA(permute, 1, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON);
        DestroyWindow(permute);

        HWND about = CreateTemplate(IDD_ABOUT, texts->language);
        ASSERT_NE(about, nullptr);
        ExpectControls(about, texts->aboutTitle, texts->about);
        DestroyWindow(about);
    }
    // Both icons load at both sizes.
    for (int id : {IDI_ITEM, IDI_TIDALON}) {
        for (int size : {16, 32}) {
            HANDLE icon = LoadImageA(KelmoraModule(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
            EXPECT_NE(icon, nullptr) << id << " at " << size;
            if (icon != nullptr) DestroyIcon(static_cast<HICON>(icon));
        }
    }
}

// ---- Helpers, compiled in ------------------------------------------------------------

TEST_F(FrameTest, AppendToFileCreatesThenAppends)
{
    const std::string path = dir_.At("log.txt");
    UiScript ui;
    EXPECT_EQ(AppendToFile(path.c_str(), "abc", 3), 1);
    EXPECT_EQ(ReadFileText(path), "abc");
    EXPECT_EQ(AppendToFile(path.c_str(), "de", 2), 1);
    EXPECT_EQ(ReadFileText(path), "abcde");
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(FrameTest, AppendToFileReportsAFileInUseAndMissingArguments)
{
    const std::string path = dir_.File("busy.txt", "keep");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    UiScript ui;
    ui.ExpectBox().ExpectBox().ExpectBox();
    EXPECT_EQ(AppendToFile(path.c_str(), "x", 1), 0);
    CloseHandle(held);
    EXPECT_EQ(AppendToFile(path.c_str(), "x", 0), 0);
    EXPECT_EQ(AppendToFile(nullptr, "x", 1), 0);
    EXPECT_TRUE(ui.Failures().empty());
    ASSERT_EQ(ui.Boxes().size(), 3u);
    EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], SystemText(ERROR_SHARING_VIOLATION)));
    EXPECT_TRUE(IsErrorBox(ui.Boxes()[1], "システム異常です。"));
    EXPECT_TRUE(IsErrorBox(ui.Boxes()[2], "システム異常です。"));
    EXPECT_EQ(ReadFileText(path), "keep");
}

TEST_F(FrameTest, FileTimesOfMissingPathsFoldersAndFiles)
{
    UiScript ui;
    FILETIME creation = {0x1234, 0x5678};
    FILETIME lastWrite = {0x9ABC, 0xDEF0};
    EXPECT_EQ(GetFileTimes(dir_.At("missing").c_str(), &creation, &lastWrite), 1);
    EXPECT_EQ(GetFileTimes(dir_.At("no\\such\\folder").c_str(), &creation, &lastWrite), 1);
    EXPECT_EQ(creation.dwLowDateTime, 0x1234u);
    EXPECT_EQ(creation.dwHighDateTime, 0x5678u);
    EXPECT_EQ(lastWrite.dwLowDateTime, 0x9ABCu);
    EXPECT_EQ(lastWrite.dwHighDateTime, 0xDEF0u);

    // A folder is left alone.
    const std::string folder = dir_.Folder("folder");
    ASSERT_TRUE(SetLastWriteLocal(folder, 2001, 2, 3, 4, 5));
    FILETIME before = {};
    ASSERT_EQ(GetFileTimes(folder.c_str(), nullptr, &before), 1);
    SYSTEMTIME local = {2010, 6, 0, 15, 12, 30, 0, 0};
    FILETIME newTime = {};
    ASSERT_EQ(LocalSystemTimeToFileTime(&local, &newTime), 1);
    EXPECT_EQ(SetFileTimes(folder.c_str(), nullptr, &newTime), 1);
    FILETIME after = {};
    ASSERT_EQ(GetFileTimes(folder.c_str(), nullptr, &after), 1);
    EXPECT_EQ(CompareFileTime(&before, &after), 0);

    // A file takes the new last-write time, which reads back as the same local time.
    const std::string file = dir_.File("file.txt", "x");
    EXPECT_EQ(SetFileTimes(file.c_str(), nullptr, &newTime), 1);
    FILETIME read = {};
    ASSERT_EQ(GetFileTimes(file.c_str(), nullptr, &read), 1);
    EXPECT_EQ(CompareFileTime(&read, &newTime), 0);
    SYSTEMTIME back = {};
    ASSERT_EQ(FileTimeToLocalSystemTime(&read, &back), 1);
    EXPECT_EQ(back.wYear, 2010);
    EXPECT_EQ(back.wMonth, 6);
    EXPECT_EQ(back.wDay, 15);
    EXPECT_EQ(back.wHour, 12);
    EXPECT_EQ(back.wMinute, 30);
    // The conversion uses the system's present offset: a winter UTC time lands where the
    // platform's own time-zone conversion puts it.
    SYSTEMTIME utcWinter = {2024, 1, 0, 14, 15, 10, 0, 0};
    FILETIME winter = {};
    ASSERT_TRUE(SystemTimeToFileTime(&utcWinter, &winter));
    SYSTEMTIME expected = {};
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utcWinter, &expected));
    SYSTEMTIME converted = {};
    ASSERT_EQ(FileTimeToLocalSystemTime(&winter, &converted), 1);
    EXPECT_EQ(converted.wDay, expected.wDay);
    EXPECT_EQ(converted.wHour, expected.wHour);
    EXPECT_EQ(converted.wMinute, expected.wMinute);
    EXPECT_TRUE(ui.Boxes().empty());

    // A missing file cannot take a time.
    ui.ExpectBox();
    EXPECT_EQ(SetFileTimes(dir_.At("missing").c_str(), nullptr, &newTime), 0);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_TRUE(IsErrorBox(ui.Boxes()[0], SystemText(ERROR_FILE_NOT_FOUND)));
}

TEST_F(FrameTest, CancelledSaveChooserKeepsTheProposedName)
{
    UiScript ui;
    std::string caption;
    ui.ExpectDialog([&caption](DialogDriver& d) {
        caption = d.Caption();
        d.Press(IDCANCEL);
    });
    char name[260] = "~FileList.txt";
    EXPECT_EQ(ChooseSaveFile(nullptr, "保存先の選択", dir_.path().c_str(), name), 0);
    EXPECT_STREQ(name, "~FileList.txt");
    EXPECT_EQ(caption, "保存先の選択");
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(FrameTest, ChildPathsPastTheLimitAreRefusedWhole)
{
    UiScript ui;
    char out[260];
    const std::string folder(200, 'f');
    EXPECT_EQ(BuildChildPath(out, folder.c_str(), std::string(58, 'n').c_str(), nullptr), 1);   // 259 bytes
    EXPECT_EQ(std::strlen(out), 259u);
    ui.ExpectBox();
    EXPECT_EQ(BuildChildPath(out, folder.c_str(), std::string(59, 'n').c_str(), nullptr), 0);
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(IsOnlyErrorBox(ui, folder + "\\" + std::string(59, 'n'), TextIs::Part));
}

struct Visits {
    std::vector<std::string> names;
    size_t stopAfter = 1000;
};

int RenameAndCount(const char* folder, const FolderEntry& entry, void* context)
{
    auto* visits = static_cast<Visits*>(context);
    visits->names.push_back(entry.name);
    const std::string from = std::string(folder) + "\\" + entry.name;
    MoveFileA(from.c_str(), (from + "_r").c_str());
    return visits->names.size() < visits->stopAfter ? 1 : 0;
}

TEST_F(FrameTest, FolderListingIsTakenBeforeTheFirstVisit)
{
    UiScript ui;
    for (int i = 0; i < 30; ++i) dir_.File("f\\e" + std::to_string(i));
    dir_.Folder("f\\sub");
    const std::string hidden = dir_.File("f\\hidden");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Visits visits;
    EXPECT_EQ(ForEachFolderEntry(nullptr, dir_.At("f").c_str(), RenameAndCount, &visits), 1);
    // Every entry once, none under its new name, "." and ".." left out.
    EXPECT_EQ(visits.names.size(), 32u);
    for (const std::string& name : dir_.List("f")) EXPECT_EQ(name.substr(name.size() - 2), "_r");
    for (const std::string& name : visits.names) EXPECT_EQ(name.find("_r"), std::string::npos) << name;

    // A visitor's 0 stops the walk; a missing folder counts as empty.
    Visits stopping;
    stopping.stopAfter = 3;
    EXPECT_EQ(ForEachFolderEntry(nullptr, dir_.At("f").c_str(), RenameAndCount, &stopping), 0);
    EXPECT_EQ(stopping.names.size(), 3u);
    Visits none;
    EXPECT_EQ(ForEachFolderEntry(nullptr, dir_.At("missing").c_str(), RenameAndCount, &none), 1);
    EXPECT_EQ(ForEachFolderEntry(nullptr, dir_.At("missing\\deeper").c_str(), RenameAndCount, &none), 1);
    EXPECT_TRUE(none.names.empty());
    EXPECT_TRUE(ui.Boxes().empty());
}

// ---- Names code page 932 cannot hold, and reparse points --------------------------

// Name replacement of every "x" by "y", into subfolders when asked.
DialogFill XByY(bool subfolders)
{
    return [subfolders](DialogDriver& d) {
        d.SetText(IDC_PERMUTE_SEARCH, "x");
        d.SetText(IDC_PERMUTE_REPLACEMENT, "y");
        d.Check(IDC_PERMUTE_EVERY, true);
        d.Check(IDC_PERMUTE_SUBFOLDERS, subfolders);
    };
}

TEST_F(FrameTest, SelectedNamesCodePage932CannotHoldAreRefusedWhole)
{
    // Best fit would make "é" an "e" (another file) and "¥" a backslash (another path).
    const std::wstring folder = ToWide(dir_.path());
    dir_.File("xe.txt");
    ASSERT_TRUE(MakeWideFile(folder + L"\\xok.txt"));
    for (const wchar_t* name : {L"x\u00e9.txt", L"x\u00a5.txt"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        ASSERT_TRUE(MakeWideFile(folder + L"\\" + name));
        const std::vector<std::wstring> before = WideNames(folder);
        ComPtr<IDataObject> data;
        *data.put() = CreateWideDropDataObject({folder + L"\\" + name, folder + L"\\xok.txt"});
        const auto ui = RunCommandWith(kPermuteEntry, data.get(), XByY(false));
        EXPECT_TRUE(IsOnlyErrorBox(*ui, "指定されたファイルを認識できません。"));
        EXPECT_EQ(WideNames(folder), before);
        DeleteFileW((folder + L"\\" + name).c_str());
    }
}

TEST_F(FrameTest, DescentRefusesAnEntryCodePage932CannotHold)
{
    const std::wstring inside = ToWide(dir_.Folder("xdir"));
    ASSERT_TRUE(MakeWideFile(inside + L"\\x\u00e9"));
    ComPtr<IDataObject> data;
    *data.put() = CreateWideDropDataObject({inside});
    const auto ui = RunCommandWith(kPermuteEntry, data.get(), XByY(true));
    EXPECT_TRUE(IsOnlyErrorBox(*ui, "指定されたファイルを認識できません。"));
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"ydir"});
    const std::wstring renamed = ToWide(dir_.At("ydir"));
    EXPECT_EQ(WideNames(renamed), std::vector<std::wstring>{L"x\u00e9"});
    DeleteFileW((renamed + L"\\x\u00e9").c_str());
}

TEST_F(FrameTest, TypedTextsCodePage932CannotHoldRunNothing)
{
    // The dialogs are ANSI: a pasted "é" read so would be an "e", and each row below
    // would then rename "name.txt".
    UseFullMenuLayout();
    const struct {
        const char* what;
        unsigned entry;
        int box;     // ticked first (0: none)
        int field;   // gets the "é"
        int other;   // gets `text` (0: none)
        const char* text;
    } rows[] = {
        {"search text", kPermuteEntry, 0, IDC_PERMUTE_SEARCH, IDC_PERMUTE_REPLACEMENT, "x"},
        {"replacement", kPermuteEntry, 0, IDC_PERMUTE_REPLACEMENT, IDC_PERMUTE_SEARCH, "a"},
        {"end text", kNameEntry, IDC_NAME_ADD_END, IDC_NAME_END_TEXT, 0, nullptr},
        {"prefix", kCnumEntry, 0, IDC_CNUM_PREFIX, 0, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string folder = dir_.Folder(row.what);
        const auto ui = RunCommand(row.entry, {dir_.File(std::string(row.what) + "\\name.txt")}, [&row](DialogDriver& d) {
            if (row.box != 0) d.Check(row.box, true);
            if (row.other != 0) d.SetText(row.other, row.text);
            SetWindowTextW(GetDlgItem(d.hwnd(), row.field), L"\u00e9");
        });
        EXPECT_TRUE(IsOnlyErrorBox(*ui, "入力された文字列に使用できない文字が含まれています。"));
        EXPECT_FALSE(IsWindow(ui->dialog())) << "the dialog closes after OK";
        EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"name.txt"});
    }
}

// A junction (mount point) at `link`, a new folder, leading to `target`.
bool MakeJunction(const std::wstring& link, const std::wstring& target)
{
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    const std::wstring substitute = L"\\??\\" + target;
    const USHORT subBytes = static_cast<USHORT>(substitute.size() * sizeof(wchar_t));
    const USHORT printBytes = static_cast<USHORT>(target.size() * sizeof(wchar_t));
    std::vector<BYTE> buffer(20 + subBytes + printBytes + 4, 0);
    auto put16 = [&](size_t at, USHORT v) { std::memcpy(&buffer[at], &v, 2); };
    const ULONG tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(&buffer[0], &tag, 4);
    put16(4, static_cast<USHORT>(buffer.size() - 8));   // ReparseDataLength
    put16(8, 0);                                         // SubstituteNameOffset
    put16(10, subBytes);
    put16(12, static_cast<USHORT>(subBytes + 2));        // PrintNameOffset
    put16(14, printBytes);
    std::memcpy(&buffer[16], substitute.c_str(), subBytes);
    std::memcpy(&buffer[16 + subBytes + 2], target.c_str(), printBytes);
    DWORD returned = 0;
    {
        FileHandle dir(CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (dir.valid() && DeviceIoControl(dir.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                                           static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr)) {
            const DWORD attributes = GetFileAttributesW(link.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
        }
    }
    RemoveDirectoryW(link.c_str());
    return false;
}

TEST_F(FrameTest, JunctionInsideAFolderIsRenamedButNotEntered)
{
    dir_.File("outside\\xfile");
    dir_.Folder("top");
    if (!MakeJunction(ToWide(dir_.At("top\\xlink")), ToWide(dir_.At("outside"))))
        GTEST_SKIP() << "this platform makes no junctions";
    ASSERT_EQ(dir_.List("top\\xlink"), std::vector<std::string>{"xfile"});
    ComPtr<IDataObject> data;
    *data.put() = CreateDropDataObject({dir_.At("top")});
    EXPECT_TRUE(RunCommandWith(kPermuteEntry, data.get(), XByY(true))->Boxes().empty());
    EXPECT_EQ(dir_.List("top"), std::vector<std::string>{"ylink"});
    EXPECT_EQ(dir_.List("outside"), std::vector<std::string>{"xfile"});
    RemoveDirectoryW(ToWide(dir_.At("top\\ylink")).c_str());
}

// ---- Long runs: the progress window and the user's stop ------------------------------

using FolderFacts = std::map<std::string, WIN32_FIND_DATAA>;

FolderFacts ListFacts(const std::string& folder)
{
    FolderFacts facts;
    WIN32_FIND_DATAA entry;
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find.valid()) return facts;
    do {
        facts[entry.cFileName] = entry;
    } while (FindNextFileA(find.get(), &entry));
    facts.erase(".");
    facts.erase("..");
    return facts;
}

const WIN32_FIND_DATAA* Facts(const FolderFacts& folder, const std::string& name)
{
    const auto it = folder.find(name);
    return it != folder.end() ? &it->second : nullptr;
}

int LocalYear(const FILETIME& utc)
{
    FILETIME local;
    SYSTEMTIME calendar{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &calendar);
    return calendar.wYear;
}

TEST_F(FrameTest, StoppedLongRunsKeepWhatTheyDidAndTouchNothingAfter)
{
    // Each row runs over the same 20,000 files and presses "中止" as soon as the window
    // is up; each changes a property of its own, so the rows do not meet. The quickest
    // runs get each file three times over, so that they too last well past the half
    // second (a second visit changes nothing more).
    UseFullMenuLayout();
    const LargeTree tree("stop", 20000, true);
    using Changed = std::function<bool(const FolderFacts&, const std::string& name)>;
    const struct {
        const char* kind;
        unsigned entry;
        unsigned visits;   // of each file
        DialogFill fill;
        Changed changed;   // null: nothing on disk changes
    } rows[] = {
        // The version column makes the list slow enough to be stopped.
        {"list", kClipboardEntry, 1, [](DialogDriver& d) { d.Check(IDC_CLIPBOARD_VERSION, true); }, nullptr},
        {"attributes", kAttributeEntry, 3,
         [](DialogDriver& d) {
             d.Check(IDC_ATTRIBUTE_HIDDEN, true);
             d.Check(IDC_ATTRIBUTE_ABSOLUTE, false);
             d.Check(IDC_ATTRIBUTE_ADD, true);
             d.SelectCombo(IDC_ATTRIBUTE_TARGETS, 0);
         },
         [](const FolderFacts& f, const std::string& name) {
             const WIN32_FIND_DATAA* found = Facts(f, name);
             return found != nullptr && (found->dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
         }},
        {"times", kTimeEntry, 3,
         [](DialogDriver& d) {
             d.Check(IDC_TIME_CREATION, false);
             d.Check(IDC_TIME_TIME_OF_DAY, false);
             d.SetText(IDC_TIME_W_YEAR, "2001");
             d.SetText(IDC_TIME_W_MONTH, "2");
             d.SetText(IDC_TIME_W_DAY, "3");
         },
         [](const FolderFacts& f, const std::string& name) {
             const WIN32_FIND_DATAA* found = Facts(f, name);
             return found != nullptr && LocalYear(found->ftLastWriteTime) == 2001;
         }},
        {"rename", kPermuteEntry, 1,
         [](DialogDriver& d) {
             d.SetText(IDC_PERMUTE_SEARCH, "f");
             d.SetText(IDC_PERMUTE_REPLACEMENT, "g");
         },
         [](const FolderFacts& f, const std::string& name) {
             return Facts(f, name) == nullptr && Facts(f, "g" + name.substr(1)) != nullptr;
         }},
    };
    PutOnClipboard("before");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        UiScript::Progress progress;
        CommandRun run(row.entry, row.fill);
        run.ExpectProgress(true, &progress);
        std::vector<std::string> selection;
        for (const std::string& path : tree.Paths()) selection.insert(selection.end(), row.visits, path);
        run.On(selection);
        EXPECT_TRUE(run.Boxes().empty());
        EXPECT_NE(progress.window, nullptr) << "a run over 20,000 items shows its progress";
        EXPECT_EQ(progress.owner, run.dialog());
        EXPECT_EQ(progress.button, "中止");
        EXPECT_FALSE(IsWindow(progress.window)) << "the window goes with the run";
        if (!row.changed) {
            EXPECT_TRUE(ClipboardText() == "before");
            EXPECT_FALSE(LeftoverTempFile());
            continue;
        }
        // The files changed are the first ones of the selection, and not all of them.
        unsigned done = 0, misplaced = 0, seen = 0;
        FolderFacts folder;
        for (unsigned i = 0; i < tree.count(); ++i) {
            if (i == 0 || tree.Folder(i) != tree.Folder(i - 1)) {
                folder = ListFacts(tree.Folder(i));
                seen += static_cast<unsigned>(folder.size());
            }
            if (!row.changed(folder, LargeTree::Name(i))) continue;
            if (i != done) ++misplaced;
            ++done;
        }
        EXPECT_EQ(seen, tree.count());
        EXPECT_GT(done, 0u);
        EXPECT_LT(done, tree.count());
        EXPECT_EQ(misplaced, 0u) << done << " changed";
    }

    // A run of a few items is over before the window would come.
    EXPECT_EQ(RunCommand(kAttributeEntry, {dir_.File("a"), dir_.File("b"), dir_.File("c")}, nullptr)->Dialogs(),
              std::vector<std::string>{"属性変更"});
}

}  // namespace
