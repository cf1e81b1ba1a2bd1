// The text files of the commands: the Save-As chooser of a list or log file, and
// appending to a file.
#pragma once
#include <windows.h>

// The Save-As chooser for a text file; `fileName` (260 bytes) holds the proposed name in
// and the chosen path out. 1 when the user chose a file; 0 when the chooser was
// cancelled, or the chosen name has no exact code page 932 form (then refused with
// "指定されたファイルを認識できません。", `fileName` unchanged).
int ChooseSaveFile(HWND owner, const char* title, const char* initialFolder, char* fileName);
// Appends `size` bytes to `path`, creating it when missing.
int AppendToFile(const char* path, const void* data, DWORD size);
