// Tour scripts: a UTF-8 text file, one command per line, "#" starts a comment line.
// Arguments are separated by blanks; "double quotes" keep blanks inside one argument.
// Paths may be Windows paths or absolute Unix paths (/x/y is read as Z:\x\y).
//
//   open <folder>                 show that folder
//   select <name>...              select exactly these items ("*" = every item)
//   shot <png>                    screenshot of the window
//   text-shot <file> <png>        show a text file (code page 932) in a window of its own,
//                                 as a text editor would, and take a screenshot of it
//   menu-shot <png> [submenu]     open the context menu of the selection, open the
//                                 submenu with that text, screenshot, close it
//   command <menu text>           choose the entry with that text from the context menu
//                                 of the selection (searched in submenus too); an entry
//                                 that is not in the menu is reported and skipped
//   drop <folder> [menu text]     build the drop menu for dropping the selection on
//                                 <folder> (a name in the view or a path), print it and
//                                 choose the entry when given
//   drop-shot <folder> <png>      show that drop menu and take a screenshot of it
//   shift down|up                 press or release Shift (as the keyboard would), for
//                                 the drop menu built while it is held
//   setting <value> <hex>...      write a binary value under HKCU "Software\Quaddle\Kelmora"
//                                 (only once the key exists)
//   wait <ms>                     let the window run for a while
//   echo <text>                   print the text
//
// Dialogs and message boxes that a command opens are modal. They are answered by
// expectations written before the command; each window that comes up takes the next
// expectation (a dialog one must match the caption when one is given):
//
//   dialog [caption]              the next window is a dialog; then, one per line:
//     set <id> <text>               set the text of a control
//     check <id> on|off             tick or untick a checkbox (as a click would)
//     combo <id> <index>            select a combo box item (as the user would)
//     shot <png>                    screenshot of the dialog
//     wait <ms>
//     press <id>                    click a button (1 = OK, 2 = Cancel)
//   end
//   box [button] [png]            the next window is a message box: record its text,
//                                 optionally take a screenshot, press the button (default 1)
//   progress <png>                the next window is the progress window of a long run
//                                 (caption "Tidalon"): a screenshot of it is taken a moment
//                                 after it came up, while the run goes on
//
// A run pumps only its progress window's messages, so the timers that drive dialogs do
// not fire during it: the progress window is photographed from a hook on the messages
// the run sends to it.
//
// Windows nobody expected are recorded and cancelled, and a dialog still open ten
// seconds after its last step is cancelled too, so a tour never hangs. Expectations a
// command did not use are reported and dropped.
#include "tools/host/host.h"

#include <fstream>
#include <sstream>

#include "tools/support/modal_driver.h"

namespace {

const UINT_PTR kMenuTimer = 0x7E52;
// Pace of the steps on a dialog or box, slow enough for a person to watch the tour.
const UINT kTick = 200;
// How long the progress window is up before its screenshot: the run has updated it a
// few times by then (every 50 ms).
const ULONGLONG kProgressShotAfterMs = 300;
// The progress window's bar, by which it is told from other dialogs captioned "Tidalon".
const int kProgressBarId = 1211;
const int kProgressTextId = 1210;

struct Step {
    std::string verb;
    int id = 0;
    std::string text;
};

struct Expectation {
    bool box = false;
    std::string progressShot;   // a progress window: its screenshot
    std::string caption;
    int button = IDOK;
    std::string shot;
    std::vector<Step> steps;
};

struct Item {
    int line = 0;
    std::vector<std::string> args;
    bool expectation = false;
    Expectation expected;
};

std::vector<std::string> Tokenize(const std::string& line)
{
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size()) break;
        std::string token;
        if (line[i] == '"') {
            const size_t end = line.find('"', i + 1);
            token = line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            i = end == std::string::npos ? line.size() : end + 1;
        } else {
            const size_t end = line.find_first_of(" \t\r", i);
            token = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
            i = end == std::string::npos ? line.size() : end;
        }
        tokens.push_back(token);
    }
    return tokens;
}

