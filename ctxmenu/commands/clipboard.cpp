// File list to clipboard (command 7, dialog 143): one line per selected item, and with
// 1026 the entries of selected folders at every depth, built in a temporary file that
// the clipboard receives whole as CF_TEXT at the end; optionally saved as a text file.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "common/folder_walk.h"
#include "common/handles.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/settings_store.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/file_times.h"
#include "ctxmenu/rules/clipboard_rule.h"
#include "ctxmenu/text_file.h"

namespace {

constexpr char kBlockName[] = "Clipboard";
constexpr char kMsgCopyFailed[] = "クリップボードへコピーに失敗しました。";
constexpr char kSaveTitle[] = "リストファイルの保存";
constexpr char kListFileName[] = "~FileList.txt";
constexpr char kTempPrefix[] = "tfl";
constexpr int kInitialWidth = 30;
constexpr int kWidthLimit = 255;

// The three lists and the block byte of each.
struct ListControl {
    int id;
    const char* const* labels;
    std::size_t count;
};
const ListControl kLists[] = {
    {IDC_CLIPBOARD_SIZE_UNIT, kSizeUnitLabels, kSizeUnitCount},
    {IDC_CLIPBOARD_DATE_FORMAT, kDateFormatLabels, kDateFormatCount},
    {IDC_CLIPBOARD_TIME_FORMAT, kTimeFormatLabels, kTimeFormatCount},
};

int ListSelection(HWND dialog, int id)
{
    const LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? 0 : static_cast<int>(index);
}

void SelectListEntry(HWND dialog, const ListControl& list, unsigned index)
{
    // An index the list does not have shows its first entry, which is what a run makes of it.
    SendDlgItemMessageA(dialog, list.id, CB_SETCURSEL, index < list.count ? index : 0, 0);
}

void SetWidth(HWND dialog, int width)
{
    SendDlgItemMessageA(dialog, IDC_CLIPBOARD_WIDTH_UD, UDM_SETPOS, 0, MAKELPARAM(width, 0));
}

unsigned TypedWidth(HWND dialog)
{
    return GetDlgItemInt(dialog, IDC_CLIPBOARD_WIDTH, nullptr, FALSE);
}

void InitializeControls(HWND dialog)
{
    for (int id : {IDC_CLIPBOARD_PATH, IDC_CLIPBOARD_SIZE, IDC_CLIPBOARD_DATE, IDC_CLIPBOARD_TIME})
        SetCheck(dialog, id, 1);
    SendDlgItemMessageA(dialog, IDC_CLIPBOARD_WIDTH_UD, UDM_SETRANGE, 0, MAKELPARAM(kWidthLimit, 0));
    SetWidth(dialog, kInitialWidth);
    for (const ListControl& list : kLists) {
        for (std::size_t i = 0; i < list.count; ++i)
            SendDlgItemMessageA(dialog, list.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list.labels[i]));
        SelectListEntry(dialog, list, 0);
    }
}

int LoadClipboardOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char block[kClipboardBlockSize];
    if (!ReadSettingsBlock(kBlockName, block, sizeof block)) return 0;
    SetCheck(dialog, IDC_CLIPBOARD_PATH, FlagFromByte(block[0]));
    SetWidth(dialog, block[1]);
    SetCheck(dialog, IDC_CLIPBOARD_SIZE, FlagFromByte(block[2]));
    SelectListEntry(dialog, kLists[0], block[3]);
    SetCheck(dialog, IDC_CLIPBOARD_DATE, FlagFromByte(block[4]));
    SelectListEntry(dialog, kLists[1], block[5]);
    SetCheck(dialog, IDC_CLIPBOARD_TIME, FlagFromByte(block[6]));
    SelectListEntry(dialog, kLists[2], block[7]);
    SetCheck(dialog, IDC_CLIPBOARD_VERSION, FlagFromByte(block[8]));
    SetCheck(dialog, IDC_CLIPBOARD_THOUSANDS, FlagFromByte(block[9]));
    SetCheck(dialog, IDC_CLIPBOARD_SUBFOLDERS, FlagFromByte(block[10]));
    SetCheck(dialog, IDC_CLIPBOARD_TEXT_FILE, FlagFromByte(block[11]));
    return 1;
}

