// The text files of the commands: the Save-As chooser of a list or log file, and
// appending to a file.
#pragma once
#include <windows.h>

// GetSaveFileNameA for a text file; `fileName` (260 bytes) holds the proposed name in
// and the chosen path out. 1 when the user chose a file.
int ChooseSaveFile(HWND owner, const char* title, const char* initialFolder, char* fileName);
// Appends `size` bytes to `path`, creating it when missing.
int AppendToFile(const char* path, const void* data, DWORD size);
