// The Explorer stand-in: a window with a real list view of one folder that builds its
// context menu and its right-button drop menu from the shell-extension handlers
// registered under HKEY_CLASSES_ROOT, the way Explorer does. Every narrow string here
// is code page 932, as the handlers see it; the log is written as UTF-8.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "common/handles.h"

// The window's message for shell change notifications of the folder shown.
constexpr UINT kChangeNotifyMessage = WM_APP + 1;

struct PidlDeleter {
    void operator()(ITEMIDLIST* p) const { ILFree(p); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;
inline Pidl PidlOf(const std::string& path) { return Pidl(ILCreateFromPathA(path.c_str())); }

// Texts
std::string Utf8FromAnsi(const std::string& ansi);
std::string AnsiFromUtf8(const std::string& utf8);
// One line to standard output, in UTF-8 (`ansi` is code page 932).
void Log(const std::string& ansi);
// A path from the command line or a script: "/unix/path" becomes "Z:\unix\path".
std::string WindowsPath(const std::string& path);

// Screenshots (PNG files written by png_writer) of what the display shows now: let the
// window paint first.
bool SaveScreenRect(RECT area, const std::string& path);
bool SaveWindowShot(HWND window, const std::string& path);

// Ids of the host's own items in the menus it builds; handlers get ids from
// kFirstHandlerId on.
enum : UINT {
    kOpenId = 1,
    kCopyHereId,
    kMoveHereId,
    kCancelDropId,
    kFirstHandlerId = 0x100,
    kLastHandlerId = 0x7FFF,
};

// The handlers that put items into one menu, each with the range of ids it took.
class HandlerMenu {
public:
    HandlerMenu() = default;
    HandlerMenu(const HandlerMenu&) = delete;
    HandlerMenu& operator=(const HandlerMenu&) = delete;

    // Loads every handler registered under HKCR "<type>\shellex\<handlerKey>" for each
    // of `types` (a class registered for two types is loaded once), initialises it with
    // `folder` and `data`, and lets it add its items to `menu` at `position`. Gives the
    // number of handlers that added items.
    int AddHandlers(HMENU menu, UINT position, const std::vector<std::string>& types,
                    const char* handlerKey, PCIDLIST_ABSOLUTE folder, IDataObject* data);
    bool Owns(UINT id) const;
    HRESULT Invoke(UINT id, HWND owner) const;
    // Status-bar help text of a handler's item (GCS_HELPTEXTA); empty when none.
    std::string HelpText(UINT id) const;
    size_t HandlerCount() const { return handlers_.size(); }

private:
    struct Handler {
        ComPtr<IContextMenu> menu;
        UINT first = 0;
        UINT count = 0;
    };
    const Handler* Find(UINT id) const;

    std::list<Handler> handlers_;
    UINT nextId_ = kFirstHandlerId;
};

// A popup menu with the handlers behind it. The handlers own their submenus, so the
// popup is emptied before it is destroyed and the handlers are released after it.
struct BuiltMenu {
    BuiltMenu() : popup(CreatePopupMenu()) {}
    ~BuiltMenu();
    BuiltMenu(const BuiltMenu&) = delete;
    BuiltMenu& operator=(const BuiltMenu&) = delete;

    HandlerMenu handlers;   // declared first: destroyed last
    HMENU popup;
    std::string dropTarget;   // the drop folder of a drop menu; empty for a context menu
};

// Finds the item whose text is `text` (or `text` without its "&" marks) anywhere in
// `menu` and its submenus; 0 when there is none.
UINT FindMenuItem(HMENU menu, const std::string& text);
// The menu's item texts, one line each, submenus indented.
std::vector<std::string> DescribeMenu(HMENU menu, int depth = 0);

class HostWindow {
public:
    bool Create(HINSTANCE instance);
    HWND hwnd() const { return hwnd_; }
    HWND list() const { return list_; }

    bool Open(const std::string& folder);
    void Refresh();
    const std::string& Folder() const { return folder_; }
    std::string PathOf(const std::string& name) const;

    std::vector<std::string> SelectedNames() const;
    int FindItem(const std::string& name) const;
    bool IsFolderItem(int item) const;
    // Selects exactly the named items (all but ".." for "*"); gives the names not found.
    std::vector<std::string> Select(const std::vector<std::string>& names);
    // Screen point where a menu for the selection opens.
    POINT MenuPoint() const;

    // The context menu of the selection; false when nothing is selected.
    bool BuildContextMenu(BuiltMenu& menu);
    // The drop menu for dropping the selection on the folder `target`.
    bool BuildDropMenu(BuiltMenu& menu, const std::string& target);
    // Shows the menu at `screen` (help texts in the status bar); gives the chosen id or 0.
    UINT TrackMenu(const BuiltMenu& menu, POINT screen);
    // Runs an item chosen from a menu built above, then refreshes the view.
    void RunMenuCommand(BuiltMenu& menu, UINT id);

    void SetStatus(const std::string& text);
    // Pumps messages for `ms` milliseconds so that everything is painted.
    void Settle(DWORD ms) const;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Entry {
        std::string name;
        DWORD attributes = 0;
        ULONGLONG size = 0;
        FILETIME modified = {};
        bool parent = false;   // the ".." item
    };

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(NMHDR* header);
    void OnCommand(UINT id);
    void Layout();
    void Activate(int item);
    void GoUp();
    void ShowContextMenu(POINT screen);
    void ShowDropMenu(const std::string& target, POINT screen);
    void DropSelectionOnChosenFolder();
    void EndDrag(bool drop, POINT screen);
    void WatchFolder();
    void ShowSelectionCount();
    std::vector<std::string> SelectedPaths() const;

    HWND hwnd_ = nullptr;
    HWND list_ = nullptr;
    HWND status_ = nullptr;
    std::string folder_;
    std::vector<Entry> entries_;
    ULONG watch_ = 0;
    int inCommand_ = 0;
    bool refreshPending_ = false;
    bool dragging_ = false;
    int dropHilite_ = -1;
    const HandlerMenu* trackedMenu_ = nullptr;
};

// Shows a code page 932 text file in a window of its own over the host window, as a text
// editor would, takes a screenshot of it and closes it again.
bool ShowTextShot(const HostWindow& host, const std::string& file, const std::string& png);

// Runs a tour script against the host window (see script.cpp). Gives the exit code.
int RunScript(HostWindow& host, const std::string& scriptPath);
