// Classify by modified date ("更新日で分類(&D)", command 14): each selected file moves into a folder next to it named
// after the local day of its last write ("%04d%02d%02d").
#include <windows.h>

#include <string>
#include <unordered_set>

#include "common/report.h"
#include "common/rules/path_build.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/focused_view.h"
#include "ctxmenu/run_progress.h"
#include "ctxmenu/file_times.h"
#include "ctxmenu/rules/classify_rule.h"
#include "ctxmenu/rules/select_view_rule.h"

namespace {

// The date folders this run has made or found already: a run over many files of a few
// days asks the file system to make each folder once, however the days alternate.
struct ClassifyRun {
    std::unordered_set<std::string> folders;
    LocalClock clock;

    // Makes `folder` unless this run has made or found it; false when it can be neither
    // made nor found.
    bool MakeFolder(const char* folder)
    {
        try {
            if (folders.count(folder) != 0) return true;
        } catch (...) {
            // Without memory to look it up, the folder is asked for again.
        }
        if (!CreateDirectoryA(folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
        try {
            folders.insert(folder);
        } catch (...) {
            // Not remembered: the next file of that day asks for it again.
        }
        return true;
    }
};

// Moves one file into its date folder. Whatever keeps it from moving leaves it where it
// is without a message: its time cannot be converted (already reported), its full path
// or its target does not fit in 260 bytes, the folder cannot be made, or the move is
// refused (the name is taken in the date folder, or the file is in use).
void MoveIntoDateFolder(const char* path, const FILETIME& lastWrite, ClassifyRun& run)
{
    SYSTEMTIME day;
    if (!run.clock.ToLocal(lastWrite, &day)) return;

    char fullPath[kPathSize] = {};
    char* namePart = nullptr;
    const DWORD length = GetFullPathNameA(path, static_cast<DWORD>(kPathSize), fullPath, &namePart);
    if (length == 0 || length >= kPathSize || namePart == nullptr) return;

    char dateName[kDateFolderNameSize];
    if (!FormatDateFolderName(dateName, sizeof dateName, day.wYear, day.wMonth, day.wDay)) return;
    char folder[kPathSize];
    char target[kPathSize];
    if (!BuildClassifyTarget(fullPath, static_cast<std::size_t>(namePart - fullPath), dateName, folder,
                             sizeof folder, target, sizeof target)) {
        return;
    }
    if (!run.MakeFolder(folder)) return;
    MoveFileA(path, target);
}

// Folders among the selection stay where they are; an item that vanished stops the run.
// One attribute read gives both the kind and the time of the last write.
int ClassifyItem(WalkItem& item, void* context)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(item.path, GetFileExInfoStandard, &data)) {
        ReportFault();
        return 0;
    }
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        MoveIntoDateFolder(item.path, data.ftLastWriteTime, *static_cast<ClassifyRun*>(context));
    return 1;
}

}  // namespace

int ClassifyByDate(const Invocation& invocation)
{
    if (invocation.owner == nullptr) {
        ReportFault();
        return 0;
    }
    HDROP drop = SelectionOf(invocation);  // shows the failure itself
    if (drop == nullptr) return 0;
    char className[kPathSize];
    if (FocusedView(className) == nullptr) {
        ReportFault();
        return 0;
    }
    // The view is only recognised, never sent a message.
    if (!IsClassifyViewClass(className)) {
        ShowErrorBox(nullptr, kMsgUnknownWindow);
        return 0;
    }

    // No shell notification follows: the view is left to notice the moves itself.
    ClassifyRun run;
    RunProgress progress(invocation.owner);
    return WalkSelection(drop, WalkRules{}, ClassifyItem, &run, &progress);
}
