// setup_driver: runs pellast.exe for the demo as a user would, answering its boxes and
// dialogs from outside the process, and takes screenshots of them. Not a deliverable.
//
//   setup_driver install <pellast.exe> [confirmation.png]
//       installs: OK on the confirmation and on the closing message
//   setup_driver customize <pellast.exe> <maintenance.png> <customize.png>
//       "/uninst", "カスタマイズ", an entry added and selected, screenshots, then Cancel:
//       nothing is stored
//   setup_driver uninstall <pellast.exe> <question.png> <done.png>
//       "/uninst", "アンインストール", OK, OK, and the restart declined
#include <string>

#include "common/resource_ids.h"
#include "tools/host/host.h"

namespace {

class Run {
public:
    Run(const std::string& exe, const std::string& args)
    {
        std::string line = "\"" + exe + "\"" + args;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process_) != FALSE;
        if (!started_) Log("setup_driver: cannot start " + exe);
    }
    ~Run()
    {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 15000) == WAIT_TIMEOUT) {
            Log("setup_driver: pellast.exe did not end; stopped");
            TerminateProcess(process_.hProcess, 99);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    // A visible window of the program holding control `id` (0: any window), waited for
    // up to ten seconds and given time to paint.
    HWND Window(int id)
    {
        struct Search { DWORD pid; int id; HWND found; } search{process_.dwProcessId, id, nullptr};
        for (int i = 0; started_ && i < 200 && search.found == nullptr; ++i, Sleep(50)) {
            EnumWindows([](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid != s->pid || !IsWindowVisible(w) || (s->id != 0 && GetDlgItem(w, s->id) == nullptr)) return TRUE;
                s->found = w;
                return FALSE;
            }, reinterpret_cast<LPARAM>(&search));
        }
        if (search.found == nullptr) Log("setup_driver: no window of pellast.exe came up");
        Sleep(400);
        return search.found;
    }

private:
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

void Command(HWND window, int id, WORD code = BN_CLICKED)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    Sleep(300);
}

// Logs a message box and answers it with OK; gives its title.
std::string AnswerBox(HWND box)
{
    if (box == nullptr) return "";
    char title[128] = {}, text[512] = {};
    GetWindowTextA(box, title, sizeof title);
    GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
    Log(std::string("setup_driver: box \"") + title + "\": " + text);
    Command(box, IDOK);
    return title;
}

int Install(const std::string& exe, const std::string& shot)
{
    Run run(exe, "");
    const HWND confirmation = run.Window(0);
    if (!shot.empty() && confirmation != nullptr) SaveWindowShot(confirmation, shot);
    AnswerBox(confirmation);
    return AnswerBox(run.Window(0)) == "確認" ? 0 : 1;
}

int Customize(const std::string& exe, const std::string& maintenanceShot, const std::string& customizeShot)
{
    Run run(exe, " /uninst");
    const HWND maintenance = run.Window(IDC_MAINTENANCE_CUSTOMIZE);
    if (maintenance == nullptr) return 1;
    SaveWindowShot(maintenance, maintenanceShot);
    Command(maintenance, IDC_MAINTENANCE_CUSTOMIZE);
    const HWND dialog = run.Window(IDC_CUSTOMIZE_DISPLAYED);
    if (dialog == nullptr) return 1;
    // "更新日で分類(&D)" (catalogue entry 14) is moved into the submenu and selected.
    const HWND available = GetDlgItem(dialog, IDC_CUSTOMIZE_AVAILABLE);
    for (LRESULT i = 0, n = SendMessageA(available, LB_GETCOUNT, 0, 0); i < n; ++i) {
        if (SendMessageA(available, LB_GETITEMDATA, static_cast<WPARAM>(i), 0) != 14) continue;
        SendMessageA(available, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        Command(dialog, IDC_CUSTOMIZE_ADD);
        break;
    }
    const HWND displayed = GetDlgItem(dialog, IDC_CUSTOMIZE_DISPLAYED);
    const LRESULT last = SendMessageA(displayed, LB_GETCOUNT, 0, 0) - 1;
    SendMessageA(displayed, LB_SETCURSEL, static_cast<WPARAM>(last), 0);
    Command(dialog, IDC_CUSTOMIZE_DISPLAYED, LBN_SELCHANGE);
    SendMessageA(GetDlgItem(dialog, IDC_CUSTOMIZE_DRAG_MENU), BM_SETCHECK, BST_CHECKED, 0);
    Sleep(300);
    const bool saved = SaveWindowShot(dialog, customizeShot);
    Command(dialog, IDCANCEL);
    return saved ? 0 : 1;
}

// "/uninst", "アンインストール", OK on the question and on the closing message, and the
// restart declined. The question and the closing message are shot.
int Uninstall(const std::string& exe, const std::string& questionShot, const std::string& doneShot)
{
    Run run(exe, " /uninst");
    const HWND maintenance = run.Window(IDC_MAINTENANCE_UNINSTALL);
    if (maintenance == nullptr) return 1;
    Command(maintenance, IDC_MAINTENANCE_UNINSTALL);
    const HWND question = run.Window(0);
    if (question != nullptr) SaveWindowShot(question, questionShot);
    AnswerBox(question);
    const HWND done = run.Window(0);
    if (done != nullptr) SaveWindowShot(done, doneShot);
    AnswerBox(done);
    const HWND restart = run.Window(0);
    if (restart == nullptr) return 1;
    Command(restart, IDCANCEL);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string verb = argc > 2 ? argv[1] : "";
    if (verb == "install") return Install(WindowsPath(argv[2]), argc > 3 ? argv[3] : "");
    if (verb == "customize" && argc > 4) return Customize(WindowsPath(argv[2]), argv[3], argv[4]);
    if (verb == "uninstall" && argc > 4) return Uninstall(WindowsPath(argv[2]), argv[3], argv[4]);
    Log("usage: setup_driver install <pellast.exe> [shot.png] | customize <pellast.exe> <maintenance.png> "
        "<customize.png> | uninstall <pellast.exe> <question.png> <done.png>");
    return 2;
}
