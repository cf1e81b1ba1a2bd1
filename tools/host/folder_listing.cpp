// The folder shown: its listing in the view (folders first), the change notification
// that refreshes it, and the selection by name.
#include "tools/host/host.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <unordered_map>

namespace {

std::string FormatSize(ULONGLONG size)
{
    std::string digits = std::to_string(size);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string FormatTime(const FILETIME& utc)
{
    FILETIME local;
    SYSTEMTIME t;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return {};
    char text[32];
    wsprintfA(text, "%04u/%02u/%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return text;
}

std::string UpperCase(std::string text)
{
    CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string FormatAttributes(DWORD a)
{
    std::string s;
    if (a & FILE_ATTRIBUTE_READONLY) s += 'R';
    if (a & FILE_ATTRIBUTE_HIDDEN) s += 'H';
    if (a & FILE_ATTRIBUTE_SYSTEM) s += 'S';
    if (a & FILE_ATTRIBUTE_DIRECTORY) s += 'D';
    if (a & FILE_ATTRIBUTE_ARCHIVE) s += 'A';
    return s;
}

// The small icon of an entry. Files of one extension share the icon of their type, so a
// folder of thousands of files asks the shell once per extension; the few types whose
// files carry icons of their own are asked for each file.
class IconCache {
public:
    int IconOf(const std::string& path, const std::string& name, DWORD attributes)
    {
        // No name holds a colon: the two keys that are no extension cannot clash.
        std::string key = ":folder";
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            const size_t dot = name.rfind('.');
            key = UpperCase(dot == std::string::npos ? std::string() : name.substr(dot));
            if (key == ".EXE" || key == ".ICO" || key == ".LNK" || key == ".CUR" || key == ".ANI") key = ":own";
        }
        const auto found = icons_.find(key);
        if (found != icons_.end()) return found->second;
        SHFILEINFOA info = {};
        SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        if (key != ":own") icons_[key] = info.iIcon;
        return info.iIcon;
    }

private:
    std::map<std::string, int> icons_;
};

}  // namespace

bool HostWindow::Open(const std::string& folder)
{
    char full[MAX_PATH] = {};
    DWORD n = GetFullPathNameA(WindowsPath(folder).c_str(), MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) return false;
    const DWORD attributes = GetFileAttributesA(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    std::string path = full;
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    folder_ = path;
    SetWindowTextA(hwnd_, ("Explorer host - " + folder_).c_str());
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    Refresh();
    WatchFolder();
    return true;
}

void HostWindow::WatchFolder()
{
    if (watch_ != 0) SHChangeNotifyDeregister(watch_);
    watch_ = 0;
    Pidl pidl = PidlOf(folder_);
    if (!pidl) return;
    SHChangeNotifyEntry entry = {pidl.get(), FALSE};
    watch_ = SHChangeNotifyRegister(hwnd_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel, SHCNE_ALLEVENTS,
                                    kChangeNotifyMessage, 1, &entry);
}

void HostWindow::Refresh()
{
    refreshPending_ = false;
    const std::vector<std::string> selected = SelectedNames();
    std::string focused;
    const int focus = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focus >= 0 && static_cast<size_t>(focus) < entries_.size()) focused = entries_[static_cast<size_t>(focus)].name;

    std::vector<Entry> entries;
    const std::string root = folder_.size() == 2 ? folder_ + "\\" : folder_;
    if (root.size() > 3) {
        Entry up;
        up.name = "..";
        up.attributes = FILE_ATTRIBUTE_DIRECTORY;
        up.parent = true;
        entries.push_back(up);
    }
    WIN32_FIND_DATAA data;
    FindHandle search(FindFirstFileA(PathOf("*.*").c_str(), &data));
    if (search.valid()) {
        do {
            if (lstrcmpA(data.cFileName, ".") == 0 || lstrcmpA(data.cFileName, "..") == 0) continue;
            Entry e;
            e.name = data.cFileName;
            e.attributes = data.dwFileAttributes;
            e.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            e.modified = data.ftLastWriteTime;
            entries.push_back(e);
        } while (FindNextFileA(search.get(), &data));
    }
    // Folders first, then files, each by name.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.parent != b.parent) return a.parent;
        const bool da = a.attributes & FILE_ATTRIBUTE_DIRECTORY;
        const bool db = b.attributes & FILE_ATTRIBUTE_DIRECTORY;
        if (da != db) return da;
        return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
    });
    entries_ = entries;

    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    IconCache icons;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(e.name.c_str());
        item.iImage = icons.IconOf(e.parent ? folder_ : PathOf(e.name), e.name, e.attributes);
        const int index = static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (e.parent) continue;
        const bool folder = e.attributes & FILE_ATTRIBUTE_DIRECTORY;
        const std::string texts[] = {folder ? std::string() : FormatSize(e.size), FormatTime(e.modified),
                                     FormatAttributes(e.attributes)};
        for (int c = 0; c < 3; ++c) {
            LVITEMA sub = {};
            sub.iSubItem = c + 1;
            sub.pszText = const_cast<char*>(texts[c].c_str());
            SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
        }
    }
    Select(selected);
    if (!focused.empty()) {
        const int item = FindItem(focused);
        if (item >= 0) {
            LVITEMA state = {};
            state.stateMask = LVIS_FOCUSED;
            state.state = LVIS_FOCUSED;
            SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
        }
    }
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    ShowSelectionCount();
}