int SaveClipboardOptions(HWND dialog)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    const unsigned char block[kClipboardBlockSize] = {
        ByteFromFlag(GetCheck(dialog, IDC_CLIPBOARD_PATH)),
        static_cast<unsigned char>(TypedWidth(dialog) & 0xFF),
        ByteFromFlag(GetCheck(dialog, IDC_CLIPBOARD_SIZE)),
        static_cast<unsigned char>(ListSelection(dialog, IDC_CLIPBOARD_SIZE_UNIT)),
        ByteFromFlag(GetCheck(dialog, IDC_CLIPBOARD_DATE)),
        static_cast<unsigned char>(ListSelection(dialog, IDC_CLIPBOARD_DATE_FORMAT)),
        ByteFromFlag(GetCheck(dialog, IDC_CLIPBOARD_TIME)),
        static_cast<unsigned char>(ListSelection(dialog, IDC_CLIPBOARD_TIME_FORMAT)),
        ByteFromFlag(GetCheck(dialog, IDC_CLIPBOARD_VERSION)),
        ByteFromFlag(GetCheck(dialog, IDC_CLIPBOARD_THOUSANDS)),
        ByteFromFlag(GetCheck(dialog, IDC_CLIPBOARD_SUBFOLDERS)),
        ByteFromFlag(GetCheck(dialog, IDC_CLIPBOARD_TEXT_FILE)),
    };
    return WriteSettingsBlock(kBlockName, block, sizeof block);
}

ListFormat ReadListFormat(HWND dialog)
{
    ListFormat format;
    format.pathFlag = GetCheck(dialog, IDC_CLIPBOARD_PATH);
    format.sizeFlag = GetCheck(dialog, IDC_CLIPBOARD_SIZE);
    format.dateFlag = GetCheck(dialog, IDC_CLIPBOARD_DATE);
    format.timeFlag = GetCheck(dialog, IDC_CLIPBOARD_TIME);
    format.versionFlag = GetCheck(dialog, IDC_CLIPBOARD_VERSION);
    format.width = ColumnWidthFromNumber(TypedWidth(dialog));
    format.sizeUnit = ListSelection(dialog, IDC_CLIPBOARD_SIZE_UNIT);
    format.dateFormat = ListSelection(dialog, IDC_CLIPBOARD_DATE_FORMAT);
    format.timeFormat = ListSelection(dialog, IDC_CLIPBOARD_TIME_FORMAT);
    format.thousandsFlag = GetCheck(dialog, IDC_CLIPBOARD_THOUSANDS);
    format.subfolderFlag = GetCheck(dialog, IDC_CLIPBOARD_SUBFOLDERS);
    return format;
}

// The four numbers of the file version; left as they are when there is no version resource.
void GetFileVersionNumbers(const char* path, unsigned numbers[4])
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return;
    HANDLE heap = GetProcessHeap();
    void* info = HeapAlloc(heap, HEAP_ZERO_MEMORY, size);
    if (info == nullptr) return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (GetFileVersionInfoA(path, 0, size, info) &&
        VerQueryValueA(info, "\\", reinterpret_cast<void**>(&fixed), &length) && length >= sizeof *fixed &&
        fixed != nullptr) {
        numbers[0] = HIWORD(fixed->dwFileVersionMS);
        numbers[1] = LOWORD(fixed->dwFileVersionMS);
        numbers[2] = HIWORD(fixed->dwFileVersionLS);
        numbers[3] = LOWORD(fixed->dwFileVersionLS);
    }
    HeapFree(heap, 0, info);
}

void TakeLocalTime(const FILETIME& written, ListItemFacts& facts)
{
    SYSTEMTIME local;
    facts.timeKnown = FileTimeToLocalSystemTime(&written, &local) == 1;
    if (!facts.timeKnown) return;
    facts.year = local.wYear;
    facts.month = local.wMonth;
    facts.day = local.wDay;
    facts.hour = local.wHour;
    facts.minute = local.wMinute;
    facts.second = local.wSecond;
}

