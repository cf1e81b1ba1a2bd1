// The module-wide hotkey table: one copy per library, overwritten whole by every
// successful or failed "Key" read.
#include <cstring>

#include "settings.h"

namespace {

unsigned char g_hotkeys[kHotkeyTableSize] = {'E', 'L', 'F', 'X', 'U', 'R', 'H', 'C', 'T',
                                             'B', 'A', 'G', 'N', 'E', 'D', 'O', 'I'};

}  // namespace

const unsigned char* HotkeyTable() { return g_hotkeys; }
unsigned char* MutableHotkeyTable() { return g_hotkeys; }
