// The window the view commands act on.
#pragma once
#include <windows.h>

// The window with the keyboard focus on this thread and its class name (260 bytes).
// Null, with the name empty, when there is no focus or its class cannot be read.
HWND FocusedView(char* className /* 260 bytes */);
