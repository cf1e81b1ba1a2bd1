// The item line of the timestamp dialogs: the shell icon and the path of a single
// selected item, or the number of items.
#pragma once
#include <windows.h>

// Puts the large shell icon of `path` into the icon control `iconId`. The dialog owns
// the icon from then on and lets it go with ReleaseItemIcon when it is destroyed.
void SetItemIcon(HWND dialog, int iconId, const char* path);
// Takes the shell icon out of `iconId` and destroys it; nothing when none was set.
void ReleaseItemIcon(HWND dialog, int iconId);
// "ファイル数：<count>" into the text control `textId`.
void ShowItemCount(HWND dialog, int textId, UINT count);