std::string Quote(const std::string& text) { return "「" + text + "」"; }

// The names of a selection, the first few of a long one and their count.
std::string Join(const std::vector<std::string>& names)
{
    const size_t shown = names.size() > 12 ? 5 : names.size();
    std::string out;
    for (size_t i = 0; i < shown; ++i) out += (out.empty() ? "" : ", ") + names[i];
    if (shown < names.size()) {
        char more[48];
        wsprintfA(more, ", ... (%u items)", static_cast<unsigned>(names.size()));
        out += more;
    }
    return out.empty() ? "(nothing)" : out;
}

class ScriptRunner;
ScriptRunner* g_runner = nullptr;

class ScriptRunner {
public:
    explicit ScriptRunner(HostWindow& host) : host_(host) {}

    bool Load(const std::string& path);
    int Run();

    void OnMenuTimer();
    void OnProgressMessage(HWND to);

private:
    bool Execute(const Item& item);
    bool MenuShot(BuiltMenu& menu, const std::string& png, const std::string& submenu);
    void DropUnusedExpectations();
    ModalExpectation ToModal(const Expectation& expected);
    void OnModalEvent(ModalEvent event, HWND window, const std::string& detail);
    void RunDialogStep(DialogDriver& dialog, const Step& step);
    void StartProgressShot(HWND window);
    void EndProgressShot(bool taken);

    HostWindow& host_;
    std::vector<Item> items_;
    ModalDriver* modal_ = nullptr;   // while the tour runs
    int errors_ = 0;
    int warnings_ = 0;

    // Screenshots of progress windows still expected, in order, and the one being waited for.
    std::list<std::string> progressShots_;
    struct {
        HHOOK hook = nullptr;
        HWND window = nullptr;
        ULONGLONG up = 0;
        std::string png;
    } progress_;

    struct {
        std::string png;
        int downs = -1;
        int stage = 0;
        bool saved = false;
    } menuShot_;
};

void CALLBACK MenuTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_runner != nullptr) g_runner->OnMenuTimer();
}

LRESULT CALLBACK ProgressMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && g_runner != nullptr) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        g_runner->OnProgressMessage(sent->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool ScriptRunner::Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Log("script: cannot read " + path);
        return false;
    }
    std::string line;
    int number = 0;
    Expectation* block = nullptr;
    while (std::getline(in, line)) {
        ++number;
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        const std::vector<std::string> args = Tokenize(AnsiFromUtf8(line));
        if (args.empty() || args[0][0] == '#') continue;
        const std::string& verb = args[0];
        char where[32];
        wsprintfA(where, "script line %d: ", number);
        if (block != nullptr) {
            if (verb == "end") {
                block = nullptr;
                continue;
            }
            const bool known = verb == "set" || verb == "check" || verb == "combo" || verb == "shot" ||
                               verb == "press" || verb == "wait";
            const size_t needed = verb == "set" || verb == "check" || verb == "combo" ? 3 : 2;
            if (!known || args.size() < needed) {
                Log(where + std::string("bad dialog step ") + Quote(line));
                return false;
            }
            Step step;
            step.verb = verb;
            if (verb == "shot") {
                step.text = args[1];
            } else {
                step.id = atoi(args[1].c_str());
                if (args.size() > 2) step.text = args[2];
            }
            block->steps.push_back(step);
            continue;
        }
        Item item;
        item.line = number;
        item.args = args;
        if (verb == "progress" && args.size() < 2) {
            Log(where + std::string("progress needs a screenshot file"));
            return false;
        }
        if (verb == "dialog" || verb == "box" || verb == "progress") {
            item.expectation = true;
            item.expected.box = verb == "box";
            if (verb == "progress") {
                item.expected.caption = "Tidalon";
                item.expected.progressShot = args[1];
            }
            if (verb == "dialog" && args.size() > 1) item.expected.caption = args[1];
            if (verb == "box" && args.size() > 1) item.expected.button = atoi(args[1].c_str());
            if (verb == "box" && args.size() > 2) item.expected.shot = args[2];
        }
        items_.push_back(item);
        if (verb == "dialog") block = &items_.back().expected;
    }
    if (block != nullptr) {
        Log("script: a dialog block has no end");
        return false;
    }
    return true;
}

