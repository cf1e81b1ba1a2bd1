// Name arrangement ("名前を整理(&G)", command 11, dialog 136): width and case conversion,
// a new extension and texts added at the start or the end of the names of the selected
// items and, when asked, of everything inside selected folders.
#include <shlwapi.h>

#include <cstring>

#include "common/report.h"
#include "common/resource_ids.h"
#include "common/rules/path_build.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
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

enum class WidthMode { None, Half, Full };
enum class CaseMode { Unchanged, Upper, Lower, Token };

// The options of one run, read once from the dialog when OK is pressed.
struct ArrangeOptions {
    WidthMode width;
    WidthClasses classes;
    CaseMode letterCase;
    char token[kPathSize];
    bool changeExtension;
    char extension[kPathSize];
    bool addStart;
    char start[kPathSize];
    bool addEnd;
    char end[kPathSize];
    bool keepFolders;
    bool subfolders;
};

int ReadArrangeOptions(HWND dialog, ArrangeOptions* o)
{
    o->width = GetCheck(dialog, IDC_NAME_WIDTH_HALF) == 1   ? WidthMode::Half
               : GetCheck(dialog, IDC_NAME_WIDTH_FULL) == 1 ? WidthMode::Full
                                                            : WidthMode::None;
    o->classes.upper = GetCheck(dialog, IDC_NAME_UPPER) == 1;
    o->classes.lower = GetCheck(dialog, IDC_NAME_LOWER) == 1;
    o->classes.digits = GetCheck(dialog, IDC_NAME_DIGITS) == 1;
    o->classes.symbols = GetCheck(dialog, IDC_NAME_SYMBOLS) == 1;
    o->classes.spaces = GetCheck(dialog, IDC_NAME_SPACES) == 1;
    o->classes.keepExtension = GetCheck(dialog, IDC_NAME_KEEP_EXTENSION) == 1;
    o->letterCase = GetCheck(dialog, IDC_NAME_CASE_UPPER) == 1   ? CaseMode::Upper
                    : GetCheck(dialog, IDC_NAME_CASE_LOWER) == 1 ? CaseMode::Lower
                    : GetCheck(dialog, IDC_NAME_CASE_TOKEN) == 1 ? CaseMode::Token
                                                                 : CaseMode::Unchanged;
    o->changeExtension = GetCheck(dialog, IDC_NAME_CHANGE_EXTENSION) == 1;
    o->addStart = GetCheck(dialog, IDC_NAME_ADD_START) == 1;
    o->addEnd = GetCheck(dialog, IDC_NAME_ADD_END) == 1;
    o->keepFolders = GetCheck(dialog, IDC_NAME_KEEP_FOLDERS) == 1;
    o->subfolders = GetCheck(dialog, IDC_NAME_SUBFOLDERS) == 1;
    return ReadDialogText(dialog, IDC_NAME_TOKEN, o->token, sizeof o->token) &&
           ReadDialogText(dialog, IDC_NAME_EXTENSION_TEXT, o->extension, sizeof o->extension) &&
           ReadDialogText(dialog, IDC_NAME_START_TEXT, o->start, sizeof o->start) &&
           ReadDialogText(dialog, IDC_NAME_END_TEXT, o->end, sizeof o->end);
}

// Room for a name with every text added: the name and three texts of 259 bytes each.
constexpr std::size_t kWorkSize = kPathSize * 4;

// The new final component for `name`. 0 after a report.
int ArrangeName(const ArrangeOptions& o, const char* name, const char* source, char* out /* kWorkSize */)
{
    std::memcpy(out, name, std::strlen(name) + 1);   // a final component fits: it came from a 260-byte path

    // A width conversion that does not fit leaves the name as it was; the other steps
    // still run.
    if (o.width != WidthMode::None) {
        char converted[kPathSize];
        const bool fits = o.width == WidthMode::Half ? ToHalfWidth(out, o.classes, converted, sizeof converted)
                                                     : ToFullWidth(out, o.classes, converted, sizeof converted);
        if (fits) std::memcpy(out, converted, std::strlen(converted) + 1);
    }
    if (o.letterCase == CaseMode::Upper) CharUpperBuffA(out, static_cast<DWORD>(std::strlen(out)));
    if (o.letterCase == CaseMode::Lower) CharLowerBuffA(out, static_cast<DWORD>(std::strlen(out)));
    if (o.letterCase == CaseMode::Token) {
        char original[kPathSize];
        std::memcpy(original, out, std::strlen(out) + 1);
        CharLowerBuffA(out, static_cast<DWORD>(std::strlen(original)));
        CapitalizeAfterToken(original, o.token, out);
    }

    bool fits = true;
    if (o.changeExtension) {
        char extension[kPathSize + 1];
        // The platform call keeps a name within 259 bytes; a longer one could not be a
        // path anyway.
        fits = DottedExtension(o.extension, extension, sizeof extension) && PathRenameExtensionA(out, extension) != FALSE;
    }
    if (fits && o.addStart) fits = PrependText(out, kWorkSize, o.start);
    if (fits && o.addEnd) fits = InsertBeforeExtension(out, kWorkSize, o.end);
    if (!fits) {
        ShowPathMessage(kMsgNewNameTooLong, source);
        return 0;
    }
    return 1;
}

// Renames one item (a folder keeps its name with 1109); its contents, with 1110, are
// listed under its new name.
int ArrangeItem(WalkItem& item, void* context)
{
    const ArrangeOptions& options = *static_cast<const ArrangeOptions*>(context);
    if (item.attributes == INVALID_FILE_ATTRIBUTES) {
        item.attributes = GetFileAttributesA(item.path);
        if (item.attributes == INVALID_FILE_ATTRIBUTES) {
            ReportFault();
            return 0;
        }
    }
    if (IsFolderAttributes(item.attributes) && options.keepFolders) return 1;

    char source[kPathSize];
    char* name = nullptr;
    if (!ResolveItemName(item.path, source, &name)) return 0;
    char newName[kWorkSize];
    if (!ArrangeName(options, name, source, newName)) return 0;
    // Every item is handed to the rename, also when its name stays.
    return RenameToName(source, static_cast<std::size_t>(name - source), newName, kMsgNewNameTooLong, false,
                        item.after);
}

int RunNameArrange(HWND dialog)
{
    ArrangeOptions options;
    if (!ReadArrangeOptions(dialog, &options)) return 0;
    return RunOverSelection(dialog, WalkRules{options.subfolders, EntryFailure::StopsRun}, ArrangeItem, &options);
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
        return HandleFrameCommand(dialog, id, DialogCommands{RunNameArrange, BlockOf(OptionBlockId::Name)});
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
