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

private:
    // Shift was down when this object built its menu.
    bool ShiftDown() const { return (shiftState_ & 0x8000) != 0; }
    // Command `offset` on this object's drop: 1, or 0 after the failure was shown.
    int RunCommand(UINT_PTR offset, HWND owner) const;

    ComPtr<IDataObject> data_;    // the dragged items; null before Initialize
    RegKey progIdKey_;
    char dropFolder_[kPathSize] = {};   // empty when it has no file-system path (a virtual folder)
    SHORT shiftState_ = 0;
};
