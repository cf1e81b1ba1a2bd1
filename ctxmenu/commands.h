// Entry points of the commands, as the command table dispatches them.
#pragma once
#include <windows.h>

class CShellExt;
