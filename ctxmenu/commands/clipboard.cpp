// File list to clipboard ("クリップボードへコピー(&C)", command 7, dialog 143): one line
// per selected item, and with 1026 the entries of selected folders at every depth,
// built in a temporary file that the clipboard receives whole as CF_TEXT at the end;
// optionally saved as a text file.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>
#include <new>

#include "common/exact_text.h"
#include "common/handles.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/selection.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/file_times.h"
#include "ctxmenu/rules/clipboard_rule.h"
#include "ctxmenu/run_progress.h"
#include "ctxmenu/text_file.h"

namespace {

constexpr char kMsgCopyFailed[] = "クリップボードへコピーに失敗しました。";
constexpr char kSaveTitle[] = "リストファイルの保存";
constexpr char kListFileName[] = "~FileList.txt";
constexpr char kTempPrefix[] = "tfl";
constexpr int kInitialWidth = 30;
constexpr int kWidthLimit = 255;

// The three lists, each with its labels.
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

void InitializeControls(HWND dialog)
{
    for (int id : {IDC_CLIPBOARD_PATH, IDC_CLIPBOARD_SIZE, IDC_CLIPBOARD_DATE, IDC_CLIPBOARD_TIME})
        SetCheck(dialog, id, 1);
    SendDlgItemMessageA(dialog, IDC_CLIPBOARD_WIDTH_UD, UDM_SETRANGE, 0, MAKELPARAM(kWidthLimit, 0));
    SendDlgItemMessageA(dialog, IDC_CLIPBOARD_WIDTH_UD, UDM_SETPOS, 0, MAKELPARAM(kInitialWidth, 0));
    for (const ListControl& list : kLists) {
        for (std::size_t i = 0; i < list.count; ++i)
            SendDlgItemMessageA(dialog, list.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list.labels[i]));
        SendDlgItemMessageA(dialog, list.id, CB_SETCURSEL, 0, 0);
    }
}

