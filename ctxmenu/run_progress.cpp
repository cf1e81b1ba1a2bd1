#include "ctxmenu/run_progress.h"

RunProgress::RunProgress(HWND owner, unsigned total) : owner_(owner), total_(total) {}

RunProgress::~RunProgress() = default;

bool RunProgress::Step(const char*)
{
    ++done_;
    return !stopped_;
}
