// The settings store: the value accessors of the settings key.
#pragma once
#include <windows.h>

#include "common/messages.h"
#include "common/rules/option_blocks.h"

// Each accessor opens (creating when absent) the key, does one read or write and closes
// it again. 1 on success; 0 after the failure has been shown to the user.
int ReadBinaryValue(HKEY root, const char* subkey, const char* name, void* buffer, DWORD size);
int WriteBinaryValue(HKEY root, const char* subkey, const char* name, const void* data, DWORD size);
int WriteStringValue(HKEY root, const char* subkey, const char* name, const char* text);

// Shorthands for the settings key of the current user.
int ReadSettingsBlock(const char* name, void* buffer, DWORD size);
int WriteSettingsBlock(const char* name, const void* data, DWORD size);
