// Time-difference correction (command 9, dialog 145): moves the modification time of
// every selected file by a fixed offset, later or earlier. Creation and last-access
// times stay; folders are passed over.
#include <shlwapi.h>
#include <commctrl.h>


#include "common/report.h"
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

constexpr char kBlockName[] = "Revise";
constexpr char kMsgOutOfRange[] = "補正後の日時がファイルの日時として扱える範囲を超えるため、補正できません。\n";


int LoadReviseOptions(HWND dialog)
{
    unsigned char block[kReviseBlockSize];
    if (!ReadSettingsBlock(kBlockName, block, sizeof block)) return 0;
    const ReviseOptions options = DecodeReviseBlock(block);
    SetDlgItemInt(dialog, IDC_REVISE_HOURS, options.hours, FALSE);
    SetDlgItemInt(dialog, IDC_REVISE_MINUTES, options.minutes, FALSE);
    SetDlgItemInt(dialog, IDC_REVISE_SECONDS, options.seconds, FALSE);
    SetCheck(dialog, IDC_REVISE_LATER, options.later);
    SetCheck(dialog, IDC_REVISE_EARLIER, options.earlier);
    return 1;
}

int SaveReviseOptions(HWND dialog)
{
    const ReviseOptions options = {GetDlgUnsigned(dialog, IDC_REVISE_HOURS), GetDlgUnsigned(dialog, IDC_REVISE_MINUTES),
                                   GetDlgUnsigned(dialog, IDC_REVISE_SECONDS), GetCheck(dialog, IDC_REVISE_LATER),
                                   GetCheck(dialog, IDC_REVISE_EARLIER)};
    unsigned char block[kReviseBlockSize];
    EncodeReviseBlock(options, block);
    return WriteSettingsBlock(kBlockName, block, sizeof block);
}

int InitReviseDialog(HWND dialog)
{
    HDROP drop = nullptr;
    const UINT count = GetSelectionCount(dialog, &drop);
    if (count == 0) return 0;
    if (count == 1) {
        char path[kPathSize];
        if (!QuerySelectedPath(drop, 0, path)) {
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
    LoadReviseOptions(dialog);
    return 1;
}

// The shift of one run, worked out once from the dialog.
struct Shift {
    bool usable;   // false: the offset exceeds every file time
    std::uint64_t offset;
    bool earlier;
};

std::uint64_t ToUnits(const FILETIME& t)
{
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

int ReviseItem(HWND, const char* path, void* context)
{
    const Shift& shift = *static_cast<const Shift*>(context);
    FILETIME written = kNoFileTime;
    if (!GetFileTimes(path, nullptr, &written)) return 0;
    // Nothing found for the path: it vanished after the selection was made.
    if (IsNoFileTime(written)) return 1;
    std::uint64_t shifted = 0;
    if (!shift.usable || !ShiftFileTime(ToUnits(written), shift.offset, shift.earlier, &shifted)) {
        // A folder is passed over whatever its time; a file never gets a wrapped time.
        const DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 1;
        ShowPathMessage(kMsgOutOfRange, path);
        return 0;
    }
    const FILETIME newTime = {static_cast<DWORD>(shifted & 0xFFFFFFFF), static_cast<DWORD>(shifted >> 32)};
    return SetFileTimes(path, nullptr, &newTime);
}

int RunRevise(HWND dialog)
{
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    Shift shift{};
    shift.usable = ReviseOffset(GetDlgUnsigned(dialog, IDC_REVISE_HOURS), GetDlgUnsigned(dialog, IDC_REVISE_MINUTES),
                                GetDlgUnsigned(dialog, IDC_REVISE_SECONDS), &shift.offset);
    // Later unless "遅らす" is ticked, also when neither button is.
    shift.earlier = GetCheck(dialog, IDC_REVISE_EARLIER) == 1;
    return RunOverSelection(dialog, ReviseItem, &shift);
}

}  // namespace

INT_PTR CALLBACK ReviseDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreDialogContext(dialog, lParam);
        InitReviseDialog(dialog);
        return TRUE;
    case WM_DESTROY:
        ReleaseItemIcon(dialog, IDC_REVISE_ICON);
        return TRUE;
    case WM_COMMAND:
        HandleFrameCommand(dialog, LOWORD(wParam), DialogCommands{RunRevise, SaveReviseOptions});
        return TRUE;
    default:
        return FALSE;
    }
}
