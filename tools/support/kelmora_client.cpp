#include "tools/support/kelmora_client.h"

#include <cstdio>
#include <cstring>

#include "common/class_ids.h"
#include "common/rules/menu_model.h"

namespace {

constexpr UINT kFirstId = 1;

template <typename Fn>
Fn Export(const char* name)
{
    HMODULE module = KelmoraModule();
    return module != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Catalogue text up to its access-key marker, the part that stays whatever the letter.
std::string StemOf(const char* text)
{
    const char* marker = std::strstr(text, "(&");
    return marker != nullptr ? std::string(text, static_cast<size_t>(marker - text)) : std::string(text);
}

}  // namespace

HMODULE KelmoraModule()
{
    static HMODULE module = LoadLibraryA(TIDALON_DIST_DIR "\\kelmora.dll");
    return module;
}

IContextMenu* CreateKelmoraMenu(HMODULE module)
{
    static const CLSID clsid = CLSID_KelmoraShellExt;
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    static const auto buildsOwn = Export<GetClassObjectFn>("DllGetClassObject");
    const auto getClassObject =
        module == nullptr ? buildsOwn
                          : reinterpret_cast<GetClassObjectFn>(
                                reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (getClassObject == nullptr) return nullptr;
    ComPtr<IClassFactory> factory;
    if (FAILED(getClassObject(clsid, IID_IClassFactory, factory.put_void()))) return nullptr;
    IContextMenu* menu = nullptr;
    if (FAILED(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)))) return nullptr;
    return menu;
}

bool KelmoraCanUnload()
{
    using CanUnloadFn = HRESULT(WINAPI*)();
    static const auto canUnload = Export<CanUnloadFn>("DllCanUnloadNow");
    return canUnload != nullptr && canUnload() == S_OK;
}

KelmoraMenu::KelmoraMenu(IDataObject* data, HMODULE module) : status_(Build(data, module)) {}

KelmoraMenu::~KelmoraMenu()
{
    menu_.Reset();
    if (popup_ != nullptr) DestroyMenu(popup_);
}

HRESULT KelmoraMenu::Build(IDataObject* data, HMODULE module)
{
    *menu_.put() = CreateKelmoraMenu(module);
    if (!menu_) return Fail("kelmora.dll made no handler", E_NOINTERFACE);
    ComPtr<IShellExtInit> init;
    HRESULT hr = menu_->QueryInterface(IID_IShellExtInit, init.put_void());
    if (FAILED(hr)) return Fail("no IShellExtInit", hr);
    if (FAILED(hr = init->Initialize(nullptr, data, nullptr))) return Fail("Initialize failed", hr);
    popup_ = CreatePopupMenu();
    if (FAILED(hr = menu_->QueryContextMenu(popup_, 0, kFirstId, 0x7FFF, CMF_NORMAL)))
        return Fail("QueryContextMenu failed", hr);
    return S_OK;
}

HRESULT KelmoraMenu::Fail(const char* step, HRESULT hr)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s: 0x%08lX", step, static_cast<unsigned long>(hr));
    failure_ = text;
    return hr;
}

HMENU KelmoraMenu::submenu() const
{
    return popup_ != nullptr ? GetSubMenu(popup_, 1) : nullptr;
}

HRESULT KelmoraMenu::Invoke(unsigned index, HWND owner)
{
    if (FAILED(status_)) return status_;
    HMENU sub = submenu();
    const std::string wanted = StemOf(kCatalogue[index]);
    for (int i = 0; sub != nullptr && i < GetMenuItemCount(sub); ++i) {
        char text[128] = {};
        GetMenuStringA(sub, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        if (text[0] == '\0' || StemOf(text) != wanted) continue;
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof info;
        info.hwnd = owner;
        info.lpVerb = MAKEINTRESOURCEA(GetMenuItemID(sub, i) - kFirstId);
        info.nShow = SW_SHOWNORMAL;
        return menu_->InvokeCommand(&info);
    }
    failure_ = "entry " + std::to_string(index) + " is not in the menu";
    return E_FAIL;
}
