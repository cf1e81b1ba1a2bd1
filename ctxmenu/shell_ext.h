// The context-menu handler Explorer creates for every right click on files and folders.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "common/com_server.h"
#include "common/handles.h"
#include "common/rules/option_blocks.h"

// IUnknown answers with IShellExtInit.
class CShellExt final : public ShellMenuHandler {
public:
    CShellExt();

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
    ComPtr<IDataObject> data_;
    StgMedium selection_;
    MenuHandle submenu_;
    unsigned char offsets_[kCatalogueSize];
};
