// Module-wide state of the drop-menu library: the count of live objects and the Shift
// state the last drop menu was built with.
#pragma once
#include <windows.h>

// Live factories and handlers; the library may unload when there are none. Explorer
// windows run on threads of their own, so every change is atomic.
void AddObject();
void RemoveObject();
bool HasLiveObjects();

// The GetAsyncKeyState(VK_SHIFT) value taken by the last drop menu of any handler.
void SetShiftState(SHORT state);
SHORT ShiftState();