int ScriptRunner::Run()
{
    g_runner = this;
    ModalDriver modal;
    modal_ = &modal;
    modal.SetPace(kTick);
    modal.SetListener([this](ModalEvent event, HWND window, const std::string& detail) {
        OnModalEvent(event, window, detail);
    });
    host_.Settle(500);
    for (const Item& item : items_) {
        if (!IsWindow(host_.hwnd())) break;
        if (item.expectation) {
            modal.Expect(ToModal(item.expected));
            continue;
        }
        if (!Execute(item)) {
            char where[32];
            wsprintfA(where, "script line %d: ", item.line);
            Log(where + std::string("unknown command or missing argument: ") + item.args[0]);
            ++errors_;
        }
    }
    DropUnusedExpectations();
    modal_ = nullptr;
    g_runner = nullptr;
    // Every handler has been released with its menu: the libraries must agree.
    for (const char* library : {"kelmora.dll", "orvid.dll"}) {
        HMODULE module = GetModuleHandleA(library);
        if (module == nullptr) continue;
        using CanUnloadFn = HRESULT(WINAPI*)();
        auto canUnload = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
        if (canUnload != nullptr && canUnload() == S_OK) {
            Log(std::string(library) + ": every object released");
        } else {
            Log(std::string(library) + ": objects still alive after the tour");
            ++warnings_;
        }
    }
    char summary[96];
    wsprintfA(summary, "tour finished: %d error(s), %d warning(s)", errors_, warnings_);
    Log(summary);
    return errors_ == 0 ? 0 : 1;
}

