// Selecting items in the folder window the menu was opened from ("すべて選択(&L)",
// "ファイル／フォルダを選択(&F)", "同一の拡張子を選択(&X)", "同一の更新日を選択(&U)",
// "同一の属性を選択(&R)", commands 1 to 5): every item, or the
// entries of the reference item's folder that pass a test, found in the view by name.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <unordered_map>

#include "common/folder_walk.h"
#include "common/report.h"
#include "common/selection.h"
#include "common/rules/path_build.h"
#include "ctxmenu/commands/commands.h"
#include "ctxmenu/dialog_frame.h"
#include "ctxmenu/file_times.h"
#include "ctxmenu/focused_view.h"
#include "ctxmenu/rules/select_view_rule.h"

namespace {

enum class Test { FilesOrFolders, SameExtension, SameDate, SameAttributes };

// The library lives in the process that owns the view, so the records go by address.
void SetItemSelected(HWND view, WPARAM index, bool selected)
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(view, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

// The item the view's own search (LVM_FINDITEMA, whole text, from the first item)
// finds for `name`, or -1.
LRESULT FindItem(HWND view, const char* name)
{
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;
    find.psz = name;
    return SendMessageA(view, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find));
}

// A view answers a text request with at most 259 bytes, and drops a double-byte
// character that would not fit whole: a text this long may be cut.
constexpr std::size_t kPossiblyCutLength = kPathSize - 2;

// The view's item texts, read once and kept by the key the view's search compares
// (text without regard to case, as lstrcmpi sees it), each with the first item that
// shows it. Asking the view for every match would search the whole view each time.
class ViewIndex {
public:
    explicit ViewIndex(HWND view) : view_(view) {}

    // The index the view's own search gives for `name`.
    LRESULT Find(const char* name)
    {
        if (!built_) Build();
        if (fallback_) return FindItem(view_, name);
        std::string key;
        if (!KeyOf(name, &key)) return FindItem(view_, name);
        LRESULT item = -1;
        try {
            const auto found = first_.find(key);
            if (found == first_.end()) return -1;
            item = found->second;
        } catch (...) {
            return FindItem(view_, name);
        }
        // The item found by its key is checked with the comparison itself.
        char text[kPathSize] = {};
        ReadItemText(item, text);
        return lstrcmpiA(text, name) == 0 ? item : FindItem(view_, name);
    }

private:
    // The sort key without regard to case: two texts compare equal exactly when their
    // keys are equal. false when the text has no key.
    static bool KeyOf(const char* text, std::string* key)
    {
        const int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text, -1, nullptr, 0);
        if (size <= 0) return false;
        try {
            key->assign(static_cast<std::size_t>(size), '\0');
        } catch (...) {
            return false;
        }
        return LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text, -1, &(*key)[0], size) > 0;
    }

    // The whole buffer is cleared first: a view that cuts a long text leaves whatever
    // the buffer held behind its last byte.
    void ReadItemText(LRESULT index, char* text /* 260 bytes */) const
    {
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = static_cast<int>(kPathSize);
        std::memset(text, 0, kPathSize);
        SendMessageA(view_, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        text[kPathSize - 1] = '\0';
    }

    void Build()
    {
        built_ = true;
        const LRESULT count = SendMessageA(view_, LVM_GETITEMCOUNT, 0, 0);
        char text[kPathSize];
        std::string key;
        try {
            first_.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
            for (LRESULT i = 0; i < count; ++i) {
                ReadItemText(i, text);
                // A text of 258 bytes or more may have been cut (a double-byte character
                // that did not fit is dropped whole): the view's own search decides.
                if (std::strlen(text) >= kPossiblyCutLength || !KeyOf(text, &key)) {
                    fallback_ = true;
                    return;
                }
                first_.emplace(key, i);   // keeps the first item of a text
            }
        } catch (...) {
            // Without memory for the index the view is asked for every name.
            fallback_ = true;
            first_.clear();
        }
    }

    HWND view_;
    bool built_ = false;
    bool fallback_ = false;
    std::unordered_map<std::string, LRESULT> first_;
};

void SelectByName(HWND view, ViewIndex& index, const char* name)
{
    const LRESULT item = index.Find(name);
    if (item >= 0) SetItemSelected(view, static_cast<WPARAM>(item), true);
}

