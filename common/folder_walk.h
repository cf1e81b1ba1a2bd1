// The one folder walk of the suite: lists a folder wide, takes the whole listing before
// the first visit, and hands each entry on with its name in code page 932.
#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

#include "common/rules/path_build.h"

struct FolderEntry {
    const char* name;       // exact code page 932 form; empty when the name has none
    bool exact;             // false: the name has no exact code page 932 form
    DWORD attributes;
    FILETIME creationTime;
    FILETIME lastAccessTime;
    FILETIME lastWriteTime;
    ULONGLONG size;         // the whole 64-bit size
};

inline bool IsFolderAttributes(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
inline bool IsFolderEntry(const FolderEntry& entry) { return IsFolderAttributes(entry.attributes); }

// The rule of every descent: junctions and symbolic links are items, never descended
// into, so no loop can visit an item again and no command reaches outside the tree.
inline bool IsDescendable(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && IsFolderAttributes(attributes) &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}
inline bool ShouldDescend(const FolderEntry& entry) { return IsDescendable(entry.attributes); }

// The whole listing of folder\pattern but "." and "..", in the order the file system
// gives them (hidden and system entries included), taken before any entry is handed
// on: a visitor that renames an entry must not meet it again under its new name, which
// some file systems would list. Names are kept in one pool, not in a path buffer each.
class FolderListing {
public:
    // 1 with the listing; 0 after a report (a failed listing, no memory). A listing that
    // cannot start because the folder or its path is missing is empty.
    int Read(HWND owner, const char* folder, const char* pattern);
    std::size_t size() const { return entries_.size(); }
    FolderEntry operator[](std::size_t index) const;

private:
    struct Listed {
        std::size_t name;   // offset into names_
        bool exact;
        DWORD attributes;
        FILETIME creationTime;
        FILETIME lastAccessTime;
        FILETIME lastWriteTime;
        ULONGLONG size;
    };
    std::vector<Listed> entries_;
    std::vector<char> names_;
};

// 1 to go on; 0 stops the walk (the visitor has reported).
using FolderVisitor = int (*)(const char* folder, const FolderEntry& entry, void* context);

// Visits every entry of the listing of folder\pattern. An entry whose name has no exact
// code page 932 form is reported as an item that cannot be recognised and ends the
// walk, as does a failed listing. 1 when the listing ended normally; 0 when a visitor
// returned 0 or a failure was reported.
int WalkFolder(HWND owner, const char* folder, const char* pattern, FolderVisitor visit, void* context);

// The same with the pattern "*.*".
int ForEachFolderEntry(HWND owner, const char* folder, FolderVisitor visit, void* context);

// folder + "\" + name into a 260-byte buffer. When it does not fit, an error box naming
// the path is shown and 0 given; nothing is cut.
int BuildChildPath(char* out, const char* folder, const char* name, HWND owner);
