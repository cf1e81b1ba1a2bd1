// The customisation dialog: which catalogue entries the submenu shows, in which order,
// with which access letters, and whether the drop menu is used. Nothing is stored
// before OK.
#include <cstring>

#include "common/handles.h"
#include "common/menu_layout.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "common/rules/menu_model.h"
#include "common/settings_store.h"
#include "setup/rules/setup_rules.h"
#include "setup/setup.h"

namespace {

const char kNotALetter[] = "英字を入力してください。";
const char kNothingShown[] =
    "表示メニューリストが空です。\r\nメニューを追加するか、「初期値」を押してください。";

// True while the dialog writes its own letter edits: the change notifications that
// follow are not the user's typing.
bool g_settingLetters = false;

HWND Available(HWND dialog) { return GetDlgItem(dialog, IDC_CUSTOMIZE_AVAILABLE); }
HWND Displayed(HWND dialog) { return GetDlgItem(dialog, IDC_CUSTOMIZE_DISPLAYED); }

int Selection(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }
int Count(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }
unsigned char IndexOf(HWND list, int item)
{
    return static_cast<unsigned char>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(item), 0));
}

// Puts catalogue entry `k` at `position` (-1: the end); false when the list refuses it.
bool InsertEntry(HWND list, int position, unsigned char k)
{
    const LRESULT item = SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(position),
                                      reinterpret_cast<LPARAM>(kCatalogue[k]));
    if (item == LB_ERR || item == LB_ERRSPACE) return false;
    if (SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(item), k) == LB_ERR) {
        SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(item), 0);
        return false;
    }
    return true;
}

void SetLetter(HWND dialog, int id, unsigned char letter)
{
    const char text[2] = {static_cast<char>(letter), '\0'};
    g_settingLetters = true;
    SetDlgItemTextA(dialog, id, text);
    g_settingLetters = false;
}

void FillLists(HWND dialog, const unsigned char* layout, std::size_t length)
{
    const HWND available = Available(dialog);
    const HWND displayed = Displayed(dialog);
    SendMessageA(available, LB_RESETCONTENT, 0, 0);
    SendMessageA(displayed, LB_RESETCONTENT, 0, 0);
    CheckDlgButton(dialog, IDC_CUSTOMIZE_DRAG_MENU, length > 0 && layout[0] == 1 ? BST_CHECKED : BST_UNCHECKED);

    // Bytes that are no catalogue index are passed over; an entry the list refuses ends
    // the filling and stays available.
    std::size_t used = 1;
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsCatalogueIndex(layout[i])) continue;
        if (!InsertEntry(displayed, -1, layout[i])) break;
        used = i + 1;
    }
    unsigned char rest[kCatalogueSize];
    const std::size_t count = AvailableIndices(layout, length > 0 ? used : 0, rest, kCatalogueSize);
    for (std::size_t i = 0; i < count; ++i)
        if (!InsertEntry(available, -1, rest[i])) break;
}

void AddEntry(HWND dialog)
{
    const HWND available = Available(dialog);
    const int item = Selection(available);
    if (item < 0) return;
    const unsigned char k = IndexOf(available, item);
    if (!InsertEntry(Displayed(dialog), -1, k)) return;
    if (k != 0) SendMessageA(available, LB_DELETESTRING, static_cast<WPARAM>(item), 0);
    SendMessageA(available, LB_SETCURSEL, 0, 0);
}

void RemoveEntry(HWND dialog)
{
    const HWND displayed = Displayed(dialog);
    const int item = Selection(displayed);
    if (item < 0) return;
    const unsigned char k = IndexOf(displayed, item);
    if (k != 0 && !InsertEntry(Available(dialog), -1, k)) return;
    SendMessageA(displayed, LB_DELETESTRING, static_cast<WPARAM>(item), 0);
    SendMessageA(displayed, LB_SETCURSEL, 0, 0);
}

