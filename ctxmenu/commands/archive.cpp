// Archive check (command 16, dialog 146): hands every selected archive of a ticked
// format to the check function of its archiver library, reports each damaged one and,
// when asked, writes a log of the results.
#include <shlwapi.h>

#include <new>

#include "common/folder_walk.h"
#include "common/handles.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/settings_store.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/module.h"
#include "ctxmenu/rules/archive_rule.h"
#include "ctxmenu/text_file.h"

namespace {

constexpr char kBlockName[] = "Archive";
constexpr char kLogTitle[] = "ログファイルの保存";
constexpr char kDoneTitle[] = "確認";
constexpr char kMsgAllSound[] = "検出した書庫は、すべて正常です。";
constexpr char kMsgFinished[] = "書庫の検査が終了しました。";
constexpr std::size_t kMessageSize = 320;

// The check box of each format, in the order of kArchiveFormats (and of the block).
constexpr int kFormatBoxes[kArchiveFormatCount] = {IDC_ARCHIVE_LZH, IDC_ARCHIVE_ARJ, IDC_ARCHIVE_ISH, IDC_ARCHIVE_TAR,
                                                   IDC_ARCHIVE_CAB, IDC_ARCHIVE_RAR, IDC_ARCHIVE_ZIP};
// The nine boxes of the block, in block order.
constexpr int kBlockBoxes[kArchiveOptionBytes] = {IDC_ARCHIVE_LZH, IDC_ARCHIVE_ARJ,        IDC_ARCHIVE_ISH,
                                                  IDC_ARCHIVE_TAR, IDC_ARCHIVE_CAB,        IDC_ARCHIVE_RAR,
                                                  IDC_ARCHIVE_ZIP, IDC_ARCHIVE_SUBFOLDERS, IDC_ARCHIVE_LOG};
static_assert(kArchiveOptionBytes == kArchiveBlockSize, "one box per block byte");

// The check function every archiver library exports: sound when it returns non-zero.
using CheckFunction = int(WINAPI*)(const char* path, int mode);

struct RunState {
    HWND dialog;
    UINT index;             // of the selected item being checked
    char log[kPathSize];    // empty: no log in this run
    int allSound;
};

int CheckItem(RunState& run, const char* path);

// The full path of `name` in `folder`, when the folder holds a file of that name.
bool FindInFolder(const char* folder, const char* name, char* full)
{
    if (folder[0] == '\0' || !JoinChildPath(full, kPathSize, folder, name)) return false;
    const DWORD attributes = GetFileAttributesA(full);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The first folder that holds `name`: kelmora.dll's own, the system folder, the Windows
// folder, then the folders of PATH. The current folder is never searched, so an
// archive's folder (the usual current folder of a file window) cannot plant a library.
bool FindArchiverLibrary(const char* name, char* full)
{
    char folder[kPathSize] = {};
    const DWORD length = GetModuleFileNameA(ModuleInstance(), folder, static_cast<DWORD>(kPathSize));
    if (length > 0 && length < kPathSize && PathRemoveFileSpecA(folder) && FindInFolder(folder, name, full))
        return true;
    UINT got = GetSystemDirectoryA(folder, static_cast<UINT>(kPathSize));
    if (got > 0 && got < kPathSize && FindInFolder(folder, name, full)) return true;
    got = GetWindowsDirectoryA(folder, static_cast<UINT>(kPathSize));
    if (got > 0 && got < kPathSize && FindInFolder(folder, name, full)) return true;

    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return false;
    char* list = new (std::nothrow) char[size];
    if (list == nullptr) return false;
    bool found = false;
    if (GetEnvironmentVariableA("PATH", list, size) < size) {
        const char* cursor = list;
        while (!found && NextListedFolder(&cursor, folder, kPathSize)) found = FindInFolder(folder, name, full);
    }
    delete[] list;
    return found;
}

// Loads an archiver library by its full path; on failure the thread's last error says
// why (a library found nowhere fails as the platform's own search would).
HMODULE LoadArchiverLibrary(const char* name)
{
    char full[kPathSize];
    if (!FindArchiverLibrary(name, full)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // The library's own folder comes first for what it loads in turn.
    return LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void ProbeArchiverLibrary(HWND dialog, int checkBoxId, const char* libraryName)
{
    LibraryHandle library(LoadArchiverLibrary(libraryName));
    EnableDlgItem(dialog, checkBoxId, library.valid() ? 1 : 0);
}

int LoadArchiveOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char block[kArchiveBlockSize];
    if (!ReadSettingsBlock(kBlockName, block, sizeof block)) return 0;
    for (std::size_t i = 0; i < kArchiveOptionBytes; ++i) SetCheck(dialog, kBlockBoxes[i], FlagFromByte(block[i]));
    return 1;
}

int SaveArchiveOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char block[kArchiveBlockSize];
    for (std::size_t i = 0; i < kArchiveOptionBytes; ++i) block[i] = ByteFromFlag(GetCheck(dialog, kBlockBoxes[i]));
    return WriteSettingsBlock(kBlockName, block, sizeof block);
}

void InitArchiveDialog(HWND dialog)
{
    for (std::size_t f = 0; f < kArchiveFormatCount; ++f)
        ProbeArchiverLibrary(dialog, kFormatBoxes[f], kArchiveFormats[f].library);
    SetCheck(dialog, IDC_ARCHIVE_LZH, 1);
    SetCheck(dialog, IDC_ARCHIVE_ZIP, 1);
    LoadArchiveOptions(dialog);
}

// Tests one archive of format `format`. 1 to go on; 0 stops the run.
int CheckArchive(RunState& run, std::size_t format, const char* path)
{
    if (format >= kArchiveFormatCount || path == nullptr) {
        ReportFault();
        return 0;
    }
    // An unticked format is passed over: no message, no log line.
    if (GetCheck(run.dialog, kFormatBoxes[format]) != 1) return 1;

    LibraryHandle library(LoadArchiverLibrary(kArchiveFormats[format].library));
    if (!library.valid()) {
        ReportLastError();
        return 0;
    }
    const auto check = reinterpret_cast<CheckFunction>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), kArchiveFormats[format].function)));
    if (check == nullptr) {
        ReportLastError();
        return 0;
    }
    const bool sound = check(path, kArchiveCheckMode) != 0;
    if (!sound) {
        // The path may be cut in the box; the log always holds it whole.
        char message[kMessageSize];
        FormatDamagedMessage(message, sizeof message, path);
        ShowErrorBox(run.dialog, message);
        run.allSound = 0;
    }
    if (run.log[0] != '\0') {
        char line[kPathSize + 16];
        const std::size_t length = FormatLogLine(line, sizeof line, sound, path);
        if (length == 0) {
            ReportPathTooLong(nullptr, path, nullptr);
            return 0;
        }
        if (!AppendToFile(run.log, line, static_cast<DWORD>(length))) return 0;
    }
    return CloseReporting(library);
}

