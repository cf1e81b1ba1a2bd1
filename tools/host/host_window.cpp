// The host window: a report-view list of one folder with a status bar, its keyboard
// and mouse handling and the right-button drag onto a folder item.
#include "tools/host/host.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

namespace {

const char kClassName[] = "TidalonExplorerHost";

enum : UINT {
    kMenuUp = 100,
    kMenuRefresh,
    kMenuDrop,
    kMenuExit,
};

}  // namespace

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
