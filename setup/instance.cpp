// The program's own instance, kept for its dialogs and its path.
#include "setup/setup.h"

namespace {

HINSTANCE g_instance = nullptr;

}  // namespace

HINSTANCE SetupInstance() { return g_instance; }
void SetSetupInstance(HINSTANCE instance) { g_instance = instance; }
