#include "ui_script.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace {

UiScript* g_script = nullptr;
constexpr size_t kCloseIt = static_cast<size_t>(-1);

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_script != nullptr) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (ClassOf(window) == "#32770") g_script->OnActivate(window);
    } else if (code == HCBT_DESTROYWND && g_script != nullptr) {
        g_script->OnDestroy(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    if (g_script != nullptr) g_script->OnTimer(id);
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
    text.resize(strlen(text.c_str()));
    return text;
}

std::string DialogDriver::Caption() const { return WindowText(dialog_); }

std::string DialogDriver::Text(int id) const { return WindowText(GetDlgItem(dialog_, id)); }

void DialogDriver::SetText(int id, const std::string& text) const { SetDlgItemTextA(dialog_, id, text.c_str()); }

bool DialogDriver::IsChecked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

void DialogDriver::Check(int id, bool checked) const
{
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    // The dialog hears of it as of a click, for those that enable controls on a change.
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
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

UiScript::UiScript()
{
    g_script = this;
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

UiScript::~UiScript()
{
    for (const Pending& p : pending_) KillTimer(nullptr, p.timer);
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    if (g_script == this) g_script = nullptr;
}

UiScript& UiScript::ExpectBox(int button)
{
    expected_.push_back({false, button, nullptr});
    return *this;
}

UiScript& UiScript::ExpectDialog(std::function<void(DialogDriver&)> actions)
{
    expected_.push_back({true, 0, std::move(actions)});
    return *this;
}

UiScript& UiScript::AnswerAllBoxes(int button)
{
    answerAll_ = true;
    answerButton_ = button;
    return *this;
}

std::vector<std::string> UiScript::Failures() const
{
    std::vector<std::string> all = failures_;
    for (size_t i = next_; i < expected_.size(); ++i)
        all.push_back(expected_[i].dialog ? "expected a dialog that never came" : "expected a message box that never came");
    return all;
}

void UiScript::OnActivate(HWND window)
{
    // A window is activated again each time a box it opened closes: act once per window.
    handled_.erase(std::remove_if(handled_.begin(), handled_.end(), [](HWND w) { return !IsWindow(w); }),
                   handled_.end());
    if (std::find(handled_.begin(), handled_.end(), window) != handled_.end()) return;
    handled_.push_back(window);

    HWND icon = MessageBoxIcon(window);
    const bool isBox = icon != nullptr;
    if (isBox) {
        boxes_.push_back({WindowText(window), WindowText(GetDlgItem(window, 0xFFFF)), IconKind(icon),
                          GetWindow(window, GW_OWNER)});
    } else {
        dialogs_.push_back(WindowText(window));
    }

    Pending p{0, window, kCloseIt, isBox, IDCANCEL, false};
    if (next_ < expected_.size() && expected_[next_].dialog == !isBox) {
        p.expectation = next_++;
        p.button = expected_[p.expectation].button;
    } else if (isBox && answerAll_) {
        p.button = answerButton_;
    } else {
        failures_.push_back(std::string(isBox ? "unexpected message box: " + boxes_.back().text
                                              : "unexpected dialog: " + dialogs_.back()));
        p.button = isBox ? IDOK : IDCANCEL;
    }
    // Acting inside the hook would run before the window is up: a thread timer acts from
    // the modal loop instead.
    p.timer = SetTimer(nullptr, 0, 20, TimerProc);
    pending_.push_back(p);
}

void UiScript::OnDestroy(HWND window)
{
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->window == window) {
            KillTimer(nullptr, it->timer);
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
    handled_.erase(std::remove(handled_.begin(), handled_.end(), window), handled_.end());
}

void UiScript::OnTimer(UINT_PTR id)
{
    auto it = std::find_if(pending_.begin(), pending_.end(), [id](const Pending& p) { return p.timer == id; });
    KillTimer(nullptr, id);
    if (it == pending_.end()) return;
    Pending p = *it;
    pending_.erase(it);
    if (!IsWindow(p.window)) return;

    if (p.watchdog) {
        failures_.push_back("window left open, closed by the timeout: " + WindowText(p.window));
        ClickButton(p.window, IDCANCEL);
        if (IsWindow(p.window)) EndDialog(p.window, IDCANCEL);
        return;
    }
    if (p.expectation != kCloseIt && !p.isBox && expected_[p.expectation].actions) {
        DialogDriver driver(p.window);
        expected_[p.expectation].actions(driver);
    } else if (p.isBox || p.expectation == kCloseIt) {
        // A box that lacks the asked button is closed by its cancel button.
        if (p.isBox && GetDlgItem(p.window, p.button) == nullptr) {
            failures_.push_back("message box has no button " + std::to_string(p.button));
            p.button = GetDlgItem(p.window, IDCANCEL) ? IDCANCEL : IDOK;
        }
        ClickButton(p.window, p.button);
    }
    if (IsWindow(p.window)) {
        Pending guard{SetTimer(nullptr, 0, timeoutSeconds_ * 1000, TimerProc), p.window, kCloseIt, p.isBox, IDCANCEL,
                      true};
        pending_.push_back(guard);
    }
}
