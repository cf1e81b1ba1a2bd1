#include "ctxmenu/module.h"

namespace {

HINSTANCE g_instance = nullptr;

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }
void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }
