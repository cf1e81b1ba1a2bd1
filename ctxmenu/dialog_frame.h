// What every command dialog shares: the selection, check boxes, the run over the
// selection and the About box.
#pragma once
#include <windows.h>
#include <shellapi.h>

class CShellExt;

// Common buttons of every command dialog.
inline constexpr int kIdVersion = 2018;
inline constexpr int kIdDefault = 2019;
inline constexpr int kAboutDialogId = 141;

// The HDROP of the selection of the CShellExt kept in the dialog's DWLP_USER; shows
// the generic failure message and gives null when there is none.
HDROP GetSelectionDrop(HWND dialog);
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

// Reads selected item `index` into a cleared 260-byte buffer; 0 bytes read gives 0.
int QuerySelectedPath(HDROP drop, UINT index, char* path /* 260 bytes */);
UINT SelectedCount(HDROP drop);

// The frame's handling of WM_INITDIALOG's pointer and of the buttons shared by every
// command dialog. `run` is the OK action and `save` the "デフォルト(&D)" action.
struct DialogCommands {
    int (*run)(HWND dialog);
    int (*save)(HWND dialog);
};
// Handles ids 1, 2, 2018 and 2019; TRUE when the id was one of them.
BOOL HandleFrameCommand(HWND dialog, WORD id, const DialogCommands& commands);
void StoreDialogContext(HWND dialog, LPARAM initParam);
