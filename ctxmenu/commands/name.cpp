// Name arrangement (command 11, dialog 136): width and case conversion, a new extension
// and texts added at the start or the end of the names of the selected items and, when
// asked, of everything inside selected folders.
#include <cstring>

#include "common/folder_walk.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/rules/path_build.h"
#include "common/settings_store.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/rename_step.h"
#include "ctxmenu/rules/name_rule.h"
#include "ctxmenu/rules/permute_rule.h"

#include <shlwapi.h>

namespace {

constexpr char kBlockName[] = "Name";
constexpr char kMsgNewNameTooLong[] = "整理後の名前ではパスが長すぎるため、名前を変更できません。\n";

// Block layout: flag bytes, then the four texts.
constexpr std::size_t kFlagCount = 19;
constexpr std::size_t kTokenOffset = 58;
constexpr std::size_t kExtensionOffset = 318;
constexpr std::size_t kStartOffset = 578;
constexpr std::size_t kEndOffset = 838;
static_assert(kEndOffset + kPathSize == kNameBlockSize, "the last text ends the block");

// The control of each flag byte, in block order.
constexpr int kFlagControls[kFlagCount] = {
    IDC_NAME_WIDTH_NONE,   IDC_NAME_WIDTH_HALF, IDC_NAME_WIDTH_FULL,    IDC_NAME_UPPER,
    IDC_NAME_LOWER,        IDC_NAME_DIGITS,     IDC_NAME_SYMBOLS,       IDC_NAME_SPACES,
    IDC_NAME_KEEP_EXTENSION, IDC_NAME_CASE_NONE, IDC_NAME_CASE_UPPER,   IDC_NAME_CASE_LOWER,
    IDC_NAME_CASE_TOKEN,   IDC_NAME_FULL_LETTERS, IDC_NAME_CHANGE_EXTENSION, IDC_NAME_ADD_START,
    IDC_NAME_ADD_END,      IDC_NAME_KEEP_FOLDERS, IDC_NAME_SUBFOLDERS,
};

struct TextField {
    std::size_t offset;
    int control;
};
constexpr TextField kTextFields[] = {
    {kTokenOffset, IDC_NAME_TOKEN},
    {kExtensionOffset, IDC_NAME_EXTENSION_TEXT},
    {kStartOffset, IDC_NAME_START_TEXT},
    {kEndOffset, IDC_NAME_END_TEXT},
};

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

int LoadNameOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char block[kNameBlockSize];
    if (!ReadSettingsBlock(kBlockName, block, sizeof block)) return 0;
    if (block[0] == 0 && block[1] == 0 && block[2] == 0) block[0] = 1;
    if (block[9] == 0 && block[10] == 0 && block[11] == 0 && block[12] == 0) block[9] = 1;
    for (std::size_t i = 0; i < kFlagCount; ++i) SetCheck(dialog, kFlagControls[i], FlagFromByte(block[i]));
    for (const TextField& field : kTextFields) {
        // A text written without its terminator ends at the last byte of its field.
        block[field.offset + kPathSize - 1] = '\0';
        SetDlgItemTextA(dialog, field.control, reinterpret_cast<const char*>(block + field.offset));
    }
    return 1;
}

int SaveNameOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char block[kNameBlockSize] = {};
    for (std::size_t i = 0; i < kFlagCount; ++i) block[i] = ByteFromFlag(GetCheck(dialog, kFlagControls[i]));
    for (const TextField& field : kTextFields)
        GetDlgItemTextA(dialog, field.control, reinterpret_cast<char*>(block + field.offset), static_cast<int>(kPathSize));
    return WriteSettingsBlock(kBlockName, block, sizeof block);
}

// A text control's text in a buffer of its own.
struct DialogText {
    DialogText(HWND dialog, int id) { GetDlgItemTextA(dialog, id, text, static_cast<int>(kPathSize)); }
    const char* c_str() const { return text; }
    char text[kPathSize] = {};
};

WidthClasses ReadWidthClasses(HWND dialog)
{
    WidthClasses classes;
    classes.upper = GetCheck(dialog, IDC_NAME_UPPER) == 1;
    classes.lower = GetCheck(dialog, IDC_NAME_LOWER) == 1;
    classes.digits = GetCheck(dialog, IDC_NAME_DIGITS) == 1;
    classes.symbols = GetCheck(dialog, IDC_NAME_SYMBOLS) == 1;
    classes.spaces = GetCheck(dialog, IDC_NAME_SPACES) == 1;
    classes.keepExtension = GetCheck(dialog, IDC_NAME_KEEP_EXTENSION) == 1;
    return classes;
}

using WidthRule = bool (*)(const char*, const WidthClasses&, char*, std::size_t);

// Converts `name` in place. A result past 259 bytes leaves the name as it was and
// gives 0; that is not a failure of the item.
int ConvertNameWidth(HWND dialog, char* name, WidthRule rule)
{
    if (dialog == nullptr || name == nullptr || name[0] == '\0') {
        ReportFault();
        return 0;
    }
    char converted[kPathSize];
    if (!rule(name, ReadWidthClasses(dialog), converted, sizeof converted)) return 0;
    std::memcpy(name, converted, std::strlen(converted) + 1);
    return 1;
}

int ToHalfWidth(HWND dialog, char* name) { return ConvertNameWidth(dialog, name, ::ToHalfWidth); }
int ToFullWidth(HWND dialog, char* name) { return ConvertNameWidth(dialog, name, ::ToFullWidth); }

