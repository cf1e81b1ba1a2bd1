// The rename step of the renaming commands: the item's full path and name part, and
// its rename to a new name in the same folder.
#pragma once
#include <windows.h>

#include <cstddef>

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
