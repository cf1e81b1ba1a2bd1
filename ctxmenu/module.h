// Module-wide state of the context-menu library. The hotkey table, the other piece of
// module-wide state, belongs to the settings store (HotkeyTable()).
#pragma once
#include <windows.h>

// The library's own instance: every dialog and icon resource is loaded from it.
HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);

// Live factories and handlers; the library may unload when there are none.
void AddObject();
void RemoveObject();
bool HasLiveObjects();
