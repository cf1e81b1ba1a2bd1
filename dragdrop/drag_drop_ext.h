// The drop-menu handler Explorer creates when items are dropped on a folder with the
// right mouse button.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "common/com_server.h"
#include "common/handles.h"
#include "common/rules/path_build.h"


// IUnknown answers with IContextMenu, the object's identity.
class CDragDropExt final : public ShellMenuHandler {
public:
    CDragDropExt();

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT idCmdFirst, UINT idCmdLast,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(LPCMINVOKECOMMANDINFO info) override;
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, LPSTR buffer,
                                  UINT size) override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

    // The dragged items; null before Initialize.
    IDataObject* Data() const { return data_.get(); }
    // File-system path of the drop folder; empty when it has none (a virtual folder).
    const char* DropFolder() const { return dropFolder_; }
    // Shift was down when this object built its menu.
    bool ShiftDown() const { return (shiftState_ & 0x8000) != 0; }

private:
    ComPtr<IDataObject> data_;
    RegKey progIdKey_;
    char dropFolder_[kPathSize] = {};
    SHORT shiftState_ = 0;
};
