// Name replacement ("名前を置換(&E)", command 13, dialog 147): replaces a piece of text in
// the names of the selected items and, when asked, of everything inside selected folders.
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/rules/path_build.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/rename_preview.h"
#include "ctxmenu/rename_step.h"
#include "ctxmenu/rules/permute_rule.h"

namespace {

constexpr char kMsgNoSearchText[] = "検索文字列を入力して下さい。";
constexpr char kMsgNewNameTooLong[] = "置換後の名前ではパスが長すぎるため、名前を変更できません。\n";

// The options of one run, read once from the dialog when OK is pressed.
struct PermuteOptions {
    HWND dialog;
    char search[kPathSize];
    char replacement[kPathSize];
    bool every;
    bool keepExtension;
    bool subfolders;
};

int ReadPermuteOptions(HWND dialog, PermuteOptions* options)
{
    options->dialog = dialog;
    options->every = GetCheck(dialog, IDC_PERMUTE_EVERY) == 1;
    options->keepExtension = GetCheck(dialog, IDC_PERMUTE_KEEP_EXTENSION) == 1;
    options->subfolders = GetCheck(dialog, IDC_PERMUTE_SUBFOLDERS) == 1;
    return ReadDialogText(dialog, IDC_PERMUTE_SEARCH, options->search, sizeof options->search) &&
           ReadDialogText(dialog, IDC_PERMUTE_REPLACEMENT, options->replacement, sizeof options->replacement);
}

// One run: its options and where its renames go.
struct PermuteRun {
    const PermuteOptions& options;
    RenameStep& step;
};

// Renames one item; its contents, with 1078, are listed under its new name.
int PermuteItem(WalkItem& item, void* context)
{
    const PermuteRun& run = *static_cast<const PermuteRun*>(context);
    const PermuteOptions& options = run.options;
    if (options.search[0] == '\0') {
        ShowErrorBox(options.dialog, kMsgNoSearchText);
        return 0;
    }
    char source[kPathSize];
    char* name = nullptr;
    if (!ResolveItemName(item.path, source, &name)) return 0;

    // The folder part stays as it is; only the final component is replaced.
    const std::size_t folderLength = static_cast<std::size_t>(name - source);
    const PermuteRule rule{options.search, options.replacement, options.every, options.keepExtension};
    char newName[kPathSize];
    if (!PermuteName(name, rule, newName, kPathSize - folderLength)) {
        ShowPathMessage(kMsgNewNameTooLong, source);
        return 0;
    }
    return run.step.Rename(item, source, folderLength, newName, kMsgNewNameTooLong, true);
}

int PlanPermute(HWND dialog, const void* options, RenameStep& step, WalkObserver* observer)
{
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    const PermuteOptions& o = *static_cast<const PermuteOptions*>(options);
    PermuteRun run{o, step};
    return WalkSelection(drop, WalkRules{o.subfolders, EntryFailure::StopsRun}, PermuteItem, &run, observer);
}

using PermuteActions = RenameActions<PermuteOptions, ReadPermuteOptions, PlanPermute>;
const DialogCommands kCommands{PermuteActions::Run, BlockOf(OptionBlockId::Permute), PermuteActions::Preview};

}  // namespace

INT_PTR CALLBACK PermuteDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreInvocation(dialog, lParam);
        LoadBlock(dialog, BlockOf(OptionBlockId::Permute));
        return FALSE;
    case WM_COMMAND:
        return HandleFrameCommand(dialog, LOWORD(wParam), kCommands);
    default:
        return FALSE;
    }
}
