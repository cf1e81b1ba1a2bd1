// What every command dialog shares: its invocation, check boxes, typed texts and
// numbers, its option block, the run over the selection, the buttons every dialog has
// and the About box.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstddef>

#include "common/resource_ids.h"
#include "common/rules/option_blocks.h"
#include "ctxmenu/invocation.h"
#include "ctxmenu/selection_walk.h"

// The flag value the shell is told with after a complete run (the flush-without-wait
// flag of the shell's older headers).
inline constexpr UINT kChangeNotifyFlags = 0x2000;
// Tells the shell that names, attributes or times changed.
void NotifyShellOfChanges();

// Shown when a typed text holds a character code page 932 cannot hold.
inline constexpr char kMsgUnusableText[] = "入力された文字列に使用できない文字が含まれています。";

// The invocation a dialog command was opened with (its init parameter), kept in the
// dialog's DWLP_USER for the dialog's life.
void StoreInvocation(HWND dialog, LPARAM initParam);
// The HDROP of the dialog's selection; shows the generic failure message and gives null
// when there is none.
HDROP GetSelectionDrop(HWND dialog);
// The same for direct actions, which get the invocation itself.
HDROP SelectionOf(const Invocation& invocation);
// The HDROP of the dialog's selection in `drop` and the number of selected items; shows
// the failure (no selection: "ファイルが選択されていません。") and gives 0 when there is none.
UINT GetSelectionCount(HWND dialog, HDROP* drop);

int GetCheck(HWND dialog, int id);
void SetCheck(HWND dialog, int id, int flag);
int EnableDlgItem(HWND dialog, int id, int flag);

// A text control's value as an unsigned number: text that is not one (a minus sign
// included) reads as 0, and a value typed beyond its up-down's range is taken as it is.
unsigned GetDlgUnsigned(HWND dialog, int id);

// A text control's text in its exact code page 932 form, cut to `size` bytes with the
// terminator as the ANSI read would cut it. The dialogs are ANSI, so a pasted "é" would
// arrive as "e": the text is read wide. When it holds a character code page 932 cannot
// hold, "入力された文字列に使用できない文字が含まれています。" is shown and 0 given.
int ReadDialogText(HWND dialog, int id, char* out, std::size_t size);

// The stored option block into the controls, by its table; 0 when it cannot be read
// (reported), the controls then keep their opening states.
int LoadBlock(HWND dialog, const OptionBlock& block);
// The controls into a fresh option block, stored; 0 after a report.
int SaveBlock(HWND dialog, const OptionBlock& block);

// The run over the selection of a dialog command: WalkSelection over the dialog's
// selection with the progress of a long run, then the shell notification after a
// complete run, or after a run the user stopped once it had handled an item. 1 when
// every item was done.
int RunOverSelection(HWND dialog, const WalkRules& rules, WalkVisit visit, void* context);

void ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The buttons shared by every command dialog: `run` is the OK action, `block` the option
// block "デフォルト(&D)" stores, `preview` the action of "プレビュー(&P)" in the dialogs that
// have it (null in the others).
struct DialogCommands {
    int (*run)(HWND dialog);
    const OptionBlock& block;
    int (*preview)(HWND dialog) = nullptr;
};
// Handles ids 1, 2, 2018, 2019 and 2020; TRUE when the id was one of them. While a run or a
// save is in progress a second OK or "デフォルト(&D)" is ignored: the error boxes of a run
// are owned by the foreground window, which may not be the dialog.
BOOL HandleFrameCommand(HWND dialog, WORD id, const DialogCommands& commands);
