// File, folder and time helpers shared by the commands.
#pragma once
#include <windows.h>

#include "folder_walk.h"

// GetSaveFileNameA for a text file; `fileName` (260 bytes) holds the proposed name in
// and the chosen path out. 1 when the user chose a file.
int ChooseSaveFile(HWND owner, const char* title, const char* initialFolder, char* fileName);
// Appends `size` bytes to `path`, creating it when missing.
int AppendToFile(const char* path, const void* data, DWORD size);
// Creation and last-write time of `path` (either out may be null). A path that does not
// exist gives 1 with the outs untouched.
int GetFileTimes(const char* path, FILETIME* creation, FILETIME* lastWrite);
// Sets the given times (null: unchanged). A folder is left alone and gives 1.
int SetFileTimes(const char* path, const FILETIME* creation, const FILETIME* lastWrite);
int FileTimeToLocalSystemTime(const FILETIME* time, SYSTEMTIME* local);
// The local calendar time of the last write of `path`. Gives 1 with `found` false when
// the search finds nothing for the path (it vanished, or it is a drive root); 0 after a
// reported failure.
int GetLocalLastWrite(const char* path, SYSTEMTIME* local, bool* found);
int LocalSystemTimeToFileTime(const SYSTEMTIME* local, FILETIME* time);
