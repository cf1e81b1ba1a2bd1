// Text from the system in its exact code page 932 form. The ANSI calls would turn a
// character that code page 932 cannot hold into "?" (a wildcard) or its best fit ("é"
// into "e", "¥" into "\": another name, another path), so the suite reads wide and
// takes a text only when it converts back exactly.
#pragma once
#include <windows.h>

#include <cstddef>

// Wide text to code page 932 without best fit. false, with `out` empty, when a
// character has no exact form or the text and its terminator need more than `outSize`.
bool WideToAnsiExact(const wchar_t* wide, char* out, std::size_t outSize);

// The full path of `module` (nullptr: the program) in its exact code page 932 form,
// read wide, into `out` of `outSize` bytes. 1 on success; 0, with `out` empty and no
// box shown, when it cannot be read (the thread's last error is the system's), when it
// does not fit (ERROR_FILENAME_EXCED_RANGE) or when a character has no exact form
// (ERROR_NO_UNICODE_TRANSLATION): the ANSI call would give a look-alike folder.
int ModulePathExact(HMODULE module, char* out, std::size_t outSize);
