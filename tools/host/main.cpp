// explorer_host: a small Explorer stand-in for the demo and for trying the shell
// extensions by hand under Wine (Wine's own shell loads no handlers). Not installed.
//
//   explorer_host [folder]                 opens the folder for a person to use
//   explorer_host --register <dist folder> registers kelmora.dll (and orvid.dll when
//                                          present) in HKEY_CLASSES_ROOT, then exits
//   explorer_host --script <file> [folder] runs a tour script, then exits
//
// The window is a report-view list ("SysListView32") of one folder: Enter or a double
// click opens a folder, Backspace or ".." goes up, F5 refreshes. Right click on the
// selection shows the context menu of the handlers registered under
// HKCR "*\shellex\ContextMenuHandlers" (files) and "Directory\shellex\ContextMenuHandlers"
// (folders); the status bar shows their help texts. Dragging the selection with the
// right button onto a folder item, or "Folder > Drop selection on…", shows the drop
// menu of the handlers under HKCR "Folder\shellex\DragDropHandlers".
//
// Script files are UTF-8, one command per line; see script.cpp and README.md.
#include "host.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "drop_data.h"

namespace {

const char kClassName[] = "TidalonExplorerHost";
const UINT kChangeNotifyMessage = WM_APP + 1;

enum : UINT {
    kMenuUp = 100,
    kMenuRefresh,
    kMenuDrop,
    kMenuExit,
};

enum Column { kName, kSize, kModified, kAttributes };

struct PidlDeleter {
    void operator()(ITEMIDLIST* p) const { ILFree(p); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

Pidl PidlOf(const std::string& path) { return Pidl(ILCreateFromPathA(path.c_str())); }

std::wstring Widen(const std::string& text, UINT codePage)
{
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage)
{
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

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

// "a\0b\0\0" for SHFileOperationA
std::string DoubleNullList(const std::vector<std::string>& paths)
{
    std::string list;
    for (const std::string& p : paths) {
        list += p;
        list += '\0';
    }
    list += '\0';
    return list;
}

}  // namespace

std::string Utf8FromAnsi(const std::string& ansi) { return Narrow(Widen(ansi, 932), CP_UTF8); }
std::string AnsiFromUtf8(const std::string& utf8) { return Narrow(Widen(utf8, CP_UTF8), 932); }

void Log(const std::string& ansi)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring wide = Widen(ansi + "\n", 932);
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string utf8 = Utf8FromAnsi(ansi) + "\n";
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

// ---------------------------------------------------------------------------------
// The window

bool HostWindow::Create(HINSTANCE instance)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc)) return false;

    HMENU folderMenu = CreatePopupMenu();
    AppendMenuA(folderMenu, MF_STRING, kMenuUp, "&Up\tBackspace");
    AppendMenuA(folderMenu, MF_STRING, kMenuRefresh, "&Refresh\tF5");
    AppendMenuA(folderMenu, MF_STRING, kMenuDrop, "&Drop selection on\x81\x63");   // "…"
    AppendMenuA(folderMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(folderMenu, MF_STRING, kMenuExit, "E&xit");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(folderMenu), "&Folder");

