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
#include "tests/support/setup_process.h"
#include "tests/support/test_env.h"
#include "tools/host/host.h"
#include "tools/support/drop_data.h"

namespace {

std::string g_folder;   // "C:\Program Files\Tidalon"

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tidalon(ｴｸｽﾌﾟﾛｰﾗ拡張)";
// A command line started as the shell starts one (no application name: the line names
// the program), its windows found among the process's top-level windows.
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
        SetupProcess setup(ToWide("\"" + g_folder + "\\pellast.exe\""), std::wstring(), ToWide(g_folder));
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
        SetupProcess maintenance(ToWide(uninstall));
        ASSERT_TRUE(maintenance.Press(IDC_MAINTENANCE_CUSTOMIZE));
        const HWND customize = maintenance.Dialog(IDC_CUSTOMIZE_DRAG_MENU);
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
        SetupProcess maintenance(ToWide(uninstall));
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
