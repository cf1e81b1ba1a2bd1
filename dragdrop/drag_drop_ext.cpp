#include "dragdrop/drag_drop_ext.h"

#include "common/exact_text.h"
#include "common/menu_layout.h"
#include "common/report.h"
#include "common/settings_store.h"
#include "dragdrop/commands/drop_commands.h"

namespace {

struct DropCommand {
    const char* texts[2];   // menu text: Shift up, Shift down
    int (*run)(const DropInvocation& drop);
};

// By command offset.
constexpr DropCommand kCommands[] = {
    {{"この名前でフォルダを作成(&N)", "この名前でフォルダ構造をコピー(&N)"}, CreateNamedFolder},
    {{"ここにフォルダを作成してコピー(&F)", "ここにフォルダを作成して移動(&F)"}, TransferToNewFolder},
};
constexpr UINT kCommandCount = sizeof kCommands / sizeof kCommands[0];

HRESULT CommandsUsed(UINT count)
{
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, count);
}

// The dragged items (CF_HDROP) of `data` in `medium`; null, after "システム異常です。"
// was shown, when there is no data object, it gives no CF_HDROP, or the medium holds no
// HDROP.
HDROP FetchDroppedItems(IDataObject* data, StgMedium& medium)
{
    if (data == nullptr) {
        ReportFault();
        return nullptr;
    }
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (FAILED(data->GetData(&format, medium.put()))) {
        medium.Forget();
        ReportFault();
        return nullptr;
    }
    if (medium.get().tymed != TYMED_HGLOBAL || medium.get().hGlobal == nullptr) {
        medium.Reset();
        ReportFault();
        return nullptr;
    }
    return static_cast<HDROP>(medium.get().hGlobal);
}

}  // namespace

CDragDropExt::CDragDropExt() : ShellMenuHandler(Identity::ContextMenu) {}

STDMETHODIMP CDragDropExt::Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId)
{
    // Nothing of an earlier drop survives: a drop folder without a path must not act on
    // the previous one.
    data_.Reset();
    progIdKey_.Close();
    dropFolder_[0] = '\0';

    data_.Assign(data);
    if (progId != nullptr) {
        if (RegOpenKeyExA(progId, nullptr, 0, MAXIMUM_ALLOWED, progIdKey_.put()) != ERROR_SUCCESS)
            progIdKey_.release();
    }
    if (folder != nullptr) {
        // Read wide and kept only in its exact code page 932 form: a "?" or a "\" made
        // from a character the code page lacks would name another folder.
        wchar_t wide[MAX_PATH] = {};
        if (SHGetPathFromIDListW(folder, wide)) WideToAnsiExact(wide, dropFolder_, sizeof dropFolder_);
        else dropFolder_[0] = '\0';
    }
    return S_OK;
}

STDMETHODIMP CDragDropExt::QueryContextMenu(HMENU menu, UINT position, UINT idCmdFirst, UINT, UINT)
{
    BYTE* layout = nullptr;
    DWORD length = 0;
    if (!LoadMenuLayout(&layout, &length)) return CommandsUsed(0);
    GlobalMemory layoutBlock(layout);
    if (layout[0] != 1) return CommandsUsed(0);

    // The state is kept with this object, which acts on it.
    shiftState_ = GetAsyncKeyState(VK_SHIFT);
    const int variant = ShiftDown() ? 1 : 0;
    for (UINT offset = 0; offset < kCommandCount; ++offset) {
        InsertMenuA(menu, position + offset, MF_BYPOSITION | MF_STRING, idCmdFirst + offset,
                    kCommands[offset].texts[variant]);
    }
    InsertMenuA(menu, position + kCommandCount, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    return CommandsUsed(kCommandCount);
}

STDMETHODIMP CDragDropExt::InvokeCommand(LPCMINVOKECOMMANDINFO info)
{
    if (info == nullptr) return E_INVALIDARG;
    // Only a menu offset runs a command. On x64 a string verb's pointer may have zero
    // bits 16-31; the whole value decides, never its high word.
    if (!IS_INTRESOURCE(info->lpVerb)) return E_INVALIDARG;
    const UINT_PTR offset = reinterpret_cast<UINT_PTR>(info->lpVerb);
    if (offset >= kCommandCount) return E_INVALIDARG;

    // The shell's file operation runs message loops of its own, in which Explorer may
    // let go of the handler.
    AddRef();
    const int done = RunCommand(offset, info->hwnd);
    Release();
    return done ? S_OK : E_INVALIDARG;
}

int CDragDropExt::RunCommand(UINT_PTR offset, HWND owner) const
{
    // The medium is released once, when the command has ended.
    StgMedium medium;
    const HDROP items = FetchDroppedItems(data_.get(), medium);
    if (items == nullptr) return 0;
    if (dropFolder_[0] == '\0') {   // a drop on a virtual folder
        ReportFault();
        return 0;
    }
    const DropInvocation drop = {owner, items, dropFolder_, ShiftDown()};
    return kCommands[offset].run(drop);
}

STDMETHODIMP CDragDropExt::GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT)
{
    // The items have no help text and no verb.
    return S_OK;
}