    hwnd_ = CreateWindowExA(0, kClassName, "Explorer host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 16, 16, 720,
                            440, nullptr, bar, instance, this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK HostWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<HostWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT HostWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        list_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                                    LVS_SHAREIMAGELISTS,
                                0, 0, 0, 0, hwnd_, nullptr, nullptr, nullptr);
        status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                  hwnd_, nullptr, nullptr, nullptr);
        if (list_ == nullptr || status_ == nullptr) {
            Log("cannot create the list view or the status bar");
            return -1;
        }
        SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
        const struct {
            const char* title;
            int width;
            int format;
        } columns[] = {{"名前", 250, LVCFMT_LEFT},
                       {"サイズ", 90, LVCFMT_RIGHT},
                       {"更新日時", 140, LVCFMT_LEFT},
                       {"属性", 60, LVCFMT_LEFT}};
        for (int i = 0; i < 4; ++i) {
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = const_cast<char*>(columns[i].title);
            column.cx = columns[i].width;
            column.fmt = columns[i].format;
            SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        }
        SHFILEINFOA info = {};
        auto images = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        if (images != nullptr) SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
        return 0;
    }
    case WM_SIZE:
        Layout();
        return 0;
    case WM_SETFOCUS:
        SetFocus(list_);
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == list_) return OnNotify(header);
        break;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == list_) {
            POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (pt.x == -1 && pt.y == -1) pt = MenuPoint();   // Shift+F10 or the menu key
            ShowContextMenu(pt);
            return 0;
        }
        break;
    case WM_MENUSELECT: {
        const UINT id = LOWORD(wParam);
        const UINT flags = HIWORD(wParam);
        if (trackedMenu_ != nullptr && !(flags & MF_POPUP) && trackedMenu_->Owns(id)) {
            SetStatus(trackedMenu_->HelpText(id));
        } else if (flags == 0xFFFF && lParam == 0) {
            ShowSelectionCount();
        } else {
            SetStatus("");
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            MapWindowPoints(hwnd_, list_, &pt, 1);
            LVHITTESTINFO hit = {};
            hit.pt = pt;
            int item = static_cast<int>(SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            if (item >= 0 && (!IsFolderItem(item) ||
                              (SendMessageA(list_, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED))) {
                item = -1;
            }
            if (item != dropHilite_) {
                LVITEMA state = {};
                state.stateMask = LVIS_DROPHILITED;
                if (dropHilite_ >= 0) SendMessageA(list_, LVM_SETITEMSTATE, dropHilite_, reinterpret_cast<LPARAM>(&state));
                state.state = LVIS_DROPHILITED;
                if (item >= 0) SendMessageA(list_, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
                dropHilite_ = item;
            }
            return 0;
        }
        break;
    case WM_RBUTTONUP:
        if (dragging_) {
            POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(hwnd_, &pt);
            EndDrag(true, pt);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (dragging_) EndDrag(false, POINT{});
        return 0;
    case WM_KEYDOWN:
        if (dragging_ && wParam == VK_ESCAPE) {
            EndDrag(false, POINT{});
            return 0;
        }
        break;
    case WM_COMMAND:
        if (lParam == 0) {
            OnCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case kChangeNotifyMessage:
        // Commands run synchronously; their changes are shown once they return.
        if (inCommand_ > 0) {
            refreshPending_ = true;
        } else {
            Refresh();
        }
        return 0;
    case WM_DESTROY:
        if (watch_ != 0) SHChangeNotifyDeregister(watch_);
        watch_ = 0;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void HostWindow::Layout()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    SendMessageA(status_, WM_SIZE, 0, 0);
    RECT bar;
    GetWindowRect(status_, &bar);
    MoveWindow(list_, 0, 0, client.right, client.bottom - (bar.bottom - bar.top), TRUE);
}

LRESULT HostWindow::OnNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_ITEMACTIVATE:
        Activate(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        return 0;
    case LVN_KEYDOWN: {
        const WORD key = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
        if (key == VK_F5) Refresh();
        if (key == VK_BACK) GoUp();
        return 0;
    }
    case LVN_ITEMCHANGED:
        if (reinterpret_cast<NMLISTVIEW*>(header)->uChanged & LVIF_STATE) ShowSelectionCount();
        return 0;
    case LVN_BEGINRDRAG:
        if (!SelectedNames().empty()) {
            dragging_ = true;
            dropHilite_ = -1;
            SetCapture(hwnd_);
            SetStatus("Drop on a folder item (right button)");
        }
        return 0;
    default:
        return 0;
    }
}

void HostWindow::OnCommand(UINT id)
{
    switch (id) {
    case kMenuUp: GoUp(); break;
    case kMenuRefresh: Refresh(); break;
    case kMenuDrop: DropSelectionOnChosenFolder(); break;
    case kMenuExit: DestroyWindow(hwnd_); break;
    default: break;
    }
}

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
    for (size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        SHFILEINFOA info = {};
        SHGetFileInfoA(e.parent ? folder_.c_str() : PathOf(e.name).c_str(), 0, &info, sizeof info,
                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(e.name.c_str());
        item.iImage = info.iIcon;
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
    bool first = true;
    for (const std::string& name : names) {
        std::vector<int> items;
        if (name == "*") {
            for (size_t i = 0; i < entries_.size(); ++i) {
                if (!entries_[i].parent) items.push_back(static_cast<int>(i));
            }
        } else if (FindItem(name) >= 0) {
            items.push_back(FindItem(name));
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

POINT HostWindow::MenuPoint() const
{
    int item = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    RECT r = {};
    POINT pt = {40, 40};
    if (item >= 0) {
        r.left = LVIR_LABEL;
        SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
        pt = {r.left + 100, r.top + (r.bottom - r.top) / 2};   // beside the name, as a click would be
    }
    ClientToScreen(list_, &pt);
    return pt;
}

void HostWindow::Activate(int item)
{
    if (item < 0 || static_cast<size_t>(item) >= entries_.size()) return;
    const Entry& e = entries_[static_cast<size_t>(item)];
    if (e.parent) {
        GoUp();
    } else if (e.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        Open(PathOf(e.name));
    }
}

void HostWindow::GoUp()
{
    std::string path = folder_;
    const size_t cut = path.find_last_of('\\');
    if (path.size() <= 3 || cut == std::string::npos) return;
    const std::string child = path.substr(cut + 1);
    path.erase(cut);
    if (!Open(path.size() == 2 ? path + "\\" : path)) return;
    Select({child});
}

void HostWindow::SetStatus(const std::string& text)
{
    SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void HostWindow::ShowSelectionCount()
{
    char text[64];
    wsprintfA(text, "%u 個の項目を選択", static_cast<unsigned>(SelectedNames().size()));
    SetStatus(text);
}

void HostWindow::Settle(DWORD ms) const
{
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        UpdateWindow(hwnd_);
        // Waiting through the message queue also hands the painted windows to the display.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

// ---------------------------------------------------------------------------------
// Menus

bool HostWindow::BuildContextMenu(BuiltMenu& menu)
{
    const std::vector<std::string> names = SelectedNames();
    if (names.empty() || menu.popup == nullptr) return false;
    bool files = false;
    bool folders = false;
    for (const std::string& name : names) {
        (IsFolderItem(FindItem(name)) ? folders : files) = true;
    }
    AppendMenuA(menu.popup, MF_STRING | ((folders && names.size() == 1) ? 0 : MF_GRAYED), kOpenId, "開く(&O)");
    std::vector<std::string> types;
    if (files) types.push_back("*");
    if (folders) types.push_back("Directory");
    Pidl folder = PidlOf(folder_);
    ComPtr<IDataObject> data;
    *data.put() = CreateDropDataObject(SelectedPaths());
    menu.handlers.AddHandlers(menu.popup, 1, types, "ContextMenuHandlers", folder.get(), data.get());
    return true;
}

bool HostWindow::BuildDropMenu(BuiltMenu& menu, const std::string& target)
{
    std::vector<std::string> paths = SelectedPaths();
    const std::string targetPath = PathOf(WindowsPath(target));
    paths.erase(std::remove_if(paths.begin(), paths.end(),
                               [&](const std::string& p) { return lstrcmpiA(p.c_str(), targetPath.c_str()) == 0; }),
                paths.end());
    const DWORD attributes = GetFileAttributesA(targetPath.c_str());
    if (paths.empty() || menu.popup == nullptr || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    menu.dropTarget = targetPath;
    AppendMenuA(menu.popup, MF_STRING, kCopyHereId, "ここにコピー(&C)");
    AppendMenuA(menu.popup, MF_STRING, kMoveHereId, "ここに移動(&M)");
    AppendMenuA(menu.popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.popup, MF_STRING, kCancelDropId, "キャンセル");
    Pidl folder = PidlOf(targetPath);
    ComPtr<IDataObject> data;
    *data.put() = CreateDropDataObject(paths);
    if (menu.handlers.AddHandlers(menu.popup, 3, {"Folder"}, "DragDropHandlers", folder.get(), data.get()) == 0) {
        Log("drop menu: no drag-and-drop handler added entries (none registered under "
            "HKCR\\Folder\\shellex\\DragDropHandlers, or the drag menu is switched off)");
    }
    return true;
}

void HostWindow::RunMenuCommand(BuiltMenu& menu, UINT id)
{
    if (id == 0) return;
    ++inCommand_;
    if (id == kOpenId) {
        const std::vector<std::string> names = SelectedNames();
        if (names.size() == 1) Open(PathOf(names[0]));
    } else if (id == kCopyHereId || id == kMoveHereId) {
        std::vector<std::string> paths = SelectedPaths();
        paths.erase(std::remove(paths.begin(), paths.end(), menu.dropTarget), paths.end());
        const std::string from = DoubleNullList(paths);
        const std::string to = DoubleNullList({menu.dropTarget});
        SHFILEOPSTRUCTA op = {};
        op.hwnd = hwnd_;
        op.wFunc = id == kCopyHereId ? FO_COPY : FO_MOVE;
        op.pFrom = from.c_str();
        op.pTo = to.c_str();
        op.fFlags = FOF_ALLOWUNDO;
        SHFileOperationA(&op);
    } else if (menu.handlers.Owns(id)) {
        // The selection commands act on the view that has the keyboard focus.
        SetForegroundWindow(hwnd_);
        SetFocus(list_);
        const HRESULT hr = menu.handlers.Invoke(id, hwnd_);
        if (FAILED(hr)) {
            char code[48];
            wsprintfA(code, "InvokeCommand failed: 0x%08lX", static_cast<unsigned long>(hr));
            Log(code);
        }
    }
    --inCommand_;
    // Not every command tells the shell about its changes.
    Refresh();
}

UINT HostWindow::TrackMenu(const BuiltMenu& menu, POINT screen)
{
    SetForegroundWindow(hwnd_);
    trackedMenu_ = &menu.handlers;
    const UINT id = static_cast<UINT>(TrackPopupMenu(menu.popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                                     screen.y, 0, hwnd_, nullptr));
    trackedMenu_ = nullptr;
    ShowSelectionCount();
    return id;
}

void HostWindow::ShowContextMenu(POINT screen)
{
    BuiltMenu menu;
    if (!BuildContextMenu(menu)) return;
    RunMenuCommand(menu, TrackMenu(menu, screen));
}

void HostWindow::ShowDropMenu(const std::string& target, POINT screen)
{
    BuiltMenu menu;
    if (!BuildDropMenu(menu, target)) return;
    if (menu.handlers.HandlerCount() == 0) SetStatus("No drag-and-drop handler is registered for folders");
    RunMenuCommand(menu, TrackMenu(menu, screen));
}

void HostWindow::EndDrag(bool drop, POINT screen)
{
    dragging_ = false;
    const int target = dropHilite_;
    if (dropHilite_ >= 0) {
        LVITEMA state = {};
        state.stateMask = LVIS_DROPHILITED;
        SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(dropHilite_), reinterpret_cast<LPARAM>(&state));
    }
    dropHilite_ = -1;
    if (GetCapture() == hwnd_) ReleaseCapture();
    ShowSelectionCount();
    if (drop && target >= 0) {
        const Entry& e = entries_[static_cast<size_t>(target)];
        std::string parent = folder_.substr(0, folder_.find_last_of('\\'));
        if (parent.size() == 2) parent += '\\';   // a drive's root
        ShowDropMenu(e.parent ? parent : PathOf(e.name), screen);
    }
}

void HostWindow::DropSelectionOnChosenFolder()
{
    if (SelectedNames().empty()) {
        SetStatus("Select the items to drop first");
        return;
    }
    BROWSEINFOA browse = {};
    browse.hwndOwner = hwnd_;
    browse.lpszTitle = "Drop the selection on this folder";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    Pidl chosen(SHBrowseForFolderA(&browse));
    char path[MAX_PATH] = {};
    if (!chosen || !SHGetPathFromIDListA(chosen.get(), path)) return;
    ShowDropMenu(path, MenuPoint());
}

// ---------------------------------------------------------------------------------

int main(int argc, char** argv)
{
    std::string folder = "C:\\";
    std::string script;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--register" && i + 1 < argc) return RegisterSuite(argv[i + 1]);
        if (arg == "--script" && i + 1 < argc) {
            script = argv[++i];
        } else if (arg == "--help" || arg == "-h" || arg == "/?") {
            Log("usage: explorer_host [folder] | --script <file> [folder] | --register <dist folder>");
            return 0;
        } else {
            folder = arg;
        }
    }

    if (FAILED(OleInitialize(nullptr))) {
        Log("OleInitialize failed");
        return 1;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    int code = 0;
    {
        HostWindow host;
        if (!host.Create(GetModuleHandleA(nullptr))) {
            char error[48];
            wsprintfA(error, "cannot create the window (error %lu)", GetLastError());
            Log(error);
            OleUninitialize();
            return 1;
        }
        ShowWindow(host.hwnd(), SW_SHOW);
        UpdateWindow(host.hwnd());
        SetForegroundWindow(host.hwnd());
        if (!host.Open(folder)) Log("cannot open " + folder);
        SetFocus(host.list());

        if (!script.empty()) {
            code = RunScript(host, WindowsPath(script));
            DestroyWindow(host.hwnd());
        }
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // Let the handlers' libraries go, as Explorer does when idle.
    CoFreeUnusedLibraries();
    OleUninitialize();
    return code;
}
