// Time-difference correction ("時差補正(&B)", command 9, dialog 145): moves the modification time of
// every selected file by a fixed offset, later or earlier. Creation and last-access
// times stay; folders are passed over.
#include <shlwapi.h>
#include <commctrl.h>


#include "common/handles.h"
#include "common/report.h"
#include "common/selection.h"
#include "common/resource_ids.h"
#include "common/rules/path_build.h"
#include "common/settings_store.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/file_times.h"
#include "ctxmenu/item_line.h"
#include "ctxmenu/rules/revise_rule.h"
#include "ctxmenu/rules/time_rule.h"

namespace {

constexpr char kMsgOutOfRange[] = "補正後の日時がファイルの日時として扱える範囲を超えるため、補正できません。\n";


int InitReviseDialog(HWND dialog)
{
    HDROP drop = nullptr;
    const UINT count = GetSelectionCount(dialog, &drop);
    if (count == 0) return 0;
    if (count == 1) {
        char path[kPathSize];
        if (!ReadFirstSelected(drop, path)) {
            ShowErrorBox(nullptr, kMsgUnreadablePath);
            return 0;
        }
        SetItemIcon(dialog, IDC_REVISE_ICON, path);
        PathSetDlgItemPathA(dialog, IDC_REVISE_ITEM, path);
    } else {
        ShowItemCount(dialog, IDC_REVISE_ITEM, count);
    }
    SendDlgItemMessageA(dialog, IDC_REVISE_HOURS_UD, UDM_SETRANGE, 0, MAKELPARAM(9999, 0));
    SendDlgItemMessageA(dialog, IDC_REVISE_MINUTES_UD, UDM_SETRANGE, 0, MAKELPARAM(59, 0));
    SendDlgItemMessageA(dialog, IDC_REVISE_SECONDS_UD, UDM_SETRANGE, 0, MAKELPARAM(59, 0));
    SetCheck(dialog, IDC_REVISE_LATER, 1);
    LoadBlock(dialog, BlockOf(OptionBlockId::Revise));
    return 1;
}

// The shift of one run, worked out once from the dialog.
struct Shift {
    bool usable;   // false: the offset exceeds every file time
    std::uint64_t offset;
    bool earlier;
};

// The shift of a file time that cannot take it: a folder is passed over whatever its
// time; a file never gets a wrapped time.
int RefuseShift(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 1;
    ShowPathMessage(kMsgOutOfRange, path);
    return 0;
}

// The item the one handle of the quick way cannot take (a folder, an item that
// vanished, one in use or read-only), looked up by its path.
int ReviseByPath(const Shift& shift, const char* path)
{
    FILETIME written = kNoFileTime;
    if (!GetFileTimes(path, nullptr, &written)) return 0;
    // Nothing found for the path: it vanished after the selection was made.
    if (IsNoFileTime(written)) return 1;
    std::uint64_t shifted = 0;
    if (!shift.usable || !ShiftFileTime(FileTimeUnits(written), shift.offset, shift.earlier, &shifted))
        return RefuseShift(path);
    const FILETIME newTime = FileTimeFromUnits(shifted);
    return SetFileTimes(path, nullptr, &newTime);
}

// One file: its modification time read and moved through one handle, which opens only a
// file whose times may be set; anything else goes the way of ReviseByPath.
int ReviseItem(WalkItem& item, void* context)
{
    const Shift& shift = *static_cast<const Shift*>(context);
    FileHandle file(CreateFileA(item.path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return ReviseByPath(shift, item.path);
    FILETIME written;
    if (!GetFileTime(file.get(), nullptr, nullptr, &written)) {
        ReportLastError();
        return 0;
    }
    std::uint64_t shifted = 0;
    if (!shift.usable || !ShiftFileTime(FileTimeUnits(written), shift.offset, shift.earlier, &shifted)) {
        file.Reset();
        return RefuseShift(item.path);
    }
    const FILETIME newTime = FileTimeFromUnits(shifted);
    if (!SetFileTime(file.get(), nullptr, nullptr, &newTime)) {
        ReportLastError();
        return 0;
    }
    return CloseReporting(file);
}

int RunRevise(HWND dialog)
{
    Shift shift{};
    shift.usable = ReviseOffset(GetDlgUnsigned(dialog, IDC_REVISE_HOURS), GetDlgUnsigned(dialog, IDC_REVISE_MINUTES),
                                GetDlgUnsigned(dialog, IDC_REVISE_SECONDS), &shift.offset);
    // Later unless "遅らす" is ticked, also when neither button is.
    shift.earlier = GetCheck(dialog, IDC_REVISE_EARLIER) == 1;
    return RunOverSelection(dialog, WalkRules{false, EntryFailure::StopsRun}, ReviseItem, &shift);
}

}  // namespace

INT_PTR CALLBACK ReviseDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreInvocation(dialog, lParam);
        InitReviseDialog(dialog);
        return TRUE;
    case WM_DESTROY:
        ReleaseItemIcon(dialog, IDC_REVISE_ICON);
        return TRUE;
    case WM_COMMAND:
        HandleFrameCommand(dialog, LOWORD(wParam), DialogCommands{RunRevise, BlockOf(OptionBlockId::Revise)});
        return TRUE;
    default:
        return FALSE;
    }
}
