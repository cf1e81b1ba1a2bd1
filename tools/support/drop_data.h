// A data object holding a CF_HDROP list of paths, as Explorer hands to Initialize:
// ANSI names, or UTF-16 names (fWide) as Explorer itself gives them, which may hold
// characters no code page has.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

// Builds a DROPFILES block (ANSI names). An empty list gives a zero-size block.
HGLOBAL MakeDropFiles(const std::vector<std::string>& paths);

// The same block with UTF-16 names and fWide set.
HGLOBAL MakeWideDropFiles(const std::vector<std::wstring>& paths);

// A new data object with one reference; every GetData hands out a fresh copy.
IDataObject* CreateDropDataObject(const std::vector<std::string>& paths);
IDataObject* CreateWideDropDataObject(const std::vector<std::wstring>& paths);

// Media handed out by GetData and not yet released with ReleaseStgMedium, and all
// handed out so far (for leak checks: the receiver owns and must release each one).
long DropDataMediaOutstanding();
long DropDataMediaHandedOut();

// Shift pressed or let go as the user does it (the drop handler reads the key's
// asynchronous state to choose between copy and move). Gives whether the key is now
// in that state.
bool PressShift(bool down);
