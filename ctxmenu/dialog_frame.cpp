#include "dialog_frame.h"

#include <shlobj.h>

#include <cstring>

#include "path_build.h"
#include "settings.h"
#include "shell_ext.h"

HDROP SelectionDropOf(CShellExt* ext)
{
    HDROP drop = ext != nullptr ? ext->SelectionDrop() : nullptr;
    if (drop == nullptr) ShowErrorBox(nullptr, kMsgSystemFault);
    return drop;
}

HDROP GetSelectionDrop(HWND dialog)
{
    CShellExt* ext = nullptr;
    if (dialog != nullptr) ext = reinterpret_cast<CShellExt*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return SelectionDropOf(ext);
}

int GetCheck(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void SetCheck(HWND dialog, int id, int flag)
{
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, flag == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int EnableDlgItem(HWND dialog, int id, int flag)
{
    EnableWindow(GetDlgItem(dialog, id), flag == 1 ? TRUE : FALSE);
    return 1;
}

UINT SelectedCount(HDROP drop)
{
    // An empty or foreign block holds no list; asking the shell to count it would read
    // past its end.
    if (drop == nullptr || GlobalSize(drop) < sizeof(DROPFILES)) return 0;
    return DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
}

int QuerySelectedPath(HDROP drop, UINT index, char* path)
{
    if (path == nullptr) return 0;
    std::memset(path, 0, kPathSize);
    if (drop == nullptr) return 0;
    // A name that would not fit whole is not read at all: a cut path names another item.
    const UINT length = DragQueryFileA(drop, index, nullptr, 0);
    if (length == 0 || length >= kPathSize) return 0;
    if (DragQueryFileA(drop, index, path, static_cast<UINT>(kPathSize)) == 0) {
        std::memset(path, 0, kPathSize);
        return 0;
    }
    return 1;
}

int ForEachSelectedPath(HDROP drop, HWND dialog, ItemWork work, void* context)
{
    const UINT count = SelectedCount(drop);
    if (count == 0) {
        ShowErrorBox(nullptr, kMsgNoSelection);
        return 0;
    }
    char path[kPathSize];
    for (UINT i = 0; i < count; ++i) {
        if (!QuerySelectedPath(drop, i, path)) {
            ShowErrorBox(nullptr, kMsgUnreadablePath);
            return 0;
        }
        if (!work(dialog, path, context)) return 0;
    }
    return 1;
}

int RunOverSelection(HWND dialog, ItemWork work, void* context)
{
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    if (!ForEachSelectedPath(drop, dialog, work, context)) return 0;
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSHNOWAIT, nullptr, nullptr);
    return 1;
}

void StoreDialogContext(HWND dialog, LPARAM initParam)
{
    SetWindowLongPtrA(dialog, DWLP_USER, initParam);
}

BOOL HandleFrameCommand(HWND dialog, WORD id, const DialogCommands& commands)
{
    switch (id) {
    case IDOK:
        // The dialog closes after a run whatever came of it; failures have been shown.
        if (commands.run != nullptr) commands.run(dialog);
        EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case kIdVersion:
        ShowAboutBox(dialog);
        return TRUE;
    case kIdDefault:
        if (commands.save != nullptr) commands.save(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}
