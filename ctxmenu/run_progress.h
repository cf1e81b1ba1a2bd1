// The progress of a run over the selection: told of every item between items, it may
// stop the run there at the user's request.
#pragma once
#include <windows.h>

class RunProgress {
public:
    // `owner`: the window the progress belongs to; `total`: the number of items when it
    // is known (0: not known, as during a descent).
    RunProgress(HWND owner, unsigned total);
    ~RunProgress();
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    // Called before each item; false once the user has stopped the run.
    bool Step(const char* path);
    // The user stopped the run.
    bool Stopped() const { return stopped_; }
    unsigned Done() const { return done_; }

private:
    HWND owner_;
    unsigned total_;
    unsigned done_ = 0;
    bool stopped_ = false;
};