ListFormat ReadListFormat(HWND dialog)
{
    ListFormat format;
    format.pathFlag = GetCheck(dialog, IDC_CLIPBOARD_PATH);
    format.sizeFlag = GetCheck(dialog, IDC_CLIPBOARD_SIZE);
    format.dateFlag = GetCheck(dialog, IDC_CLIPBOARD_DATE);
    format.timeFlag = GetCheck(dialog, IDC_CLIPBOARD_TIME);
    format.versionFlag = GetCheck(dialog, IDC_CLIPBOARD_VERSION);
    format.width = ColumnWidthFromNumber(GetDlgUnsigned(dialog, IDC_CLIPBOARD_WIDTH));
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

// The temporary file of a run, written through one handle and a buffer of bounded size,
// and removed whatever comes of the run. A failed write is reported once; every later
// write then fails at once, so the run ends at its next selected item.
class TempListFile {
public:
    ~TempListFile()
    {
        file_.Reset();
        if (path_[0] != '\0') DeleteFileA(path_);
    }
    // 0 after a reported failure. A temporary folder whose name code page 932 cannot
    // hold exactly is not used: the run then fails with its own message alone.
    int Create()
    {
        wchar_t wide[kPathSize] = {};
        const DWORD length = GetTempPathW(static_cast<DWORD>(kPathSize), wide);
        if (length == 0 || length >= kPathSize) {
            if (length == 0) {
                ReportLastError();
            } else {
                ReportPathTooLong(nullptr, nullptr, nullptr);
            }
            return 0;
        }
        char folder[kPathSize];
        if (!WideToAnsiExact(wide, folder, sizeof folder)) return 0;
        if (GetTempFileNameA(folder, kTempPrefix, 0, path_) == 0) {
            path_[0] = '\0';
            ReportLastError();
            return 0;
        }
        file_.Reset(CreateFileA(path_, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_.valid()) {
            ReportLastError();
            return 0;
        }
        return 1;
    }
    int Append(const char* text)
    {
        if (broken_) return 0;
        const std::size_t length = std::strlen(text);
        if (used_ + length > sizeof buffer_ && !Flush()) return 0;
        if (length > sizeof buffer_) return Write(text, length);
        std::memcpy(buffer_ + used_, text, length);
        used_ += length;
        return 1;
    }
    // Everything written and the handle closed, so the file can be read and copied.
    int Finish()
    {
        if (!Flush()) return 0;
        if (!CloseReporting(file_)) return Broken();
        return 1;
    }
    const char* path() const { return path_; }

private:
    int Flush()
    {
        if (broken_) return 0;
        const std::size_t length = used_;
        used_ = 0;
        return length == 0 ? 1 : Write(buffer_, length);
    }
    int Write(const char* data, std::size_t length)
    {
        DWORD written = 0;
        if (!WriteFile(file_.get(), data, static_cast<DWORD>(length), &written, nullptr)) {
            ReportLastError();
            return Broken();
        }
        if (written != length) {
            ReportFault();
            return Broken();
        }
        return 1;
    }
    int Broken()
    {
        broken_ = true;
        return 0;
    }

    char path_[kPathSize] = {};
    FileHandle file_;
    char buffer_[64 * 1024];
    std::size_t used_ = 0;
    bool broken_ = false;
};

// One run: its format, its clock and the temporary file the lines go to.
struct ListRun {
    ListFormat format;
    LocalClock clock;
    TempListFile temp;
};

void TakeLocalTime(const ListRun& run, const FILETIME& written, ListItemFacts& facts)
{
    SYSTEMTIME local;
    facts.timeKnown = run.clock.ToLocal(written, &local) == 1;
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

// The line of a selected item, looked up by its path. When its facts cannot be read
// (reported) the line is the path alone; an item that vanished since the selection is
// listed with what is known: its name.
void FormatSelectedLine(ListRun& run, WalkItem& item, char* line)
{
    FormatBareLine(item.path, line, kListLineSize);
    ListItemFacts facts = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    bool folder = false;
    if (GetFileAttributesExA(item.path, GetFileExInfoStandard, &data)) {
        facts.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        item.attributes = data.dwFileAttributes;   // the descent needs no second read
        TakeLocalTime(run, data.ftLastWriteTime, facts);
    } else {
        const DWORD error = GetLastError();
        ReportError(error);
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return;
    }

    char full[kPathSize];
    facts.name = item.path;
    if (run.format.pathFlag != 1) {
        char* name = nullptr;
        const DWORD length = GetFullPathNameA(item.path, static_cast<DWORD>(kPathSize), full, &name);
        if (length == 0 || length >= kPathSize) {
            if (length == 0) ReportLastError();
        } else if (name != nullptr && *name != '\0') {
            facts.name = name;   // a drive root has no final component and shows its path
        }
    }
    ComposeLine(run.format, item.path, folder, facts, line);
}

// The indented line of a folder entry, from what the listing found.
int FormatEntryLine(ListRun& run, const WalkItem& item, char* line)
{
    const FolderEntry& entry = *item.entry;
    ListItemFacts facts = {};
    facts.name = run.format.pathFlag == 1 ? item.path : entry.name;
    facts.size = entry.size;
    TakeLocalTime(run, entry.lastWriteTime, facts);
    ComposeLine(run.format, item.path, IsFolderEntry(entry), facts, line);
    // One step of indentation per level below the selected item.
    if (!IndentListLine(item.depth, line, kListLineSize)) {
        ReportFault();
        return 0;
    }
    return 1;
}

// One line per item; a failed entry ends the listing of its folder and the run goes on.
int ListItem(WalkItem& item, void* context)
{
    ListRun& run = *static_cast<ListRun*>(context);
    char line[kListLineSize];
    if (item.entry == nullptr) {
        FormatSelectedLine(run, item, line);
    } else if (!FormatEntryLine(run, item, line)) {
        return 0;
    }
    return run.temp.Append(line);
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

int BuildFileList(HWND dialog, RunProgress& progress)
{
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    if (SelectionCursor(drop).Count() == 0) return 0;
    ListRun* run = new (std::nothrow) ListRun{ReadListFormat(dialog), LocalClock(), TempListFile()};
    if (run == nullptr) {
        ShowErrorBox(nullptr, kMsgNoMemory);
        return 0;
    }
    std::unique_ptr<ListRun> owner(run);
    const int saveFile = GetCheck(dialog, IDC_CLIPBOARD_TEXT_FILE);
    if (!run->temp.Create()) return 0;
    if (!WalkSelection(drop, WalkRules{run->format.subfolderFlag == 1, EntryFailure::EndsFolder, false}, ListItem, run,
                       &progress) ||
        !run->temp.Finish())
        return 0;
    progress.Close();

    if (saveFile == 1) {
        char name[kPathSize] = {};
        std::memcpy(name, kListFileName, sizeof kListFileName);
        // A list file that cannot be written is reported; the clipboard still gets the list.
        if (ChooseSaveFile(dialog, kSaveTitle, nullptr, name) && !CopyFileA(run->temp.path(), name, FALSE))
            ReportLastError();
    }

    GlobalMemory block(LoadFileToGlobal(run->temp.path()));
    if (!block.valid()) return 0;
    // A refused block is freed here; the clipboard was emptied, so the failure is shown.
    return PutOnClipboard(block);
}

int RunFileList(HWND dialog)
{
    RunProgress progress(dialog);
    if (BuildFileList(dialog, progress)) return 1;
    // A run the user stopped puts nothing on the clipboard and shows nothing; its
    // temporary file is gone already.
    if (!progress.Stopped()) ShowErrorBox(nullptr, kMsgCopyFailed);
    return 0;
}

}  // namespace

INT_PTR CALLBACK ClipboardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        StoreInvocation(dialog, lParam);
        InitializeControls(dialog);
        LoadBlock(dialog, BlockOf(OptionBlockId::Clipboard));
        return FALSE;
    case WM_COMMAND:
        return HandleFrameCommand(dialog, LOWORD(wParam),
                                  DialogCommands{RunFileList, BlockOf(OptionBlockId::Clipboard)});
    default:
        return FALSE;
    }
}