bool ScriptRunner::Execute(const Item& item)
{
    const std::vector<std::string>& a = item.args;
    const std::string& verb = a[0];
    if (verb == "open" && a.size() >= 2) {
        if (host_.Open(a[1])) {
            Log("open " + host_.Folder());
        } else {
            Log("open: cannot open " + a[1]);
            ++errors_;
        }
        host_.Settle(200);
        return true;
    }
    if (verb == "select" && a.size() >= 2) {
        const std::vector<std::string> missing = host_.Select(std::vector<std::string>(a.begin() + 1, a.end()));
        SetFocus(host_.list());
        Log("select " + Join(host_.SelectedNames()));
        if (!missing.empty()) {
            Log("  not in the view: " + Join(missing));
            ++warnings_;
        }
        host_.Settle(100);
        return true;
    }
    if (verb == "shot" && a.size() >= 2) {
        // Painted and handed to the display before the screen is read.
        RedrawWindow(host_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        host_.Settle(300);
        if (!SaveWindowShot(host_.hwnd(), a[1])) ++errors_;
        return true;
    }
    if (verb == "text-shot" && a.size() >= 3) {
        if (!ShowTextShot(host_, a[1], a[2])) ++errors_;
        return true;
    }
    if (verb == "menu-shot" && a.size() >= 2) {
        BuiltMenu menu;
        if (!host_.BuildContextMenu(menu)) {
            Log("menu-shot: nothing selected");
            ++warnings_;
            return true;
        }
        Log("context menu of " + Join(host_.SelectedNames()) + ":");
        for (const std::string& line : DescribeMenu(menu.popup)) Log(line);
        if (!MenuShot(menu, a[1], a.size() > 2 ? a[2] : std::string())) ++errors_;
        return true;
    }
    if (verb == "command" && a.size() >= 2) {
        BuiltMenu menu;
        if (!host_.BuildContextMenu(menu)) {
            Log("command " + Quote(a[1]) + ": nothing selected");
            ++warnings_;
            DropUnusedExpectations();
            return true;
        }
        const UINT id = FindMenuItem(menu.popup, a[1]);
        if (id == 0) {
            Log("command " + Quote(a[1]) + ": not in the menu, skipped");
            DropUnusedExpectations();
            return true;
        }
        const std::string help = menu.handlers.HelpText(id);
        Log("command " + Quote(a[1]) + " on " + Join(host_.SelectedNames()) +
            (help.empty() ? std::string() : "  [" + help + "]"));
        host_.RunMenuCommand(menu, id);
        DropUnusedExpectations();
        host_.Settle(200);
        Log("  selected now: " + Join(host_.SelectedNames()));
        return true;
    }
    if ((verb == "drop" && a.size() >= 2) || (verb == "drop-shot" && a.size() >= 3)) {
        BuiltMenu menu;
        if (!host_.BuildDropMenu(menu, a[1])) {
            Log(verb + ": cannot drop " + Join(host_.SelectedNames()) + " on " + a[1]);
            ++warnings_;
            DropUnusedExpectations();
            return true;
        }
        Log("drop menu for " + Join(host_.SelectedNames()) + " on " + menu.dropTarget + ":");
        for (const std::string& line : DescribeMenu(menu.popup)) Log(line);
        if (verb == "drop-shot") {
            if (!MenuShot(menu, a[2], std::string())) ++errors_;
        } else if (a.size() >= 3) {
            const UINT id = FindMenuItem(menu.popup, a[2]);
            if (id == 0) {
                Log("  " + Quote(a[2]) + " is not in the drop menu, skipped");
            } else {
                Log("  choose " + Quote(a[2]));
                host_.RunMenuCommand(menu, id);
                host_.Settle(200);
            }
        }
        DropUnusedExpectations();
        return true;
    }
    if (verb == "shift" && a.size() >= 2 && (a[1] == "down" || a[1] == "up")) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_SHIFT;
        input.ki.dwFlags = a[1] == "up" ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &input, sizeof input);
        host_.Settle(100);
        Log("shift " + a[1]);
        return true;
    }
    if (verb == "setting" && a.size() >= 3) {
        std::vector<BYTE> bytes;
        for (size_t i = 2; i < a.size(); ++i) bytes.push_back(static_cast<BYTE>(strtoul(a[i].c_str(), nullptr, 16)));
        RegKey key;
        LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quaddle\\Kelmora", 0, KEY_SET_VALUE, key.put());
        if (result == ERROR_SUCCESS) {
            result = RegSetValueExA(key.get(), a[1].c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
        }
        Log("setting " + a[1] + (result == ERROR_SUCCESS ? std::string(" written") : std::string(": cannot write (no settings key yet?)")));
        if (result != ERROR_SUCCESS) ++warnings_;
        return true;
    }
    if (verb == "wait" && a.size() >= 2) {
        host_.Settle(static_cast<DWORD>(atoi(a[1].c_str())));
        return true;
    }
    if (verb == "echo") {
        std::string text;
        for (size_t i = 1; i < a.size(); ++i) text += (i > 1 ? " " : "") + a[i];
        Log(text);
        return true;
    }
    return false;
}

void ScriptRunner::DropUnusedExpectations()
{
    if (progress_.hook != nullptr) EndProgressShot(false);
    progressShots_.clear();
    if (modal_ == nullptr) return;
    for (const ModalExpectation& e : modal_->TakeUnmet()) {
        Log(std::string("  expected ") + (e.dialog ? "dialog " + Quote(e.caption) : "message box") + " did not appear");
        ++warnings_;
    }
}

// ---------------------------------------------------------------------------------
// Modal windows: answered by the shared driver, one step per tick.

