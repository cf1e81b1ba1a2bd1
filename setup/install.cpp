// Install: the confirmation, the class and handler registration of both libraries in
// this program's folder, their approval, the uninstall entry and the default settings.
#include <cstring>

#include "common/exact_text.h"
#include "common/menu_layout.h"
#include "common/report.h"
#include "common/settings_store.h"
#include "setup/rules/setup_rules.h"
#include "setup/setup.h"

namespace {

const char kStartText[] = "Tidalon（エクスプローラ拡張）のインストールを開始します。";
const char kStartTitle[] = "インストール";
const char kDoneText[] =
    "正常にインストールされました。\r\nアンインストールするまでは、このフォルダは削除しないで下さい。";

// This program's full path, read wide: the ANSI call would give the best fit of a
// folder code page 932 cannot hold ("Café" as "Cafe"), and the install would register
// libraries in a look-alike folder that anyone may create. Such a folder is refused.
int GetModulePath(char (&out)[MAX_PATH])
{
    if (ModulePathExact(SetupInstance(), out, MAX_PATH)) return 1;
    const DWORD error = GetLastError();
    if (error == ERROR_NO_UNICODE_TRANSLATION)
        ShowErrorBox(GetDesktopWindow(), kMsgUnreadablePath);
    else
        ReportSystemError(GetDesktopWindow(), error);
    return 0;
}

int WriteEntries(const InstallPaths& paths, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i < last; ++i) {
        const RegistryEntry& entry = kRegistryEntries[i];
        const HKEY root = entry.root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
        const char* data = entry.text;
        switch (entry.data) {
        case EntryData::Text: break;
        case EntryData::KelmoraPath: data = paths.kelmora; break;
        case EntryData::OrvidPath: data = paths.orvid; break;
        case EntryData::UninstallCommand: data = paths.uninstall; break;
        }
        if (!WriteStringValue(root, entry.key, entry.value, data)) return 0;
    }
    return 1;
}

}  // namespace

int GetSiblingPath(char* out, const char* fileName)
{
    out[0] = '\0';
    char module[MAX_PATH];
    if (!GetModulePath(module)) return 0;
    char full[MAX_PATH];
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(module, MAX_PATH, full, &filePart);
    if (length == 0) {
        ReportSystemError(GetDesktopWindow(), GetLastError());
        return 0;
    }
    if (length >= MAX_PATH || filePart == nullptr ||
        !BuildSiblingPath(full, static_cast<std::size_t>(filePart - full), fileName, out, MAX_PATH)) {
        ReportSystemError(GetDesktopWindow(), ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    return 1;
}

int PrepareInstallPaths(InstallPaths& paths)
{
    if (!GetSiblingPath(paths.kelmora, kKelmoraFile) || !GetSiblingPath(paths.orvid, kOrvidFile)) return 0;
    char module[MAX_PATH];
    if (!GetModulePath(module)) return 0;
    if (!BuildUninstallCommand(module, paths.uninstall, sizeof paths.uninstall)) {
        ReportSystemError(GetDesktopWindow(), ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    return 1;
}

int RegisterExtensions(const InstallPaths& paths) { return WriteEntries(paths, 0, kRegisterEntryCount); }

int WriteUninstallEntry(const InstallPaths& paths)
{
    return WriteEntries(paths, kRegisterEntryCount, kRegistryEntryCount);
}

int RunInstall()
{
    if (MessageBoxA(GetDesktopWindow(), kStartText, kStartTitle, MB_OKCANCEL) != IDOK) return 1;
    // Every path is built first: a folder too deep for one of them writes nothing.
    InstallPaths paths;
    if (!PrepareInstallPaths(paths)) return 0;
    if (!RegisterExtensions(paths) || !WriteUninstallEntry(paths) || !WriteDefaultSettings()) return 0;
    MessageBoxA(GetDesktopWindow(), kDoneText, kConfirmTitle, MB_ICONINFORMATION);
    return 1;
}
