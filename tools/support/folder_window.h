// A folder window for the tests and benchmarks of commands that work on the view with
// the keyboard focus: an active top-level frame with a report-view list (or another view
// class) and an edit box below it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>

// Newer shells show a folder in a window of this class; here it is a list view under
// that name, so the same messages work on it.
constexpr char kDirectUiClass[] = "DirectUIHWND";

class FolderWindow {
public:
    // A view of class `viewClass` listing the names in `folder` ("." and ".." left out);
    // an empty `folder` leaves the view empty. The frame is active and the view has the
    // keyboard focus.
    explicit FolderWindow(const std::string& folder = std::string(), const char* viewClass = WC_LISTVIEWA);
    ~FolderWindow();
    FolderWindow(const FolderWindow&) = delete;
    FolderWindow& operator=(const FolderWindow&) = delete;

    HWND frame() const { return frame_; }
    HWND view() const { return view_; }
    // Moves the focus to the edit box; the frame hands it there from now on.
    void FocusEdit() const;

    int ItemCount() const;
    // Selects exactly the items whose text is in `names`.
    void Select(const std::set<std::string>& names) const;
    std::set<std::string> Selected() const;
    std::string TextOf(int index) const;

private:
    HWND frame_ = nullptr;
    HWND view_ = nullptr;
    HWND edit_ = nullptr;
};
