// orvid.dll loaded as Explorer loads a drop handler: class object, drop menu by the
// layout's flag and the Shift key, and both commands on real folders.
#include <gtest/gtest.h>

#include <iterator>

#include "common/class_ids.h"
#include "common/menu_layout.h"
#include "common/settings_store.h"
#include "tests/support/test_env.h"
#include "tests/support/ui_script.h"
#include "tools/support/drop_data.h"

namespace {

const CLSID kOrvid = CLSID_OrvidDragDropExt;
const UINT kFirst = 100;

HMODULE Orvid()
{
    static HMODULE module = LoadLibraryA(TIDALON_DIST_DIR "\\orvid.dll");
    return module;
}
template <typename Fn>
Fn Export(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Orvid(), name)));
}
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject")(clsid, iid, out);
}
bool CanUnload() { return Export<HRESULT(WINAPI*)()>("DllCanUnloadNow")() == S_OK; }

HRESULT Invoke(IContextMenu* menu, HWND owner, const char* verb)
{
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = verb;
    return menu->InvokeCommand(&info);
}

std::vector<std::string> MenuTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(GetMenuItemID(menu, i) == 0 ? "-" : text);
    }
    return texts;
}

// A drop handler as Explorer makes one: factory, IShellExtInit, Initialize with the drop
// folder's PIDL (none for "") and the dragged items, then its IContextMenu.
IContextMenu* DropHandler(const std::string& dropFolder, const std::vector<std::string>& items)
{
    IClassFactory* factory = nullptr;
    IShellExtInit* init = nullptr;
    IContextMenu* menu = nullptr;
    EXPECT_EQ(GetClassObject(kOrvid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    factory->Release();
    PIDLIST_ABSOLUTE pidl = dropFolder.empty() ? nullptr : ILCreateFromPathA(dropFolder.c_str());
    IDataObject* data = CreateDropDataObject(items);
    EXPECT_EQ(init->Initialize(pidl, data, HKEY_CLASSES_ROOT), S_OK);
    data->Release();
    ILFree(pidl);
    EXPECT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    init->Release();
    return menu;
}

class OrvidTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        ASSERT_EQ(WriteDefaultSettings(), 1);
        WriteSettingsValue("Menu", std::vector<unsigned char>{1, 0x0B});
        owner_ = CreateWindowA("STATIC", "drop", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(owner_);
        EXPECT_EQ(DropDataMediaOutstanding(), 0);
        EXPECT_TRUE(CanUnload());
        DeleteSettingsKey();
    }
    // Builds the drop menu (Shift as given) and runs command `offset` of it.
    HRESULT Drop(const std::vector<std::string>& items, UINT offset, bool shift = false, const std::string& target = "")
    {
        IContextMenu* menu = DropHandler(target.empty() ? dir_.path() : target, items);
        HMENU popup = CreatePopupMenu();
        EXPECT_TRUE(PressShift(shift));
        EXPECT_EQ(menu->QueryContextMenu(popup, 0, kFirst, 0x7FFF, CMF_NORMAL), 2);
        EXPECT_TRUE(PressShift(false));
        DestroyMenu(popup);
        const HRESULT hr = Invoke(menu, owner_, MAKEINTRESOURCEA(offset));
        EXPECT_EQ(menu->Release(), 0u);
        return hr;
    }
    ScratchDir dir_;
    HWND owner_ = nullptr;
};

}  // namespace

