// The settings store: value accessors, the error box and the menu layout loader.
#pragma once
#include <windows.h>

#include "messages.h"
#include "option_blocks.h"

// Each accessor opens (creating when absent) the key, does one read or write and closes
// it again. 1 on success; 0 after the failure has been shown to the user.
int ReadBinaryValue(HKEY root, const char* subkey, const char* name, void* buffer, DWORD size);
int WriteBinaryValue(HKEY root, const char* subkey, const char* name, const void* data, DWORD size);
int WriteStringValue(HKEY root, const char* subkey, const char* name, const char* text);

// Shows the system's text for `code`. Every caller passes two empty context texts.
void ReportSystemError(HWND owner, const char* context1, const char* context2, DWORD code);

// MessageBoxA(owner or the foreground window, text, error title, MB_ICONERROR).
void ShowErrorBox(HWND owner, const char* text);

// Shorthands for the settings key of the current user.
int ReadSettingsBlock(const char* name, void* buffer, DWORD size);
int WriteSettingsBlock(const char* name, const void* data, DWORD size);

// Writes "Version", "Menu", "Key" and every option block with its default bytes.
int WriteDefaultSettings();

// Loads "Menu" into a GlobalAlloc block the caller frees with GlobalFree, and "Key"
// into the module-wide hotkey table.
int LoadMenuLayout(BYTE** layout, DWORD* length);

// The module-wide hotkey table: default letters until the first LoadMenuLayout.
const unsigned char* HotkeyTable();
unsigned char* MutableHotkeyTable();
