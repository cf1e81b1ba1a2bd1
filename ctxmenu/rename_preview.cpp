#include "ctxmenu/rename_preview.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "common/resource_ids.h"
#include "common/rules/cp932_text.h"
#include "common/rules/path_build.h"
#include "common/selection.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/module.h"
#include "ctxmenu/run_progress.h"

namespace {

constexpr char kUnchanged[] = "変更なし";
constexpr char kUnhandled[] = "未処理";
constexpr char kSummary[] = "%u 件中 %u 件の名前を変更します。";
constexpr char kStopsAt[] = "%u 件目で停止します。";

struct ColumnInfo {
    const char* title;
    int width;   // dialog units
};
// The columns of the Japanese template; the neutral template names them in English.
constexpr ColumnInfo kColumns[] = {{"現在の名前", 170}, {"新しい名前", 120}, {"結果", 120}};
constexpr const char* kNeutralColumns[] = {"Current name", "New name", "Result"};

const char* FinalName(const char* path) { return path + FinalComponentOffset(path); }

}  // namespace

RenamePreview::RenamePreview(const char* baseFolder, ReportCapture& capture)
    : base_(baseFolder != nullptr ? baseFolder : ""), capture_(capture)
{
    pool_.push_back('\0');   // offset 0: the empty text
}

std::uint32_t RenamePreview::Keep(const char* text)
{
    if (text == nullptr || text[0] == '\0') return 0;
    const std::uint32_t at = static_cast<std::uint32_t>(pool_.size());
    pool_.insert(pool_.end(), text, text + std::strlen(text) + 1);
    return at;
}

void RenamePreview::AddRow(const char* present, const char* name, Outcome outcome)
{
    rows_.push_back(Row{Keep(present), Keep(name), 0, outcome});
}

bool RenamePreview::BeforeItem(const WalkItem& item)
{
    // After the stop every item comes as an unvisited one.
    if (stopped_) return true;
    AddRow(item.path, FinalName(item.path), Outcome::Unchanged);
    return true;
}

bool RenamePreview::ContinueAfterFailure(const WalkItem* item)
{
    // The run's message for the failure, on one line.
    std::string message = capture_.Text();
    capture_.Clear();
    for (char& c : message)
        if (c == '\r' || c == '\n') c = ' ';
    if (item == nullptr || rows_.empty() || std::strcmp(pool_.data() + rows_.back().present, item->path) != 0)
        AddRow(item != nullptr ? item->path : "", "", Outcome::Stops);
    Row& row = rows_.back();
    if (row.outcome == Outcome::Renamed) --renamed_;
    row.outcome = Outcome::Stops;
    row.message = Keep(message.c_str());
    stopRow_ = rows_.size() - 1;
    stopped_ = true;
    return true;
}

void RenamePreview::Unvisited(const WalkItem& item)
{
    AddRow(item.path, FinalName(item.path), Outcome::Unhandled);
}

std::wstring RenamePreview::Key(const char* path)
{
    wchar_t wide[kPathSize] = {};
    const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, wide, static_cast<int>(kPathSize));
    if (length > 0) CharUpperBuffW(wide, static_cast<DWORD>(length - 1));
    return std::wstring(wide);
}

