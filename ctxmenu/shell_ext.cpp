#include "ctxmenu/shell_ext.h"

#include <cstring>
#include <memory>
#include <new>

#include "common/menu_layout.h"
#include "common/report.h"
#include "common/rules/menu_model.h"
#include "ctxmenu/command_table.h"

CShellExt::CShellExt() : ShellMenuHandler(Identity::ShellExtInit)
{
    std::memset(offsets_, kNoOffset, sizeof offsets_);
}

HDROP CShellExt::SelectionDrop() const
{
    return selection_.get().tymed == TYMED_HGLOBAL ? static_cast<HDROP>(selection_.get().hGlobal) : nullptr;
}

STDMETHODIMP CShellExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY)
{
    // Nothing of an earlier selection survives a new one.
    selection_.Reset();
    submenu_.Reset();
    data_.Assign(data);
    return S_OK;
}

STDMETHODIMP CShellExt::QueryContextMenu(HMENU menu, UINT position, UINT idCmdFirst, UINT, UINT flags)
{
    if (flags & (CMF_DEFAULTONLY | CMF_VERBSONLY | CMF_NOVERBS | CMF_NODEFAULT))
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);

    BYTE* layout = nullptr;
    DWORD length = 0;
    // The letters of this build: another Explorer thread may read "Key" at the same time.
    unsigned char hotkeys[kHotkeyTableSize];
    if (!LoadMenuLayout(&layout, &length, hotkeys)) return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);

    GlobalMemory layoutBlock(layout);
    std::unique_ptr<MenuModelEntry[]> entries(new (std::nothrow) MenuModelEntry[length]);
    if (!entries) {
        ShowErrorBox(nullptr, kMsgNoMemory);
        return E_OUTOFMEMORY;
    }
    const MenuModel model = BuildMenuModel(layout, length, hotkeys, kHotkeyTableSize, entries.get(), length);
    layoutBlock.Close();

    // Every menu build gets a submenu of its own: Explorer destroys the one it was
    // given with its context menu, and a second build must not add to the first.
    submenu_.Reset(CreatePopupMenu());
    if (!submenu_.valid()) {
        ReportLastError();
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
    }
    std::memcpy(offsets_, model.offsets, sizeof offsets_);

    char top[sizeof kTopItemText];
    SubstituteHotkey(kTopItemText, "&E", static_cast<char>(hotkeys[0]), top, sizeof top);
    InsertMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(menu, position + 1, MF_BYPOSITION | MF_POPUP | MF_STRING,
                reinterpret_cast<UINT_PTR>(submenu_.get()), top);
    InsertMenuA(menu, position + 2, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);

    UINT p = 0;
    for (std::size_t i = 0; i < model.count; ++i, ++p) {
        const MenuModelEntry& e = entries[i];
        if (e.separator) {
            InsertMenuA(submenu_.get(), p, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        } else {
            InsertMenuA(submenu_.get(), p, MF_BYPOSITION | MF_STRING, idCmdFirst + offsets_[e.index], e.text);
        }
    }
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, static_cast<USHORT>(model.commands));
}

STDMETHODIMP CShellExt::InvokeCommand(LPCMINVOKECOMMANDINFO info)
{
    if (info == nullptr) return E_INVALIDARG;
    // Only a menu offset runs a command. On x64 a string verb's pointer may have zero
    // bits 16-31; the whole value decides, never its low word.
    if (!IS_INTRESOURCE(info->lpVerb)) return E_INVALIDARG;

    // The medium of the previous invocation goes before the new one is fetched.
    selection_.Reset();
    if (data_) {
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        if (FAILED(data_->GetData(&format, selection_.put()))) selection_.Forget();
    }
    const unsigned index = IndexForOffset(offsets_, LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)));
    if (index == 0) return S_OK;

    // The command may release the last outside reference through a nested message loop.
    AddRef();
    const Invocation invocation{info->hwnd, SelectionDrop()};
    RunCommand(index, invocation);
    Release();
    return S_OK;
}

STDMETHODIMP CShellExt::GetCommandString(UINT_PTR offset, UINT type, UINT*, LPSTR buffer, UINT size)
{
    const unsigned index = IndexForOffset(offsets_, static_cast<unsigned>(offset));
    if (index == 0 || buffer == nullptr) return S_OK;
    const char* help = CommandFor(index).help;
    if (type == GCS_HELPTEXTA) {
        if (size == 0) return S_OK;
        std::memset(buffer, 0, size);
        if (size > 2) lstrcpynA(buffer, help, static_cast<int>(size - 2));
    } else if (type == GCS_HELPTEXTW) {
        if (size == 0) return S_OK;
        LPWSTR wide = reinterpret_cast<LPWSTR>(buffer);
        // A buffer too short for the whole text still ends in a terminator.
        if (MultiByteToWideChar(CP_ACP, 0, help, -1, wide, static_cast<int>(size)) == 0) wide[size - 1] = L'\0';
    }
    return S_OK;
}
