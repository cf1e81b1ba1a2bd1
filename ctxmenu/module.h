// Module-wide state of the context-menu library.
#pragma once
#include <windows.h>

// The library's own instance: every dialog and icon resource is loaded from it.
HINSTANCE ModuleInstance();

// Live factories and handlers; the library may unload when it is 0.
void AddObject();
void RemoveObject();
