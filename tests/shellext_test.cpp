// kelmora.dll loaded as Explorer loads it: class object, handler, submenu, help texts,
// invocation and unloading.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/class_ids.h"
#include "tests/support/test_env.h"
#include "tests/support/ui_script.h"
#include "tools/support/drop_data.h"
#include "tools/support/folder_window.h"

namespace {

const CLSID kKelmora = CLSID_KelmoraShellExt;
const CLSID kOther = CLSID_OrvidDragDropExt;

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

GetClassObjectFn GetClassObject()
{
    return reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(KelmoraModule(), "DllGetClassObject")));
}

struct MenuItem {
    std::string text;   // "-" for a separator
    UINT id;
};

std::vector<MenuItem> ItemsOf(HMENU menu)
{
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info = {};
        char text[128] = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({(info.fType & MFT_SEPARATOR) ? "-" : text, info.wID});
    }
    return items;
}

std::vector<std::string> TextsOf(const std::vector<MenuItem>& items)
{
    std::vector<std::string> texts;
    for (const MenuItem& item : items) texts.push_back(item.text);
    return texts;
}

// A handler initialised with a selection, and the menu it filled.
class HandlerTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        menu_ = CreateKelmoraMenu();
        ASSERT_NE(menu_, nullptr);
        ASSERT_EQ(menu_->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init_)), S_OK);
        IDataObject* data = CreateDropDataObject({"C:\\windows\\win.ini"});
        EXPECT_EQ(init_->Initialize(nullptr, data, nullptr), S_OK);
        data->Release();
        popup_ = CreatePopupMenu();
        AppendMenuA(popup_, MF_STRING, 1, "&Open");
        AppendMenuA(popup_, MF_STRING, 2, "&Delete");
    }
    void TearDown() override
    {
        DestroyMenu(popup_);
        if (init_ != nullptr) init_->Release();
        if (menu_ != nullptr) menu_->Release();
        EXPECT_TRUE(KelmoraCanUnload());
        DeleteSettingsKey();
    }
    HRESULT Query(UINT flags = CMF_NORMAL) { return menu_->QueryContextMenu(popup_, 1, kFirst, 0x7FFF, flags); }
    HMENU Submenu() const
    {
        for (int i = 0; i < GetMenuItemCount(popup_); ++i)
            if (HMENU sub = GetSubMenu(popup_, i)) return sub;
        return nullptr;
    }

    static constexpr UINT kFirst = 100;
    IContextMenu* menu_ = nullptr;
    IShellExtInit* init_ = nullptr;
    HMENU popup_ = nullptr;
};

}  // namespace

