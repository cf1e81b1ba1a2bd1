// The context-menu handler Explorer creates for every right click on files and folders.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "handles.h"
#include "option_blocks.h"

// {5D0C2A71-3B8E-4F19-A6C2-7E41B09D3F58}
inline constexpr CLSID CLSID_KelmoraShellExt = {
    0x5D0C2A71, 0x3B8E, 0x4F19, {0xA6, 0xC2, 0x7E, 0x41, 0xB0, 0x9D, 0x3F, 0x58}};

class CShellExt final : public IContextMenu, public IShellExtInit {
public:
    CShellExt();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT idCmdFirst, UINT idCmdLast,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(LPCMINVOKECOMMANDINFO info) override;
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, LPSTR buffer,
                                  UINT size) override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

    // The HDROP of the selection, fetched at the last InvokeCommand; null when none.
    HDROP SelectionDrop() const;

private:
    ~CShellExt();

    LONG refs_ = 0;
    ComPtr<IDataObject> data_;
    StgMedium selection_;
    MenuHandle submenu_;
    unsigned char offsets_[kCatalogueSize];
};
