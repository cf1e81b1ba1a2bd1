// The two commands of the drop menu. Each runs inside InvokeCommand with the
// invocation's window as owner, and gives S_OK, or E_INVALIDARG after the failure was
// shown to the user.
#pragma once
#include <windows.h>

class CDragDropExt;

// Offset 0: a folder named after the first dragged item in the drop folder; with Shift,
// filled with the empty folder tree of a dragged folder.
HRESULT CreateNamedFolder(CDragDropExt* object, HWND owner);

// Offset 1: a folder named after the first dragged item in the drop folder, and every
// dragged item copied into it (moved with Shift) by the shell's file operation.
HRESULT TransferToNewFolder(CDragDropExt* object, HWND owner);

// Makes every subfolder of `source`, at every depth and hidden ones included, again
// inside `destination`, empty. 1 when done, or when the source does not exist; 0 after
// a report.
int CopyFolderStructure(HWND owner, const char* destination, const char* source);
