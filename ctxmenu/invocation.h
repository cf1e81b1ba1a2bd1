// What a command of the submenu is given: the window it was chosen from and the
// selected items. A dialog command keeps it for the life of its dialog.
#pragma once
#include <windows.h>
#include <shellapi.h>

struct Invocation {
    HWND owner;
    HDROP selection;   // null when the shell gave none
};