// The focused window when it is a view the commands drive. Otherwise the failure has
// been shown and null is given.
HWND RecognisedView(const Invocation& invocation, bool needDrop, HDROP* drop)
{
    if (invocation.owner == nullptr) {
        ReportFault();
        return nullptr;
    }
    if (needDrop) {
        *drop = SelectionOf(invocation);  // shows the failure itself
        if (*drop == nullptr) return nullptr;
    }
    char className[kPathSize];
    HWND view = FocusedView(className);
    if (view == nullptr) {
        ReportFault();
        return nullptr;
    }
    if (!IsSelectionViewClass(className)) {
        ShowErrorBox(nullptr, kMsgUnknownWindow);
        return nullptr;
    }
    return view;
}

bool SameLocalDay(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

struct MatchContext {
    HWND view;
    ViewIndex* index;
    Test test;
    DWORD referenceAttributes;
    SYSTEMTIME referenceDay;
    LocalClock clock;
};

int SelectIfMatching(const char*, const FolderEntry& entry, void* context)
{
    const MatchContext& match = *static_cast<const MatchContext*>(context);
    bool passes = false;
    switch (match.test) {
    case Test::FilesOrFolders:
    case Test::SameExtension:
        passes = SameKind(entry.attributes, match.referenceAttributes);
        break;
    case Test::SameDate:
        if (SameKind(entry.attributes, match.referenceAttributes)) {
            SYSTEMTIME day;
            if (!match.clock.ToLocal(entry.lastWriteTime, &day)) return 0;
            passes = SameLocalDay(day, match.referenceDay);
        }
        break;
    case Test::SameAttributes:
        passes = SameSelectAttributes(entry.attributes, match.referenceAttributes);
        break;
    }
    if (passes) SelectByName(match.view, *match.index, entry.name);
    return 1;
}

int SelectMatching(const Invocation& invocation, Test test)
{
    HDROP drop = nullptr;
    HWND view = RecognisedView(invocation, true, &drop);
    if (view == nullptr) return 0;

    // From here on a failure leaves nothing selected.
    SetItemSelected(view, static_cast<WPARAM>(-1), false);

    if (SelectionCursor(drop).Count() == 0) {
        ShowErrorBox(nullptr, kMsgNoSelection);
        return 0;
    }
    char reference[kPathSize];
    if (!ReadFirstSelected(drop, reference)) {
        ShowErrorBox(nullptr, kMsgUnreadablePath);
        return 0;
    }

    SYSTEMTIME referenceDay{};
    if (test == Test::SameDate) {
        // A reference the search does not find but that is there (a drive root) has no
        // date to compare: nothing is selected. One that has vanished is a failure, as
        // for the other commands.
        bool found = false;
        if (!GetLocalLastWrite(reference, &referenceDay, &found)) return 0;
        if (!found) {
            if (GetFileAttributesA(reference) == INVALID_FILE_ATTRIBUTES) {
                ReportFault();
                return 0;
            }
            return 1;
        }
    }

    const char* tail = ".*";
    if (test == Test::SameExtension) tail = ExtensionSearchTail(PathFindExtensionA(reference));

    char folder[kPathSize];
    std::memcpy(folder, reference, kPathSize);
    PathRemoveFileSpecA(folder);
    PathRemoveBackslashA(folder);

    const DWORD referenceAttributes = GetFileAttributesA(reference);
    if (referenceAttributes == INVALID_FILE_ATTRIBUTES) {
        ReportFault();
        return 0;
    }

    char pattern[kPathSize];
    if (!BuildSearchPattern(pattern, sizeof pattern, folder, tail)) {
        // The platform's own answer for a search path past the limit.
        ReportError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    // The same pattern relative to the folder: it fits, since the whole one did.
    char relative[kPathSize];
    if (!ConcatPath(relative, sizeof relative, "*", tail)) {
        ReportError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    ViewIndex index(view);
    MatchContext match{view, &index, test, referenceAttributes, referenceDay, LocalClock()};
    return WalkFolder(nullptr, folder, relative, SelectIfMatching, &match);
}

}  // namespace

int SelectAllItems(const Invocation& invocation)
{
    // The selection list is not needed: every item of the view is selected.
    HWND view = RecognisedView(invocation, false, nullptr);
    if (view == nullptr) return 0;
    SetItemSelected(view, static_cast<WPARAM>(-1), true);
    return 1;
}

int SelectFilesOrFolders(const Invocation& invocation)
{
    return SelectMatching(invocation, Test::FilesOrFolders);
}

int SelectSameExtension(const Invocation& invocation)
{
    return SelectMatching(invocation, Test::SameExtension);
}

int SelectSameDate(const Invocation& invocation)
{
    return SelectMatching(invocation, Test::SameDate);
}

int SelectSameAttributes(const Invocation& invocation)
{
    return SelectMatching(invocation, Test::SameAttributes);
}