ModalExpectation ScriptRunner::ToModal(const Expectation& expected)
{
    ModalExpectation modal;
    modal.dialog = !expected.box;
    modal.caption = expected.caption;
    modal.button = expected.button;
    if (!expected.progressShot.empty()) {
        // No steps: the window goes with the run, which the hook photographs meanwhile.
        progressShots_.push_back(expected.progressShot);
        return modal;
    }
    if (expected.box) {
        if (!expected.shot.empty()) {
            const std::string png = expected.shot;
            modal.steps.push_back({kTick, [png](DialogDriver& d) { SaveWindowShot(d.hwnd(), png); }});
        }
        return modal;
    }
    UINT delay = kTick;
    for (const Step& step : expected.steps) {
        if (step.verb == "wait") {
            delay += static_cast<UINT>(step.id);
            continue;
        }
        modal.steps.push_back({delay, [this, step](DialogDriver& d) { RunDialogStep(d, step); }});
        delay = kTick;
    }
    if (delay > kTick) modal.steps.push_back({delay - kTick, nullptr});   // a closing wait
    return modal;
}

void ScriptRunner::OnModalEvent(ModalEvent event, HWND window, const std::string& detail)
{
    switch (event) {
    case ModalEvent::DialogUp:
        Log("  dialog " + Quote(detail) + " opened");
        if (GetDlgItem(window, kProgressBarId) != nullptr && !progressShots_.empty()) StartProgressShot(window);
        break;
    case ModalEvent::BoxUp:
        Log("  message box " + Quote(WindowText(window)) + ": " + detail);
        break;
    case ModalEvent::Unexpected:
        Log("    (not expected: cancelled)");
        ++warnings_;
        break;
    case ModalEvent::BoxAnswered:
        Log("    press " + detail);
        break;
    case ModalEvent::TimedOut:
        Log("  dialog " + Quote(detail) + " still open: cancelled");
        ++warnings_;
        break;
    }
}

void ScriptRunner::RunDialogStep(DialogDriver& dialog, const Step& step)
{
    char id[16];
    wsprintfA(id, "%d", step.id);
    HWND control = GetDlgItem(dialog.hwnd(), step.id);
    if (step.verb != "shot" && control == nullptr) {
        Log(std::string("    ") + step.verb + " " + id + ": no such control");
        ++warnings_;
        return;
    }
    if (step.verb == "set") {
        dialog.SetText(step.id, step.text);
        Log(std::string("    set ") + id + " = " + Quote(step.text));
    } else if (step.verb == "check") {
        // A click, so that radio buttons let go of their group.
        const bool on = step.text == "on" || step.text == "1";
        if (dialog.IsChecked(step.id) != on) SendMessageA(control, BM_CLICK, 0, 0);
        if (dialog.IsChecked(step.id) != on) CheckDlgButton(dialog.hwnd(), step.id, on ? BST_CHECKED : BST_UNCHECKED);
        Log(std::string("    check ") + id + (on ? " on" : " off"));
    } else if (step.verb == "combo") {
        dialog.SelectCombo(step.id, atoi(step.text.c_str()));
        Log(std::string("    combo ") + id + " item " + step.text);
    } else if (step.verb == "shot") {
        SaveWindowShot(dialog.hwnd(), step.text);
    } else if (step.verb == "press") {
        Log(std::string("    press ") + id + " " + Quote(WindowText(control)));
        dialog.Press(step.id);
    }
}

// ---------------------------------------------------------------------------------
// The progress window of a long run: shown modeless while the run pumps its messages
// alone, it is photographed from a hook on the messages the run sends it.

void ScriptRunner::StartProgressShot(HWND window)
{
    if (progress_.hook != nullptr) EndProgressShot(false);
    progress_.png = progressShots_.front();
    progressShots_.pop_front();
    progress_.window = window;
    progress_.up = GetTickCount64();
    progress_.hook = SetWindowsHookExA(WH_CALLWNDPROC, ProgressMessageHook, nullptr, GetCurrentThreadId());
    if (progress_.hook == nullptr) {
        Log("  progress window: no message hook, no screenshot");
        ++errors_;
    }
}

