// The maintenance dialog (customise or uninstall) and the uninstall: every key the
// install wrote is deleted, the settings stay, and a restart of Windows is offered.
#include <shlobj.h>

#include <cstdio>

#include "common/handles.h"
#include "common/report.h"
#include "common/resource_ids.h"
#include "setup/rules/setup_rules.h"
#include "setup/setup.h"

namespace {

const char kStartText[] = "Tidalon（エクスプローラ拡張）のアンインストールを開始します。";
const char kStartTitle[] = "アンインストール";
const char kDoneText[] = "アンインストールは正常に終了しました。\r\n再起動後にインストールフォルダを削除して下さい。";
const char kRestartText[] = "Windows を再起動します。";
const char kRestartTitle[] = "Windows の終了";
const char kRestartFailed[] = "Windows を再起動できませんでした。[%d]";

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE; }

// A normal account holds the shutdown privilege disabled; ExitWindowsEx needs it on.
bool EnableShutdownPrivilege()
{
    FileHandle token;   // a kernel handle, closed with CloseHandle like a file
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return false;
    // Succeeds without assigning when the account lacks the privilege: the last error
    // says so, and ExitWindowsEx then fails with its own code.
    return AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr) != FALSE &&
           GetLastError() == ERROR_SUCCESS;
}

}  // namespace

INT_PTR CALLBACK MaintenanceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDC_MAINTENANCE_UNINSTALL || id == IDC_MAINTENANCE_CUSTOMIZE) {
            EndDialog(dialog, id);
            return TRUE;
        }
    }
    // Esc and the close box arrive as IDCANCEL and are ignored: only the two buttons end
    // the dialog.
    return FALSE;
}

int RunMaintenance()
{
    const INT_PTR choice = DialogBoxParamA(SetupInstance(), MAKEINTRESOURCEA(IDD_MAINTENANCE), GetDesktopWindow(),
                                           MaintenanceDlgProc, 0);
    if (choice == -1 || choice == 0) {  // the dialog could not be made
        ReportSystemError(GetDesktopWindow(), GetLastError());
        return 1;
    }
    if (choice == IDC_MAINTENANCE_UNINSTALL) {
        if (!RunUninstall()) ShowErrorBox(GetDesktopWindow(), kUninstallFailed);
        SHChangeNotify(SHCNE_DELETE, SHCNF_FLUSH, nullptr, nullptr);
    } else {
        RunCustomize();
    }
    return 1;
}

int UnregisterExtensions()
{
    for (const UninstallStep& step : kUninstallSteps) {
        if (RegDeleteKeyA(RootKey(step.root), step.key) != ERROR_SUCCESS && step.required) return 0;
    }
    RegKey approved;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kApprovedKey, approved.put()) == ERROR_SUCCESS) {
        RegDeleteValueA(approved.get(), kKelmoraClassId);
        RegDeleteValueA(approved.get(), kOrvidClassId);
        approved.Close();
    }
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey) == ERROR_SUCCESS ? 1 : 0;
}

int RunUninstall()
{
    const HWND desktop = GetDesktopWindow();
    if (MessageBoxA(desktop, kStartText, kStartTitle, MB_OKCANCEL) != IDOK) return 1;
    if (!UnregisterExtensions()) return 0;
    MessageBoxA(desktop, kDoneText, kConfirmTitle, MB_ICONINFORMATION);
    if (MessageBoxA(desktop, kRestartText, kRestartTitle, MB_OKCANCEL) != IDOK) return 1;
    EnableShutdownPrivilege();
    if (ExitWindowsEx(EWX_REBOOT, 0)) return 1;
    char text[128];
    std::snprintf(text, sizeof text, kRestartFailed, static_cast<int>(GetLastError()));
    ShowErrorBox(desktop, text);
    return 0;
}