TEST(Server, ServesOnlyItsClassAndCountsObjects)
{
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(GetClassObject()(kOther, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(GetClassObject()(kKelmora, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->AddRef(), 2u);
    EXPECT_EQ(factory->Release(), 1u);
    EXPECT_FALSE(KelmoraCanUnload());
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);

    IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IContextMenu, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersistFile, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    IContextMenu* menu = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    IUnknown* unknown = nullptr;
    IShellExtInit* init = nullptr;
    ASSERT_EQ(menu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    ASSERT_EQ(menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    EXPECT_EQ(static_cast<void*>(unknown), static_cast<void*>(init));
    EXPECT_EQ(menu->QueryInterface(IID_IExtractIconA, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(unknown->Release(), 2u);
    EXPECT_EQ(init->Release(), 1u);
    EXPECT_EQ(menu->Release(), 0u);
    EXPECT_EQ(factory->Release(), 0u);
    // LockServer kept nothing alive; refused interfaces left no object behind.
    EXPECT_TRUE(KelmoraCanUnload());

    // A factory asked for an interface it lacks is gone at once.
    EXPECT_EQ(GetClassObject()(kKelmora, IID_IContextMenu, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_TRUE(KelmoraCanUnload());
}

TEST_F(HandlerTest, DefaultLayoutBuildsTheSubmenuAndCreatesTheSettings)
{
    UiScript ui;
    const HRESULT hr = Query();
    EXPECT_TRUE(SUCCEEDED(hr));
    EXPECT_EQ(HRESULT_CODE(hr), 10);
    EXPECT_TRUE(SettingsValueExists("Archive"));   // first use wrote every default

    const std::vector<MenuItem> top = ItemsOf(popup_);
    EXPECT_EQ(TextsOf(top), (std::vector<std::string>{"&Open", "-", "Tidalon(&E)", "-", "&Delete"}));
    const std::vector<MenuItem> items = ItemsOf(Submenu());
    EXPECT_EQ(TextsOf(items), (std::vector<std::string>{"同一の拡張子を選択(&X)", "すべて選択(&L)", "-",
                                                        "クリップボードへコピー(&C)", "-", "タイムスタンプを変更(&T)",
                                                        "時差補正(&B)", "属性変更(&A)", "-", "名前を整理(&G)",
                                                        "連番で整理(&N)", "名前を置換(&E)", "-",
                                                        "書庫ファイルを検査(&I)"}));
    UINT expectedId = kFirst;
    for (const MenuItem& item : items)
        if (item.text != "-") {
            EXPECT_EQ(item.id, expectedId++) << item.text;
        }
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(HandlerTest, StoredLayoutAndHotkeysShapeTheMenu)
{
    EXPECT_EQ(HRESULT_CODE(Query()), 10);   // creates the defaults
    DestroyMenu(popup_);
    popup_ = CreatePopupMenu();

    WriteSettingsValue("Key", std::string("ZLFXURHCTBAGNEDOI"));
    WriteSettingsValue("Menu", std::vector<unsigned char>{1, 0x0B, 0x00, 0x11, 0x00});
    init_->Initialize(nullptr, nullptr, nullptr);   // drops the old submenu
    EXPECT_EQ(HRESULT_CODE(Query()), 1);
    EXPECT_EQ(TextsOf(ItemsOf(popup_)), (std::vector<std::string>{"-", "Tidalon(&Z)", "-"}));
    EXPECT_EQ(TextsOf(ItemsOf(Submenu())), (std::vector<std::string>{"名前を整理(&G)", "-", "-"}));

    // Separators only: a submenu with no command.
    DestroyMenu(popup_);
    popup_ = CreatePopupMenu();
    init_->Initialize(nullptr, nullptr, nullptr);
    WriteSettingsValue("Menu", std::vector<unsigned char>{0, 0, 0});
    EXPECT_EQ(HRESULT_CODE(Query()), 0);
    EXPECT_EQ(TextsOf(ItemsOf(Submenu())), (std::vector<std::string>{"-", "-"}));
}

TEST_F(HandlerTest, BrokenSettingsShowOneBoxAndNoMenu)
{
    EXPECT_EQ(HRESULT_CODE(Query()), 10);
    for (const auto& [name, bytes] : std::vector<std::pair<const char*, std::vector<unsigned char>>>{
             {"Menu", {1}}, {"Key", std::vector<unsigned char>(18, 'A')}}) {
        DeleteSettingsKey();
        WriteSettingsValue("Menu", std::vector<unsigned char>{0, 1});
        WriteSettingsValue("Key", std::string("ELFXURHCTBAGNEDOI"));
        WriteSettingsValue(name, bytes);
        HMENU fresh = CreatePopupMenu();
        UiScript ui;
        ui.ExpectBox();
        EXPECT_EQ(menu_->QueryContextMenu(fresh, 0, kFirst, 0x7FFF, CMF_NORMAL), S_OK) << name;
        EXPECT_EQ(GetMenuItemCount(fresh), 0) << name;
        // A layout with no entry is a fault of its own; the overlong "Key" gives the
        // platform's text.
        EXPECT_TRUE(IsOnlyErrorBox(ui, std::strcmp(name, "Menu") == 0 ? "システム異常です。" : SystemText(ERROR_MORE_DATA)))
            << name;
        EXPECT_TRUE(ui.Failures().empty());
        DestroyMenu(fresh);
    }
}

TEST_F(HandlerTest, DefaultOnlyAndVerbRequestsAddNothing)
{
    for (UINT flags : {CMF_DEFAULTONLY, CMF_VERBSONLY, CMF_NOVERBS, CMF_NODEFAULT}) {
        EXPECT_EQ(Query(flags), S_OK);
        EXPECT_EQ(GetMenuItemCount(popup_), 2);
    }
    EXPECT_FALSE(SettingsValueExists("Menu"));  // the layout was not even loaded
}

TEST_F(HandlerTest, HelpTexts)
{
    ASSERT_EQ(HRESULT_CODE(Query()), 10);
    char buffer[64];
    std::memset(buffer, 'q', sizeof buffer);
    EXPECT_EQ(menu_->GetCommandString(0, GCS_VERBA, nullptr, buffer, sizeof buffer), S_OK);
    EXPECT_EQ(buffer[0], 'q');
    EXPECT_EQ(menu_->GetCommandString(55, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer), S_OK);
    EXPECT_EQ(buffer[0], 'q');

    EXPECT_EQ(menu_->GetCommandString(0, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer), S_OK);
    EXPECT_STREQ(buffer, "選択したファイルと同一拡張子のファイルをすべて選択します。");
    std::memset(buffer, 'q', sizeof buffer);
    EXPECT_EQ(menu_->GetCommandString(9, GCS_HELPTEXTA, nullptr, buffer, 10), S_OK);
    EXPECT_EQ(std::string(buffer, 8), std::string("検出した書庫ファイルを", 7) + '\0');
    EXPECT_EQ(buffer[9], 0);
    EXPECT_EQ(buffer[10], 'q');

    wchar_t wide[64] = {};
    EXPECT_EQ(menu_->GetCommandString(8, GCS_HELPTEXTW, nullptr, reinterpret_cast<LPSTR>(wide), 64), S_OK);
    EXPECT_STREQ(wide, L"ファイル名の特定文字列を置換します。");
    wchar_t shortWide[4];
    std::fill(std::begin(shortWide), std::end(shortWide), L'q');
    menu_->GetCommandString(8, GCS_HELPTEXTW, nullptr, reinterpret_cast<LPSTR>(shortWide), 4);
    EXPECT_EQ(shortWide[3], L'\0');
}

TEST_F(HandlerTest, InvocationFetchesTheSelectionAndReleasesIt)
{
    WriteSettingsValue("Menu", std::vector<unsigned char>{0, 6, 15});   // entries with no action
    WriteSettingsValue("Key", std::string("ELFXURHCTBAGNEDOI"));
    ASSERT_EQ(HRESULT_CODE(Query()), 2);

    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = "open";
    const long before = DropDataMediaHandedOut();
    EXPECT_EQ(menu_->InvokeCommand(&info), E_INVALIDARG);
    EXPECT_EQ(DropDataMediaHandedOut(), before);   // a string verb runs nothing

    info.lpVerb = MAKEINTRESOURCEA(7);               // no entry has it
    EXPECT_EQ(menu_->InvokeCommand(&info), S_OK);
    info.lpVerb = MAKEINTRESOURCEA(0);
    EXPECT_EQ(menu_->InvokeCommand(&info), S_OK);
    info.lpVerb = MAKEINTRESOURCEA(1);
    EXPECT_EQ(menu_->InvokeCommand(&info), S_OK);
    EXPECT_EQ(DropDataMediaHandedOut(), before + 3);
    // Each medium is released before the next is fetched, the last one with the handler.
    EXPECT_EQ(DropDataMediaOutstanding(), 1);
    init_->Release();
    init_ = nullptr;
    menu_->Release();
    menu_ = nullptr;
    EXPECT_EQ(DropDataMediaOutstanding(), 0);
}

namespace {

// A string verb "open" at an address whose bits 16-31 are zero though the whole value
// is far above 0x10000, as a string may lie on x64; nullptr when no such address is free.
char* VerbAtHighAddressWithZeroLowWord()
{
    for (ULONG_PTR gigs = 4; gigs <= 256; gigs += 4) {
        void* at = VirtualAlloc(reinterpret_cast<void*>(gigs << 30), 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (at == nullptr) continue;
        if ((reinterpret_cast<ULONG_PTR>(at) & 0xFFFF0000u) == 0) {
            std::memcpy(at, "open", 5);
            return static_cast<char*>(at);
        }
        VirtualFree(at, 0, MEM_RELEASE);
    }
    return nullptr;
}

}  // namespace

TEST_F(HandlerTest, StringVerbWhoseLowWordLooksLikeAnOffsetRunsNothing)
{
    ASSERT_EQ(HRESULT_CODE(Query()), 10);
    char* verb = VerbAtHighAddressWithZeroLowWord();
    ASSERT_NE(verb, nullptr) << "no free address with bits 16-31 zero";
    const long before = DropDataMediaHandedOut();
    // Low words 0 and 1: offsets of real entries, were the low word read alone.
    for (const char* at : {verb, verb + 1}) {
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof info;
        info.lpVerb = at;
        EXPECT_EQ(menu_->InvokeCommand(&info), E_INVALIDARG) << static_cast<const void*>(at);
    }
    EXPECT_EQ(DropDataMediaHandedOut(), before);
    VirtualFree(verb, 0, MEM_RELEASE);
}

TEST_F(HandlerTest, DefaultsWrittenAfterAFailedKeyReadCarryTheDefaultLetters)
{
    EXPECT_EQ(HRESULT_CODE(Query()), 10);
    WriteSettingsValue("Key", std::string(18, 'Q'));   // too long: the read fails, the table is zeroed
    {
        UiScript ui;
        ui.ExpectBox();
        HMENU fresh = CreatePopupMenu();
        EXPECT_EQ(menu_->QueryContextMenu(fresh, 0, kFirst, 0x7FFF, CMF_NORMAL), S_OK);
        DestroyMenu(fresh);
        EXPECT_TRUE(ui.Failures().empty());
    }
    DeleteSettingsKey();   // the next build writes the defaults again
    DestroyMenu(popup_);
    popup_ = CreatePopupMenu();
    UiScript ui;
    EXPECT_EQ(HRESULT_CODE(Query()), 10);
    const std::vector<unsigned char> key = ReadSettingsValue("Key");
    EXPECT_EQ(std::string(key.begin(), key.end()), "ELFXURHCTBAGNEDOI");
    EXPECT_EQ(TextsOf(ItemsOf(popup_))[1], "Tidalon(&E)");
    EXPECT_EQ(TextsOf(ItemsOf(Submenu()))[0], "同一の拡張子を選択(&X)");
    EXPECT_TRUE(ui.Failures().empty());
}

TEST_F(HandlerTest, EachMenuBuildGetsAFreshSubmenu)
{
    ASSERT_EQ(HRESULT_CODE(Query()), 10);
    const std::vector<std::string> first = TextsOf(ItemsOf(Submenu()));
    // Explorer may destroy its menu (with the submenu in it) before it asks again, or not.
    for (bool destroyed : {true, false}) {
        SCOPED_TRACE(destroyed ? "menu destroyed" : "menu kept");
        if (destroyed) {
            DestroyMenu(popup_);
            popup_ = CreatePopupMenu();
        }
        HMENU again = CreatePopupMenu();
        EXPECT_EQ(HRESULT_CODE(menu_->QueryContextMenu(again, 0, kFirst, 0x7FFF, CMF_NORMAL)), 10);
        HMENU sub = GetSubMenu(again, 1);
        ASSERT_NE(sub, nullptr);
        EXPECT_TRUE(IsMenu(sub));
        EXPECT_EQ(TextsOf(ItemsOf(sub)), first);
        DestroyMenu(again);
    }
}

TEST_F(HandlerTest, InitializeWithoutDataDropsTheEarlierSelection)
{
    EXPECT_EQ(init_->Initialize(nullptr, nullptr, nullptr), S_OK);
    ASSERT_EQ(HRESULT_CODE(Query()), 10);
    FolderWindow window;
    const long before = DropDataMediaHandedOut();
    UiScript ui;
    ui.ExpectBox();
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.hwnd = window.frame();
    info.lpVerb = MAKEINTRESOURCEA(0);   // 同一の拡張子を選択: it needs the selection
    EXPECT_EQ(menu_->InvokeCommand(&info), S_OK);
    EXPECT_TRUE(IsOnlyErrorBox(ui, "システム異常です。"));
    EXPECT_EQ(DropDataMediaHandedOut(), before) << "the earlier data object is not asked";
    EXPECT_TRUE(ui.Failures().empty());
}