std::string HostWindow::PathOf(const std::string& name) const
{
    if (!name.empty() && (name.find(':') != std::string::npos || name[0] == '\\')) return name;
    return folder_.back() == '\\' ? folder_ + name : folder_ + "\\" + name;
}

int HostWindow::FindItem(const std::string& name) const
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (lstrcmpiA(entries_[i].name.c_str(), name.c_str()) == 0) return static_cast<int>(i);
    }
    return -1;
}

bool HostWindow::IsFolderItem(int item) const
{
    return item >= 0 && static_cast<size_t>(item) < entries_.size() &&
           (entries_[static_cast<size_t>(item)].attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> HostWindow::SelectedNames() const
{
    std::vector<std::string> names;
    int item = -1;
    while ((item = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(item), LVNI_SELECTED))) >= 0) {
        if (static_cast<size_t>(item) < entries_.size() && !entries_[static_cast<size_t>(item)].parent) {
            names.push_back(entries_[static_cast<size_t>(item)].name);
        }
    }
    return names;
}

std::vector<std::string> HostWindow::SelectedPaths() const
{
    std::vector<std::string> paths;
    for (const std::string& name : SelectedNames()) paths.push_back(PathOf(name));
    return paths;
}

std::vector<std::string> HostWindow::Select(const std::vector<std::string>& names)
{
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    std::vector<std::string> missing;
    // Names are looked up by their upper-case form, as the view's names compare without
    // regard to case; a selection of thousands of names is found in one pass.
    std::unordered_map<std::string, int> byName;
    if (names.size() > 1) {
        for (size_t i = entries_.size(); i-- > 0;) byName[UpperCase(entries_[i].name)] = static_cast<int>(i);
    }
    bool first = true;
    for (const std::string& name : names) {
        std::vector<int> items;
        const auto found = names.size() > 1 ? byName.find(UpperCase(name)) : byName.end();
        const int index = names.size() > 1 ? (found != byName.end() ? found->second : -1) : FindItem(name);
        if (name == "*") {
            for (size_t i = 0; i < entries_.size(); ++i) {
                if (!entries_[i].parent) items.push_back(static_cast<int>(i));
            }
        } else if (index >= 0) {
            items.push_back(index);
        } else {
            missing.push_back(name);
        }
        for (int item : items) {
            LVITEMA state = {};
            state.stateMask = LVIS_SELECTED | (first ? LVIS_FOCUSED : 0);
            state.state = state.stateMask;
            SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
            if (first) SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
            first = false;
        }
    }
    return missing;
}