TEST(OrvidServer, FactoryAndHandlerCountsAndInterfaces)
{
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(GetClassObject(IID_IClassFactory, IID_IClassFactory, &out), E_FAIL);
    for (REFIID iid : {IID_IUnknown, IID_IContextMenu}) EXPECT_EQ(GetClassObject(kOrvid, iid, &out), E_NOINTERFACE);
    EXPECT_TRUE(CanUnload());

    IClassFactory* factory = nullptr;
    ASSERT_EQ(GetClassObject(kOrvid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_FALSE(CanUnload());
    EXPECT_EQ(factory->LockServer(TRUE), E_NOTIMPL);
    EXPECT_EQ(factory->CreateInstance(factory, IID_IShellExtInit, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, &out), E_NOINTERFACE);
    IShellExtInit* init = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    EXPECT_EQ(factory->Release(), 0u);
    IContextMenu* menu = nullptr;
    IUnknown* unknown = nullptr;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    ASSERT_EQ(init->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(static_cast<void*>(menu), static_cast<void*>(unknown));
    EXPECT_EQ(menu->QueryInterface(IID_IPersistFile, &out), E_NOINTERFACE);
    EXPECT_EQ(unknown->Release(), 2u);
    EXPECT_EQ(menu->Release(), 1u);
    EXPECT_FALSE(CanUnload());
    EXPECT_EQ(init->Release(), 0u);
    EXPECT_TRUE(CanUnload());
}

TEST_F(OrvidTest, MenuFollowsTheFlagAndTheShiftKeyAndTakesNoVerbs)
{
    const std::vector<std::pair<unsigned char, bool>> cases = {{0, false}, {1, false}, {1, true}};
    const std::vector<std::vector<std::string>> expected = {
        {"&Copy"},
        {"この名前でフォルダを作成(&N)", "ここにフォルダを作成してコピー(&F)", "-", "&Copy"},
        {"この名前でフォルダ構造をコピー(&N)", "ここにフォルダを作成して移動(&F)", "-", "&Copy"}};
    for (size_t i = 0; i < cases.size(); ++i) {
        WriteSettingsValue("Menu", std::vector<unsigned char>{cases[i].first, 0x0B});
        IContextMenu* menu = DropHandler(dir_.path(), {dir_.File("a.txt")});
        HMENU popup = CreatePopupMenu();
        AppendMenuA(popup, MF_STRING, 1, "&Copy");
        EXPECT_TRUE(PressShift(cases[i].second));
        EXPECT_EQ(menu->QueryContextMenu(popup, 0, kFirst, 0x7FFF, CMF_NORMAL), cases[i].first ? 2 : 0);
        EXPECT_TRUE(PressShift(false));
        EXPECT_EQ(MenuTexts(popup), expected[i]);
        if (cases[i].first) {
            EXPECT_EQ(GetMenuItemID(popup, 1), kFirst + 1);
        }
        char buffer[8] = "keep";
        EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer), S_OK);
        EXPECT_STREQ(buffer, "keep");
        EXPECT_EQ(Invoke(menu, owner_, "copy"), E_INVALIDARG);
        EXPECT_EQ(Invoke(menu, owner_, MAKEINTRESOURCEA(2)), E_INVALIDARG);
        menu->Release();
        DestroyMenu(popup);
    }
}

TEST_F(OrvidTest, CopyIntoNewFolderNamedAfterTheFirstItem)
{
    const std::string in = dir_.Folder("in");
    const std::vector<std::string> items = {dir_.File("in\\a.txt", "A"), dir_.File("in\\b.txt", "B")};
    dir_.File("a");   // a file takes the name too
    for (const char* folder : {"a(1)", "a(2)"}) {
        EXPECT_EQ(Drop(items, 1), S_OK);
        EXPECT_EQ(dir_.List(folder), (std::vector<std::string>{"a.txt", "b.txt"})) << folder;
        EXPECT_EQ(ReadFileText(dir_.At(folder) + "\\b.txt"), "B");
    }
    EXPECT_EQ(dir_.List("in"), (std::vector<std::string>{"a.txt", "b.txt"}));

    // Only the last extension goes; a folder loses its "extension" too.
    struct Row { std::string item; const char* folder; };
    for (const Row& row : {Row{dir_.File("in\\report.final.doc"), "report.final"}, Row{dir_.Folder("in\\data.2001"), "data"}}) {
        EXPECT_EQ(Drop({row.item}, 1), S_OK);
        EXPECT_EQ(dir_.List(row.folder).size(), 1u) << row.folder;
    }
}

TEST_F(OrvidTest, LargeDropIsCopiedWhole)
{
    // The items are read in one pass over the list, each once; read by index, the shell
    // searches the list from its start for every one.
    const size_t count = 1000;
    std::vector<std::string> items;
    for (size_t i = 0; i < count; ++i) items.push_back(dir_.File("in\\" + std::to_string(i) + ".txt"));
    EXPECT_EQ(Drop(items, 1), S_OK);
    EXPECT_EQ(dir_.List("0").size(), count);
}

TEST_F(OrvidTest, ShiftMovesOnlyForTheHandlerThatSawIt)
{
    const std::vector<std::string> items = {dir_.File("in\\a.txt"), dir_.File("in\\b.txt")};
    // Another window's menu built with Shift down does not turn this copy into a move.
    IContextMenu* other = DropHandler(dir_.path(), items);
    HMENU popup = CreatePopupMenu();
    IContextMenu* mine = DropHandler(dir_.path(), items);
    EXPECT_EQ(mine->QueryContextMenu(popup, 0, kFirst, 0x7FFF, CMF_NORMAL), 2);
    EXPECT_TRUE(PressShift(true));
    EXPECT_EQ(other->QueryContextMenu(popup, 0, kFirst, 0x7FFF, CMF_NORMAL), 2);
    EXPECT_TRUE(PressShift(false));
    EXPECT_EQ(Invoke(mine, owner_, MAKEINTRESOURCEA(1)), S_OK);
    EXPECT_EQ(dir_.List("in").size(), 2u);
    mine->Release();
    other->Release();
    DestroyMenu(popup);

    EXPECT_EQ(Drop(items, 1, true), S_OK);
    EXPECT_EQ(dir_.List("in").size(), 0u);
    EXPECT_EQ(dir_.List("a(1)"), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(OrvidTest, NamedFolderAndStructureCopy)
{
    UiScript ui;
    ui.ExpectBox();
    const std::string memo = dir_.File("in\\memo.txt");
    EXPECT_EQ(Drop({memo, dir_.File("in\\x.txt"), dir_.File("in\\y.txt")}, 0), S_OK);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, "先頭ファイルのみ対象となります。");
    EXPECT_EQ(ui.Boxes()[0].title, "確認");
    EXPECT_EQ(ui.Boxes()[0].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"in", "memo"}));
    EXPECT_EQ(Drop({memo}, 0, true), S_OK);   // a file has no structure: no box
    EXPECT_TRUE(dir_.List("memo(1)").empty());

    // Every depth, hidden folders too, no file; the new folder is in the drop folder.
    const std::string tree = dir_.Folder("in\\tree.v2");
    dir_.File("in\\tree.v2\\sub\\deep\\f.txt");
    SetFileAttributesA(dir_.Folder("in\\tree.v2\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Drop({tree}, 0, true), S_OK);
    EXPECT_EQ(dir_.List("tree.v2"), (std::vector<std::string>{"hid", "sub"}));
    EXPECT_EQ(dir_.List("tree.v2\\sub"), (std::vector<std::string>{"deep"}));
    EXPECT_TRUE(dir_.List("tree.v2\\sub\\deep").empty());

    // Dropped on its own subfolder: one copy of the structure, not one feeding on itself.
    EXPECT_EQ(Drop({tree}, 0, true, dir_.At("in\\tree.v2\\sub")), S_OK);
    EXPECT_EQ(dir_.List("in\\tree.v2\\sub\\tree.v2"), (std::vector<std::string>{"hid", "sub"}));
    EXPECT_EQ(dir_.List("in\\tree.v2\\sub\\tree.v2\\sub"), (std::vector<std::string>{"deep"}));
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(OrvidTest, StructureCopySkipsTheFolderItMadeHoweverItIsNamed)
{
    // Dropped on its own subfolder under another spelling of its path: the folder made
    // there is known as the one made, not copied into itself down to the path limit.
    char shortTree[MAX_PATH] = {};
    GetShortPathNameA(dir_.Folder("in\\structure.tree").c_str(), shortTree, sizeof shortTree);
    ASSERT_STRNE(shortTree, dir_.At("in\\structure.tree").c_str());   // an 8.3 name of its own
    struct Row { const char* tree; std::string dragged; };
    const Row rows[] = {
        {"in\\structure.tree", shortTree},
        {"in\\ＴＲＥＥ", dir_.At("in\\ｔｒｅｅ")},   // full-width letters in another case
    };
    for (const Row& row : rows) {
        UiScript ui;
        const std::string sub = std::string(row.tree) + "\\sub";
        dir_.Folder(sub + "\\deep");
        const std::string made = sub + row.dragged.substr(row.dragged.rfind('\\'));
        EXPECT_EQ(Drop({row.dragged}, 0, true, dir_.At(sub)), S_OK) << row.dragged;
        EXPECT_EQ(dir_.List(made), (std::vector<std::string>{"sub"})) << row.dragged;
        EXPECT_EQ(dir_.List(made + "\\sub"), (std::vector<std::string>{"deep"})) << row.dragged;
        EXPECT_TRUE(ui.Failures().empty()) << row.dragged;
    }
}

TEST_F(OrvidTest, FolderNamesAsTheFileSystemStoresThem)
{
    // The file system drops trailing spaces and dots from a folder name, and the "(n)"
    // goes after the name it keeps. ("v1." worked before: a path drops one such dot.)
    struct Row { const char* item; UINT offset; bool taken; const char* folder; };
    const Row rows[] = {
        {"memo .txt", 1, false, "memo"},
        {"x...txt", 1, false, "x"},
        {"v1..txt", 1, false, "v1"},
        {"memo .txt", 1, true, "memo(1)"},
        {"memo .txt", 0, true, "memo(1)"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        UiScript ui;
        const std::string at = "t" + std::to_string(i);
        const std::string item = dir_.File(at + "\\in\\" + row.item, "I");
        std::vector<std::string> expected = {"in", row.folder};
        if (row.taken) {
            dir_.Folder(at + "\\memo");
            expected.insert(expected.begin() + 1, "memo");
        }
        EXPECT_EQ(Drop({item}, row.offset, false, dir_.At(at)), S_OK) << row.item;
        EXPECT_EQ(dir_.List(at), expected) << row.item;
        const std::vector<std::string> inside = row.offset == 1 ? std::vector<std::string>{row.item} : std::vector<std::string>{};
        EXPECT_EQ(dir_.List(at + "\\" + row.folder), inside) << row.item;
        EXPECT_TRUE(ui.Failures().empty()) << row.item;
    }
}

TEST_F(OrvidTest, RefusalsShowOneBoxAndMakeNothing)
{
    const std::string item = dir_.File("in\\a.txt");
    dir_.File("in\\x・.txt");   // what an invalid ANSI pair would be read as
    // A drop folder that exists, under which the item's name no longer fits.
    const std::string deepName(240 - dir_.path().size(), 'd');
    const std::string deep = dir_.Folder(deepName);
    const std::string longItem = dir_.File("in\\" + std::string(60, 'n') + ".txt");
    // A drop folder where the item's destination fits under the wanted folder name but
    // not under the "(1)" that name taken makes.
    const std::string takenName(132 - dir_.path().size() - 1, 'e');
    const std::string taken = dir_.Folder(takenName);
    dir_.File(takenName + "\\" + std::string(60, 'n'));
    struct Row { std::vector<std::string> items; UINT offset; std::string target; const char* text; };
    const Row rows[] = {
        {{item}, 1, "C:\\", ""},                             // reset below to a virtual folder
        {{}, 1, dir_.path(), "ファイルが選択されていません。"},
        {{longItem}, 0, deep, "パスが長すぎるため処理できません。"},
        {{longItem}, 1, deep, "パスが長すぎるため処理できません。"},
        {{longItem}, 1, taken, "パスが長すぎるため処理できません。"},
        {{dir_.At("in")}, 1, dir_.Folder("in\\sub"), "フォルダをそのフォルダ自身の中へ"},
        {{dir_.At("in\\x\x82\x40.txt")}, 1, dir_.path(), "指定されたファイルを認識できません。"},   // not "x・.txt"
    };
    for (const Row& row : rows) {
        UiScript ui;
        ui.ExpectBox();
        IContextMenu* menu = DropHandler(row.target, row.items);
        if (row.text[0] == '\0') {   // a second Initialize on a virtual folder forgets the first
            IShellExtInit* init = nullptr;
            menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init));
            PIDLIST_ABSOLUTE drives = nullptr;
            SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives);
            IDataObject* data = CreateDropDataObject(row.items);
            init->Initialize(drives, data, nullptr);
            data->Release();
            ILFree(drives);
            init->Release();
        }
        EXPECT_EQ(Invoke(menu, owner_, MAKEINTRESOURCEA(row.offset)), E_INVALIDARG) << row.text;
        menu->Release();
        ASSERT_EQ(ui.Boxes().size(), 1u) << row.text;
        const std::string expected = row.text[0] == '\0' ? "システム異常です。" : row.text;
        EXPECT_EQ(ui.Boxes()[0].text.substr(0, expected.size()), expected);
        EXPECT_EQ(ui.Boxes()[0].title, "Tidalon　エラー");
    }
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{deepName, takenName, "in"}));
    EXPECT_EQ(dir_.List(takenName), (std::vector<std::string>{std::string(60, 'n')}));
    EXPECT_EQ(dir_.List("in\\sub").size(), 0u);
}
