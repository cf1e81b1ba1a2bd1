// The About box (dialog 141), opened by the "バージョン(&A)" button of every command dialog.
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/module.h"

void ShowAboutBox(HWND owner)
{
    DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc, 0);
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        // Only OK (or Enter) closes the box; Esc and the close box arrive as IDCANCEL
        // and are swallowed.
        if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
        return TRUE;
    default:
        return FALSE;
    }
}