// The line of `path` from what is known of it. Folders have size 0 and no version.
void ComposeLine(const ListFormat& format, const char* path, bool folder, ListItemFacts& facts, char* line)
{
    facts.version[0] = facts.version[1] = facts.version[2] = facts.version[3] = 0;
    if (format.versionFlag == 1 && !folder) GetFileVersionNumbers(path, facts.version);
    if (folder) facts.size = 0;
    if (!FormatListLine(format, facts, line, kListLineSize)) FormatBareLine(path, line, kListLineSize);
}

// The line of a selected item, looked up by its path. 0 when its modification time
// cannot be read (reported); the line is then the path alone.
int FormatSelectedLine(const ListFormat& format, const char* path, char* line)
{
    FormatBareLine(path, line, kListLineSize);
    ListItemFacts facts = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    bool folder = false;
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        facts.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        TakeLocalTime(data.ftLastWriteTime, facts);
    } else {
        const DWORD error = GetLastError();
        ReportError(error);
        // An item that vanished since the selection is listed with what is known: its name.
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return 0;
    }

    char full[kPathSize];
    facts.name = path;
    if (format.pathFlag != 1) {
        char* name = nullptr;
        const DWORD length = GetFullPathNameA(path, static_cast<DWORD>(kPathSize), full, &name);
        if (length == 0 || length >= kPathSize) {
            if (length == 0) ReportLastError();
        } else if (name != nullptr && *name != '\0') {
            facts.name = name;   // a drive root has no final component and shows its path
        }
    }
    ComposeLine(format, path, folder, facts, line);
    return 1;
}

// One run: its format and the temporary file the lines go to.
struct ListRun {
    ListFormat format;
    const char* tempFile;
};

int AppendLine(const ListRun& run, const char* line)
{
    return AppendToFile(run.tempFile, line, static_cast<DWORD>(std::strlen(line)));
}

int ListFolderEntries(const ListRun& run, unsigned depth, const char* folder);

struct FolderListing {
    const ListRun* run;
    unsigned depth;
    bool entryFailed;   // the walk was stopped by a failed entry, not by the listing
};

// The indented line of a folder entry, from what the listing found. Its buffer is gone
// again before the descent, so deep trees do not pile lines up on the stack.
int AppendEntryLine(const ListRun& run, unsigned depth, const char* path, const FolderEntry& entry)
{
    char line[kListLineSize];
    ListItemFacts facts = {};
    facts.name = run.format.pathFlag == 1 ? path : entry.name;
    facts.size = entry.size;
    TakeLocalTime(entry.lastWriteTime, facts);
    ComposeLine(run.format, path, IsFolderEntry(entry), facts, line);
    if (!IndentListLine(depth, line, sizeof line)) {
        ReportFault();
        return 0;
    }
    return AppendLine(run, line);
}

int ListEntry(const char* folder, const FolderEntry& entry, void* context)
{
    auto* listing = static_cast<FolderListing*>(context);
    const ListRun& run = *listing->run;
    char path[kPathSize];
    // A path past the limit is reported and ends this folder's listing like any failed entry.
    if (!BuildChildPath(path, folder, entry.name, nullptr)) {
        listing->entryFailed = true;
        return 0;
    }
    if (!AppendEntryLine(run, listing->depth, path, entry) ||
        (ShouldDescend(entry) && !ListFolderEntries(run, listing->depth + 1, path))) {
        // Reported already; the enclosing folder goes on with its next entry.
        listing->entryFailed = true;
        return 0;
    }
    return 1;
}

// The lines of a folder's entries at `depth`, each followed by its own contents.
// 0 when the listing itself failed (reported).
int ListFolderEntries(const ListRun& run, unsigned depth, const char* folder)
{
    FolderListing listing{&run, depth, false};
    if (ForEachFolderEntry(nullptr, folder, ListEntry, &listing)) return 1;
    return listing.entryFailed ? 1 : 0;
}

int ListFolderContents(const ListRun& run, unsigned depth, const char* folder)
{
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ReportLastError();
        return 0;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 1;
    return ListFolderEntries(run, depth, folder);
}

