#include "ctxmenu/selection_walk.h"

#include <cstring>

#include "common/messages.h"
#include "common/report.h"
#include "common/selection.h"

namespace {

struct Walk {
    const WalkRules& rules;
    WalkVisit visit;
    void* context;
    WalkObserver* observer;
    bool failed;   // a failure was seen and the observer goes on without visits
};

enum class Outcome { Done, Failed, Stopped };

Outcome VisitItem(Walk& walk, WalkItem& item);

void StartItem(WalkItem& item, const char* path, const char* disk, const FolderEntry* entry, unsigned depth)
{
    item.path = path;
    item.disk = disk;
    item.entry = entry;
    item.depth = depth;
    item.attributes = entry != nullptr ? entry->attributes : INVALID_FILE_ATTRIBUTES;
    item.after[0] = '\0';
    item.listAt[0] = '\0';
}

// A failure reported where it happened: ends the walk, or lets the observer go on.
Outcome Failure(Walk& walk, const WalkItem* item)
{
    if (walk.failed) return Outcome::Done;
    if (walk.observer != nullptr && walk.observer->ContinueAfterFailure(item)) {
        walk.failed = true;
        return Outcome::Done;
    }
    return Outcome::Failed;
}

// The entries of `folder` at `depth`, each through the walk: `folder` is the path the
// run gives the folder, `disk` where its entries are listed from.
Outcome WalkEntries(Walk& walk, const char* folder, const char* disk, unsigned depth)
{
    FolderListing listing;
    if (!listing.Read(nullptr, disk, "*.*")) return Failure(walk, nullptr);
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const FolderEntry entry = listing[i];
        Outcome outcome = Outcome::Failed;
        if (!entry.exact) {
            if (!walk.failed) ShowErrorBox(nullptr, kMsgUnreadablePath);
            outcome = Failure(walk, nullptr);
        } else {
            // A path past the limit is reported and fails the entry; nothing is cut.
            char path[kPathSize];
            char diskPath[kPathSize];
            if (!BuildChildPath(path, folder, entry.name, nullptr) ||
                !BuildChildPath(diskPath, disk, entry.name, nullptr)) {
                outcome = Failure(walk, nullptr);
            } else {
                WalkItem child;
                StartItem(child, path, diskPath, &entry, depth);
                outcome = VisitItem(walk, child);
            }
        }
        if (outcome == Outcome::Stopped) return outcome;
        if (outcome == Outcome::Failed) {
            // Reported already: the enclosing folder goes on with its next entry when
            // that is the command's rule.
            return walk.rules.entryFailure == EntryFailure::EndsFolder ? Outcome::Done : Outcome::Failed;
        }
    }
    return Outcome::Done;
}

Outcome VisitItem(Walk& walk, WalkItem& item)
{
    if (walk.observer != nullptr && !walk.observer->BeforeItem(item)) return Outcome::Stopped;
    if (walk.failed) {
        walk.observer->Unvisited(item);
    } else if (!walk.visit(item, walk.context)) {
        const Outcome outcome = Failure(walk, &item);
        if (outcome != Outcome::Done) return outcome;
    }
    if (!walk.rules.descend) return Outcome::Done;
    // Its contents are listed where the visit left the folder (under its new name), and
    // named as the run names them.
    const char* folder = item.after[0] != '\0' ? item.after : item.path;
    const char* disk = item.listAt[0] != '\0' ? item.listAt : item.after[0] != '\0' ? item.after : item.disk;
    if (item.attributes == INVALID_FILE_ATTRIBUTES) {
        item.attributes = GetFileAttributesA(disk);
        if (item.attributes == INVALID_FILE_ATTRIBUTES) {
            if (walk.failed) return Outcome::Done;
            ReportLastError();
            return Failure(walk, &item);
        }
    }
    if (!IsDescendable(item.attributes)) return Outcome::Done;
    // A folder whose listing failed is a failed entry of its own folder.
    return WalkEntries(walk, folder, disk, item.depth + 1);
}

}  // namespace

void StartWalkItem(WalkItem& item, const char* path)
{
    StartItem(item, path, path, nullptr, 0);
}

int WalkSelection(HDROP selection, const WalkRules& rules, WalkVisit visit, void* context, WalkObserver* observer)
{
    if (visit == nullptr) {
        ReportFault();
        return 0;
    }
    // One pass over the list, however large the selection.
    SelectionCursor cursor(selection);
    if (cursor.Count() == 0) {
        ShowErrorBox(nullptr, kMsgNoSelection);
        return 0;
    }
    if (observer != nullptr) observer->SetTotal(rules.descend ? 0 : cursor.Count());
    Walk walk{rules, visit, context, observer, false};
    char path[kPathSize];
    while (!cursor.AtEnd()) {
        if (!cursor.Next(path)) {
            if (walk.failed) continue;
            if (rules.reportsUnreadable) ShowErrorBox(nullptr, kMsgUnreadablePath);
            if (Failure(walk, nullptr) != Outcome::Done) return 0;
            continue;
        }
        WalkItem item;
        StartWalkItem(item, path);
        if (VisitItem(walk, item) != Outcome::Done) return 0;
    }
    return walk.failed ? 0 : 1;
}
