// The drop-menu handler Explorer creates when items are dropped on a folder with the
// right mouse button.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "handles.h"
#include "path_build.h"

// {A83F6E12-94C7-4B2D-8E05-1C6D72F4B9A0}
inline constexpr CLSID CLSID_OrvidDragDropExt = {
    0xA83F6E12, 0x94C7, 0x4B2D, {0x8E, 0x05, 0x1C, 0x6D, 0x72, 0xF4, 0xB9, 0xA0}};

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
