// Scripted modal UI for tests: a CBT hook on the test's own thread sees every dialog
// and message box as it becomes active, records message boxes and answers them, and
// drives expected dialogs through their control ids. Anything unexpected is closed
// and recorded as a failure, and a dialog left open too long is closed too, so a test
// fails instead of hanging.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A dialog that is up, driven by control id. Texts are code page 932.
class DialogDriver {
public:
    explicit DialogDriver(HWND dialog) : dialog_(dialog) {}
    HWND hwnd() const { return dialog_; }
    std::string Caption() const;
    std::string Text(int id) const;
    void SetText(int id, const std::string& text) const;
    bool IsChecked(int id) const;
    void Check(int id, bool checked) const;
    bool IsEnabled(int id) const;
    // Selects item `index` of a combo box and tells the dialog as a user's choice would.
    void SelectCombo(int id, int index) const;
    int ComboSelection(int id) const;
    int ComboCount(int id) const;
    // Clicks a button: the dialog gets WM_COMMAND/BN_CLICKED. Runs nested modal UI.
    void Press(int id) const;

private:
    HWND dialog_;
};

struct SeenBox {
    std::string title;
    std::string text;
    UINT icon;   // MB_ICONERROR, MB_ICONWARNING, MB_ICONINFORMATION, MB_ICONQUESTION or 0
    HWND owner;
};

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

    const std::vector<SeenBox>& Boxes() const { return boxes_; }
    // Dialog captions seen, in order.
    const std::vector<std::string>& Dialogs() const { return dialogs_; }
    // Unexpected windows, windows closed by the timeout, expectations never met.
    std::vector<std::string> Failures() const;
    // Seconds a dialog may stay up after its actions ran (default 10).
    void SetTimeout(unsigned seconds) { timeoutSeconds_ = seconds; }

    // Used by the hook.
    struct Expectation {
        bool dialog;
        int button;
        std::function<void(DialogDriver&)> actions;
    };
    void OnActivate(HWND window);
    void OnTimer(UINT_PTR id);
    void OnDestroy(HWND window);

private:
    HHOOK hook_ = nullptr;
    std::vector<Expectation> expected_;
    size_t next_ = 0;
    bool answerAll_ = false;
    int answerButton_ = IDOK;
    std::vector<SeenBox> boxes_;
    std::vector<std::string> dialogs_;
    std::vector<std::string> failures_;
    std::vector<HWND> handled_;
    struct Pending {
        UINT_PTR timer;
        HWND window;
        size_t expectation;   // index into expected_, or (size_t)-1 for "close it"
        bool isBox;
        int button;
        bool watchdog;
    };
    std::vector<Pending> pending_;
    unsigned timeoutSeconds_ = 10;
};

// Texts of a message box as the platform shows them: title, text (control 0xFFFF).
std::string WindowText(HWND window);
