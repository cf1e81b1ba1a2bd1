// pellast.exe run as its own process, as a user starts it: its boxes and dialogs are
// found among the process's top-level windows, read and answered from here, and the
// registry it leaves is checked, including COM activation of what it registered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/class_ids.h"
#include "common/resource_ids.h"
#include "common/rules/option_blocks.h"
#include "tests/support/setup_process.h"
#include "tests/support/test_env.h"
#include "tests/support/ui_script.h"

namespace {

const CLSID kKelmora = CLSID_KelmoraShellExt;
const CLSID kOrvid = CLSID_OrvidDragDropExt;
const std::string kDist = TIDALON_DIST_DIR;
#define KELMORA KELMORA_CLSID
#define ORVID ORVID_CLSID
const char kApproved[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tidalon(ｴｸｽﾌﾟﾛｰﾗ拡張)";

// What an install writes; the paths are those of the build's dist folder.
struct Entry {
    HKEY root;
    const char* key;
    const char* value;
    std::string data;
};
const Entry kEntries[] = {
    {HKEY_CLASSES_ROOT, "CLSID\\" KELMORA, "", "Hollin's Shell Extension Menu"},
    {HKEY_CLASSES_ROOT, "CLSID\\" KELMORA "\\InProcServer32", "", kDist + "\\kelmora.dll"},
    {HKEY_CLASSES_ROOT, "CLSID\\" KELMORA "\\InProcServer32", "ThreadingModel", "Apartment"},
    {HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Hollin_Menu", "", KELMORA},
    {HKEY_CLASSES_ROOT, "Directory\\shellex\\ContextMenuHandlers\\Hollin_Menu", "", KELMORA},
    {HKEY_CLASSES_ROOT, "CLSID\\" ORVID, "", "Hollin's Shell Extension Drag & Drop Menu"},
    {HKEY_CLASSES_ROOT, "CLSID\\" ORVID "\\InProcServer32", "", kDist + "\\orvid.dll"},
    {HKEY_CLASSES_ROOT, "CLSID\\" ORVID "\\InProcServer32", "ThreadingModel", "Apartment"},
    {HKEY_CLASSES_ROOT, "Folder\\shellex\\DragDropHandlers\\Hollin_Menu", "", ORVID},
    {HKEY_LOCAL_MACHINE, kApproved, KELMORA, "Hollin's Shell Extension Menu"},
    {HKEY_LOCAL_MACHINE, kApproved, ORVID, "Hollin's Shell Extension Drag & Drop Menu"},
    {HKEY_LOCAL_MACHINE, kUninstall, "DisplayName", "Tidalon（エクスプローラ拡張）"},
    {HKEY_LOCAL_MACHINE, kUninstall, "UninstallString", "\"" + kDist + "\\pellast.exe\" /uninst"},
};
const char kInstallStart[] = "Tidalon（エクスプローラ拡張）のインストールを開始します。";
const char kNotALetter[] = "英字を入力してください。";
const wchar_t* const kDeliverables[] = {L"pellast.exe", L"kelmora.dll", L"orvid.dll"};

using Box = SetupBox;

// One run of pellast.exe, started by its wide path as Explorer starts it.
class Pellast : public SetupProcess {
public:
    explicit Pellast(const std::string& args, const std::wstring& exe = ToWide(kDist + "\\pellast.exe"))
        : SetupProcess(L"\"" + exe + L"\"" + ToWide(args), exe)
    {
    }
};

void Notify(HWND dialog, int id, WORD code = BN_CLICKED)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    Sleep(200);
}

void Select(HWND dialog, int list, int item, WORD code = LBN_SELCHANGE)
{
    SendMessageA(GetDlgItem(dialog, list), LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    Notify(dialog, list, code);
}

// Typed text; a warning box it raises holds the send, so that is not awaited.
void Type(HWND dialog, int id, const char* text)
{
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 500, nullptr);
}

// GetWindowText does not ask a window of another process; an edit keeps its own text.
std::string EditText(HWND dialog, int id)
{
    char text[8] = {};
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<unsigned char> Indices(HWND dialog, int list)
{
    const HWND box = GetDlgItem(dialog, list);
    std::vector<unsigned char> out;
    for (LRESULT i = 0, n = SendMessageA(box, LB_GETCOUNT, 0, 0); i < n; ++i)
        out.push_back(static_cast<unsigned char>(SendMessageA(box, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
    return out;
}

// The text of a REG_SZ value, "<missing>" when it cannot be read.
std::string Value(HKEY root, const char* key, const char* name)
{
    char data[600] = {};
    DWORD size = sizeof data - 1, type = 0;
    if (RegGetValueA(root, key, name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS || type != REG_SZ)
        return "<missing>";
    return data;
}

bool Creatable(const CLSID& clsid)
{
    IShellExtInit* init = nullptr;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, reinterpret_cast<void**>(&init));
    if (init != nullptr) init->Release();
    CoFreeUnusedLibraries();
    return SUCCEEDED(hr);
}

const std::vector<unsigned char> kLayout(kDefaultLayout, kDefaultLayout + sizeof kDefaultLayout);
const std::vector<unsigned char> kLetters(kDefaultHotkeys, kDefaultHotkeys + kHotkeyTableSize);

// The registration and settings are left as no other test program expects them.
class SetupTest : public testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        for (const Entry& e : kEntries) {
            if (std::string(e.key) == kApproved)
                RegDeleteKeyValueA(e.root, e.key, e.value);
            else
                RegDeleteTreeA(e.root, e.key);
        }
        DeleteSettingsKey();
    }
};

}  // namespace

TEST_F(SetupTest, InstallRegistersBothHandlersAndUninstallRemovesThem)
{
    WriteSettingsValue("Menu", std::vector<unsigned char>{1, 11});
    WriteSettingsValue("Key", std::string(17, 'Z'));
    {
        Pellast run("");
        EXPECT_EQ(run.Answer(IDOK).text, kInstallStart);
        EXPECT_EQ(run.Answer(IDOK).title, "確認");
        EXPECT_EQ(run.Exit(), 1u);
    }
    for (const Entry& e : kEntries) EXPECT_EQ(Value(e.root, e.key, e.value), e.data) << e.key;
    EXPECT_EQ(ReadSettingsValue("Menu"), kLayout);
    EXPECT_EQ(ReadSettingsValue("Key"), kLetters);
    EXPECT_TRUE(Creatable(kKelmora));
    if (PathExists(kDist + "\\orvid.dll")) {
        EXPECT_TRUE(Creatable(kOrvid));
    }

    for (const char* second : {"", "アンインストールに失敗しました。"}) {
        Pellast run(" /uninst");
        const HWND dialog = run.Dialog(IDC_MAINTENANCE_UNINSTALL);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);   // Esc and the close box do nothing
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        Sleep(300);
        EXPECT_TRUE(IsWindow(dialog));
        Notify(dialog, IDC_MAINTENANCE_UNINSTALL);
        EXPECT_EQ(run.Answer(IDOK).title, "アンインストール");
        if (*second == '\0') {
            EXPECT_EQ(run.Answer(IDOK).title, "確認");
            EXPECT_EQ(run.Answer(IDCANCEL).text, "Windows を再起動します。");
        } else {   // nothing left to delete
            EXPECT_EQ(run.Answer(IDOK).text, second);
        }
        EXPECT_EQ(run.Exit(), 1u);   // no other box holds it up
        for (const Entry& e : kEntries) EXPECT_EQ(Value(e.root, e.key, e.value), "<missing>") << e.key;
        EXPECT_TRUE(SettingsValueExists("Menu"));
        EXPECT_FALSE(Creatable(kKelmora));
        EXPECT_FALSE(Creatable(kOrvid));
    }
}

// Anything but the exact switch installs; Cancel there writes nothing. A folder too
// deep for the uninstall command, or one whose name code page 932 cannot hold (the
// ANSI path would name the look-alike "Cafe"), fails before the first write.
TEST_F(SetupTest, OtherCommandLinesInstallAndRefusalsWriteNothing)
{
    ScratchDir dir;
    std::string deep = dir.path();   // 240 bytes: pellast.exe in it fits, the uninstall command does not
    while (deep.size() + 1 < 240) deep += "\\" + std::string(std::min<size_t>(240 - deep.size() - 1, 40), 'd');
    deep = dir.Folder(deep.substr(dir.path().size() + 1));
    ASSERT_TRUE(CopyFileA((kDist + "\\pellast.exe").c_str(), (deep + "\\pellast.exe").c_str(), FALSE));
    // Setup in a folder whose name code page 932 cannot hold; the scratch folder's ANSI
    // removal cannot name it, so it goes by its wide name.
    struct WideFolder {
        std::wstring path;
        ~WideFolder()
        {
            for (const wchar_t* file : kDeliverables) DeleteFileW((path + L"\\" + file).c_str());
            RemoveDirectoryW(path.c_str());
        }
    } cafe{ToWide(dir.path()) + L"\\Caf\u00E9"};
    ASSERT_TRUE(CreateDirectoryW(cafe.path.c_str(), nullptr));
    for (const wchar_t* file : kDeliverables)
        ASSERT_TRUE(CopyFileW((ToWide(kDist) + L"\\" + file).c_str(), (cafe.path + L"\\" + file).c_str(), FALSE));
    const struct {
        std::string args;
        std::wstring exe;
        int answer;
        std::vector<std::string> then;   // texts of the error boxes after the confirmation
    } cases[] = {
        {"", ToWide(kDist), IDCANCEL, {}},
        {" /UNINST", ToWide(kDist), IDCANCEL, {}},
        {" /uninst now", ToWide(kDist), IDCANCEL, {}},
        {"", ToWide(deep), IDOK, {SystemText(ERROR_FILENAME_EXCED_RANGE), "インストールに失敗しました。"}},
        {"", cafe.path, IDOK, {"指定されたファイルを認識できません。", "インストールに失敗しました。"}},
    };
    for (const auto& c : cases) {
        Pellast run(c.args, c.exe + L"\\pellast.exe");
        EXPECT_EQ(run.Answer(c.answer).text, kInstallStart) << c.args;
        for (const std::string& text : c.then) {
            const Box box = run.Answer(IDOK);
            EXPECT_EQ(box.text, text);
            EXPECT_EQ(box.title, "Tidalon　エラー");
        }
        EXPECT_EQ(run.Exit(), 1u) << c.args;
        for (const Entry& e : kEntries) EXPECT_EQ(Value(e.root, e.key, e.value), "<missing>") << e.key;
        EXPECT_FALSE(SettingsValueExists("Menu"));
    }
}

TEST_F(SetupTest, CustomisationEditsTheListsAndLettersAndStoresThemOnOk)
{
    // Entries without action show when stored; bytes above 16 are passed over.
    WriteSettingsValue("Menu", std::vector<unsigned char>{1, 6, 17, 1, 15, 200});
    WriteSettingsValue("Key", std::string(kHotkeyTableSize, 'K'));
    Pellast run(" /uninst");
    Notify(run.Dialog(IDC_MAINTENANCE_CUSTOMIZE), IDC_MAINTENANCE_CUSTOMIZE);
    const HWND d = run.Dialog(IDC_CUSTOMIZE_DISPLAYED);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Indices(d, IDC_CUSTOMIZE_DISPLAYED), (std::vector<unsigned char>{6, 1, 15}));
    EXPECT_EQ(Indices(d, IDC_CUSTOMIZE_AVAILABLE), (std::vector<unsigned char>{0, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 16}));
    EXPECT_EQ(EditText(d, IDC_CUSTOMIZE_TOP_KEY), "K");

    for (int i = 0; i < 3; ++i) Select(d, IDC_CUSTOMIZE_DISPLAYED, 0, LBN_DBLCLK);
    EXPECT_EQ(Indices(d, IDC_CUSTOMIZE_AVAILABLE).back(), 15);   // removed, 6 and 15 are available
    Notify(d, IDOK);   // an empty list is not stored
    EXPECT_EQ(run.Answer(IDOK).title, "確認");
    EXPECT_EQ(ReadSettingsValue("Menu"), (std::vector<unsigned char>{1, 6, 17, 1, 15, 200}));

    Notify(d, IDC_CUSTOMIZE_DEFAULTS);
    EXPECT_EQ(EditText(d, IDC_CUSTOMIZE_TOP_KEY), "E");
    for (int i = 0; i < 3; ++i) {   // the separator stays available
        Select(d, IDC_CUSTOMIZE_AVAILABLE, 0);
        Notify(d, IDC_CUSTOMIZE_ADD);
    }
    Select(d, IDC_CUSTOMIZE_DISPLAYED, 0);
    Notify(d, IDC_CUSTOMIZE_UP);
    Select(d, IDC_CUSTOMIZE_DISPLAYED, 16);
    Notify(d, IDC_CUSTOMIZE_DOWN);
    Select(d, IDC_CUSTOMIZE_DISPLAYED, 1);   // "すべて選択(&L)"
    EXPECT_EQ(EditText(d, IDC_CUSTOMIZE_ENTRY_KEY), "L");
    const struct { int edit; const char* typed; bool refused; } typing[] = {
        {IDC_CUSTOMIZE_ENTRY_KEY, "5", true}, {IDC_CUSTOMIZE_ENTRY_KEY, "q", false},
        {IDC_CUSTOMIZE_TOP_KEY, "", true},    {IDC_CUSTOMIZE_TOP_KEY, "w", false},
    };
    for (const auto& l : typing) {
        Type(d, l.edit, l.typed);
        if (l.refused) {
            EXPECT_EQ(run.Answer(IDOK).text, kNotALetter) << l.typed;
        }
    }
    SendMessageA(GetDlgItem(d, IDC_CUSTOMIZE_DRAG_MENU), BM_SETCHECK, BST_CHECKED, 0);
    Notify(d, IDOK);
    EXPECT_EQ(run.Exit(), 1u);
    std::vector<unsigned char> stored = kLayout;
    stored[0] = 1;
    stored.insert(stored.end(), {0, 0, 0});
    EXPECT_EQ(ReadSettingsValue("Menu"), stored);
    const std::string letters = "wqFXURHCTBAGNEDOI";
    EXPECT_EQ(ReadSettingsValue("Key"), std::vector<unsigned char>(letters.begin(), letters.end()));
}
