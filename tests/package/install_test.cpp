// The release archive's files as a user installs them (install_test.sh unpacks them into
// a new prefix and names the folder): pellast.exe started from that folder, its boxes
// answered from here; the handlers created through CoCreateInstance from what it
// registered, their menus asked for as Explorer asks; the drag menu switched on in the
// customisation the uninstall entry opens; and the uninstall run from the entry's own
// command line.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/resource_ids.h"
#include "common/rules/class_ids.h"
#include "tests/support/test_env.h"
#include "tools/host/host.h"
#include "tools/support/drop_data.h"

namespace {

std::string g_folder;   // "C:\Program Files\Tidalon"

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tidalon(ｴｸｽﾌﾟﾛｰﾗ拡張)";
const int kBoxText = 0xFFFF;   // the text of a message box

struct Box {
    std::string title, text;
};

std::string WindowText(HWND window)
{
    char text[512] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 1000, nullptr);
    return text;
}

// A command line started as the shell starts one (no application name: the line names
// the program), its windows found among the process's top-level windows.
class Process {
public:
    Process(const std::string& commandLine, const char* folder)
    {
        std::string line = commandLine;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                                  &process_) != FALSE;
    }
    ~Process()
    {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    bool started() const { return started_; }
    // The visible window holding control `id`, waited for ten seconds at most.
    HWND Window(int id)
    {
        struct Search { DWORD pid; int id; HWND found; } search{process_.dwProcessId, id, nullptr};
        for (int i = 0; started_ && i < 200 && search.found == nullptr; ++i, Sleep(50)) {
            EnumWindows([](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid != s->pid || !IsWindowVisible(w) || GetDlgItem(w, s->id) == nullptr) return TRUE;
                s->found = w;
                return FALSE;
            }, reinterpret_cast<LPARAM>(&search));
        }
        return search.found;
    }
    // Presses `id` in the window holding `id`; false when there is none.
    bool Press(int id)
    {
        const HWND window = Window(id);
        if (window == nullptr) return false;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
        Sleep(200);
        return true;
    }
    // The message box shown now, answered with `button`.
    Box Answer(int button)
    {
        const HWND box = Window(kBoxText);
        if (box == nullptr) return {"<none>", ""};
        Box seen{WindowText(box), WindowText(GetDlgItem(box, kBoxText))};
        PostMessageA(box, WM_COMMAND, button, 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
        return seen;
    }
    // The exit code once the program ended by itself (fifteen seconds at most).
    DWORD Exit()
    {
        DWORD code = 0;
        if (started_ && WaitForSingleObject(process_.hProcess, 15000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

// The command line Windows runs for "uninstall" in its list of programs.
std::string UninstallCommand()
{
    char data[600] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return "";
    return data;
}

std::string DefaultValue(const std::string& key)
{
    char data[600] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "<missing>";
    return data;
}

// A menu as Explorer builds it from the handlers registered for `types` under
// `handlerKey`: how many were created, and the items they added.
struct Menu {
    size_t handlers;
    std::vector<std::string> lines;
};
Menu BuildMenu(const char* type, const char* handlerKey, const std::string& folder, const std::string& item)
{
    BuiltMenu menu;
    const Pidl pidl = PidlOf(folder);
    ComPtr<IDataObject> data;
    *data.put() = CreateDropDataObject({item});
    menu.handlers.AddHandlers(menu.popup, 0, {type}, handlerKey, pidl.get(), data.get());
    return {menu.handlers.HandlerCount(), DescribeMenu(menu.popup)};
}

const std::vector<std::string> kDefaultContextMenu = {
    "    ----",
    "    Tidalon(&E)",
    "      同一の拡張子を選択(&X)",
    "      すべて選択(&L)",
    "      ----",
    "      クリップボードへコピー(&C)",
    "      ----",
    "      タイムスタンプを変更(&T)",
    "      時差補正(&B)",
    "      属性変更(&A)",
    "      ----",
    "      名前を整理(&G)",
    "      連番で整理(&N)",
    "      名前を置換(&E)",
    "      ----",
    "      書庫ファイルを検査(&I)",
    "    ----",
};
const std::vector<std::string> kDropMenu = {
    "    この名前でフォルダを作成(&N)",
    "    ここにフォルダを作成してコピー(&F)",
    "    ----",
};

}  // namespace

TEST(PackageInstall, InstallFromTheUnpackedFolderUseBothMenusAndUninstallFromTheEntry)
{
    ScratchDir dir;
    const std::string file = dir.File("報告書.txt", "x");
    const std::string target = dir.Folder("保管");
    {
        Process setup("\"" + g_folder + "\\pellast.exe\"", g_folder.c_str());
        ASSERT_TRUE(setup.started());
        EXPECT_EQ(setup.Answer(IDOK).text, "Tidalon（エクスプローラ拡張）のインストールを開始します。");
        EXPECT_EQ(setup.Answer(IDOK).title, "確認");
        EXPECT_EQ(setup.Exit(), 1u);
    }
    EXPECT_EQ(DefaultValue("CLSID\\" KELMORA_CLSID "\\InProcServer32"), g_folder + "\\kelmora.dll");
    EXPECT_EQ(DefaultValue("CLSID\\" ORVID_CLSID "\\InProcServer32"), g_folder + "\\orvid.dll");

    Menu context = BuildMenu("*", "ContextMenuHandlers", dir.path(), file);
    EXPECT_EQ(context.handlers, 1u);
    EXPECT_EQ(context.lines, kDefaultContextMenu);
    Menu drop = BuildMenu("Folder", "DragDropHandlers", target, file);
    EXPECT_EQ(drop.handlers, 1u);   // created, but the drag menu is off after an install
    EXPECT_EQ(drop.lines, std::vector<std::string>{});

    const std::string uninstall = UninstallCommand();
    ASSERT_NE(uninstall, "");
    {
        Process maintenance(uninstall, nullptr);
        ASSERT_TRUE(maintenance.Press(IDC_MAINTENANCE_CUSTOMIZE));
        const HWND customize = maintenance.Window(IDC_CUSTOMIZE_DRAG_MENU);
        ASSERT_NE(customize, nullptr);
        SendMessageA(GetDlgItem(customize, IDC_CUSTOMIZE_DRAG_MENU), BM_SETCHECK, BST_CHECKED, 0);
        maintenance.Press(IDOK);
        EXPECT_EQ(maintenance.Exit(), 1u);
    }
    drop = BuildMenu("Folder", "DragDropHandlers", target, file);
    EXPECT_EQ(drop.handlers, 1u);
    EXPECT_EQ(drop.lines, kDropMenu);
    CoFreeUnusedLibraries();

    {
        Process maintenance(uninstall, nullptr);
        ASSERT_TRUE(maintenance.Press(IDC_MAINTENANCE_UNINSTALL));
        EXPECT_EQ(maintenance.Answer(IDOK).title, "アンインストール");
        EXPECT_EQ(maintenance.Answer(IDOK).title, "確認");
        EXPECT_EQ(maintenance.Answer(IDCANCEL).text, "Windows を再起動します。");
        EXPECT_EQ(maintenance.Exit(), 1u);
    }
    EXPECT_EQ(UninstallCommand(), "");
    context = BuildMenu("*", "ContextMenuHandlers", dir.path(), file);
    EXPECT_EQ(context.handlers, 0u);
    EXPECT_EQ(context.lines, std::vector<std::string>{});
    EXPECT_EQ(BuildMenu("Folder", "DragDropHandlers", target, file).handlers, 0u);
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: package_install_test <folder holding pellast.exe>\n");
        return 2;
    }
    g_folder = argv[1];
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
