// The commands of the catalogue: help text and what runs when the entry is chosen.
#pragma once
#include <windows.h>

class CShellExt;

using DirectAction = int (*)(HWND owner, CShellExt* ext);

struct CommandInfo {
    const char* menu;      // the entry's text in the submenu (the catalogue's text)
    const char* help;      // status-bar text
    int dialogId;          // 0 when the command opens no dialog
    DLGPROC dialogProc;    // with dialogId
    DirectAction action;   // for commands without a dialog
};

// Indexed by catalogue index 0..16; entry 0 (the separator) does nothing.
const CommandInfo& CommandFor(unsigned index);

// Runs the command of a catalogue index for an invocation from `owner`.
void RunCommand(unsigned index, HWND owner, CShellExt* ext);
