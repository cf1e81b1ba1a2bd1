// The one folder walk of the suite: lists a folder wide, takes the whole listing before
// the first visit, and hands each entry on with its name in code page 932.
#pragma once
#include <windows.h>

#include "common/rules/path_build.h"

struct FolderEntry {
    char name[kPathSize];   // exact code page 932 form of the entry's name
    DWORD attributes;
    FILETIME creationTime;
    FILETIME lastAccessTime;
    FILETIME lastWriteTime;
    ULONGLONG size;         // the whole 64-bit size
};

inline bool IsFolderEntry(const FolderEntry& entry)
{
    return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
// A folder a descent goes into: junctions and symbolic links are items, never descended
// into, so no loop can visit an item again and no command reaches outside the tree.
inline bool ShouldDescend(const FolderEntry& entry)
{
    return IsFolderEntry(entry) && (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// 1 to go on; 0 stops the walk (the visitor has reported).
using FolderVisitor = int (*)(const char* folder, const FolderEntry& entry, void* context);

// Visits every entry of folder\pattern but "." and "..", in the order the file system
// gives them (hidden and system entries included). A listing that cannot start because
// the folder or its path is missing counts as empty. An entry whose name has no exact
// code page 932 form is reported as an item that cannot be recognised and ends the
// walk, as does a failed listing. 1 when the listing ended normally; 0 when a visitor
// returned 0 or a failure was reported.
int WalkFolder(HWND owner, const char* folder, const char* pattern, FolderVisitor visit, void* context);

// The same with the pattern "*.*".
int ForEachFolderEntry(HWND owner, const char* folder, FolderVisitor visit, void* context);

// folder + "\" + name into a 260-byte buffer. When it does not fit, an error box naming
// the path is shown and 0 given; nothing is cut.
int BuildChildPath(char* out, const char* folder, const char* name, HWND owner);
