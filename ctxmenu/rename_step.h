// The rename step of the renaming commands: the item's full path and name part, and its
// rename to a new name in the same folder, made on disk by a run or only noted by a
// preview. Both share every check before the move, so both meet the same failures.
#pragma once
#include <windows.h>

#include <cstddef>

#include "ctxmenu/selection_walk.h"

// The full path of an item to rename and where its name part starts. 0 after a report:
// the path cannot be resolved, needs 260 bytes or more, or has no name part (a drive
// root).
int ResolveItemName(const char* path, char* full /* 260 bytes */, char** name);

class RenameStep {
public:
    virtual ~RenameStep() = default;
    // Renames `source` (the item's full path) to its folder part (its first
    // `folderLength` bytes) + `newName`, leaving the new path in `item.after`. No name at
    // all, or one that would reach into another folder, is refused as the platform
    // refuses such a name; a new path past 259 bytes shows `tooLong` and `source`. The
    // move never replaces an existing item, so a name taken already stops the run. With
    // `skipUnchanged` an item whose path stays the same is not handed to the move, and
    // `item.after` stays empty.
    // 1 when renamed; 0 after a report.
    int Rename(WalkItem& item, const char* source, std::size_t folderLength, const char* newName, const char* tooLong,
               bool skipUnchanged);

protected:
    // `source` to `target`, both in the same folder. 1 on success; 0 after a report.
    virtual int Move(WalkItem& item, const char* source, const char* target) = 0;
};

// The step of a run: the move is made on disk.
class DiskRenames final : public RenameStep {
protected:
    int Move(WalkItem& item, const char* source, const char* target) override;
};
