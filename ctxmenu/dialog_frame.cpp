#include "ctxmenu/dialog_frame.h"

#include <shlobj.h>

#include <cstring>

#include "common/report.h"
#include "common/rules/path_build.h"
#include "ctxmenu/shell_ext.h"

HDROP SelectionDropOf(CShellExt* ext)
{
    HDROP drop = ext != nullptr ? ext->SelectionDrop() : nullptr;
    if (drop == nullptr) ReportFault();
    return drop;
}

HDROP GetSelectionDrop(HWND dialog)
{
    CShellExt* ext = nullptr;
    if (dialog != nullptr) ext = reinterpret_cast<CShellExt*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return SelectionDropOf(ext);
}

UINT GetSelectionCount(HWND dialog, HDROP* drop)
{
    *drop = GetSelectionDrop(dialog);
    if (*drop == nullptr) return 0;
    const UINT count = SelectedCount(*drop);
    if (count == 0) ShowErrorBox(nullptr, kMsgNoSelection);
    return count;
}

unsigned GetDlgUnsigned(HWND dialog, int id)
{
    return GetDlgItemInt(dialog, id, nullptr, FALSE);
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

int ForEachSelectedPath(HDROP drop, HWND dialog, ItemWork work, void* context)
{
    // One pass over the list, however large the selection.
    SelectionCursor cursor(drop);
    if (cursor.Count() == 0) {
        ShowErrorBox(nullptr, kMsgNoSelection);
        return 0;
    }
    char path[kPathSize];
    for (int read; (read = cursor.Next(path)) >= 0;) {
        if (read == 0) {
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
    SHChangeNotify(SHCNE_ASSOCCHANGED, kChangeNotifyFlags, nullptr, nullptr);
    return 1;
}

void StoreDialogContext(HWND dialog, LPARAM initParam)
{
    SetWindowLongPtrA(dialog, DWLP_USER, initParam);
}

namespace {

// Marks the dialog busy for the life of a run or a save. The mark is a window property,
// so each open dialog has its own.
constexpr char kBusyProperty[] = "TidalonBusy";

class BusyMark {
public:
    explicit BusyMark(HWND dialog) : dialog_(dialog), set_(SetPropA(dialog, kBusyProperty, dialog) != FALSE) {}
    ~BusyMark()
    {
        if (set_) RemovePropA(dialog_, kBusyProperty);
    }
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;

private:
    HWND dialog_;
    bool set_;
};

bool IsBusy(HWND dialog) { return GetPropA(dialog, kBusyProperty) != nullptr; }

}  // namespace

BOOL HandleFrameCommand(HWND dialog, WORD id, const DialogCommands& commands)
{
    switch (id) {
    case IDOK: {
        if (IsBusy(dialog)) return TRUE;
        {
            BusyMark busy(dialog);
            if (commands.run != nullptr) commands.run(dialog);
        }
        // The dialog closes after a run whatever came of it; failures have been shown.
        EndDialog(dialog, 1);
        return TRUE;
    }
    case IDCANCEL:
        if (IsBusy(dialog)) return TRUE;
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_VERSION:
        ShowAboutBox(dialog);
        return TRUE;
    case IDC_DEFAULT: {
        if (IsBusy(dialog)) return TRUE;
        BusyMark busy(dialog);
        if (commands.save != nullptr) commands.save(dialog);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
