// Archive check ("書庫ファイルを検査(&I)", command 16, dialog 146): hands every selected archive of a ticked
// format to the check function of its archiver library, reports each damaged one and,
// when asked, writes a log of the results.
#include <shlwapi.h>

#include <cstring>
#include <new>

#include "common/folder_walk.h"
#include "common/exact_text.h"
#include "common/handles.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/selection.h"
#include "common/settings_store.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/module.h"
#include "ctxmenu/run_progress.h"
#include "ctxmenu/rules/archive_rule.h"
#include "ctxmenu/text_file.h"

namespace {

constexpr char kLogTitle[] = "ログファイルの保存";
constexpr char kDoneTitle[] = "確認";
constexpr char kMsgAllSound[] = "検出した書庫は、すべて正常です。";
constexpr char kMsgFinished[] = "書庫の検査が終了しました。";
constexpr std::size_t kMessageSize = 320;

// The check box of each format, in the order of kArchiveFormats (and of the block).
constexpr int kFormatBoxes[kArchiveFormatCount] = {IDC_ARCHIVE_LZH, IDC_ARCHIVE_ARJ, IDC_ARCHIVE_ISH, IDC_ARCHIVE_TAR,
                                                   IDC_ARCHIVE_CAB, IDC_ARCHIVE_RAR, IDC_ARCHIVE_ZIP};
// The check function every archiver library exports: sound when it returns non-zero.
using CheckFunction = int(WINAPI*)(const char* path, int mode);

// One run: the options read once when OK is pressed, the log, where each format's
// library was found (searched for once per run), and the outcome so far.
struct RunState {
    HWND dialog;
    bool ticked[kArchiveFormatCount];
    char log[kPathSize];    // empty: no log in this run
    int allSound;
    char library[kArchiveFormatCount][kPathSize];   // empty: not searched for yet
};

// The full path of `name` in `folder`, when the folder holds a file of that name.
bool FindInFolder(const char* folder, const char* name, char* full)
{
    if (folder[0] == '\0' || !JoinChildPath(full, kPathSize, folder, name)) return false;
    const DWORD attributes = GetFileAttributesA(full);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A folder of the system's, read wide: a folder whose name has no exact code page 932
// form is passed over, so no library is ever loaded from a look-alike folder.
template <typename Read>
bool ExactFolder(Read read, char* folder /* 260 bytes */)
{
    wchar_t wide[kPathSize] = {};
    const unsigned length = read(wide);
    return length > 0 && length < kPathSize && WideToAnsiExact(wide, folder, kPathSize);
}

// The next folder of a wide PATH list at `*cursor`, in its exact code page 932 form and
// by the rules of NextListedFolder; entries that do not convert are passed over.
bool NextPathFolder(const wchar_t** cursor, char* folder)
{
    while (**cursor != L'\0') {
        const wchar_t* start = *cursor;
        const wchar_t* end = start;
        while (*end != L'\0' && *end != L';') ++end;
        *cursor = *end == L';' ? end + 1 : end;
        const std::size_t length = static_cast<std::size_t>(end - start);
        if (length == 0 || length >= kPathSize) continue;
        wchar_t entry[kPathSize];
        std::memcpy(entry, start, length * sizeof(wchar_t));
        entry[length] = L'\0';
        char text[kPathSize];
        if (!WideToAnsiExact(entry, text, sizeof text)) continue;
        const char* one = text;
        if (NextListedFolder(&one, folder, kPathSize)) return true;
    }
    return false;
}

// The first folder that holds `name`: kelmora.dll's own, the system folder, the Windows
// folder, then the folders of PATH. The current folder is never searched, so an
// archive's folder (the usual current folder of a file window) cannot plant a library.
bool FindArchiverLibrary(const char* name, char* full)
{
    char folder[kPathSize] = {};
    if (ModulePathExact(ModuleInstance(), folder, sizeof folder) && PathRemoveFileSpecA(folder) &&
        FindInFolder(folder, name, full))
        return true;
    if (ExactFolder([](wchar_t* w) { return GetSystemDirectoryW(w, kPathSize); }, folder) &&
        FindInFolder(folder, name, full))
        return true;
    if (ExactFolder([](wchar_t* w) { return GetWindowsDirectoryW(w, kPathSize); }, folder) &&
        FindInFolder(folder, name, full))
        return true;

    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0) return false;
    wchar_t* list = new (std::nothrow) wchar_t[size];
    if (list == nullptr) return false;
    bool found = false;
    if (GetEnvironmentVariableW(L"PATH", list, size) < size) {
        const wchar_t* cursor = list;
        while (!found && NextPathFolder(&cursor, folder)) found = FindInFolder(folder, name, full);
    }
    delete[] list;
    return found;
}

// Loads the archiver library found at `full`; on failure the thread's last error says
// why (a library found nowhere, `full` empty, fails as the platform's own search would).
HMODULE LoadFoundLibrary(const char* full)
{
    if (full[0] == '\0') {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // The library's own folder comes first for what it loads in turn.
    return LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void ProbeArchiverLibrary(HWND dialog, int checkBoxId, const char* libraryName)
{
    char full[kPathSize] = {};
    if (!FindArchiverLibrary(libraryName, full)) full[0] = '\0';
    LibraryHandle library(LoadFoundLibrary(full));
    EnableDlgItem(dialog, checkBoxId, library.valid() ? 1 : 0);
}

void InitArchiveDialog(HWND dialog)
{
    for (std::size_t f = 0; f < kArchiveFormatCount; ++f)
        ProbeArchiverLibrary(dialog, kFormatBoxes[f], kArchiveFormats[f].library);
    SetCheck(dialog, IDC_ARCHIVE_LZH, 1);
    SetCheck(dialog, IDC_ARCHIVE_ZIP, 1);
    LoadBlock(dialog, BlockOf(OptionBlockId::Archive));
}

// Tests one archive of format `format`. 1 to go on; 0 stops the run.
int CheckArchive(RunState& run, std::size_t format, const char* path)
{
    if (format >= kArchiveFormatCount || path == nullptr) {
        ReportFault();
        return 0;
    }
    // An unticked format is passed over: no message, no log line.
    if (!run.ticked[format]) return 1;

    // The folders are searched at the first archive of the format: a search that misses
    // reads through the whole system folder.
    char* full = run.library[format];
    if (full[0] == '\0' && !FindArchiverLibrary(kArchiveFormats[format].library, full)) full[0] = '\0';
    LibraryHandle library(LoadFoundLibrary(full));
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

// Tests one item when its extension names a format; with 1052 the walk goes on into it.
int CheckItem(WalkItem& item, void* context)
{
    RunState& run = *static_cast<RunState*>(context);
    const int format = ArchiveFormatOf(item.path);
    return format < 0 || CheckArchive(run, static_cast<std::size_t>(format), item.path);
}

int RunArchiveCheck(HWND dialog)
{
    RunState run = {dialog, {}, {}, 1, {}};
    for (std::size_t f = 0; f < kArchiveFormatCount; ++f) run.ticked[f] = GetCheck(dialog, kFormatBoxes[f]) == 1;
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    const WalkRules rules{GetCheck(dialog, IDC_ARCHIVE_SUBFOLDERS) == 1, EntryFailure::StopsRun};
    // The log file is chosen before the first item is checked, proposed beside the first
    // selected item; a selection whose first item cannot be read is reported by the walk
    // before anything is chosen. The time spent in the chooser is not the run's.
    char first[kPathSize];
    if (GetCheck(dialog, IDC_ARCHIVE_LOG) == 1 && ReadFirstSelected(drop, first)) {
        ProposeLogPath(run.log, sizeof run.log, first);
        // Cancelled: the check runs without a log.
        if (!ChooseSaveFile(dialog, kLogTitle, nullptr, run.log)) run.log[0] = '\0';
    }
    // A run the user stopped writes no closing message.
    RunProgress progress(dialog);
    if (!WalkSelection(drop, rules, CheckItem, &run, &progress)) return 0;
    progress.Close();
    // Nothing on disk changed but the log: the shell is not notified.
    MessageBoxA(dialog, run.allSound ? kMsgAllSound : kMsgFinished, kDoneTitle, MB_OK | MB_ICONINFORMATION);
    return 1;
}

}  // namespace

INT_PTR CALLBACK ArchiveDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreInvocation(dialog, lParam);
        InitArchiveDialog(dialog);
        return FALSE;
    case WM_COMMAND:
        return HandleFrameCommand(dialog, LOWORD(wParam), DialogCommands{RunArchiveCheck, BlockOf(OptionBlockId::Archive)});
    default:
        return FALSE;
    }
}