void MoveEntry(HWND dialog, bool up)
{
    const HWND displayed = Displayed(dialog);
    const int item = Selection(displayed);
    const int target = MovedPosition(item, Count(displayed), up);
    if (target < 0) return;
    const unsigned char k = IndexOf(displayed, item);
    SendMessageA(displayed, LB_DELETESTRING, static_cast<WPARAM>(item), 0);
    int at = target;
    if (!InsertEntry(displayed, target, k)) {  // put it back where it was
        at = item;
        InsertEntry(displayed, item, k);
    }
    SendMessageA(displayed, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

void ShowEntryLetter(HWND dialog)
{
    const HWND displayed = Displayed(dialog);
    const int item = Selection(displayed);
    if (item < 0) return;
    const unsigned char k = IndexOf(displayed, item);
    SetLetter(dialog, IDC_CUSTOMIZE_ENTRY_KEY, k != 0 ? MutableHotkeyTable()[k] : 0);
}

void LetterEdited(HWND dialog, int id)
{
    if (g_settingLetters) return;
    unsigned char slot = 0;
    if (id == IDC_CUSTOMIZE_ENTRY_KEY) {
        const HWND displayed = Displayed(dialog);
        const int item = Selection(displayed);
        if (item < 0) return;
        slot = IndexOf(displayed, item);
        if (slot == 0 || slot >= kHotkeyTableSize) return;
    }
    char text[3] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    if (text[0] != '\0' && IsCharAlphaA(text[0])) {
        MutableHotkeyTable()[slot] = static_cast<unsigned char>(text[0]);
    } else {
        MessageBoxA(dialog, kNotALetter, kConfirmTitle, MB_ICONWARNING);
    }
}

void RestoreDefaults(HWND dialog)
{
    FillLists(dialog, kDefaultLayout, sizeof kDefaultLayout);
    std::memcpy(MutableHotkeyTable(), kDefaultHotkeys, kHotkeyTableSize);
    SetLetter(dialog, IDC_CUSTOMIZE_TOP_KEY, static_cast<unsigned char>(kDefaultHotkeys[0]));
}

// OK: the displayed list as "Menu", the letters as "Key". An empty list is not stored:
// the menu loader refuses a layout without entries, so the dialog stays open.
void Save(HWND dialog)
{
    const HWND displayed = Displayed(dialog);
    const int count = Count(displayed);
    if (count <= 0) {
        MessageBoxA(dialog, kNothingShown, kConfirmTitle, MB_ICONWARNING);
        return;
    }
    GlobalBlock layout;
    if (!layout.Allocate(static_cast<SIZE_T>(count) + 1)) {
        ShowErrorBox(GetDesktopWindow(), kMsgNoMemory);
    } else {
        BYTE* bytes = layout.get();
        bytes[0] = IsDlgButtonChecked(dialog, IDC_CUSTOMIZE_DRAG_MENU) == BST_CHECKED ? 1 : 0;
        for (int i = 0; i < count; ++i) bytes[i + 1] = IndexOf(displayed, i);
        unsigned char* hotkeys = MutableHotkeyTable();
        FillMissingHotkeys(hotkeys, kHotkeyTableSize);
        if (WriteSettingsBlock("Menu", bytes, static_cast<DWORD>(count) + 1))
            WriteSettingsBlock("Key", hotkeys, kHotkeyTableSize);
    }
    EndDialog(dialog, 1);
}

void OnInit(HWND dialog)
{
    BYTE* layout = nullptr;
    DWORD length = 0;
    if (LoadMenuLayout(&layout, &length)) {
        FillLists(dialog, layout, length);
        GlobalFree(layout);
    }
    SetLetter(dialog, IDC_CUSTOMIZE_TOP_KEY, MutableHotkeyTable()[0]);
}

}  // namespace

INT_PTR CALLBACK CustomizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        OnInit(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id) {
    case IDC_CUSTOMIZE_ADD:
        if (code == BN_CLICKED) AddEntry(dialog);
        return TRUE;
    case IDC_CUSTOMIZE_REMOVE:
        if (code == BN_CLICKED) RemoveEntry(dialog);
        return TRUE;
    case IDC_CUSTOMIZE_UP:
    case IDC_CUSTOMIZE_DOWN:
        if (code == BN_CLICKED) MoveEntry(dialog, id == IDC_CUSTOMIZE_UP);
        return TRUE;
    case IDC_CUSTOMIZE_AVAILABLE:
        if (code == LBN_DBLCLK) AddEntry(dialog);
        return TRUE;
    case IDC_CUSTOMIZE_DISPLAYED:
        if (code == LBN_DBLCLK) RemoveEntry(dialog);
        if (code == LBN_SELCHANGE) ShowEntryLetter(dialog);
        return TRUE;
    case IDC_CUSTOMIZE_ENTRY_KEY:
    case IDC_CUSTOMIZE_TOP_KEY:
        if (code == EN_CHANGE) LetterEdited(dialog, id);
        return TRUE;
    case IDC_CUSTOMIZE_DEFAULTS:
        if (code == BN_CLICKED) RestoreDefaults(dialog);
        return TRUE;
    case IDOK:
        Save(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR RunCustomize()
{
    return DialogBoxParamA(SetupInstance(), MAKEINTRESOURCEA(IDD_CUSTOMIZE), GetDesktopWindow(), CustomizeDlgProc, 0);
}
