// The two commands of the drop menu and what they act on. Each runs inside
// InvokeCommand and gives 1, or 0 after the failure was shown to the user.
#pragma once
#include <windows.h>
#include <shellapi.h>

// One invocation of a drop command, taken from the handler by InvokeCommand.
struct DropInvocation {
    HWND owner;               // the invocation's window
    HDROP items;              // the dragged items (CF_HDROP), held for the command's run
    const char* dropFolder;   // file-system path of the folder the items were dropped on
    bool shift;               // Shift was down when the handler built its menu
};

// Offset 0: a folder named after the first dragged item in the drop folder; with Shift,
// filled with the empty folder tree of a dragged folder.
int CreateNamedFolder(const DropInvocation& drop);

// Offset 1: a folder named after the first dragged item in the drop folder, and every
// dragged item copied into it (moved with Shift) by the shell's file operation.
int TransferToNewFolder(const DropInvocation& drop);
