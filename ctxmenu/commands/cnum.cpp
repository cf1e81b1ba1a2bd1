// Serial-number renaming (command 12, dialog 144): the selected items, sorted by date or
// name, get new names made of a prefix and a running number, keeping their extensions.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <new>

#include "common/handles.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/rules/cp932_text.h"
#include "common/rules/path_build.h"
#include "common/settings_store.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/rename_step.h"
#include "ctxmenu/rules/cnum_rule.h"
#include "ctxmenu/rules/permute_rule.h"

namespace {

constexpr char kBlockName[] = "Cnum";
constexpr char kMsgNewNameTooLong[] = "連番を付けた名前ではパスが長すぎるため、名前を変更できません。\n";

// Block layout: three texts, then the flag bytes.
struct TextField {
    std::size_t offset;
    int control;
};
constexpr TextField kTextFields[] = {
    {0, IDC_CNUM_PREFIX},
    {260, IDC_CNUM_START},
    {520, IDC_CNUM_DIGITS},
};
constexpr std::size_t kFlagsOffset = 780;
constexpr int kFlagControls[] = {IDC_CNUM_ZERO_FILL, IDC_CNUM_BY_DATE, IDC_CNUM_BY_NAME, IDC_CNUM_ASCENDING,
                                 IDC_CNUM_DESCENDING};
static_assert(kFlagsOffset + sizeof kFlagControls / sizeof kFlagControls[0] == kCnumBlockSize,
              "the flags end the block");

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

int LoadCnumOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char block[kCnumBlockSize];
    if (!ReadSettingsBlock(kBlockName, block, sizeof block)) return 0;
    unsigned char* flags = block + kFlagsOffset;
    if (flags[1] == 0 && flags[2] == 0) flags[1] = 1;
    if (flags[3] == 0 && flags[4] == 0) flags[3] = 1;
    for (const TextField& field : kTextFields) {
        // A text written without its terminator ends at the last byte of its field.
        block[field.offset + kPathSize - 1] = '\0';
        SetDlgItemTextA(dialog, field.control, reinterpret_cast<const char*>(block + field.offset));
    }
    for (std::size_t i = 0; i < sizeof kFlagControls / sizeof kFlagControls[0]; ++i)
        SetCheck(dialog, kFlagControls[i], FlagFromByte(flags[i]));
    return 1;
}

int SaveCnumOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char block[kCnumBlockSize] = {};
    for (const TextField& field : kTextFields)
        GetDlgItemTextA(dialog, field.control, reinterpret_cast<char*>(block + field.offset), static_cast<int>(kPathSize));
    for (std::size_t i = 0; i < sizeof kFlagControls / sizeof kFlagControls[0]; ++i)
        block[kFlagsOffset + i] = ByteFromFlag(GetCheck(dialog, kFlagControls[i]));
    return WriteSettingsBlock(kBlockName, block, sizeof block);
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

// An edit's text as an unsigned decimal number; 0 when it is not one. A minus sign makes
// a text no unsigned number, though some versions of the platform's reading wrap it
// round to a huge value instead.
std::uint64_t ReadUnsignedNumber(HWND dialog, int id)
{
    char text[kPathSize] = {};
    GetDlgItemTextA(dialog, id, text, static_cast<int>(kPathSize));
    BOOL translated = FALSE;
    const UINT number = GetDlgItemInt(dialog, id, &translated, FALSE);
    return translated && std::strchr(text, '-') == nullptr ? number : 0;
}

// Gives `path` the name prefix + `number` + its own extension. 0 after a report.
int NumberItem(const char* path, const Numbering& numbering, std::uint64_t number)
{
    char source[kPathSize];
    char* name = nullptr;
    if (!ResolveItemName(path, source, &name)) return 0;
    const std::size_t folderLength = static_cast<std::size_t>(name - source);
    char folder[kPathSize];
    std::memcpy(folder, source, folderLength);
    folder[folderLength] = '\0';
    const char* extension = name + KeptExtensionOffset(name);

    char digits[kPathSize];
    char target[kPathSize];
    if (!FormatSerialNumber(number, numbering.zeroFill, numbering.digits, digits, sizeof digits) ||
        !BuildSerialPath(folder, numbering.prefix, digits, extension, target, sizeof target)) {
        ShowPathMessage(kMsgNewNameTooLong, source);
        return 0;
    }
    // A prefix that would reach into another folder is not part of a file name: refused
    // the way the platform refuses such a name.
    if (HasPathSeparator932(target + folderLength)) {
        ReportError(ERROR_INVALID_NAME);
        return 0;
    }
    // One pass, no temporary names: MoveFileA never replaces an existing item, so a name
    // taken already (by another selected item too) stops the run there.
    if (!MoveFileA(source, target)) {
        ReportLastError();
        return 0;
    }
    return 1;
}

int RunCnum(HWND dialog)
{
    HDROP drop = nullptr;
    const UINT count = GetSelectionCount(dialog, &drop);
    if (count == 0) return 0;
    GlobalBlock list;
    std::unique_ptr<SerialItem[]> items(new (std::nothrow) SerialItem[count]);
    if (!list.Allocate(static_cast<SIZE_T>(count) * kPathSize) || !items) {
        ShowErrorBox(nullptr, kMsgNoMemory);
        return 0;
    }
    char* slots = reinterpret_cast<char*>(list.get());
    for (UINT i = 0; i < count; ++i) {
        char* slot = slots + static_cast<std::size_t>(i) * kPathSize;
        if (!QuerySelectedPath(drop, i, slot)) {
            ShowErrorBox(nullptr, kMsgUnreadablePath);
            return 0;
        }
        items[i] = SerialItem{slot, i, false, 0};
    }

    const SerialSortKey key = GetCheck(dialog, IDC_CNUM_BY_NAME) == 1 ? SerialSortKey::Name : SerialSortKey::Date;
    // Each time is read once, before the sort, not at every comparison.
    if (key == SerialSortKey::Date)
        for (UINT i = 0; i < count; ++i) ReadLastWrite(items[i]);
    SortSerialItems(items.get(), count, key, GetCheck(dialog, IDC_CNUM_ASCENDING) == 1);

    Numbering numbering{};
    GetDlgItemTextA(dialog, IDC_CNUM_PREFIX, numbering.prefix, static_cast<int>(kPathSize));
    numbering.start = ReadUnsignedNumber(dialog, IDC_CNUM_START);
    numbering.digits = ReadUnsignedNumber(dialog, IDC_CNUM_DIGITS);
    numbering.zeroFill = GetCheck(dialog, IDC_CNUM_ZERO_FILL) == 1;
    // The number is unsigned and 64 bits wide: a start from 2^31 up is written as typed
    // and the count never wraps.
    for (UINT j = 0; j < count; ++j) {
        if (!NumberItem(items[j].path, numbering, numbering.start + j)) return 0;
    }

    if (!list.Free()) {
        ReportLastError();
        return 0;
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, kChangeNotifyFlags, nullptr, nullptr);
    return 1;
}

BOOL HandleCnumCommand(HWND dialog, WORD id)
{
    if (id == IDC_CNUM_ZERO_FILL) {
        EnableDigits(dialog);
        return TRUE;
    }
    return HandleFrameCommand(dialog, id, DialogCommands{RunCnum, SaveCnumOptions});
}

void InitDialog(HWND dialog, LPARAM initParam)
{
    StoreDialogContext(dialog, initParam);
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
    LoadCnumOptions(dialog);
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
