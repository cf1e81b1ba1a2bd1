// The one walk over the selection: every selected item in order and, when the
// command's option asks for it, every entry below each selected folder, the folder's
// own visit first. Every command that works item by item runs through it.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstddef>

#include "common/folder_walk.h"

// One item of a run.
struct WalkItem {
    const char* path;          // where the item is at this moment of the run
    const char* disk;          // where it is on disk now: `path`, but in a preview, whose
                               // renames are not made, the path before them
    const FolderEntry* entry;  // the listing's facts of an entry; null for a selected item
    unsigned depth;            // 0 for a selected item, 1 for the entries of a selected folder, ...
    // Known attributes: an entry's from the listing; a selected item's once its visit has
    // read them (INVALID_FILE_ATTRIBUTES until then).
    DWORD attributes;
    // Set by a visit that moved the item (a rename): its new path. Empty: it stays.
    char after[kPathSize];
    // Set by a visit whose move was not made on disk (a preview): where the contents
    // are listed from. Empty: from `after`, or from where the item is.
    char listAt[kPathSize];
};

// A selected item at `path` as the walk starts it (on disk where it is, nothing known).
void StartWalkItem(WalkItem& item, const char* path);

// What watches a run between its items: the progress of a long run, or a preview.
class WalkObserver {
public:
    virtual ~WalkObserver() = default;
    // The number of items when it is known before the walk (0: not known).
    virtual void SetTotal(unsigned total) = 0;
    // Before each item; false stops the run there (the user's stop: no box).
    virtual bool BeforeItem(const WalkItem& item) = 0;
    // A failure has been reported, at `item` or (null) at an item that could not be
    // read. true: the walk goes on over every later item without visiting it, as a
    // preview shows where a run would stop and what it would leave.
    virtual bool ContinueAfterFailure(const WalkItem*) { return false; }
    // An item after the failure, not visited.
    virtual void Unvisited(const WalkItem&) {}
};

// What a failed entry of a descent ends.
enum class EntryFailure {
    StopsRun,     // the run stops there
    EndsFolder,   // the listing of its folder ends; the folder counts as done
};

struct WalkRules {
    bool descend = false;                               // the command's subfolder option
    EntryFailure entryFailure = EntryFailure::StopsRun; // a selected item's failure always stops the run
    // A selected item that cannot be read is shown as "指定されたファイルを認識できません。";
    // false: the run stops without that box (the command shows its own failure).
    bool reportsUnreadable = true;
};

// 1 to go on; 0 when the item failed (reported).
using WalkVisit = int (*)(WalkItem& item, void* context);

// Every selected item of `selection` through `visit`, and with `rules.descend` the
// entries of every folder the rule of descent lets in (never a junction or symbolic
// link), listed where the folder's visit left it. An entry whose name has no exact code
// page 932 form is a failed entry ("指定されたファイルを認識できません。"), as is a folder
// whose listing fails. Shows the no-selection and unreadable-item messages itself.
// `observer`, when given, is told of every item and may stop the run between items.
// 1 when every item was done; 0 after a report or a stop.
int WalkSelection(HDROP selection, const WalkRules& rules, WalkVisit visit, void* context, WalkObserver* observer);
