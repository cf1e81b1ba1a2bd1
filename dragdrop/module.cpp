#include "dragdrop/module.h"

namespace {

LONG g_objects = 0;
LONG g_shiftState = 0;

}  // namespace

void AddObject() { InterlockedIncrement(&g_objects); }
void RemoveObject() { InterlockedDecrement(&g_objects); }
bool HasLiveObjects() { return InterlockedCompareExchange(&g_objects, 0, 0) != 0; }

void SetShiftState(SHORT state) { InterlockedExchange(&g_shiftState, static_cast<LONG>(state)); }
SHORT ShiftState() { return static_cast<SHORT>(InterlockedCompareExchange(&g_shiftState, 0, 0)); }
