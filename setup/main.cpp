// pellast.exe: installs the suite, or with "/uninst" offers customising and uninstalling.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "common/report.h"
#include "setup/rules/setup_rules.h"
#include "setup/setup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    SetSetupInstance(instance);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    if (IsUninstallSwitch(commandLine)) {
        RunMaintenance();
    } else if (!RunInstall()) {
        ShowErrorBox(GetDesktopWindow(), kInstallFailed);
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
    return 1;
}
