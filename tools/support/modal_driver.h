// Answers the modal windows that a command opens on the calling thread. A CBT hook sees
// every dialog and message box as it becomes active; each takes the next expectation
// given beforehand, and its steps run from thread timers, that is from the modal loop
// itself, once the window is up. A window nobody expected is recorded and closed, and
// one left open after its last step is closed by a watchdog, so a caller never hangs.
// The tests (UiScript) and the Explorer stand-in's tours both drive windows with it.
// Texts are code page 932.
#pragma once
#include <windows.h>

#include <functional>
#include <list>
#include <string>
#include <vector>

// The text of a window (a dialog's caption, a control's text).
std::string WindowText(HWND window);

// A dialog that is up, driven by control id.
class DialogDriver {
public:
    explicit DialogDriver(HWND dialog) : dialog_(dialog) {}
    HWND hwnd() const { return dialog_; }
    std::string Caption() const;
    std::string Text(int id) const;
    void SetText(int id, const std::string& text) const;
    bool IsChecked(int id) const;
    // Sets the box and tells the dialog as a click would.
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

// One step on a window: runs `delay` milliseconds after the window came up or after
// the step before it.
struct ModalStep {
    UINT delay = 20;
    std::function<void(DialogDriver&)> action;
};

struct ModalExpectation {
    bool dialog = true;
    std::string caption;   // a dialog's caption; empty: any
    int button = IDOK;     // a message box: pressed after its steps
    std::vector<ModalStep> steps;
    // Runs in the hook as the window becomes active, before its steps. For a modeless
    // window whose run pumps only that window's messages (the progress window of a long
    // run), where the steps' thread timers cannot fire: it may post to the window.
    std::function<void(HWND)> atActivation;
    // A window that may not come (a run's progress window comes only after half a
    // second): no failure when it does not, and passed by when another window comes.
    bool optional = false;
};

// What the driver does, for callers that log as it goes.
enum class ModalEvent {
    DialogUp,     // detail: the caption
    BoxUp,        // detail: the message text
    Unexpected,   // no expectation takes the window: it is closed
    BoxAnswered,  // detail: the button pressed
    TimedOut,     // left open after its last step: closed
};

class ModalDriver {
public:
    using Listener = std::function<void(ModalEvent, HWND, const std::string&)>;

    ModalDriver();    // hooks the calling thread
    ~ModalDriver();   // unhooks
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    void Expect(ModalExpectation expectation);
    // Every message box that comes with no expectation left is answered this way
    // instead of counted as a failure.
    void AnswerAllBoxes(int button);
    // Delay before a box is answered or an unexpected window is closed (default 20 ms).
    void SetPace(UINT ms) { pace_ = ms; }
    // Time a window may stay up after its last step (default 10 s).
    void SetTimeout(UINT ms) { timeout_ = ms; }
    void SetListener(Listener listener) { listener_ = std::move(listener); }

    // Expectations no window has taken yet.
    std::vector<ModalExpectation> Unmet() const;
    // Drops the expectations no window has taken; gives them.
    std::vector<ModalExpectation> TakeUnmet();

    const std::vector<SeenBox>& Boxes() const { return boxes_; }
    // Dialog captions seen, in order.
    const std::vector<std::string>& Dialogs() const { return dialogs_; }
    // Unexpected windows, windows closed by the watchdog, missing buttons.
    const std::vector<std::string>& Failures() const { return failures_; }
    // Failures() and a line for each expectation no window has taken.
    std::vector<std::string> AllFailures() const;

    // Used by the hook and the timers.
    void OnActivate(HWND window);
    void OnTimer(UINT_PTR timer);
    void OnDestroy(HWND window);

private:
    struct Active {
        HWND window;
        bool box;
        std::vector<ModalStep> plan;
        size_t next = 0;
        UINT_PTR timer = 0;
        bool watchdog = false;
    };
    Active* Find(HWND window);
    void Schedule(Active& active, UINT delay, bool watchdog);
    void Notify(ModalEvent event, HWND window, const std::string& detail) const;

    HHOOK hook_ = nullptr;
    ModalDriver* previous_ = nullptr;
    std::list<ModalExpectation> expected_;
    std::list<Active> active_;
    bool answerAll_ = false;
    int answerButton_ = IDOK;
    UINT pace_ = 20;
    UINT timeout_ = 10000;
    Listener listener_;
    std::vector<SeenBox> boxes_;
    std::vector<std::string> dialogs_;
    std::vector<std::string> failures_;
};
