#include "ctxmenu/selection_walk.h"

#include <cstring>

#include "common/messages.h"
#include "common/report.h"
#include "common/selection.h"
#include "ctxmenu/run_progress.h"

namespace {

struct Walk {
    const WalkRules& rules;
    WalkVisit visit;
    void* context;
    RunProgress* progress;
};

enum class Outcome { Done, Failed, Stopped };

Outcome VisitItem(const Walk& walk, WalkItem& item);

// The entries of `folder` at `depth`, each through the walk. Failed when the listing or
// an entry failed (reported).
Outcome WalkEntries(const Walk& walk, const char* folder, unsigned depth)
{
    FolderListing listing;
    if (!listing.Read(nullptr, folder, "*.*")) return Outcome::Failed;
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const FolderEntry entry = listing[i];
        Outcome outcome = Outcome::Failed;
        if (!entry.exact) {
            ShowErrorBox(nullptr, kMsgUnreadablePath);
        } else {
            // A path past the limit is reported and fails the entry; nothing is cut.
            WalkItem child;
            char path[kPathSize];
            if (BuildChildPath(path, folder, entry.name, nullptr)) {
                child.path = path;
                child.entry = &entry;
                child.depth = depth;
                child.attributes = entry.attributes;
                child.after[0] = '\0';
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

Outcome VisitItem(const Walk& walk, WalkItem& item)
{
    if (walk.progress != nullptr && !walk.progress->Step(item.path)) return Outcome::Stopped;
    if (!walk.visit(item, walk.context)) return Outcome::Failed;
    if (!walk.rules.descend) return Outcome::Done;
    const char* folder = item.after[0] != '\0' ? item.after : item.path;
    if (item.attributes == INVALID_FILE_ATTRIBUTES) {
        item.attributes = GetFileAttributesA(folder);
        if (item.attributes == INVALID_FILE_ATTRIBUTES) {
            ReportLastError();
            return Outcome::Failed;
        }
    }
    if (!IsDescendable(item.attributes)) return Outcome::Done;
    // Its contents are listed where the visit left the folder (under its new name).
    const Outcome outcome = WalkEntries(walk, folder, item.depth + 1);
    // A folder whose listing failed is a failed entry of its own folder.
    return outcome;
}

}  // namespace

int WalkSelection(HDROP selection, const WalkRules& rules, WalkVisit visit, void* context, RunProgress* progress)
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
    if (progress != nullptr) progress->SetTotal(rules.descend ? 0 : cursor.Count());
    const Walk walk{rules, visit, context, progress};
    char path[kPathSize];
    while (!cursor.AtEnd()) {
        if (!cursor.Next(path)) {
            if (rules.reportsUnreadable) ShowErrorBox(nullptr, kMsgUnreadablePath);
            return 0;
        }
        WalkItem item;
        item.path = path;
        item.entry = nullptr;
        item.depth = 0;
        item.attributes = INVALID_FILE_ATTRIBUTES;
        item.after[0] = '\0';
        if (VisitItem(walk, item) != Outcome::Done) return 0;
    }
    return 1;
}
