// The progress of a long run over the selection. The run tells it of every item, between
// items; once the run has taken half a second it shows a small window (dialog 161) with
// the count, a bar and the current item, whose "中止" button, Esc or close box stops the
// run at the next item boundary. No thread and no timer: the run itself pumps the
// window's messages, at most every 50 ms, and shows the count anew at most every 250 ms.
#pragma once
#include <windows.h>

#include "ctxmenu/selection_walk.h"

class RunProgress final : public WalkObserver {
public:
    // `owner`: the command's dialog, or the invocation's window for a command without
    // one; it stays disabled while the window is up.
    explicit RunProgress(HWND owner);
    // The window goes, in every path.
    ~RunProgress() override;
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    // The number of items of the run when it is known (0: not known, as during a descent).
    void SetTotal(unsigned total) override { total_ = total; }
    // Called before each item with its path; false once the user has stopped the run
    // (that item and every later one are left alone).
    bool Step(const char* path);
    bool BeforeItem(const WalkItem& item) override { return Step(item.path); }
    // The user stopped the run.
    bool Stopped() const { return stopped_; }
    // Items handed on so far.
    unsigned Done() const { return done_; }
    // The walk is over: the window goes now, before what the command does after it (a
    // save chooser, its closing message).
    void Close();
    // The window, once shown.
    HWND Window() const { return window_; }

private:
    void Show();
    void Update(const char* path);
    void Pump();
    static INT_PTR CALLBACK ProgressDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    HWND window_ = nullptr;
    bool ownerDisabled_ = false;
    ULONGLONG start_;
    ULONGLONG boxesAtStart_;
    ULONGLONG lastPump_ = 0;
    ULONGLONG lastShown_ = 0;
    unsigned total_ = 0;
    unsigned done_ = 0;
    bool stopped_ = false;
};
