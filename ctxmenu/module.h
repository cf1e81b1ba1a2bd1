// The library's own instance: every dialog and icon resource is loaded from it.
#pragma once
#include <windows.h>

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);