int ListItem(const ListRun& run, const char* path)
{
    char line[kListLineSize];
    FormatSelectedLine(run.format, path, line);
    if (!AppendLine(run, line)) return 0;
    if (run.format.subfolderFlag == 1 && !ListFolderContents(run, 1, path)) return 0;
    return 1;
}

// The whole file in a movable block followed by 4 zero bytes; null on any failure.
HGLOBAL LoadFileToGlobal(const char* path)
{
    FileHandle file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return nullptr;
    LARGE_INTEGER size;
    // The block is read in one call of at most 4 GiB less the terminator.
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > 0xFFFFFFFFLL - 4) return nullptr;
    const DWORD bytes = static_cast<DWORD>(size.QuadPart);
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes) + 4));
    if (!block.valid()) return nullptr;
    {
        GlobalLocked<char> data(block.get());
        if (!data.valid()) return nullptr;
        DWORD read = 0;
        if (!ReadFile(file.get(), data.get(), bytes, &read, nullptr) || read != bytes) return nullptr;
    }
    return block.release();
}

// Hands the block to the clipboard as CF_TEXT; it then belongs to the clipboard.
int PutOnClipboard(GlobalMemory& block)
{
    if (!OpenClipboard(nullptr)) return 0;
    int done = 0;
    if (EmptyClipboard() && SetClipboardData(CF_TEXT, block.get()) != nullptr) {
        block.release();
        done = 1;
    }
    CloseClipboard();
    return done;
}

// The temporary file of a run, removed whatever comes of the run.
class TempListFile {
public:
    ~TempListFile()
    {
        if (path_[0] != '\0') DeleteFileA(path_);
    }
    // 0 after a reported failure.
    int Create()
    {
        char folder[kPathSize] = {};
        const DWORD length = GetTempPathA(static_cast<DWORD>(kPathSize), folder);
        if (length == 0 || length >= kPathSize) {
            if (length == 0) {
                ReportLastError();
            } else {
                ReportPathTooLong(nullptr, nullptr, nullptr);
            }
            return 0;
        }
        if (GetTempFileNameA(folder, kTempPrefix, 0, path_) == 0) {
            path_[0] = '\0';
            ReportLastError();
            return 0;
        }
        return 1;
    }
    const char* path() const { return path_; }

private:
    char path_[kPathSize] = {};
};

int BuildFileList(HWND dialog)
{
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    const UINT count = SelectedCount(drop);
    if (count == 0) return 0;
    const ListFormat format = ReadListFormat(dialog);
    const int saveFile = GetCheck(dialog, IDC_CLIPBOARD_TEXT_FILE);

    TempListFile temp;
    if (!temp.Create()) return 0;
    const ListRun run{format, temp.path()};
    char path[kPathSize];
    for (UINT i = 0; i < count; ++i) {
        if (!QuerySelectedPath(drop, i, path)) return 0;
        if (!ListItem(run, path)) return 0;
    }

    if (saveFile == 1) {
        char name[kPathSize] = {};
        std::memcpy(name, kListFileName, sizeof kListFileName);
        // A list file that cannot be written is reported; the clipboard still gets the list.
        if (ChooseSaveFile(dialog, kSaveTitle, nullptr, name) && !CopyFileA(temp.path(), name, FALSE))
            ReportLastError();
    }

    GlobalMemory block(LoadFileToGlobal(temp.path()));
    if (!block.valid()) return 0;
    // A refused block is freed here; the clipboard was emptied, so the failure is shown.
    return PutOnClipboard(block);
}

int RunFileList(HWND dialog)
{
    if (BuildFileList(dialog)) return 1;
    ShowErrorBox(nullptr, kMsgCopyFailed);
    return 0;
}

}  // namespace

INT_PTR CALLBACK ClipboardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreDialogContext(dialog, lParam);
        InitializeControls(dialog);
        LoadClipboardOptions(dialog);
        return FALSE;
    case WM_COMMAND:
        return HandleFrameCommand(dialog, LOWORD(wParam), DialogCommands{RunFileList, SaveClipboardOptions});
    default:
        return FALSE;
    }
}