int RenamePreview::Move(WalkItem& item, const char* source, const char* target)
{
    // Contents are still where they are on disk; the run would list them under the new name.
    std::memcpy(item.listAt, item.disk, std::strlen(item.disk) + 1);
    Row& row = rows_.back();
    row.name = Keep(FinalName(target));
    if (std::strcmp(source, target) == 0) return 1;   // handed to the move, and unchanged

    const std::wstring from = Key(source);
    const std::wstring to = Key(target);
    // The item itself: gone when an earlier rename of the run took it or a folder above
    // it away, or when it is not on disk.
    if (Vacated(from)) {
        ReportError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    for (std::size_t at = from.find(L'\\'); at != std::wstring::npos; at = from.find(L'\\', at + 1)) {
        if (Vacated(from.substr(0, at))) {
            ReportError(ERROR_PATH_NOT_FOUND);
            return 0;
        }
    }
    if (GetFileAttributesA(item.disk) == INVALID_FILE_ATTRIBUTES) {
        ReportLastError();
        return 0;
    }
    if (from != to) {
        // The new name on disk, beside where the item is now.
        char targetDisk[kPathSize];
        const std::size_t folder = FinalComponentOffset(item.disk);
        std::string onDisk(item.disk, folder);
        onDisk += FinalName(target);
        const bool fits = onDisk.size() < kPathSize;
        if (fits) std::memcpy(targetDisk, onDisk.c_str(), onDisk.size() + 1);
        const bool exists = taken_.count(to) != 0 ||
                            (!Vacated(to) && fits && GetFileAttributesA(targetDisk) != INVALID_FILE_ATTRIBUTES);
        if (exists) {
            // What the move reports for a name that is taken.
            ReportError(ERROR_ALREADY_EXISTS);
            return 0;
        }
        vacated_.insert(from);
        taken_.erase(from);
        taken_.insert(to);
        vacated_.erase(to);
    }
    row.outcome = Outcome::Renamed;
    ++renamed_;
    return 1;
}

const char* RenamePreview::PresentPath(std::size_t index) const
{
    const char* path = pool_.data() + rows_[index].present;
    if (!base_.empty() && std::strncmp(path, base_.c_str(), base_.size()) == 0 && path[base_.size()] != '\0')
        return path + base_.size();
    return path;
}

const char* RenamePreview::NewName(std::size_t index) const { return pool_.data() + rows_[index].name; }

const char* RenamePreview::Result(std::size_t index) const
{
    switch (rows_[index].outcome) {
    case Outcome::Renamed: return "";
    case Outcome::Unchanged: return kUnchanged;
    case Outcome::Unhandled: return kUnhandled;
    case Outcome::Stops: return pool_.data() + rows_[index].message;
    }
    return "";
}

namespace {

// The preview dialog (160): a virtual list of the rows and the summary.
INT_PTR CALLBACK PreviewDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const auto& preview = *reinterpret_cast<const RenamePreview*>(lParam);
        const HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        // The template's language decides the titles: its caption is the one English text.
        char caption[32] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        const bool neutral = std::strcmp(caption, "Preview") == 0;
        for (int i = 0; i < 3; ++i) {
            RECT units = {0, 0, kColumns[i].width, 0};
            MapDialogRect(dialog, &units);
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<char*>(neutral ? kNeutralColumns[i] : kColumns[i].title);
            column.cx = units.right;
            SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        }
        SendMessageA(list, LVM_SETITEMCOUNT, preview.Rows(), LVSICF_NOINVALIDATEALL);
        char summary[160];
        int used = std::snprintf(summary, sizeof summary, kSummary, static_cast<unsigned>(preview.Rows()),
                                 static_cast<unsigned>(preview.RenamedCount()));
        if (preview.StopRow() < preview.Rows() && used > 0 && static_cast<std::size_t>(used) < sizeof summary) {
            std::snprintf(summary + used, sizeof summary - used, "\r\n");
            std::snprintf(summary + used + 2, sizeof summary - used - 2, kStopsAt,
                          static_cast<unsigned>(preview.StopRow() + 1));
        }
        SetDlgItemTextA(dialog, IDC_PREVIEW_SUMMARY, summary);
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_PREVIEW_LIST || header->code != LVN_GETDISPINFOA) return FALSE;
        const auto* preview = reinterpret_cast<const RenamePreview*>(GetWindowLongPtrA(dialog, DWLP_USER));
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if (preview == nullptr || !(info->item.mask & LVIF_TEXT) || info->item.iItem < 0 ||
            static_cast<std::size_t>(info->item.iItem) >= preview->Rows())
            return TRUE;
        const std::size_t row = static_cast<std::size_t>(info->item.iItem);
        const char* text = info->item.iSubItem == 0   ? preview->PresentPath(row)
                           : info->item.iSubItem == 1 ? preview->NewName(row)
                                                      : preview->Result(row);
        lstrcpynA(info->item.pszText, text, info->item.cchTextMax);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int RunRenames(HWND dialog, RenamePlan plan, const void* options)
{
    DiskRenames step;
    RunProgress progress(dialog);
    if (!plan(dialog, options, step, &progress)) {
        // A run the user stopped keeps what it changed: the shell is told of it.
        if (progress.Stopped() && progress.Done() > 0) NotifyShellOfChanges();
        return 0;
    }
    NotifyShellOfChanges();
    return 1;
}

int PreviewRenames(HWND dialog, RenamePlan plan, const void* options)
{
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    // Paths are shown relative to the first selected item's folder.
    char first[kPathSize] = {};
    ReadFirstSelected(drop, first);
    first[FinalComponentOffset(first)] = '\0';
    RenamePreview* preview = nullptr;
    {
        ReportCapture capture;
        preview = new (std::nothrow) RenamePreview(first, capture);
        if (preview != nullptr) {
            try {
                plan(dialog, options, *preview, preview);
            } catch (...) {
                // No exception leaves a window procedure: a preview that ran out of
                // memory is not shown.
                delete preview;
                preview = nullptr;
            }
        }
    }
    if (preview == nullptr) {
        ShowErrorBox(nullptr, kMsgNoMemory);
        return 0;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_PREVIEW), dialog, PreviewDlgProc,
                    reinterpret_cast<LPARAM>(preview));
    delete preview;
    return 1;
}