int CheckEntry(const char* folder, const FolderEntry& entry, void* context)
{
    // A child path that would not fit is reported and ends the check; nothing is cut.
    char child[kPathSize];
    if (!BuildChildPath(child, folder, entry.name, nullptr)) return 0;
    return CheckItem(*static_cast<RunState*>(context), child);
}

// Tests one item and, with 1052, everything in it. 1 to go on; 0 stops the run.
int CheckItem(RunState& run, const char* path)
{
    const int format = ArchiveFormatOf(path);
    if (format >= 0 && !CheckArchive(run, static_cast<std::size_t>(format), path)) return 0;
    if (GetCheck(run.dialog, IDC_ARCHIVE_SUBFOLDERS) != 1) return 1;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ReportLastError();
        return 0;
    }
    // Junctions and symbolic links are items, never searched through.
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return 1;
    return ForEachFolderEntry(nullptr, path, CheckEntry, &run);
}

int CheckSelectedItem(HWND, const char* path, void* context)
{
    RunState& run = *static_cast<RunState*>(context);
    if (run.index++ == 0 && GetCheck(run.dialog, IDC_ARCHIVE_LOG) == 1) {
        ProposeLogPath(run.log, sizeof run.log, path);
        // Cancelled: the check runs without a log.
        if (!ChooseSaveFile(run.dialog, kLogTitle, nullptr, run.log)) run.log[0] = '\0';
    }
    return CheckItem(run, path);
}

int RunArchiveCheck(HWND dialog)
{
    RunState run = {dialog, 0, {}, 1};
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    if (!ForEachSelectedPath(drop, dialog, CheckSelectedItem, &run)) return 0;
    // Nothing on disk changed but the log: the shell is not notified.
    MessageBoxA(dialog, run.allSound ? kMsgAllSound : kMsgFinished, kDoneTitle, MB_OK | MB_ICONINFORMATION);
    return 1;
}

}  // namespace

INT_PTR CALLBACK ArchiveDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreDialogContext(dialog, lParam);
        InitArchiveDialog(dialog);
        return FALSE;
    case WM_COMMAND:
        return HandleFrameCommand(dialog, LOWORD(wParam), DialogCommands{RunArchiveCheck, SaveArchiveOptions});
    default:
        return FALSE;
    }
}
