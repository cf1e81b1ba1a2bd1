// The commands of the catalogue: help text and what runs when the entry is chosen. The
// menu texts are the catalogue's own (common/rules/menu_model.cpp).
#pragma once
#include <windows.h>

#include "ctxmenu/invocation.h"

using DirectAction = int (*)(const Invocation& invocation);

struct CommandInfo {
    const char* help;      // status-bar text
    int dialogId;          // 0 when the command opens no dialog
    DLGPROC dialogProc;    // with dialogId
    DirectAction action;   // for commands without a dialog
};

// Indexed by catalogue index 0..16; entry 0 (the separator) does nothing.
const CommandInfo& CommandFor(unsigned index);

// Runs the command of a catalogue index for `invocation`. A dialog command keeps the
// invocation for its modal life, which ends before this returns.
void RunCommand(unsigned index, const Invocation& invocation);
