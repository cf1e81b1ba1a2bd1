// The menu layout, the hotkey table and the default settings of the settings key.
#pragma once
#include <windows.h>

#include "common/rules/option_blocks.h"

// Writes "Version", "Menu", "Key" and every option block with its default bytes.
int WriteDefaultSettings();

// Loads "Menu" into a GlobalAlloc block the caller frees with GlobalFree, and "Key"
// into a table of its own, which is then published whole as the module-wide hotkey
// table and, when `hotkeys` is given, copied there (kHotkeyTableSize bytes). Each caller builds its menu from its own copy, so a right
// click on another thread never sees a table while it is being read.
int LoadMenuLayout(BYTE** layout, DWORD* length, unsigned char* hotkeys = nullptr);

// The module-wide hotkey table: default letters until the first LoadMenuLayout, then the
// letters of the last "Key" read (successful or not).
const unsigned char* HotkeyTable();
unsigned char* MutableHotkeyTable();
