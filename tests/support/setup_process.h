// One run of pellast.exe driven from outside, as a user answers it: its windows are
// waited for (ten seconds at most) and answered by posting the command a click sends.
#pragma once
#include <windows.h>

#include <string>

struct SetupBox {
    std::string title, text;
};

class SetupProcess {
public:
    // Starts `commandLine`; the program is `application` when given, else the command
    // line's first word, and its current folder `folder` when given.
    explicit SetupProcess(const std::wstring& commandLine, const std::wstring& application = std::wstring(),
                          const std::wstring& folder = std::wstring());
    // A program still running is ended.
    ~SetupProcess();
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    bool started() const { return started_; }
    // The visible dialog holding control `id`; null when none comes.
    HWND Dialog(int id);
    // Clicks `id` in the dialog holding it; false when there is none.
    bool Press(int id);
    // The message box shown now (a window holding none of the setup's dialogs'
    // controls), answered with `button`; "<none>" as title when none comes.
    SetupBox Answer(int button);
    // The exit code once the program ended by itself (fifteen seconds at most); 0 while
    // it still runs.
    DWORD Exit();

private:
    HWND Find(int id, bool dialog);

    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

// A window's text, asked for with a timeout (the window is another process's).
std::string OtherWindowText(HWND window);