void ScriptRunner::OnProgressMessage(HWND to)
{
    if (progress_.hook == nullptr || !IsWindow(progress_.window)) return;
    if (to != progress_.window && !IsChild(progress_.window, to)) return;
    if (GetTickCount64() - progress_.up < kProgressShotAfterMs) return;
    // The run updates the window's texts and bar, which paint at once, and then takes
    // the window's queued messages until none is left, which hands the painted window to
    // the display: at the next update the screen shows the window as it was last drawn.
    // Unhooked first: reading the texts sends messages to the window too.
    const HWND window = progress_.window;
    const std::string png = progress_.png;
    EndProgressShot(true);
    Log("    progress: " + WindowText(GetDlgItem(window, kProgressTextId)));
    if (!SaveWindowShot(window, png)) ++errors_;
}

void ScriptRunner::EndProgressShot(bool taken)
{
    if (progress_.hook != nullptr) UnhookWindowsHookEx(progress_.hook);
    progress_.hook = nullptr;
    progress_.window = nullptr;
    if (!taken) {
        Log("  the run ended before its progress window could be photographed: no " + progress_.png);
        ++warnings_;
    }
}

// ---------------------------------------------------------------------------------
// A menu really shown: opened with TrackPopupMenu, driven by keystrokes from a timer
// that runs inside the menu's own loop, photographed from the screen, then closed.

bool ScriptRunner::MenuShot(BuiltMenu& menu, const std::string& png, const std::string& submenu)
{
    menuShot_.png = png;
    menuShot_.downs = -1;
    menuShot_.stage = 0;
    menuShot_.saved = false;
    if (!submenu.empty()) {
        int selectable = 0;
        for (int i = 0; i < GetMenuItemCount(menu.popup); ++i) {
            const UINT state = GetMenuState(menu.popup, static_cast<UINT>(i), MF_BYPOSITION);
            if ((state & MF_SEPARATOR) && !(state & MF_POPUP)) continue;
            ++selectable;
            char text[256] = {};
            GetMenuStringA(menu.popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            if (GetSubMenu(menu.popup, i) != nullptr && submenu == text) menuShot_.downs = selectable;
        }
        if (menuShot_.downs < 0) Log("  no submenu " + Quote(submenu) + "; the menu is shown as it is");
    }
    SetTimer(host_.hwnd(), kMenuTimer, 300, MenuTimerProc);
    const UINT id = host_.TrackMenu(menu, host_.MenuPoint());
    KillTimer(host_.hwnd(), kMenuTimer);
    if (id != 0) Log("  the menu returned an entry; not run");
    host_.Settle(200);
    return menuShot_.saved;
}

BOOL CALLBACK AddMenuWindow(HWND window, LPARAM lParam)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32768") == 0 && IsWindowVisible(window) &&
        GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        RECT r;
        GetWindowRect(window, &r);
        auto* area = reinterpret_cast<RECT*>(lParam);
        UnionRect(area, area, &r);
    }
    return TRUE;
}

void ScriptRunner::OnMenuTimer()
{
    switch (menuShot_.stage++) {
    case 0:
        for (int i = 0; i < menuShot_.downs; ++i) PostMessageA(host_.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
        if (menuShot_.downs > 0) PostMessageA(host_.hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
        break;
    case 1:
        break;   // one more tick to paint
    case 2: {
        RECT area;
        GetWindowRect(host_.hwnd(), &area);
        EnumWindows(AddMenuWindow, reinterpret_cast<LPARAM>(&area));
        menuShot_.saved = SaveScreenRect(area, menuShot_.png);
        EndMenu();
        break;
    }
    default:
        EndMenu();
        break;
    }
}

}  // namespace

int RunScript(HostWindow& host, const std::string& scriptPath)
{
    ScriptRunner runner(host);
    if (!runner.Load(scriptPath)) return 2;
    return runner.Run();
}
