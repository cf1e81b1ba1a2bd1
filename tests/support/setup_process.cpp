#include "tests/support/setup_process.h"

#include "common/resource_ids.h"

namespace {

constexpr int kBoxText = 0xFFFF;   // the text control of a message box

}  // namespace

std::string OtherWindowText(HWND window)
{
    char text[512] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 1000, nullptr);
    return text;
}

SetupProcess::SetupProcess(const std::wstring& commandLine, const std::wstring& application, const std::wstring& folder)
{
    std::wstring line = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr, nullptr,
                              FALSE, 0, nullptr, folder.empty() ? nullptr : folder.c_str(), &startup,
                              &process_) != FALSE;
}

SetupProcess::~SetupProcess()
{
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND SetupProcess::Find(int id, bool dialog)
{
    struct Search {
        DWORD pid;
        int id;
        bool dialog;
        HWND found;
    } search{process_.dwProcessId, id, dialog, nullptr};
    for (int i = 0; started_ && i < 200 && search.found == nullptr; ++i, Sleep(50)) {
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid != s->pid || !IsWindowVisible(w)) return TRUE;
                const bool setupDialog = GetDlgItem(w, IDC_MAINTENANCE_UNINSTALL) != nullptr ||
                                         GetDlgItem(w, IDC_CUSTOMIZE_DISPLAYED) != nullptr;
                if (s->dialog ? GetDlgItem(w, s->id) == nullptr : setupDialog) return TRUE;
                s->found = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

HWND SetupProcess::Dialog(int id) { return Find(id, true); }

bool SetupProcess::Press(int id)
{
    const HWND window = Dialog(id);
    if (window == nullptr) return false;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    Sleep(200);
    return true;
}

SetupBox SetupProcess::Answer(int button)
{
    const HWND box = Find(0, false);
    if (box == nullptr) return {"<none>", ""};
    SetupBox seen{OtherWindowText(box), OtherWindowText(GetDlgItem(box, kBoxText))};
    PostMessageA(box, WM_COMMAND, button, 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
    return seen;
}

DWORD SetupProcess::Exit()
{
    DWORD code = 0;
    if (started_ && WaitForSingleObject(process_.hProcess, 15000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_.hProcess, &code);
    return code;
}
