#include "ctxmenu/item_line.h"

#include <shellapi.h>

#include <cstdio>

#include "common/handles.h"

namespace {

// The icon a dialog owns, kept on the dialog window until it is destroyed.
constexpr char kIconProperty[] = "TidalonItemIcon";

}  // namespace

void SetItemIcon(HWND dialog, int iconId, const char* path)
{
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SYSICONINDEX) == 0) return;
    IconHandle icon(info.hIcon);
    if (!icon.valid()) return;
    // A second icon for the same dialog replaces the first, which is let go.
    ReleaseItemIcon(dialog, iconId);
    if (!SetPropA(dialog, kIconProperty, icon.get())) return;   // not shown: destroyed here
    SendDlgItemMessageA(dialog, iconId, STM_SETICON, reinterpret_cast<WPARAM>(icon.release()), 0);
}

void ReleaseItemIcon(HWND dialog, int iconId)
{
    IconHandle icon(static_cast<HICON>(RemovePropA(dialog, kIconProperty)));
    if (!icon.valid()) return;
    // The control must not draw an icon that is gone.
    SendDlgItemMessageA(dialog, iconId, STM_SETICON, 0, 0);
}

void ShowItemCount(HWND dialog, int textId, UINT count)
{
    char text[64];
    std::snprintf(text, sizeof text, "ファイル数：%u", count);
    SetDlgItemTextA(dialog, textId, text);
}
