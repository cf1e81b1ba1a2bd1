#include "ctxmenu/run_progress.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <cstdio>

#include "common/report.h"
#include "common/resource_ids.h"
#include "ctxmenu/module.h"

namespace {

constexpr ULONGLONG kShowAfterMs = 500;
constexpr ULONGLONG kPumpEveryMs = 50;
// The count, the bar and the item are shown anew at most this often: each new text is
// measured, drawn and sent to the display, which at every pump would cost the run a
// good part of its time on a busy machine.
constexpr ULONGLONG kShowEveryMs = 250;
// The marquee of a run whose total is not known moves on at this pace: at the control's
// own 30 ms each step would be drawn at every pump.
constexpr LPARAM kMarqueeStepMs = 150;

}  // namespace

RunProgress::RunProgress(HWND owner) : owner_(owner), start_(GetTickCount64()), boxesAtStart_(TimeInErrorBoxes()) {}

RunProgress::~RunProgress() { Close(); }

void RunProgress::Close()
{
    // The owner is enabled before the window goes, so the activation returns to it.
    if (ownerDisabled_) EnableWindow(owner_, TRUE);
    ownerDisabled_ = false;
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
}

bool RunProgress::Step(const char* path)
{
    if (stopped_) return false;
    const ULONGLONG now = GetTickCount64();
    // The time the run's error boxes were up is not the run's.
    if (window_ == nullptr && now - start_ - (TimeInErrorBoxes() - boxesAtStart_) >= kShowAfterMs) {
        Show();
        lastPump_ = 0;
        lastShown_ = 0;
    }
    if (window_ != nullptr && now - lastPump_ >= kPumpEveryMs) {
        lastPump_ = now;
        if (now - lastShown_ >= kShowEveryMs) {
            lastShown_ = now;
            Update(path);
        }
        Pump();
    }
    if (stopped_) return false;
    ++done_;
    return true;
}

void RunProgress::Show()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    window_ = CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_PROGRESS), owner_, ProgressDlgProc,
                                 reinterpret_cast<LPARAM>(this));
    if (window_ == nullptr) return;   // the run goes on without it
    const HWND bar = GetDlgItem(window_, IDC_PROGRESS_BAR);
    if (total_ == 0) {
        SetWindowLongPtrA(bar, GWL_STYLE, GetWindowLongPtrA(bar, GWL_STYLE) | PBS_MARQUEE);
        SendMessageA(bar, PBM_SETMARQUEE, TRUE, kMarqueeStepMs);
    } else {
        SendMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(total_));
    }
    ShowWindow(window_, SW_SHOW);
    if (owner_ != nullptr && IsWindowEnabled(owner_)) {
        EnableWindow(owner_, FALSE);
        ownerDisabled_ = true;
    }
}

void RunProgress::Update(const char* path)
{
    char text[96];
    if (total_ != 0) {
        std::snprintf(text, sizeof text, "%u / %u 件を処理しました。", done_, total_);
        SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETPOS, done_, 0);
    } else {
        std::snprintf(text, sizeof text, "%u 件を処理しました。", done_);
    }
    SetDlgItemTextA(window_, IDC_PROGRESS_TEXT, text);
    // Shortened to fit, as the command dialogs show a path.
    PathSetDlgItemPathA(window_, IDC_PROGRESS_ITEM, path);
}

void RunProgress::Pump()
{
    // Only the window's own messages: the command's dialog and everything else wait for
    // the run to end.
    MSG message;
    while (window_ != nullptr && PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // The bar's own messages too (its marquee moves on its timer); the other controls'
    // input reaches the window's loop above.
    const HWND bar = window_ != nullptr ? GetDlgItem(window_, IDC_PROGRESS_BAR) : nullptr;
    while (bar != nullptr && PeekMessageA(&message, bar, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

INT_PTR CALLBACK RunProgress::ProgressDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return TRUE;
    }
    auto* progress = reinterpret_cast<RunProgress*>(GetWindowLongPtrA(window, DWLP_USER));
    if (progress == nullptr) return FALSE;
    // "中止" and Esc arrive as IDCANCEL; the close box as WM_CLOSE. The window stays up
    // until the run has stopped.
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        progress->stopped_ = true;
        EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
        return TRUE;
    }
    return FALSE;
}
