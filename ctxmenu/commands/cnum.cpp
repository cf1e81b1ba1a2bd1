// Serial-number renaming ("連番で整理(&N)", command 12, dialog 144): the selected items, sorted by date or
// name, get new names made of a prefix and a running number, keeping their extensions.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <new>

#include "common/handles.h"
#include "common/selection.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/rules/cp932_text.h"
#include "common/rules/path_build.h"
#include "common/settings_store.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/rename_step.h"
#include "ctxmenu/rename_preview.h"
#include "ctxmenu/rules/cnum_rule.h"
#include "ctxmenu/rules/permute_rule.h"

namespace {

constexpr char kMsgNewNameTooLong[] = "連番を付けた名前ではパスが長すぎるため、名前を変更できません。\n";

// The up-down ranges apply to the arrows only; any text can be typed.
constexpr int kStartHighest = 32767;
constexpr int kDigitsLowest = 1;
constexpr int kDigitsHighest = 99;
constexpr int kDigitsAtOpening = 4;

void EnableDigits(HWND dialog)
{
    const int zeroFill = GetCheck(dialog, IDC_CNUM_ZERO_FILL);
    EnableDlgItem(dialog, IDC_CNUM_DIGITS, zeroFill);
    EnableDlgItem(dialog, IDC_CNUM_DIGITS_SPIN, zeroFill);
}

// The dialog's numbering, read once per run.
struct Numbering {
    char prefix[kPathSize];
    std::uint64_t start;
    std::uint64_t digits;
    bool zeroFill;
};

// The last-write time of `path`, without a message: an item whose time cannot be read
// is placed by the sort as the oldest.
void ReadLastWrite(SerialItem& item)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    item.timeKnown = GetFileAttributesExA(item.path, GetFileExInfoStandard, &data) != FALSE;
    item.lastWrite = item.timeKnown ? (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                          data.ftLastWriteTime.dwLowDateTime
                                    : 0;
}

// The options of one run, read once from the dialog when OK is pressed.
struct CnumOptions {
    Numbering numbering;
    SerialSortKey key;
    bool ascending;
};

int ReadCnumOptions(HWND dialog, CnumOptions* o)
{
    o->key = GetCheck(dialog, IDC_CNUM_BY_NAME) == 1 ? SerialSortKey::Name : SerialSortKey::Date;
    o->ascending = GetCheck(dialog, IDC_CNUM_ASCENDING) == 1;
    o->numbering.start = GetDlgUnsigned(dialog, IDC_CNUM_START);
    o->numbering.digits = GetDlgUnsigned(dialog, IDC_CNUM_DIGITS);
    o->numbering.zeroFill = GetCheck(dialog, IDC_CNUM_ZERO_FILL) == 1;
    return ReadDialogText(dialog, IDC_CNUM_PREFIX, o->numbering.prefix, sizeof o->numbering.prefix);
}

// Gives the item the name prefix + `number` + its own extension. 0 after a report.
int NumberItem(WalkItem& item, const Numbering& numbering, std::uint64_t number, RenameStep& step)
{
    char source[kPathSize];
    char* name = nullptr;
    if (!ResolveItemName(item.path, source, &name)) return 0;
    const std::size_t folderLength = static_cast<std::size_t>(name - source);
    const char* extension = name + KeptExtensionOffset(name);

    char digits[kPathSize];
    char newName[kPathSize];
    if (!FormatSerialNumber(number, numbering.zeroFill, numbering.digits, digits, sizeof digits) ||
        !BuildSerialPath("", numbering.prefix, digits, extension, newName, kPathSize - folderLength)) {
        ShowPathMessage(kMsgNewNameTooLong, source);
        return 0;
    }
    // One pass, no temporary names: the rename never replaces an existing item, so a
    // name taken already (by another selected item too) stops the run there.
    return step.Rename(item, source, folderLength, newName, kMsgNewNameTooLong, false);
}

// The selection read whole, sorted, and numbered in that order; the observer is told of
// every item as the walk over the selection tells it.
int PlanCnum(HWND dialog, const void* options, RenameStep& step, WalkObserver* observer)
{
    const CnumOptions& o = *static_cast<const CnumOptions*>(options);
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    // One pass over the selection, however large.
    SelectionCursor cursor(drop);
    const UINT count = cursor.Count();
    if (count == 0) {
        ShowErrorBox(nullptr, kMsgNoSelection);
        return 0;
    }
    GlobalBlock list;
    std::unique_ptr<SerialItem[]> items(new (std::nothrow) SerialItem[count]);
    if (!list.Allocate(static_cast<SIZE_T>(count) * kPathSize) || !items) {
        ShowErrorBox(nullptr, kMsgNoMemory);
        return 0;
    }
    char* slots = reinterpret_cast<char*>(list.get());
    for (UINT i = 0; i < count; ++i) {
        char* slot = slots + static_cast<std::size_t>(i) * kPathSize;
        if (!cursor.Next(slot)) {
            ShowErrorBox(nullptr, kMsgUnreadablePath);
            // Nothing is renamed before the whole selection is read.
            if (observer != nullptr) observer->ContinueAfterFailure(nullptr);
            return 0;
        }
        items[i] = SerialItem{slot, i, false, 0};
    }

    // Each time is read once, before the sort, not at every comparison.
    if (o.key == SerialSortKey::Date)
        for (UINT i = 0; i < count; ++i) ReadLastWrite(items[i]);
    SortSerialItems(items.get(), count, o.key, o.ascending);

    // The number is unsigned and 64 bits wide: a start from 2^31 up is written as typed
    // and the count never wraps.
    if (observer != nullptr) observer->SetTotal(count);
    bool failed = false;
    for (UINT j = 0; j < count; ++j) {
        WalkItem item;
        StartWalkItem(item, items[j].path);
        if (observer != nullptr && !observer->BeforeItem(item)) return 0;
        if (failed) {
            observer->Unvisited(item);
        } else if (!NumberItem(item, o.numbering, o.numbering.start + j, step)) {
            if (observer == nullptr || !observer->ContinueAfterFailure(&item)) return 0;
            failed = true;
        }
    }
    if (failed) return 0;
    if (!list.Free()) {
        ReportLastError();
        return 0;
    }
    return 1;
}

using CnumActions = RenameActions<CnumOptions, ReadCnumOptions, PlanCnum>;
const DialogCommands kCommands{CnumActions::Run, BlockOf(OptionBlockId::Cnum), CnumActions::Preview};

BOOL HandleCnumCommand(HWND dialog, WORD id)
{
    if (id == IDC_CNUM_ZERO_FILL) {
        EnableDigits(dialog);
        return TRUE;
    }
    return HandleFrameCommand(dialog, id, kCommands);
}

void InitDialog(HWND dialog, LPARAM initParam)
{
    StoreInvocation(dialog, initParam);
    // Through this call kelmora.dll imports the common controls, whose library registers
    // the up-down class as it loads, before any template of ours is created.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    SendDlgItemMessageA(dialog, IDC_CNUM_START_SPIN, UDM_SETRANGE, 0, MAKELPARAM(kStartHighest, 0));
    SendDlgItemMessageA(dialog, IDC_CNUM_START_SPIN, UDM_SETPOS, 0, MAKELPARAM(0, 0));
    SendDlgItemMessageA(dialog, IDC_CNUM_DIGITS_SPIN, UDM_SETRANGE, 0, MAKELPARAM(kDigitsHighest, kDigitsLowest));
    SendDlgItemMessageA(dialog, IDC_CNUM_DIGITS_SPIN, UDM_SETPOS, 0, MAKELPARAM(kDigitsAtOpening, 0));
    EnableDlgItem(dialog, IDC_CNUM_DIGITS, 0);
    EnableDlgItem(dialog, IDC_CNUM_DIGITS_SPIN, 0);
    // A block that cannot be read leaves date and ascending selected.
    SetCheck(dialog, IDC_CNUM_BY_DATE, 1);
    SetCheck(dialog, IDC_CNUM_ASCENDING, 1);
    LoadBlock(dialog, BlockOf(OptionBlockId::Cnum));
    EnableDigits(dialog);
}

}  // namespace

INT_PTR CALLBACK CnumDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitDialog(dialog, lParam);
        return FALSE;
    case WM_COMMAND:
        return HandleCnumCommand(dialog, LOWORD(wParam));
    default:
        return FALSE;
    }
}
