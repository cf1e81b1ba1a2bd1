// Attribute change (command 10, dialog 148): sets, adds or removes the archive,
// read-only and hidden attributes of the selected files, folders or both and, when
// asked, of everything inside selected folders.
#include "common/folder_walk.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/settings_store.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/rules/attribute_rule.h"

namespace {

constexpr char kBlockName[] = "Attribute";
// The items of 1084, in the order of the block's byte 3.
const char* const kTargetItems[] = {"ファイルのみ", "フォルダのみ", "両方"};

int ChangeAttributeItem(HWND dialog, const char* path);

int LoadAttributeOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char block[kAttributeBlockSize];
    if (!ReadSettingsBlock(kBlockName, block, sizeof block)) return 0;
    ApplyAttributeLoadingRule(block, sizeof block);
    SetCheck(dialog, IDC_ATTRIBUTE_ARCHIVE, FlagFromByte(block[0]));
    SetCheck(dialog, IDC_ATTRIBUTE_READONLY, FlagFromByte(block[1]));
    SetCheck(dialog, IDC_ATTRIBUTE_HIDDEN, FlagFromByte(block[2]));
    // An index outside the list leaves it without a selection (asked for explicitly: not
    // every list clears its selection on an index it does not hold); a run then stops.
    const WPARAM target = block[3] < sizeof kTargetItems / sizeof kTargetItems[0] ? block[3] : static_cast<WPARAM>(-1);
    SendDlgItemMessageA(dialog, IDC_ATTRIBUTE_TARGETS, CB_SETCURSEL, target, 0);
    SetCheck(dialog, IDC_ATTRIBUTE_ABSOLUTE, FlagFromByte(block[4]));
    SetCheck(dialog, IDC_ATTRIBUTE_ADD, FlagFromByte(block[5]));
    SetCheck(dialog, IDC_ATTRIBUTE_REMOVE, FlagFromByte(block[6]));
    SetCheck(dialog, IDC_ATTRIBUTE_SUBFOLDERS, FlagFromByte(block[7]));
    return 1;
}

int SaveAttributeOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    const LRESULT target = SendDlgItemMessageA(dialog, IDC_ATTRIBUTE_TARGETS, CB_GETCURSEL, 0, 0);
    const unsigned char block[kAttributeBlockSize] = {
        ByteFromFlag(GetCheck(dialog, IDC_ATTRIBUTE_ARCHIVE)),
        ByteFromFlag(GetCheck(dialog, IDC_ATTRIBUTE_READONLY)),
        ByteFromFlag(GetCheck(dialog, IDC_ATTRIBUTE_HIDDEN)),
        static_cast<unsigned char>(target),
        ByteFromFlag(GetCheck(dialog, IDC_ATTRIBUTE_ABSOLUTE)),
        ByteFromFlag(GetCheck(dialog, IDC_ATTRIBUTE_ADD)),
        ByteFromFlag(GetCheck(dialog, IDC_ATTRIBUTE_REMOVE)),
        ByteFromFlag(GetCheck(dialog, IDC_ATTRIBUTE_SUBFOLDERS)),
    };
    return WriteSettingsBlock(kBlockName, block, sizeof block);
}

// The mode of the live dialog. false when no mode button is checked (a stored block can
// name none): a run then stops rather than guess, since absolute with nothing chosen
// would clear every attribute.
bool ChosenMode(HWND dialog, AttributeMode* mode)
{
    if (GetCheck(dialog, IDC_ATTRIBUTE_ABSOLUTE)) {
        *mode = AttributeMode::Absolute;
    } else if (GetCheck(dialog, IDC_ATTRIBUTE_ADD)) {
        *mode = AttributeMode::Add;
    } else if (GetCheck(dialog, IDC_ATTRIBUTE_REMOVE)) {
        *mode = AttributeMode::Remove;
    } else {
        return false;
    }
    return true;
}

int ChangeAttributeEntry(const char* folder, const FolderEntry& entry, void* context)
{
    // A child path that would not fit is reported and ends the run; nothing is cut.
    char child[kPathSize];
    if (!BuildChildPath(child, folder, entry.name, nullptr)) return 0;
    return ChangeAttributeItem(static_cast<HWND>(context), child);
}

// Changes one item and, with 1083, everything below it. 1 to go on; 0 stops the run.
int ChangeAttributeItem(HWND dialog, const char* path)
{
    if (dialog == nullptr || path == nullptr) {
        ReportFault();
        return 0;
    }
    const DWORD current = GetFileAttributesA(path);
    if (current == INVALID_FILE_ATTRIBUTES) {
        ReportFault();
        return 0;
    }
    const bool isFolder = (current & FILE_ATTRIBUTE_DIRECTORY) != 0;

    // The options are read from the live dialog for every item.
    const unsigned chosen = ChosenAttributes(GetCheck(dialog, IDC_ATTRIBUTE_ARCHIVE) == 1,
                                             GetCheck(dialog, IDC_ATTRIBUTE_READONLY) == 1,
                                             GetCheck(dialog, IDC_ATTRIBUTE_HIDDEN) == 1);
    AttributeMode mode;
    if (!ChosenMode(dialog, &mode)) {
        ReportFault();
        return 0;
    }
    const int list = static_cast<int>(SendDlgItemMessageA(dialog, IDC_ATTRIBUTE_TARGETS, CB_GETCURSEL, 0, 0));
    const AttributeTarget target = TargetFor(list, isFolder);
    if (target == AttributeTarget::Invalid) {
        ReportFault();
        return 0;
    }
    if (target == AttributeTarget::Change && !SetFileAttributesA(path, NewAttributeValue(current, chosen, mode))) {
        ReportLastError();
        return 0;
    }

    // A folder that keeps its own attributes (files only) is still descended into. A
    // junction or symbolic link is an item, never descended into.
    if (GetCheck(dialog, IDC_ATTRIBUTE_SUBFOLDERS) != 1 || !isFolder) return 1;
    if (current & FILE_ATTRIBUTE_REPARSE_POINT) return 1;
    return ForEachFolderEntry(nullptr, path, ChangeAttributeEntry, dialog);
}

int ChangeSelectedItem(HWND dialog, const char* path, void*)
{
    return ChangeAttributeItem(dialog, path);
}

int RunAttributeChange(HWND dialog)
{
    return RunOverSelection(dialog, ChangeSelectedItem, nullptr);
}

void InitAttributeDialog(HWND dialog)
{
    for (const char* item : kTargetItems)
        SendDlgItemMessageA(dialog, IDC_ATTRIBUTE_TARGETS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendDlgItemMessageA(dialog, IDC_ATTRIBUTE_TARGETS, CB_SETCURSEL, 0, 0);
    SetCheck(dialog, IDC_ATTRIBUTE_ABSOLUTE, 1);
    LoadAttributeOptions(dialog);
}

}  // namespace

INT_PTR CALLBACK AttributeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreDialogContext(dialog, lParam);
        InitAttributeDialog(dialog);
        return FALSE;
    case WM_COMMAND:
        return HandleFrameCommand(dialog, LOWORD(wParam),
                                  DialogCommands{RunAttributeChange, SaveAttributeOptions});
    default:
        return FALSE;
    }
}
