// Scripted modal UI for tests: the shared modal-window driver (tools/support) with the
// shape the tests use. Message boxes are recorded and answered, expected dialogs are
// driven through their control ids, and anything unexpected is closed and recorded as
// a failure, as is a dialog left open too long, so a test fails instead of hanging.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/support/modal_driver.h"

class UiScript {
public:
    UiScript();    // hooks the calling thread
    ~UiScript();   // unhooks
    UiScript(const UiScript&) = delete;
    UiScript& operator=(const UiScript&) = delete;

    // The next modal window must be a message box; it is answered with `button`.
    UiScript& ExpectBox(int button = IDOK);
    // The next modal window must be a dialog; `actions` run once it is up (they usually
    // end with Press(IDOK) or Press(IDCANCEL)).
    UiScript& ExpectDialog(std::function<void(DialogDriver&)> actions);
    // Every window that comes with no expectation left is answered this way instead of
    // counted as a failure (for runs whose boxes are checked afterwards).
    UiScript& AnswerAllBoxes(int button = IDOK);
    // The next window may be the progress window of a long run (dialog 161), which
    // comes once the run has taken half a second: it is noted in `seen` as it comes up
    // and, with `stop`, its "中止" button is pressed at once. The run pumps only that
    // window's messages, so the press is posted to the button.
    struct Progress {
        HWND window = nullptr;
        HWND owner = nullptr;
        std::string button;   // the text of its button 2
    };
    UiScript& ExpectProgress(bool stop, Progress* seen);

    const std::vector<SeenBox>& Boxes() const { return driver_.Boxes(); }
    // Dialog captions seen, in order.
    const std::vector<std::string>& Dialogs() const { return driver_.Dialogs(); }
    // Unexpected windows, windows closed by the timeout, expectations never met.
    std::vector<std::string> Failures() const;
    // Seconds a dialog may stay up after its actions ran (default 10).
    void SetTimeout(unsigned seconds) { driver_.SetTimeout(seconds * 1000); }

protected:
    ModalDriver& driver() { return driver_; }

private:
    ModalDriver driver_;
};

// Types `name` into the file-name field of a save chooser, wide, so that a name code
// page 932 cannot hold reaches the chooser as it is.
void TypeSaveName(DialogDriver& chooser, const std::wstring& name);

// How an error box's text is compared with the expected one.
enum class TextIs { Whole, Start, Part };

// The suite's error box: its title, the error icon and `text` (the whole text, how it
// starts, or a part of it).
testing::AssertionResult IsErrorBox(const SeenBox& box, const std::string& text, TextIs match = TextIs::Whole);
// Exactly one box came up, and it is that error box.
testing::AssertionResult IsOnlyErrorBox(const UiScript& ui, const std::string& text, TextIs match = TextIs::Whole);
