// What every command dialog shares: the selection, check boxes, the run over the
// selection and the About box.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "common/resource_ids.h"
#include "common/selection.h"

class CShellExt;

// The flag value the shell is told with after a complete run (the flush-without-wait
// flag of the shell's older headers).
inline constexpr UINT kChangeNotifyFlags = 0x2000;

// The HDROP of the selection of the CShellExt kept in the dialog's DWLP_USER; shows
// the generic failure message and gives null when there is none.
HDROP GetSelectionDrop(HWND dialog);
// The HDROP of the dialog's selection in `drop` and the number of selected items; shows
// the failure (no selection: "ファイルが選択されていません。") and gives 0 when there is none.
UINT GetSelectionCount(HWND dialog, HDROP* drop);
// A text control's value as an unsigned number: text that is not one reads as 0, and a
// value typed beyond its up-down's range is taken as it is.
unsigned GetDlgUnsigned(HWND dialog, int id);

// The same for direct actions, which get the CShellExt pointer as an argument.
HDROP SelectionDropOf(CShellExt* ext);

int GetCheck(HWND dialog, int id);
void SetCheck(HWND dialog, int id, int flag);
int EnableDlgItem(HWND dialog, int id, int flag);

void ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Per-item work of a run: 1 to go on, 0 to stop (the work has reported).
using ItemWork = int (*)(HWND dialog, const char* path, void* context);

// Every selected path of `drop` in order through `work`, which gets `dialog` back.
// Shows the empty-selection and unreadable-path messages; 1 when every item was done.
int ForEachSelectedPath(HDROP drop, HWND dialog, ItemWork work, void* context);

// The run over the selection: every selected path in order through `work`, then the
// shell notification. 1 when every item was done.
int RunOverSelection(HWND dialog, ItemWork work, void* context);


// The frame's handling of WM_INITDIALOG's pointer and of the buttons shared by every
// command dialog. `run` is the OK action and `save` the "デフォルト(&D)" action.
struct DialogCommands {
    int (*run)(HWND dialog);
    int (*save)(HWND dialog);
};
// Handles ids 1, 2, 2018 and 2019; TRUE when the id was one of them. While a run or a
// save is in progress a second OK or "デフォルト(&D)" is ignored: the error boxes of a run
// are owned by the foreground window, which may not be the dialog.
BOOL HandleFrameCommand(HWND dialog, WORD id, const DialogCommands& commands);
void StoreDialogContext(HWND dialog, LPARAM initParam);
