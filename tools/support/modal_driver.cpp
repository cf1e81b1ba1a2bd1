#include "tools/support/modal_driver.h"

#include <commctrl.h>

#include <cstring>

namespace {

// One driver per thread at a time; a newer one stands in for an older until it goes.
ModalDriver* g_driver = nullptr;

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (g_driver != nullptr) {
        if (code == HCBT_ACTIVATE) {
            HWND window = reinterpret_cast<HWND>(wParam);
            if (ClassOf(window) == "#32770") g_driver->OnActivate(window);
        } else if (code == HCBT_DESTROYWND) {
            g_driver->OnDestroy(reinterpret_cast<HWND>(wParam));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    if (g_driver != nullptr) {
        g_driver->OnTimer(id);
    } else {
        KillTimer(nullptr, id);
    }
}

// A message box carries its icon in a static control: id 20 on Windows, 1088 in Wine.
HWND MessageBoxIcon(HWND window)
{
    for (int id : {20, 1088}) {
        HWND icon = GetDlgItem(window, id);
        if (icon != nullptr && ClassOf(icon) == "Static" && (GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return icon;
    }
    return nullptr;
}

// A message box holds that icon, static texts and push buttons, nothing else.
bool IsMessageBox(HWND window)
{
    if (MessageBoxIcon(window) == nullptr) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string kind = ClassOf(child);
        if (kind == "Static") continue;
        const LONG style = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
        if (lstrcmpiA(kind.c_str(), "Button") == 0 && (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON)) continue;
        return false;
    }
    return true;
}

UINT IconKind(HWND iconControl)
{
    if (iconControl == nullptr || !(GetWindowLongA(iconControl, GWL_STYLE) & WS_VISIBLE)) return 0;
    HICON icon = reinterpret_cast<HICON>(SendMessageA(iconControl, STM_GETICON, 0, 0));
    if (icon == nullptr) return 0;
    if (icon == LoadIcon(nullptr, IDI_ERROR)) return MB_ICONERROR;
    if (icon == LoadIcon(nullptr, IDI_WARNING)) return MB_ICONWARNING;
    if (icon == LoadIcon(nullptr, IDI_INFORMATION)) return MB_ICONINFORMATION;
    if (icon == LoadIcon(nullptr, IDI_QUESTION)) return MB_ICONQUESTION;
    return 0;
}

void ClickButton(HWND window, int id)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

}  // namespace

std::string WindowText(HWND window)
{
    const int n = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(window, text.data(), n + 1);
    text.resize(std::strlen(text.c_str()));
    return text;
}

// ---- DialogDriver ------------------------------------------------------------------

std::string DialogDriver::Caption() const { return WindowText(dialog_); }

std::string DialogDriver::Text(int id) const { return WindowText(GetDlgItem(dialog_, id)); }

void DialogDriver::SetText(int id, const std::string& text) const { SetDlgItemTextA(dialog_, id, text.c_str()); }

bool DialogDriver::IsChecked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

void DialogDriver::Check(int id, bool checked) const
{
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    // The dialog hears of it as of a click, for those that enable controls on a change.
    ClickButton(dialog_, id);
}

bool DialogDriver::IsEnabled(int id) const { return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE; }

void DialogDriver::SelectCombo(int id, int index) const
{
    SendDlgItemMessageA(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
}

int DialogDriver::ComboSelection(int id) const
{
    return static_cast<int>(SendDlgItemMessageA(dialog_, id, CB_GETCURSEL, 0, 0));
}

int DialogDriver::ComboCount(int id) const { return static_cast<int>(SendDlgItemMessageA(dialog_, id, CB_GETCOUNT, 0, 0)); }

void DialogDriver::Press(int id) const { ClickButton(dialog_, id); }

// ---- ModalDriver -------------------------------------------------------------------

ModalDriver::ModalDriver() : previous_(g_driver)
{
    g_driver = this;
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

ModalDriver::~ModalDriver()
{
    for (const Active& a : active_)
        if (a.timer != 0) KillTimer(nullptr, a.timer);
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    // An older driver may go before the newer one standing in for it.
    for (ModalDriver** link = &g_driver; *link != nullptr; link = &(*link)->previous_) {
        if (*link == this) {
            *link = previous_;
            break;
        }
    }
}

void ModalDriver::Expect(ModalExpectation expectation) { expected_.push_back(std::move(expectation)); }

void ModalDriver::AnswerAllBoxes(int button)
{
    answerAll_ = true;
    answerButton_ = button;
}

std::vector<ModalExpectation> ModalDriver::Unmet() const
{
    return std::vector<ModalExpectation>(expected_.begin(), expected_.end());
}

std::vector<ModalExpectation> ModalDriver::TakeUnmet()
{
    std::vector<ModalExpectation> unmet = Unmet();
    expected_.clear();
    return unmet;
}

std::vector<std::string> ModalDriver::AllFailures() const
{
    std::vector<std::string> all = failures_;
    for (const ModalExpectation& e : expected_)
        if (!e.optional)
            all.push_back(e.dialog ? "expected a dialog that never came" : "expected a message box that never came");
    return all;
}

ModalDriver::Active* ModalDriver::Find(HWND window)
{
    for (Active& a : active_)
        if (a.window == window) return &a;
    return nullptr;
}

void ModalDriver::Notify(ModalEvent event, HWND window, const std::string& detail) const
{
    if (listener_) listener_(event, window, detail);
}

void ModalDriver::Schedule(Active& active, UINT delay, bool watchdog)
{
    active.watchdog = watchdog;
    active.timer = SetTimer(nullptr, 0, delay, TimerProc);
}

void ModalDriver::OnActivate(HWND window)
{
    // A window is activated again each time a box it opened closes: it is taken once.
    for (auto it = active_.begin(); it != active_.end();) {
        if (!IsWindow(it->window)) {
            if (it->timer != 0) KillTimer(nullptr, it->timer);
            it = active_.erase(it);
        } else {
            ++it;
        }
    }
    if (Find(window) != nullptr) return;

    const bool box = IsMessageBox(window);
    const std::string caption = WindowText(window);
    std::string text;
    if (box) {
        text = WindowText(GetDlgItem(window, 0xFFFF));
        boxes_.push_back({caption, text, IconKind(MessageBoxIcon(window)), GetWindow(window, GW_OWNER)});
        Notify(ModalEvent::BoxUp, window, text);
    } else {
        dialogs_.push_back(caption);
        Notify(ModalEvent::DialogUp, window, caption);
    }

    Active active{window, box, {}};
    const auto matches = [box, &caption](const ModalExpectation& e) {
        return e.dialog == !box && (box || e.caption.empty() || e.caption == caption);
    };
    while (!expected_.empty() && expected_.front().optional && !matches(expected_.front())) expected_.pop_front();
    const bool taken = !expected_.empty() && matches(expected_.front());
    int button = box ? IDOK : IDCANCEL;
    if (taken) {
        ModalExpectation e = std::move(expected_.front());
        expected_.pop_front();
        active.plan = std::move(e.steps);
        button = e.button;
        if (e.atActivation) e.atActivation(window);
    } else if (box && answerAll_) {
        button = answerButton_;
    } else {
        failures_.push_back(box ? "unexpected message box: " + text : "unexpected dialog: " + caption);
        Notify(ModalEvent::Unexpected, window, box ? text : caption);
    }
    if (box || !taken) {
        // A box is answered after its steps; a window nobody expected is closed.
        ModalStep answer;
        answer.delay = active.plan.empty() ? pace_ : 0;
        answer.action = [this, box, button](DialogDriver& d) {
            int pressed = button;
            if (box && GetDlgItem(d.hwnd(), pressed) == nullptr) {
                failures_.push_back("message box has no button " + std::to_string(pressed));
                pressed = GetDlgItem(d.hwnd(), IDCANCEL) != nullptr ? IDCANCEL : IDOK;
            }
            if (box) Notify(ModalEvent::BoxAnswered, d.hwnd(), std::to_string(pressed));
            d.Press(pressed);
        };
        active.plan.push_back(std::move(answer));
    }
    active_.push_back(std::move(active));
    Active& added = active_.back();
    if (added.plan.empty()) {
        Schedule(added, timeout_, true);
    } else {
        Schedule(added, added.plan.front().delay, false);
    }
}

void ModalDriver::OnDestroy(HWND window)
{
    for (auto it = active_.begin(); it != active_.end();) {
        if (it->window == window) {
            if (it->timer != 0) KillTimer(nullptr, it->timer);
            it = active_.erase(it);
        } else {
            ++it;
        }
    }
}

void ModalDriver::OnTimer(UINT_PTR timer)
{
    KillTimer(nullptr, timer);
    Active* active = nullptr;
    for (Active& a : active_)
        if (a.timer == timer) active = &a;
    if (active == nullptr) return;
    active->timer = 0;
    HWND window = active->window;
    if (!IsWindow(window)) return;

    if (active->watchdog) {
        const std::string caption = WindowText(window);
        failures_.push_back("window left open, closed by the timeout: " + caption);
        Notify(ModalEvent::TimedOut, window, caption);
        ClickButton(window, IDCANCEL);
        if (IsWindow(window)) EndDialog(window, IDCANCEL);
        return;
    }
    // The step may run nested modal windows, during which this entry may go: it is
    // looked up again afterwards.
    const std::function<void(DialogDriver&)> action = active->plan[active->next++].action;
    if (action) {
        DialogDriver driver(window);
        action(driver);
    }
    active = Find(window);
    if (active == nullptr || !IsWindow(window) || active->timer != 0) return;
    if (active->next < active->plan.size()) {
        Schedule(*active, active->plan[active->next].delay, false);
    } else {
        Schedule(*active, timeout_, true);
    }
}
