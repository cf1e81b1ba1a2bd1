#include "shell_ext.h"

#include <cstring>
#include <vector>

#include "command_table.h"
#include "menu_model.h"
#include "module.h"
#include "settings.h"

CShellExt::CShellExt()
{
    std::memset(&selection_, 0, sizeof selection_);
    std::memset(offsets_, kNoOffset, sizeof offsets_);
    AddObject();
}

CShellExt::~CShellExt()
{
    ReleaseSelection();
    if (data_ != nullptr) data_->Release();
    DestroySubmenu();
    RemoveObject();
}

void CShellExt::ReleaseSelection()
{
    if (selection_.tymed != TYMED_NULL) ReleaseStgMedium(&selection_);
    std::memset(&selection_, 0, sizeof selection_);
}

void CShellExt::DestroySubmenu()
{
    // Explorer destroys its context menu with every popup in it, ours included; the
    // handle may already be gone.
    if (submenu_ != nullptr && IsMenu(submenu_)) DestroyMenu(submenu_);
    submenu_ = nullptr;
}

HDROP CShellExt::SelectionDrop() const
{
    return selection_.tymed == TYMED_HGLOBAL ? static_cast<HDROP>(selection_.hGlobal) : nullptr;
}

STDMETHODIMP CShellExt::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IShellExtInit) || IsEqualIID(riid, IID_IUnknown)) {
        *ppv = static_cast<IShellExtInit*>(this);
    } else if (IsEqualIID(riid, IID_IContextMenu)) {
        *ppv = static_cast<IContextMenu*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CShellExt::AddRef()
{
    return static_cast<ULONG>(++refs_);
}

STDMETHODIMP_(ULONG) CShellExt::Release()
{
    const ULONG left = static_cast<ULONG>(--refs_);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP CShellExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY)
{
    if (data_ != nullptr) {
        data_->Release();
        data_ = nullptr;
    }
    DestroySubmenu();
    data_ = data;
    if (data_ != nullptr) data_->AddRef();
    return S_OK;
}

STDMETHODIMP CShellExt::QueryContextMenu(HMENU menu, UINT position, UINT idCmdFirst, UINT, UINT flags)
{
    if (flags & (CMF_DEFAULTONLY | CMF_VERBSONLY | CMF_NOVERBS | CMF_NODEFAULT))
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);

    BYTE* layout = nullptr;
    DWORD length = 0;
    if (!LoadMenuLayout(&layout, &length)) return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);

    std::vector<MenuModelEntry> entries(length);
    const MenuModel model = BuildMenuModel(layout, length, HotkeyTable(), kHotkeyTableSize, entries.data(),
                                           entries.size());
    GlobalFree(layout);
    std::memcpy(offsets_, model.offsets, sizeof offsets_);

    if (submenu_ == nullptr) submenu_ = CreatePopupMenu();

    char top[sizeof kTopItemText];
    SubstituteHotkey(kTopItemText, "&E", static_cast<char>(HotkeyTable()[0]), top, sizeof top);
    InsertMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(menu, position + 1, MF_BYPOSITION | MF_POPUP | MF_STRING,
                reinterpret_cast<UINT_PTR>(submenu_), top);
    InsertMenuA(menu, position + 2, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);

    UINT p = 0;
    for (std::size_t i = 0; i < model.count; ++i, ++p) {
        const MenuModelEntry& e = entries[i];
        if (e.separator) {
            InsertMenuA(submenu_, p, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        } else {
            InsertMenuA(submenu_, p, MF_BYPOSITION | MF_STRING, idCmdFirst + offsets_[e.index], e.text);
        }
    }
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, static_cast<USHORT>(model.commands));
}

STDMETHODIMP CShellExt::InvokeCommand(LPCMINVOKECOMMANDINFO info)
{
    if (info == nullptr) return E_INVALIDARG;
    if (HIWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0) return E_INVALIDARG;

    if (data_ != nullptr) {
        // The medium of the previous invocation goes before the new one is fetched.
        ReleaseSelection();
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        if (FAILED(data_->GetData(&format, &selection_))) std::memset(&selection_, 0, sizeof selection_);
    }
    const unsigned index = IndexForOffset(offsets_, LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)));
    if (index == 0) return S_OK;

    // The command may release the last outside reference through a nested message loop.
    AddRef();
    RunCommand(index, info->hwnd, this);
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
