// The setup program: install, maintenance (customise or uninstall) and the
// customisation dialog. The program has no window of its own: every box and dialog is
// owned by the desktop window, except the customisation dialog's warnings, which keep
// that dialog waiting.
#pragma once
#include <windows.h>

// The program's own instance: its dialogs and its path.
HINSTANCE SetupInstance();
void SetSetupInstance(HINSTANCE instance);

inline constexpr char kInstallFailed[] = "インストールに失敗しました。";
inline constexpr char kUninstallFailed[] = "アンインストールに失敗しました。";
inline constexpr char kConfirmTitle[] = "確認";

// install.cpp. Every path the install writes, checked before anything is written.
struct InstallPaths {
    char kelmora[MAX_PATH];
    char orvid[MAX_PATH];
    char uninstall[MAX_PATH];   // quoted own path and the switch
};
int RunInstall();
int PrepareInstallPaths(InstallPaths& paths);
int RegisterExtensions(const InstallPaths& paths);
int WriteUninstallEntry(const InstallPaths& paths);
// The full path of `fileName` in this program's folder, into `out` of MAX_PATH bytes.
int GetSiblingPath(char* out, const char* fileName);

// uninstall.cpp
int RunMaintenance();
INT_PTR CALLBACK MaintenanceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int RunUninstall();
int UnregisterExtensions();

// customize.cpp: 1 after OK, 0 after Cancel.
INT_PTR RunCustomize();
INT_PTR CALLBACK CustomizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
