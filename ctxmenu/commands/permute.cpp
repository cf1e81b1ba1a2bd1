// Name replacement (command 13, dialog 147): replaces a piece of text in the names of
// the selected items and, when asked, of everything inside selected folders.
#include <cstring>

#include "common/folder_walk.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/rules/path_build.h"
#include "common/settings_store.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/rename_step.h"
#include "ctxmenu/rules/permute_rule.h"

namespace {


constexpr char kBlockName[] = "Permute";
constexpr char kMsgNoSearchText[] = "検索文字列を入力して下さい。";
constexpr char kMsgNewNameTooLong[] = "置換後の名前ではパスが長すぎるため、名前を変更できません。\n";

int PermuteItem(HWND dialog, const char* path);

int LoadPermuteOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char block[kPermuteBlockSize];
    if (!ReadSettingsBlock(kBlockName, block, sizeof block)) return 0;
    SetCheck(dialog, IDC_PERMUTE_EVERY, FlagFromByte(block[0]));
    SetCheck(dialog, IDC_PERMUTE_KEEP_EXTENSION, FlagFromByte(block[1]));
    SetCheck(dialog, IDC_PERMUTE_SUBFOLDERS, FlagFromByte(block[2]));
    return 1;
}

int SavePermuteOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    const unsigned char block[kPermuteBlockSize] = {
        ByteFromFlag(GetCheck(dialog, IDC_PERMUTE_EVERY)),
        ByteFromFlag(GetCheck(dialog, IDC_PERMUTE_KEEP_EXTENSION)),
        ByteFromFlag(GetCheck(dialog, IDC_PERMUTE_SUBFOLDERS)),
    };
    return WriteSettingsBlock(kBlockName, block, sizeof block);
}

// Descent: every entry of a renamed folder gets the same treatment.
int PermuteEntry(const char* folder, const FolderEntry& entry, void* context)
{
    char child[kPathSize];
    if (!BuildChildPath(child, folder, entry.name, nullptr)) return 0;
    return PermuteItem(static_cast<HWND>(context), child);
}

// Renames one item and, with 1078, everything below it. 1 to go on; 0 stops the run.
int PermuteItem(HWND dialog, const char* path)
{
    // The texts and options are read from the live dialog for every item.
    char search[kPathSize] = {};
    char replacement[kPathSize] = {};
    GetDlgItemTextA(dialog, IDC_PERMUTE_SEARCH, search, static_cast<int>(kPathSize));
    GetDlgItemTextA(dialog, IDC_PERMUTE_REPLACEMENT, replacement, static_cast<int>(kPathSize));
    if (search[0] == '\0') {
        ShowErrorBox(dialog, kMsgNoSearchText);
        return 0;
    }

    char source[kPathSize];
    char* name = nullptr;
    if (!ResolveItemName(path, source, &name)) return 0;

    // The folder part stays as it is; only the final component is replaced.
    const std::size_t folderLength = static_cast<std::size_t>(name - source);
    const PermuteRule rule{search, replacement, GetCheck(dialog, IDC_PERMUTE_EVERY) == 1,
                           GetCheck(dialog, IDC_PERMUTE_KEEP_EXTENSION) == 1};
    char newName[kPathSize];
    if (!PermuteName(name, rule, newName, kPathSize - folderLength)) {
        ShowPathMessage(kMsgNewNameTooLong, source);
        return 0;
    }
    char target[kPathSize];
    if (!RenameToName(source, folderLength, newName, kMsgNewNameTooLong, true, target)) return 0;

    if (GetCheck(dialog, IDC_PERMUTE_SUBFOLDERS) != 1) return 1;
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ReportLastError();
        return 0;
    }
    // A junction or symbolic link is renamed like any item but never descended into.
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return 1;
    // The folder has its new name already; its contents are listed under that name.
    return ForEachFolderEntry(nullptr, target, PermuteEntry, dialog);
}

int PermuteSelectedItem(HWND dialog, const char* path, void*)
{
    return PermuteItem(dialog, path);
}

int RunPermute(HWND dialog)
{
    return RunOverSelection(dialog, PermuteSelectedItem, nullptr);
}

}  // namespace

INT_PTR CALLBACK PermuteDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreDialogContext(dialog, lParam);
        LoadPermuteOptions(dialog);
        return FALSE;
    case WM_COMMAND:
        return HandleFrameCommand(dialog, LOWORD(wParam), DialogCommands{RunPermute, SavePermuteOptions});
    default:
        return FALSE;
    }
}
