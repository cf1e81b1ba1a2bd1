// The menus the host builds from the handlers: the context menu of the selection and
// the drop menu for dropping it on a folder, and running the chosen entry.
#include "tools/host/host.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "tools/support/drop_data.h"

namespace {

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
