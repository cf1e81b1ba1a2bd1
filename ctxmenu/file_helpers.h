// File, folder and time helpers shared by the commands.
#pragma once
#include <windows.h>

#include <cstddef>

#include "folder_walk.h"

// GetSaveFileNameA for a text file; `fileName` (260 bytes) holds the proposed name in
// and the chosen path out. 1 when the user chose a file.
int ChooseSaveFile(HWND owner, const char* title, const char* initialFolder, char* fileName);
// Appends `size` bytes to `path`, creating it when missing.
int AppendToFile(const char* path, const void* data, DWORD size);
// A time no file can have (its high bit is set): what GetFileTimes leaves in a time it
// is given when the search finds nothing for the path.
inline constexpr FILETIME kNoFileTime = {0xFFFFFFFF, 0xFFFFFFFF};
inline bool IsNoFileTime(const FILETIME& t)
{
    return t.dwLowDateTime == kNoFileTime.dwLowDateTime && t.dwHighDateTime == kNoFileTime.dwHighDateTime;
}
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

// ---- Renaming --------------------------------------------------------------------
// Shown before the path of an item that has no name part of its own.
inline constexpr char kMsgNoNamePart[] = "ドライブのルートなど、名前の部分がない項目は名前を変更できません。\n";

// An error box of `message` followed by `path`.
void ShowPathMessage(const char* message, const char* path);

// The full path of an item to rename and where its name part starts. 0 after a report:
// the path cannot be resolved, needs 260 bytes or more, or has no name part (a drive
// root).
int ResolveItemName(const char* path, char* full /* 260 bytes */, char** name);

// Renames `source` to its folder part (its first `folderLength` bytes) + `newName`,
// leaving the new path in `target` (260 bytes). No name at all, or one that would reach
// into another folder, is refused as the platform refuses such a name; a new path past
// 259 bytes shows `tooLong` and `source`. MoveFileA never replaces an existing item, so
// a name taken already stops the run. With `skipUnchanged` an item whose path stays the
// same is not handed to the rename. 1 when renamed; 0 after a report.
int RenameToName(const char* source, std::size_t folderLength, const char* newName, const char* tooLong,
                 bool skipUnchanged, char* target /* 260 bytes */);
