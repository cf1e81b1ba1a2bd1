// Name arrangement ("名前を整理(&G)", command 11, dialog 136): width and case conversion,
// a new extension and texts added at the start or the end of the names of the selected
// items and, when asked, of everything inside selected folders.
#include <cstring>

#include "common/report.h"
#include "common/resource_ids.h"
#include "common/rules/path_build.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/rename_preview.h"
#include "ctxmenu/rename_step.h"
#include "ctxmenu/rules/name_rule.h"

namespace {

constexpr char kMsgNewNameTooLong[] = "整理後の名前ではパスが長すぎるため、名前を変更できません。\n";

// The controls that only matter with a width conversion.
constexpr int kWidthControls[] = {IDC_NAME_UPPER,  IDC_NAME_LOWER,  IDC_NAME_DIGITS,
                                  IDC_NAME_SYMBOLS, IDC_NAME_SPACES, IDC_NAME_KEEP_EXTENSION};

void EnableWidthControls(HWND dialog, int flag)
{
    for (int id : kWidthControls) EnableDlgItem(dialog, id, flag);
}

// Every enabled state that follows from the checks, as the dialog opens.
void SetEnabledStates(HWND dialog)
{
    EnableWidthControls(dialog, GetCheck(dialog, IDC_NAME_WIDTH_NONE) == 1 ? 0 : 1);
    EnableDlgItem(dialog, IDC_NAME_TOKEN,
                  GetCheck(dialog, IDC_NAME_CASE_NONE) != 1 && GetCheck(dialog, IDC_NAME_CASE_TOKEN) == 1 ? 1 : 0);
    EnableDlgItem(dialog, IDC_NAME_EXTENSION_TEXT, GetCheck(dialog, IDC_NAME_CHANGE_EXTENSION));
    EnableDlgItem(dialog, IDC_NAME_START_TEXT, GetCheck(dialog, IDC_NAME_ADD_START));
    EnableDlgItem(dialog, IDC_NAME_END_TEXT, GetCheck(dialog, IDC_NAME_ADD_END));
    // The indicator that full-width letters are converted too is always on.
    SetCheck(dialog, IDC_NAME_FULL_LETTERS, 1);
    EnableDlgItem(dialog, IDC_NAME_FULL_LETTERS, 0);
}

// The options of one run, read once from the dialog when OK is pressed.
struct ArrangeOptions {
    NameOptions name;
    bool keepFolders;
    bool subfolders;
};

int ReadArrangeOptions(HWND dialog, ArrangeOptions* o)
{
    NameOptions& n = o->name;
    n.width = GetCheck(dialog, IDC_NAME_WIDTH_HALF) == 1   ? WidthMode::Half
              : GetCheck(dialog, IDC_NAME_WIDTH_FULL) == 1 ? WidthMode::Full
                                                           : WidthMode::None;
    n.classes.upper = GetCheck(dialog, IDC_NAME_UPPER) == 1;
    n.classes.lower = GetCheck(dialog, IDC_NAME_LOWER) == 1;
    n.classes.digits = GetCheck(dialog, IDC_NAME_DIGITS) == 1;
    n.classes.symbols = GetCheck(dialog, IDC_NAME_SYMBOLS) == 1;
    n.classes.spaces = GetCheck(dialog, IDC_NAME_SPACES) == 1;
    n.classes.keepExtension = GetCheck(dialog, IDC_NAME_KEEP_EXTENSION) == 1;
    n.letterCase = GetCheck(dialog, IDC_NAME_CASE_UPPER) == 1   ? CaseMode::Upper
                   : GetCheck(dialog, IDC_NAME_CASE_LOWER) == 1 ? CaseMode::Lower
                   : GetCheck(dialog, IDC_NAME_CASE_TOKEN) == 1 ? CaseMode::CapitalAfterToken
                                                                : CaseMode::Unchanged;
    n.changeExtension = GetCheck(dialog, IDC_NAME_CHANGE_EXTENSION) == 1;
    n.addStart = GetCheck(dialog, IDC_NAME_ADD_START) == 1;
    n.addEnd = GetCheck(dialog, IDC_NAME_ADD_END) == 1;
    o->keepFolders = GetCheck(dialog, IDC_NAME_KEEP_FOLDERS) == 1;
    o->subfolders = GetCheck(dialog, IDC_NAME_SUBFOLDERS) == 1;
    return ReadDialogText(dialog, IDC_NAME_TOKEN, n.token, sizeof n.token) &&
           ReadDialogText(dialog, IDC_NAME_EXTENSION_TEXT, n.extension, sizeof n.extension) &&
           ReadDialogText(dialog, IDC_NAME_START_TEXT, n.start, sizeof n.start) &&
           ReadDialogText(dialog, IDC_NAME_END_TEXT, n.end, sizeof n.end);
}

// Renames one item (a folder keeps its name with 1109); its contents, with 1110, are
// listed under its new name.
struct ArrangeRun {
    const ArrangeOptions& options;
    RenameStep& step;
};

int ArrangeItem(WalkItem& item, void* context)
{
    const ArrangeRun& run = *static_cast<const ArrangeRun*>(context);
    const ArrangeOptions& options = run.options;
    if (item.attributes == INVALID_FILE_ATTRIBUTES) {
        item.attributes = GetFileAttributesA(item.disk);
        if (item.attributes == INVALID_FILE_ATTRIBUTES) {
            ReportFault();
            return 0;
        }
    }
    if (IsFolderAttributes(item.attributes) && options.keepFolders) return 1;

    char source[kPathSize];
    char* name = nullptr;
    if (!ResolveItemName(item.path, source, &name)) return 0;
    char newName[kArrangedNameSize];
    if (!ArrangeName(name, options.name, newName, sizeof newName)) {
        ShowPathMessage(kMsgNewNameTooLong, source);
        return 0;
    }
    // Every item is handed to the rename, also when its name stays.
    return run.step.Rename(item, source, static_cast<std::size_t>(name - source), newName, kMsgNewNameTooLong, false);
}

int PlanNameArrange(HWND dialog, const void* options, RenameStep& step, WalkObserver* observer)
{
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    const ArrangeOptions& o = *static_cast<const ArrangeOptions*>(options);
    ArrangeRun run{o, step};
    return WalkSelection(drop, WalkRules{o.subfolders, EntryFailure::StopsRun}, ArrangeItem, &run, observer);
}

using ArrangeActions = RenameActions<ArrangeOptions, ReadArrangeOptions, PlanNameArrange>;
const DialogCommands kCommands{ArrangeActions::Run, BlockOf(OptionBlockId::Name), ArrangeActions::Preview};

// WM_COMMAND of the dialog's own controls; TRUE when handled.
BOOL HandleNameCommand(HWND dialog, WORD id)
{
    switch (id) {
    case IDC_NAME_WIDTH_NONE:
        EnableWidthControls(dialog, 0);
        return TRUE;
    case IDC_NAME_WIDTH_HALF:
    case IDC_NAME_WIDTH_FULL:
        EnableWidthControls(dialog, 1);
        return TRUE;
    case IDC_NAME_CASE_NONE:
    case IDC_NAME_CASE_UPPER:
    case IDC_NAME_CASE_LOWER:
        EnableDlgItem(dialog, IDC_NAME_TOKEN, 0);
        return TRUE;
    case IDC_NAME_CASE_TOKEN:
        EnableDlgItem(dialog, IDC_NAME_TOKEN, 1);
        return TRUE;
    case IDC_NAME_CHANGE_EXTENSION:
        EnableDlgItem(dialog, IDC_NAME_EXTENSION_TEXT, GetCheck(dialog, IDC_NAME_CHANGE_EXTENSION));
        return TRUE;
    case IDC_NAME_ADD_START:
        EnableDlgItem(dialog, IDC_NAME_START_TEXT, GetCheck(dialog, IDC_NAME_ADD_START));
        return TRUE;
    case IDC_NAME_ADD_END:
        EnableDlgItem(dialog, IDC_NAME_END_TEXT, GetCheck(dialog, IDC_NAME_ADD_END));
        return TRUE;
    default:
        return HandleFrameCommand(dialog, id, kCommands);
    }
}

}  // namespace

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreInvocation(dialog, lParam);
        // A block that cannot be read leaves no width conversion and the case unchanged.
        SetCheck(dialog, IDC_NAME_WIDTH_NONE, 1);
        SetCheck(dialog, IDC_NAME_CASE_NONE, 1);
        LoadBlock(dialog, BlockOf(OptionBlockId::Name));
        SetEnabledStates(dialog);
        return FALSE;
    case WM_COMMAND:
        return HandleNameCommand(dialog, LOWORD(wParam));
    default:
        return FALSE;
    }
}
