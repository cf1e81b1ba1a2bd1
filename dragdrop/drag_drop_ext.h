// The drop-menu handler Explorer creates when items are dropped on a folder with the
// right mouse button.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "common/class_ids.h"
#include "common/handles.h"
#include "common/rules/path_build.h"


class CDragDropExt final : public IContextMenu, public IShellExtInit {
public:
    // Born with one reference, held by the creator.
    CDragDropExt();

    // IUnknown: IContextMenu is the object's identity.
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

    // The dragged items; null before Initialize.
    IDataObject* Data() const { return data_.get(); }
    // File-system path of the drop folder; empty when it has none (a virtual folder).
    const char* DropFolder() const { return dropFolder_; }
    // Shift was down when this object built its menu.
    bool ShiftDown() const { return (shiftState_ & 0x8000) != 0; }

private:
    ~CDragDropExt();

    LONG refs_ = 1;
    ComPtr<IDataObject> data_;
    RegKey progIdKey_;
    char dropFolder_[kPathSize] = {};
    SHORT shiftState_ = 0;
};
