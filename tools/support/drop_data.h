// A data object holding a CF_HDROP list of ANSI paths, as Explorer hands to Initialize.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

// Builds a DROPFILES block (ANSI names). An empty list gives a zero-size block.
HGLOBAL MakeDropFiles(const std::vector<std::string>& paths);

// A new data object with one reference; every GetData hands out a fresh copy.
IDataObject* CreateDropDataObject(const std::vector<std::string>& paths);

// Media handed out by GetData and not yet released with ReleaseStgMedium, and all
// handed out so far (for leak checks: the receiver owns and must release each one).
long DropDataMediaOutstanding();
long DropDataMediaHandedOut();
