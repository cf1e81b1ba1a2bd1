// File, folder and time helpers shared by the commands.
#pragma once
#include <windows.h>

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

// folder + "\" + name into a 260-byte buffer. When it does not fit, an error box naming
// the path is shown and 0 given; nothing is cut.
int BuildChildPath(char* out, const char* folder, const char* name, HWND owner);
// Shows the error box for a path that would not fit in 260 bytes.
void ReportPathTooLong(HWND owner, const char* folder, const char* name);

// Visits every entry of `folder` but "." and "..", in the order the file system gives
// them. A folder that cannot be listed because it (or its path) is missing counts as
// empty. 1 when the listing ended normally; 0 when `visit` returned 0 or a listing
// error was reported.
using FolderVisitor = int (*)(const char* folder, const WIN32_FIND_DATAA& entry, void* context);
int ForEachFolderEntry(HWND owner, const char* folder, FolderVisitor visit, void* context);
