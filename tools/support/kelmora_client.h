// kelmora.dll of the build, used as Explorer uses it: the class object through
// DllGetClassObject, a handler from it, Initialize with a CF_HDROP data object,
// QueryContextMenu into a popup and InvokeCommand of one of its entries. The tests and
// the benchmarks both go through here.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "common/handles.h"

// kelmora.dll from the build's dist folder, loaded once for the process; nullptr when
// it is missing.
HMODULE KelmoraModule();
// A new handler through DllGetClassObject / CreateInstance, as COM would make one, of
// the build's kelmora.dll or of the copy `module`; nullptr when a step fails.
IContextMenu* CreateKelmoraMenu(HMODULE module = nullptr);
// The object count: DllCanUnloadNow() == S_OK.
bool KelmoraCanUnload();

// One right click: a new handler (of `module`, as CreateKelmoraMenu) initialised with
// `data` (nullptr: with none, as for a folder background) that has built its menu into
// a popup of its own, ids from 1. The handler is released, then the popup destroyed,
// when this goes.
class KelmoraMenu {
public:
    explicit KelmoraMenu(IDataObject* data, HMODULE module = nullptr);
    ~KelmoraMenu();
    KelmoraMenu(const KelmoraMenu&) = delete;
    KelmoraMenu& operator=(const KelmoraMenu&) = delete;

    // S_OK once the menu is built, else the HRESULT of the step that failed.
    HRESULT status() const { return status_; }
    // What failed last (a step of the right click, an entry not in the menu); empty if
    // nothing did.
    const std::string& failure() const { return failure_; }
    // The submenu the handler made, or nullptr.
    HMENU submenu() const;
    // InvokeCommand of the entry with catalogue index `index`, found in the submenu by
    // its text whatever its access letter, with `owner` as window. E_FAIL when the entry
    // is not in the menu; status() when the menu was not built.
    HRESULT Invoke(unsigned index, HWND owner = nullptr);

private:
    HRESULT Build(IDataObject* data, HMODULE module);
    HRESULT Fail(const char* step, HRESULT hr);   // names the step; gives `hr`

    ComPtr<IContextMenu> menu_;
    HMENU popup_ = nullptr;
    std::string failure_;
    HRESULT status_;
};
