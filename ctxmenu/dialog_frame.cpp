#include "ctxmenu/dialog_frame.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <new>

#include "common/exact_text.h"
#include "common/report.h"
#include "common/rules/cp932_text.h"
#include "common/rules/path_build.h"
#include "common/selection.h"
#include "common/settings_store.h"
#include "ctxmenu/run_progress.h"

void NotifyShellOfChanges()
{
    SHChangeNotify(SHCNE_ASSOCCHANGED, kChangeNotifyFlags, nullptr, nullptr);
}

void StoreInvocation(HWND dialog, LPARAM initParam)
{
    SetWindowLongPtrA(dialog, DWLP_USER, initParam);
}

HDROP SelectionOf(const Invocation& invocation)
{
    if (invocation.selection == nullptr) ReportFault();
    return invocation.selection;
}

HDROP GetSelectionDrop(HWND dialog)
{
    const Invocation* invocation =
        dialog != nullptr ? reinterpret_cast<const Invocation*>(GetWindowLongPtrA(dialog, DWLP_USER)) : nullptr;
    if (invocation == nullptr) {
        ReportFault();
        return nullptr;
    }
    return SelectionOf(*invocation);
}

UINT GetSelectionCount(HWND dialog, HDROP* drop)
{
    *drop = GetSelectionDrop(dialog);
    if (*drop == nullptr) return 0;
    const UINT count = SelectionCursor(*drop).Count();
    if (count == 0) ShowErrorBox(nullptr, kMsgNoSelection);
    return count;
}

