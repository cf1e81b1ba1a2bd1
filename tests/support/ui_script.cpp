#include "tests/support/ui_script.h"

#include <dlgs.h>

namespace {

// The title every error box of the suite shows.
constexpr char kErrorBoxTitle[] = "Tidalon　エラー";

}  // namespace

UiScript::UiScript() = default;

UiScript::~UiScript() = default;

UiScript& UiScript::ExpectBox(int button)
{
    ModalExpectation e;
    e.dialog = false;
    e.button = button;
    driver_.Expect(std::move(e));
    return *this;
}

UiScript& UiScript::ExpectDialog(std::function<void(DialogDriver&)> actions)
{
    ModalExpectation e;
    e.steps.push_back({20, std::move(actions)});
    driver_.Expect(std::move(e));
    return *this;
}

UiScript& UiScript::AnswerAllBoxes(int button)
{
    driver_.AnswerAllBoxes(button);
    return *this;
}

UiScript& UiScript::ExpectProgress(bool stop, Progress* seen)
{
    ModalExpectation e;
    e.caption = "Tidalon";
    e.optional = true;
    e.atActivation = [stop, seen](HWND window) {
        seen->window = window;
        seen->owner = GetWindow(window, GW_OWNER);
        seen->button = WindowText(GetDlgItem(window, IDCANCEL));
        if (stop) PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    };
    driver_.Expect(std::move(e));
    return *this;
}

std::vector<std::string> UiScript::Failures() const
{
    return driver_.AllFailures();
}

void TypeSaveName(DialogDriver& chooser, const std::wstring& name)
{
    // The explorer-style chooser names its file-name field cmb13, the older one edt1.
    HWND field = GetDlgItem(chooser.hwnd(), cmb13);
    if (field == nullptr) field = GetDlgItem(chooser.hwnd(), edt1);
    SetWindowTextW(field, name.c_str());
}

testing::AssertionResult IsErrorBox(const SeenBox& box, const std::string& text, TextIs match)
{
    bool textMatches = false;
    switch (match) {
    case TextIs::Whole: textMatches = box.text == text; break;
    case TextIs::Start: textMatches = box.text.compare(0, text.size(), text) == 0; break;
    case TextIs::Part: textMatches = box.text.find(text) != std::string::npos; break;
    }
    if (box.title == kErrorBoxTitle && box.icon == static_cast<UINT>(MB_ICONERROR) && textMatches)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "box \"" << box.title << "\" (icon " << box.icon << "): \"" << box.text
                                       << "\"; expected the error box "
                                       << (match == TextIs::Whole ? "" : match == TextIs::Start ? "starting " : "with ")
                                       << "\"" << text << "\"";
}

testing::AssertionResult IsOnlyErrorBox(const UiScript& ui, const std::string& text, TextIs match)
{
    if (ui.Boxes().size() != 1)
        return testing::AssertionFailure() << ui.Boxes().size() << " boxes came up instead of one";
    return IsErrorBox(ui.Boxes()[0], text, match);
}
