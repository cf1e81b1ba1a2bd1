// Module-wide state of kelmora.dll: its instance and the count of live objects.
#include "ctxmenu/module.h"

namespace {

HINSTANCE g_instance = nullptr;
LONG g_objects = 0;

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }
void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }
void AddObject() { InterlockedIncrement(&g_objects); }
void RemoveObject() { InterlockedDecrement(&g_objects); }
bool HasLiveObjects() { return InterlockedCompareExchange(&g_objects, 0, 0) != 0; }