int GetCheck(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void SetCheck(HWND dialog, int id, int flag)
{
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, flag == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int EnableDlgItem(HWND dialog, int id, int flag)
{
    EnableWindow(GetDlgItem(dialog, id), flag == 1 ? TRUE : FALSE);
    return 1;
}

unsigned GetDlgUnsigned(HWND dialog, int id)
{
    // Some versions of the platform's own reading wrap a minus sign round to a huge
    // value instead of refusing it.
    char text[64] = {};
    GetDlgItemTextA(dialog, id, text, static_cast<int>(sizeof text));
    if (std::strchr(text, '-') != nullptr) return 0;
    return GetDlgItemInt(dialog, id, nullptr, FALSE);
}

int ReadDialogText(HWND dialog, int id, char* out, std::size_t size)
{
    std::memset(out, 0, size);
    const HWND control = GetDlgItem(dialog, id);
    const int length = control != nullptr ? GetWindowTextLengthW(control) : 0;
    if (length <= 0) return 1;
    wchar_t* wide = new (std::nothrow) wchar_t[static_cast<std::size_t>(length) + 1];
    if (wide == nullptr) {
        ShowErrorBox(nullptr, kMsgNoMemory);
        return 0;
    }
    GetWindowTextW(control, wide, length + 1);
    // The whole text is converted first, so a character the code page lacks is found
    // wherever it stands; the text is then cut as the ANSI read cuts it, on a whole
    // character, to fit `size` bytes with its terminator.
    char* ansi = new (std::nothrow) char[static_cast<std::size_t>(length) * 2 + 1];
    bool exact = ansi != nullptr && WideToAnsiExact(wide, ansi, static_cast<std::size_t>(length) * 2 + 1);
    delete[] wide;
    if (ansi == nullptr) {
        ShowErrorBox(nullptr, kMsgNoMemory);
        return 0;
    }
    if (!exact) {
        delete[] ansi;
        ShowErrorBox(nullptr, kMsgUnusableText);
        return 0;
    }
    std::size_t keep = 0;
    for (std::size_t at = 0; ansi[at] != '\0';) {
        const std::size_t bytes = IsLeadByte932(static_cast<unsigned char>(ansi[at])) && ansi[at + 1] != '\0' ? 2 : 1;
        if (at + bytes >= size) break;
        at += bytes;
        keep = at;
    }
    std::memcpy(out, ansi, keep);
    out[keep] = '\0';
    delete[] ansi;
    return 1;
}

namespace {

int ListSelection(HWND dialog, const BlockField& field)
{
    const LRESULT index = SendDlgItemMessageA(dialog, field.control, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

}  // namespace

int LoadBlock(HWND dialog, const OptionBlock& block)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char bytes[kLargestBlockSize];
    if (!ReadSettingsBlock(block.name, bytes, static_cast<DWORD>(block.size))) return 0;
    ApplyLoadingRules(block, bytes);
    for (std::size_t i = 0; i < block.fieldCount; ++i) {
        const BlockField& field = block.fields[i];
        const unsigned char* at = bytes + field.offset;
        switch (field.kind) {
        case FieldKind::Flag:
            SetCheck(dialog, field.control, FlagFromByte(at[0]));
            break;
        case FieldKind::Text:
            SetDlgItemTextA(dialog, field.control, reinterpret_cast<const char*>(at));
            break;
        case FieldKind::ListIndex: {
            // The list is filled before its block is loaded; an index it does not hold
            // is asked for explicitly, since not every list clears its selection on one.
            const LRESULT count = SendDlgItemMessageA(dialog, field.control, CB_GETCOUNT, 0, 0);
            const int index = at[0] < count ? at[0] : field.listOutside;
            SendDlgItemMessageA(dialog, field.control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            break;
        }
        case FieldKind::Number8:
        case FieldKind::Number16:
            SetDlgItemInt(dialog, field.control, ReadBlockNumber(field, bytes), FALSE);
            break;
        case FieldKind::SpinNumber8:
            SendDlgItemMessageA(dialog, field.extra, UDM_SETPOS, 0, MAKELPARAM(ReadBlockNumber(field, bytes), 0));
            break;
        }
    }
    return 1;
}

int SaveBlock(HWND dialog, const OptionBlock& block)
{
    if (dialog == nullptr) {
        ReportFault();
        return 0;
    }
    unsigned char bytes[kLargestBlockSize] = {};
    for (std::size_t i = 0; i < block.fieldCount; ++i) {
        const BlockField& field = block.fields[i];
        unsigned char* at = bytes + field.offset;
        switch (field.kind) {
        case FieldKind::Flag:
            at[0] = ByteFromFlag(GetCheck(dialog, field.control));
            break;
        case FieldKind::Text:
            if (!ReadDialogText(dialog, field.control, reinterpret_cast<char*>(at), kBlockTextSize)) return 0;
            break;
        case FieldKind::ListIndex: {
            const int index = ListSelection(dialog, field);
            at[0] = index < 0 ? field.listNone : static_cast<unsigned char>(index);
            break;
        }
        case FieldKind::Number8:
        case FieldKind::Number16:
        case FieldKind::SpinNumber8:
            WriteBlockNumber(field, GetDlgUnsigned(dialog, field.control), bytes);
            break;
        }
    }
    return WriteSettingsBlock(block.name, bytes, static_cast<DWORD>(block.size));
}

int RunOverSelection(HWND dialog, const WalkRules& rules, WalkVisit visit, void* context)
{
    HDROP drop = GetSelectionDrop(dialog);
    if (drop == nullptr) return 0;
    RunProgress progress(dialog);
    if (!WalkSelection(drop, rules, visit, context, &progress)) {
        // A run the user stopped keeps what it changed: the shell is told of it.
        if (progress.Stopped() && progress.Done() > 0) NotifyShellOfChanges();
        return 0;
    }
    NotifyShellOfChanges();
    return 1;
}

namespace {

// Marks the dialog busy for the life of a run or a save. The mark is a window property,
// so each open dialog has its own.
constexpr char kBusyProperty[] = "TidalonBusy";

class BusyMark {
public:
    explicit BusyMark(HWND dialog) : dialog_(dialog), set_(SetPropA(dialog, kBusyProperty, dialog) != FALSE) {}
    ~BusyMark()
    {
        if (set_) RemovePropA(dialog_, kBusyProperty);
    }
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;

private:
    HWND dialog_;
    bool set_;
};

bool IsBusy(HWND dialog) { return GetPropA(dialog, kBusyProperty) != nullptr; }

}  // namespace

BOOL HandleFrameCommand(HWND dialog, WORD id, const DialogCommands& commands)
{
    switch (id) {
    case IDOK: {
        if (IsBusy(dialog)) return TRUE;
        {
            BusyMark busy(dialog);
            if (commands.run != nullptr) commands.run(dialog);
        }
        // The dialog closes after a run whatever came of it; failures have been shown.
        EndDialog(dialog, 1);
        return TRUE;
    }
    case IDCANCEL:
        if (IsBusy(dialog)) return TRUE;
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_VERSION:
        ShowAboutBox(dialog);
        return TRUE;
    case IDC_DEFAULT: {
        if (IsBusy(dialog)) return TRUE;
        BusyMark busy(dialog);
        SaveBlock(dialog, commands.block);
        return TRUE;
    }
    case IDC_PREVIEW: {
        if (commands.preview == nullptr) return FALSE;
        if (IsBusy(dialog)) return TRUE;
        BusyMark busy(dialog);
        commands.preview(dialog);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
