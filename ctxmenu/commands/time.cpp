// Timestamp change ("タイムスタンプを変更(&T)", command 8, dialog 132): gives the selected files a new date and/or
// time of day for their creation and/or modification time. The date and the time of
// day are replaced independently, in local time; folders are passed over.
#include <shlobj.h>
#include <shlwapi.h>
#include <commctrl.h>

#include <initializer_list>

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
#include "ctxmenu/rules/time_rule.h"

namespace {


// One row of the dialog: the edits and up-downs of year, month, day, hour, minute and
// second, with the ranges of the up-downs.
struct TimeRow {
    int edits[6];
    int spins[6];
};
constexpr TimeRow kCreationRow = {
    {IDC_TIME_C_YEAR, IDC_TIME_C_MONTH, IDC_TIME_C_DAY, IDC_TIME_C_HOUR, IDC_TIME_C_MINUTE, IDC_TIME_C_SECOND},
    {IDC_TIME_C_YEAR_UD, IDC_TIME_C_MONTH_UD, IDC_TIME_C_DAY_UD, IDC_TIME_C_HOUR_UD, IDC_TIME_C_MINUTE_UD,
     IDC_TIME_C_SECOND_UD}};
constexpr TimeRow kLastWriteRow = {
    {IDC_TIME_W_YEAR, IDC_TIME_W_MONTH, IDC_TIME_W_DAY, IDC_TIME_W_HOUR, IDC_TIME_W_MINUTE, IDC_TIME_W_SECOND},
    {IDC_TIME_W_YEAR_UD, IDC_TIME_W_MONTH_UD, IDC_TIME_W_DAY_UD, IDC_TIME_W_HOUR_UD, IDC_TIME_W_MINUTE_UD,
     IDC_TIME_W_SECOND_UD}};
constexpr int kRangeLow[6] = {1601, 1, 1, 0, 0, 0};
constexpr int kRangeHigh[6] = {9999, 12, 31, 23, 59, 59};


void ShowRow(HWND dialog, const TimeRow& row, const SYSTEMTIME& time)
{
    const WORD values[6] = {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
    for (int i = 0; i < 6; ++i) {
        SetDlgItemInt(dialog, row.edits[i], values[i], FALSE);
        SendDlgItemMessageA(dialog, row.spins[i], UDM_SETPOS, 0, MAKELPARAM(values[i], 0));
    }
}

void ShowTimes(HWND dialog, const SYSTEMTIME& creation, const SYSTEMTIME& lastWrite)
{
    ShowRow(dialog, kLastWriteRow, lastWrite);
    ShowRow(dialog, kCreationRow, creation);
}

void EnableRowPart(HWND dialog, const TimeRow& row, int first, int flag)
{
    for (int i = first; i < first + 3; ++i) {
        EnableDlgItem(dialog, row.edits[i], flag);
        EnableDlgItem(dialog, row.spins[i], flag);
    }
}

void UpdateTimeControls(HWND dialog)
{
    const int creation = GetCheck(dialog, IDC_TIME_CREATION);
    const int lastWrite = GetCheck(dialog, IDC_TIME_LAST_WRITE);
    const int date = GetCheck(dialog, IDC_TIME_DATE);
    const int timeOfDay = GetCheck(dialog, IDC_TIME_TIME_OF_DAY);
    EnableRowPart(dialog, kCreationRow, 0, creation & date);
    EnableRowPart(dialog, kCreationRow, 3, creation & timeOfDay);
    EnableRowPart(dialog, kLastWriteRow, 0, lastWrite & date);
    EnableRowPart(dialog, kLastWriteRow, 3, lastWrite & timeOfDay);
}

int InitTimeDialog(HWND dialog)
{
    HDROP drop = nullptr;
    const UINT count = GetSelectionCount(dialog, &drop);
    if (count == 0) return 0;
    SYSTEMTIME creation;
    GetLocalTime(&creation);
    SYSTEMTIME lastWrite = creation;

    if (count == 1) {
        char path[kPathSize];
        if (!ReadFirstSelected(drop, path)) {
            ShowErrorBox(nullptr, kMsgUnreadablePath);
            return 0;
        }
        FILETIME created = kNoFileTime;
        FILETIME written = kNoFileTime;
        if (GetFileTimes(path, &created, &written)) {
            // An item the search does not find (a drive root) shows the present time; a
            // time that cannot be shown in local time leaves its row at the present time.
            SYSTEMTIME local;
            if (!IsNoFileTime(created) && FileTimeToLocalSystemTime(&created, &local)) creation = local;
            if (!IsNoFileTime(written) && FileTimeToLocalSystemTime(&written, &local)) lastWrite = local;
            SetItemIcon(dialog, IDC_TIME_ICON, path);
        }
        PathSetDlgItemPathA(dialog, IDC_TIME_ITEM, path);
    } else {
        ShowItemCount(dialog, IDC_TIME_ITEM, count);
    }

    for (const TimeRow* row : {&kCreationRow, &kLastWriteRow})
        for (int i = 0; i < 6; ++i)
            SendDlgItemMessageA(dialog, row->spins[i], UDM_SETRANGE, 0, MAKELPARAM(kRangeHigh[i], kRangeLow[i]));

    SetCheck(dialog, IDC_TIME_CREATION, 1);
    SetCheck(dialog, IDC_TIME_LAST_WRITE, 1);
    SetCheck(dialog, IDC_TIME_DATE, 1);
    SetCheck(dialog, IDC_TIME_TIME_OF_DAY, 1);
    LoadBlock(dialog, BlockOf(OptionBlockId::Time));
    ShowTimes(dialog, creation, lastWrite);
    UpdateTimeControls(dialog);
    return 1;
}

CalendarTime ToCalendar(const SYSTEMTIME& t)
{
    return CalendarTime{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

SYSTEMTIME FromCalendar(const CalendarTime& t)
{
    return SYSTEMTIME{t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds};
}

// The options of one run, read once from the dialog when OK is pressed: the mask and
// the typed values of both rows.
struct TimeOptions {
    unsigned mask;
    CalendarEntry creation;
    CalendarEntry lastWrite;
    LocalClock clock;
};

CalendarEntry ReadRow(HWND dialog, const TimeRow& row)
{
    return CalendarEntry{GetDlgUnsigned(dialog, row.edits[0]), GetDlgUnsigned(dialog, row.edits[1]),
                         GetDlgUnsigned(dialog, row.edits[2]), GetDlgUnsigned(dialog, row.edits[3]),
                         GetDlgUnsigned(dialog, row.edits[4]), GetDlgUnsigned(dialog, row.edits[5])};
}

// `time` with the parts the mask names taken from the row's values. A time that cannot
// be converted (reported) stays as it was.
void ReplaceRowTime(const TimeOptions& options, const CalendarEntry& entry, FILETIME* time)
{
    SYSTEMTIME local;
    if (!options.clock.ToLocal(*time, &local)) return;
    CalendarTime replaced;
    if (!ReplaceCalendarParts(ToCalendar(local), options.mask, entry, &replaced)) {
        // A value too large for its field is a date or time that does not exist.
        ReportError(ERROR_INVALID_PARAMETER);
        return;
    }
    options.clock.FromLocal(FromCalendar(replaced), time);   // written only on success
}

// Both rows are worked out, also one whose box is off (its result is not written), so a
// date that does not exist is reported in either row.
void ComputeNewTimes(const TimeOptions& options, FILETIME* creation, FILETIME* lastWrite)
{
    ReplaceRowTime(options, options.lastWrite, lastWrite);
    ReplaceRowTime(options, options.creation, creation);
}

const FILETIME* Chosen(const TimeOptions& options, unsigned bit, const FILETIME& time)
{
    return (options.mask & bit) ? &time : nullptr;
}

// The item the one handle of the quick way cannot take (a folder, an item that
// vanished, one in use or read-only): looked up by its path, as the times are read and
// set one call at a time.
int ChangeTimesByPath(const TimeOptions& options, const char* path)
{
    FILETIME creation = kNoFileTime;
    FILETIME lastWrite = kNoFileTime;
    if (!GetFileTimes(path, &creation, &lastWrite)) return 0;
    if (IsNoFileTime(lastWrite)) return 1;   // vanished: nothing to change
    ComputeNewTimes(options, &creation, &lastWrite);
    return SetFileTimes(path, Chosen(options, kChangeCreation, creation), Chosen(options, kChangeLastWrite, lastWrite));
}

// One file: its times read, worked out and set through one handle. The handle opens
// only what the times may be set on (a file, not a folder, not in use, writable), and
// anything else goes the way of ChangeTimesByPath, with its messages.
int ChangeItemTimes(WalkItem& item, void* context)
{
    const TimeOptions& options = *static_cast<const TimeOptions*>(context);
    FileHandle file(CreateFileA(item.path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return ChangeTimesByPath(options, item.path);
    FILETIME creation;
    FILETIME lastWrite;
    if (!GetFileTime(file.get(), &creation, nullptr, &lastWrite)) {
        ReportLastError();
        return 0;
    }
    ComputeNewTimes(options, &creation, &lastWrite);
    if (!SetFileTime(file.get(), Chosen(options, kChangeCreation, creation), nullptr,
                     Chosen(options, kChangeLastWrite, lastWrite))) {
        ReportLastError();
        return 0;   // the handle closes on the way out
    }
    return CloseReporting(file);
}

int RunTimeChange(HWND dialog)
{
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    TimeOptions options;
    options.mask = 0;
    if (GetCheck(dialog, IDC_TIME_CREATION)) options.mask |= kChangeCreation;
    if (GetCheck(dialog, IDC_TIME_LAST_WRITE)) options.mask |= kChangeLastWrite;
    if (GetCheck(dialog, IDC_TIME_DATE)) options.mask |= kChangeDate;
    if (GetCheck(dialog, IDC_TIME_TIME_OF_DAY)) options.mask |= kChangeTimeOfDay;
    options.creation = ReadRow(dialog, kCreationRow);
    options.lastWrite = ReadRow(dialog, kLastWriteRow);
    // With nothing to change the shell is still told, as after every complete run.
    if (!ChangeMaskHasWork(options.mask)) {
        NotifyShellOfChanges();
        return 1;
    }
    return RunOverSelection(dialog, WalkRules{}, ChangeItemTimes, &options);
}

void ClearTimeOfDay(HWND dialog)
{
    for (const TimeRow* row : {&kLastWriteRow, &kCreationRow})
        for (int i = 3; i < 6; ++i) SetDlgItemInt(dialog, row->edits[i], 0, FALSE);
}

void ShowPresentTime(HWND dialog)
{
    SYSTEMTIME creation;
    SYSTEMTIME lastWrite;
    GetLocalTime(&creation);
    GetLocalTime(&lastWrite);
    ShowTimes(dialog, creation, lastWrite);
}

}  // namespace

INT_PTR CALLBACK TimeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreInvocation(dialog, lParam);
        InitTimeDialog(dialog);
        return TRUE;
    case WM_DESTROY:
        ReleaseItemIcon(dialog, IDC_TIME_ICON);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_TIME_CREATION:
        case IDC_TIME_LAST_WRITE:
        case IDC_TIME_DATE:
        case IDC_TIME_TIME_OF_DAY:
            UpdateTimeControls(dialog);
            break;
        case IDC_TIME_CLEAR:
            ClearTimeOfDay(dialog);
            break;
        case IDC_TIME_NOW:
            ShowPresentTime(dialog);
            break;
        default:
            HandleFrameCommand(dialog, LOWORD(wParam), DialogCommands{RunTimeChange, BlockOf(OptionBlockId::Time)});
            break;
        }
        return TRUE;
    default:
        return FALSE;
    }
}
