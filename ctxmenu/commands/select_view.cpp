// Selecting items in the folder window the menu was opened from ("すべて選択(&L)",
// "ファイル／フォルダを選択(&F)", "同一の拡張子を選択(&X)", "同一の更新日を選択(&U)",
// "同一の属性を選択(&R)", commands 1 to 5): every item, or the
// entries of the reference item's folder that pass a test, found in the view by name.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

// The view's item texts, read once and kept twice: by the key the view's search
// compares (text without regard to case, as lstrcmpi sees it) with the first item that
// shows it, and by their exact bytes with the item the view's search gives for them.
// A listed name is normally its item's text byte for byte, so it is found with one
// probe of the exact texts; only a name the view shows otherwise is keyed. Asking the
// view for every match would search the whole view each time.
class ViewIndex {
public:
    explicit ViewIndex(HWND view) : view_(view) {}

    // The index the view's own search gives for `name`.
    LRESULT Find(const char* name)
    {
        if (!built_) Build();
        if (fallback_) return FindItem(view_, name);
        LRESULT item = -1;
        try {
            const auto exact = exact_.find(std::string_view(name));
            if (exact != exact_.end()) {
                // The item shows the name itself unless an earlier item showed the same
                // key otherwise; only then is the comparison asked.
                if (!exact->second.variant) return exact->second.item;
                item = exact->second.item;
            } else {
                std::string key;
                if (!KeyOf(name, &key)) return FindItem(view_, name);
                const auto found = first_.find(std::string_view(key));
                if (found == first_.end()) return -1;
                item = found->second;
            }
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
        key->assign(static_cast<std::size_t>(size), '\0');
        return LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text, -1, &(*key)[0], size) > 0;
    }

    // The key of `text` appended to `pool`: one call into a buffer that holds the key
    // of any text a view gives, the sizing call only for a longer one.
    static bool AppendKey(const char* text, std::vector<char>* pool)
    {
        char buffer[4096];
        const int size =
            LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text, -1, buffer, sizeof buffer);
        if (size > 0) {
            pool->insert(pool->end(), buffer, buffer + size);
            return true;
        }
        std::string key;
        if (!KeyOf(text, &key)) return false;
        pool->insert(pool->end(), key.begin(), key.end());
        return true;
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
        const std::size_t items = static_cast<std::size_t>(count > 0 ? count : 0);
        try {
            // Every text and key goes into one pool each, then the tables are made over
            // the pools, which no longer move.
            std::vector<std::size_t> ends(items * 2);
            char text[kPathSize];
            for (std::size_t i = 0; i < items; ++i) {
                ReadItemText(static_cast<LRESULT>(i), text);
                const std::size_t length = std::strlen(text);
                // A text of 258 bytes or more may have been cut (a double-byte character
                // that did not fit is dropped whole): the view's own search decides.
                if (length >= kPossiblyCutLength || !AppendKey(text, &keys_)) {
                    fallback_ = true;
                    return;
                }
                texts_.insert(texts_.end(), text, text + length);
                ends[2 * i] = texts_.size();
                ends[2 * i + 1] = keys_.size();
            }
            first_.reserve(items);
            exact_.reserve(items);
            std::size_t text0 = 0, key0 = 0;
            for (std::size_t i = 0; i < items; ++i) {
                const std::string_view shown(texts_.data() + text0, ends[2 * i] - text0);
                const std::string_view key(keys_.data() + key0, ends[2 * i + 1] - key0);
                text0 = ends[2 * i];
                key0 = ends[2 * i + 1];
                // Each key and each text keeps its first item.
                const auto first = first_.emplace(key, static_cast<LRESULT>(i)).first;
                exact_.emplace(shown, Exact{first->second, first->second != static_cast<LRESULT>(i)});
            }
        } catch (...) {
            // Without memory for the index the view is asked for every name.
            fallback_ = true;
            first_.clear();
            exact_.clear();
        }
    }

    // What the view's search gives for an exact text: the first item of its key, and
    // whether that item shows the key otherwise.
    struct Exact {
        LRESULT item;
        bool variant;
    };

    HWND view_;
    bool built_ = false;
    bool fallback_ = false;
    std::vector<char> texts_;
    std::vector<char> keys_;
    std::unordered_map<std::string_view, LRESULT> first_;
    std::unordered_map<std::string_view, Exact> exact_;
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
