#include "tools/support/folder_window.h"

#include <cstring>

#include "common/handles.h"

namespace {

constexpr char kFrameClass[] = "TidalonTestFrame";

// Like a folder window, the frame hands the focus back to its chosen child whenever it
// gets it (after a message box it owned has closed, for one).
LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETFOCUS) {
        HWND child = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (child != nullptr) SetFocus(child);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses()
{
    static bool done = false;
    if (done) return;
    done = true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXA frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = GetModuleHandleA(nullptr);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    frame.lpszClassName = kFrameClass;
    RegisterClassExA(&frame);

    WNDCLASSEXA list{};
    list.cbSize = sizeof list;
    GetClassInfoExA(nullptr, WC_LISTVIEWA, &list);
    list.hInstance = GetModuleHandleA(nullptr);
    list.lpszClassName = kDirectUiClass;
    list.style &= ~CS_GLOBALCLASS;
    RegisterClassExA(&list);
}

}  // namespace

FolderWindow::FolderWindow(const std::string& folder, const char* viewClass)
{
    RegisterClasses();
    frame_ = CreateWindowExA(0, kFrameClass, "Tidalon test folder", WS_OVERLAPPEDWINDOW, 40, 40, 480, 360, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    view_ = CreateWindowExA(0, viewClass, "",
                            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                            470, 300, frame_, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    edit_ = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 302, 470, 24, frame_,
                            reinterpret_cast<HMENU>(2), GetModuleHandleA(nullptr), nullptr);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 300;
    column.pszText = const_cast<char*>("Name");
    SendMessageA(view_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

    if (!folder.empty()) {
        WIN32_FIND_DATAA entry;
        FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &entry));
        if (search.valid()) {
            do {
                if (std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0) continue;
                LVITEMA item{};
                item.mask = LVIF_TEXT;
                item.iItem = ItemCount();
                item.pszText = entry.cFileName;
                SendMessageA(view_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            } while (FindNextFileA(search.get(), &entry));
        }
    }
    SetWindowLongPtrA(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view_));
    ShowWindow(frame_, SW_SHOW);
    SetForegroundWindow(frame_);
    SetFocus(view_);
}

FolderWindow::~FolderWindow()
{
    DestroyWindow(frame_);
}

void FolderWindow::FocusEdit() const
{
    SetWindowLongPtrA(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(edit_));
    SetFocus(edit_);
}

int FolderWindow::ItemCount() const
{
    return static_cast<int>(SendMessageA(view_, LVM_GETITEMCOUNT, 0, 0));
}

void FolderWindow::Select(const std::set<std::string>& names) const
{
    for (int i = 0; i < ItemCount(); ++i) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED;
        item.state = names.count(TextOf(i)) ? LVIS_SELECTED : 0;
        SendMessageA(view_, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

std::set<std::string> FolderWindow::Selected() const
{
    std::set<std::string> names;
    for (int i = static_cast<int>(SendMessageA(view_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); i >= 0;
         i = static_cast<int>(SendMessageA(view_, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED)))
        names.insert(TextOf(i));
    return names;
}

std::string FolderWindow::TextOf(int index) const
{
    char text[MAX_PATH] = {};
    LVITEMA item{};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(view_, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}