int CapitalizeAfterToken(HWND dialog, char* name)
{
    if (dialog == nullptr || name == nullptr || name[0] == '\0') {
        ReportFault();
        return 0;
    }
    const DialogText token(dialog, IDC_NAME_TOKEN);
    char original[kPathSize];
    if (!ConcatPath(original, sizeof original, name, "")) {
        ReportFault();
        return 0;
    }
    CharLowerBuffA(name, static_cast<DWORD>(std::strlen(original)));
    ::CapitalizeAfterToken(original, token.c_str(), name);
    return 1;
}

// Room for a name with every text added: the name and three texts of 259 bytes each.
constexpr std::size_t kWorkSize = kPathSize * 4;

enum class WidthMode { None, Half, Full };
enum class CaseMode { Unchanged, Upper, Lower, Token };

// The new final component for `name` by the live dialog's options. 0 after a report.
int ArrangeName(HWND dialog, const char* name, const char* source, char* out /* kWorkSize */)
{
    const WidthMode width = GetCheck(dialog, IDC_NAME_WIDTH_HALF) == 1   ? WidthMode::Half
                            : GetCheck(dialog, IDC_NAME_WIDTH_FULL) == 1 ? WidthMode::Full
                                                                         : WidthMode::None;
    const CaseMode letterCase = GetCheck(dialog, IDC_NAME_CASE_UPPER) == 1   ? CaseMode::Upper
                                : GetCheck(dialog, IDC_NAME_CASE_LOWER) == 1 ? CaseMode::Lower
                                : GetCheck(dialog, IDC_NAME_CASE_TOKEN) == 1 ? CaseMode::Token
                                                                             : CaseMode::Unchanged;
    std::memcpy(out, name, std::strlen(name) + 1);   // a final component fits: it came from a 260-byte path

    // A width conversion that does not fit leaves the name as it was; the other steps
    // still run.
    if (width == WidthMode::Half) ToHalfWidth(dialog, out);
    if (width == WidthMode::Full) ToFullWidth(dialog, out);

    if (letterCase == CaseMode::Upper) CharUpperBuffA(out, static_cast<DWORD>(std::strlen(out)));
    if (letterCase == CaseMode::Lower) CharLowerBuffA(out, static_cast<DWORD>(std::strlen(out)));
    if (letterCase == CaseMode::Token && !CapitalizeAfterToken(dialog, out)) return 0;

    bool fits = true;
    if (GetCheck(dialog, IDC_NAME_CHANGE_EXTENSION) == 1) {
        char extension[kPathSize + 1];
        // The platform call keeps a name within 259 bytes; a longer one could not be a
        // path anyway.
        fits = DottedExtension(DialogText(dialog, IDC_NAME_EXTENSION_TEXT).c_str(), extension, sizeof extension) &&
               PathRenameExtensionA(out, extension) != FALSE;
    }
    if (fits && GetCheck(dialog, IDC_NAME_ADD_START) == 1)
        fits = PrependText(out, kWorkSize, DialogText(dialog, IDC_NAME_START_TEXT).c_str());
    if (fits && GetCheck(dialog, IDC_NAME_ADD_END) == 1)
        fits = InsertBeforeExtension(out, kWorkSize, DialogText(dialog, IDC_NAME_END_TEXT).c_str());
    if (!fits) {
        ShowPathMessage(kMsgNewNameTooLong, source);
        return 0;
    }
    return 1;
}

int ArrangeItem(HWND dialog, const char* path);

int ArrangeEntry(const char* folder, const FolderEntry& entry, void* context)
{
    char child[kPathSize];
    if (!BuildChildPath(child, folder, entry.name, nullptr)) return 0;
    return ArrangeItem(static_cast<HWND>(context), child);
}

// Renames one item and, with 1110, everything below it. 1 to go on; 0 stops the run.
int ArrangeItem(HWND dialog, const char* path)
{
    const DWORD attributes = path != nullptr ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    if (dialog == nullptr || attributes == INVALID_FILE_ATTRIBUTES) {
        ReportFault();
        return 0;
    }
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    char target[kPathSize];

    if (folder && GetCheck(dialog, IDC_NAME_KEEP_FOLDERS) == 1) {
        // The folder keeps its name; its contents may still be arranged.
        if (!ConcatPath(target, kPathSize, path, "")) {
            ReportPathTooLong(nullptr, path, nullptr);
            return 0;
        }
    } else {
        char source[kPathSize];
        char* name = nullptr;
        if (!ResolveItemName(path, source, &name)) return 0;
        char newName[kWorkSize];
        if (!ArrangeName(dialog, name, source, newName)) return 0;
        // Every item is handed to the rename, also when its name stays.
        if (!RenameToName(source, static_cast<std::size_t>(name - source), newName, kMsgNewNameTooLong, false,
                          target)) {
            return 0;
        }
    }

    if (!folder || GetCheck(dialog, IDC_NAME_SUBFOLDERS) != 1) return 1;
    // A junction or symbolic link is an item of its own, never descended into.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return 1;
    return ForEachFolderEntry(nullptr, target, ArrangeEntry, dialog);
}

int ArrangeSelectedItem(HWND dialog, const char* path, void*)
{
    return ArrangeItem(dialog, path);
}

int RunNameArrange(HWND dialog)
{
    return RunOverSelection(dialog, ArrangeSelectedItem, nullptr);
}

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
        return HandleFrameCommand(dialog, id, DialogCommands{RunNameArrange, SaveNameOptions});
    }
}

}  // namespace

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreDialogContext(dialog, lParam);
        // A block that cannot be read leaves no width conversion and the case unchanged.
        SetCheck(dialog, IDC_NAME_WIDTH_NONE, 1);
        SetCheck(dialog, IDC_NAME_CASE_NONE, 1);
        LoadNameOptions(dialog);
        SetEnabledStates(dialog);
        return FALSE;
    case WM_COMMAND:
        return HandleNameCommand(dialog, LOWORD(wParam));
    default:
        return FALSE;
    }
}
