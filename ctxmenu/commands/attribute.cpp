// Attribute change ("属性変更(&A)", command 10, dialog 148): sets, adds or removes the
// archive, read-only and hidden attributes of the selected files, folders or both and,
// when asked, of everything inside selected folders.
#include "common/report.h"
#include "common/resource_ids.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/rules/attribute_rule.h"

namespace {

// The items of 1084, in the order of the block's byte 3.
const char* const kTargetItems[] = {"ファイルのみ", "フォルダのみ", "両方"};

// The options of one run, read once from the dialog when OK is pressed.
struct AttributeOptions {
    unsigned chosen;
    bool modeChosen;   // false when no mode button is checked (a stored block can name none)
    AttributeMode mode;
    int targets;       // the index of 1084, -1 when it has none
    bool subfolders;
};

AttributeOptions ReadAttributeOptions(HWND dialog)
{
    AttributeOptions o{};
    o.chosen = ChosenAttributes(GetCheck(dialog, IDC_ATTRIBUTE_ARCHIVE) == 1, GetCheck(dialog, IDC_ATTRIBUTE_READONLY) == 1,
                                GetCheck(dialog, IDC_ATTRIBUTE_HIDDEN) == 1);
    o.modeChosen = true;
    if (GetCheck(dialog, IDC_ATTRIBUTE_ABSOLUTE)) {
        o.mode = AttributeMode::Absolute;
    } else if (GetCheck(dialog, IDC_ATTRIBUTE_ADD)) {
        o.mode = AttributeMode::Add;
    } else if (GetCheck(dialog, IDC_ATTRIBUTE_REMOVE)) {
        o.mode = AttributeMode::Remove;
    } else {
        o.modeChosen = false;
    }
    o.targets = static_cast<int>(SendDlgItemMessageA(dialog, IDC_ATTRIBUTE_TARGETS, CB_GETCURSEL, 0, 0));
    o.subfolders = GetCheck(dialog, IDC_ATTRIBUTE_SUBFOLDERS) == 1;
    return o;
}

// Changes one item. A folder that keeps its own attributes (files only) is still
// descended into with 1083.
int ChangeAttributeItem(WalkItem& item, void* context)
{
    const AttributeOptions& options = *static_cast<const AttributeOptions*>(context);
    if (item.attributes == INVALID_FILE_ATTRIBUTES) {
        item.attributes = GetFileAttributesA(item.path);
        if (item.attributes == INVALID_FILE_ATTRIBUTES) {
            ReportFault();
            return 0;
        }
    }
    // No mode chosen: the run stops rather than guess, since absolute with nothing
    // chosen would clear every attribute.
    if (!options.modeChosen) {
        ReportFault();
        return 0;
    }
    const AttributeTarget target = TargetFor(options.targets, IsFolderAttributes(item.attributes));
    if (target == AttributeTarget::Invalid) {
        ReportFault();
        return 0;
    }
    if (target == AttributeTarget::Change &&
        !SetFileAttributesA(item.path, NewAttributeValue(item.attributes, options.chosen, options.mode))) {
        ReportLastError();
        return 0;
    }
    return 1;
}

int RunAttributeChange(HWND dialog)
{
    AttributeOptions options = ReadAttributeOptions(dialog);
    return RunOverSelection(dialog, WalkRules{options.subfolders, EntryFailure::StopsRun}, ChangeAttributeItem,
                            &options);
}

void InitAttributeDialog(HWND dialog)
{
    for (const char* item : kTargetItems)
        SendDlgItemMessageA(dialog, IDC_ATTRIBUTE_TARGETS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendDlgItemMessageA(dialog, IDC_ATTRIBUTE_TARGETS, CB_SETCURSEL, 0, 0);
    SetCheck(dialog, IDC_ATTRIBUTE_ABSOLUTE, 1);
    LoadBlock(dialog, BlockOf(OptionBlockId::Attribute));
}

}  // namespace

INT_PTR CALLBACK AttributeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreInvocation(dialog, lParam);
        InitAttributeDialog(dialog);
        return FALSE;
    case WM_COMMAND:
        return HandleFrameCommand(dialog, LOWORD(wParam),
                                  DialogCommands{RunAttributeChange, BlockOf(OptionBlockId::Attribute)});
    default:
        return FALSE;
    }
}
