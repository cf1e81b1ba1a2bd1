// Default settings and the loader of the menu layout and hotkey table.
#include <cstring>

#include "handles.h"
#include "settings.h"

namespace {

// One copy per module, overwritten whole by every successful or failed "Key" read.
unsigned char g_hotkeys[kHotkeyTableSize] = {'E', 'L', 'F', 'X', 'U', 'R', 'H', 'C', 'T',
                                             'B', 'A', 'G', 'N', 'E', 'D', 'O', 'I'};

}  // namespace

const unsigned char* HotkeyTable() { return g_hotkeys; }

int WriteDefaultSettings()
{
    if (!WriteStringValue(HKEY_CURRENT_USER, kSettingsKey, "Version", kVersionText)) return 0;
    if (!WriteSettingsBlock("Menu", kDefaultLayout, sizeof kDefaultLayout)) return 0;
    if (!WriteSettingsBlock("Key", g_hotkeys, sizeof g_hotkeys)) return 0;
    unsigned char block[kLargestBlockSize];
    for (std::size_t i = 0; i < kOptionBlockCount; ++i) {
        const std::size_t size = FillDefaultBlock(i, block, sizeof block);
        if (!WriteSettingsBlock(kOptionBlocks[i].name, block, static_cast<DWORD>(size))) return 0;
    }
    return 1;
}

namespace {

// Clean-up after a failure once the key is open: reports a failing free or close.
int FailLoad(HWND owner, GlobalBlock& buffer, RegKey& key)
{
    if (buffer.Free() != nullptr) ReportSystemError(owner, "", "", GetLastError());
    const LONG closed = key.Close();
    if (closed != ERROR_SUCCESS) ReportSystemError(owner, "", "", static_cast<DWORD>(closed));
    return 0;
}

}  // namespace

int LoadMenuLayout(BYTE** layout, DWORD* length)
{
    const HWND owner = GetForegroundWindow();
    if (layout == nullptr || length == nullptr) {
        MessageBoxA(owner, kMsgSystemFault, kErrorTitle, MB_ICONERROR);
        return 0;
    }
    *layout = nullptr;
    *length = 0;

    RegKey key;
    LONG rc = RegOpenKeyA(HKEY_CURRENT_USER, kSettingsKey, key.put());
    if (rc == ERROR_FILE_NOT_FOUND) {
        if (!WriteDefaultSettings()) return 0;
        rc = RegOpenKeyA(HKEY_CURRENT_USER, kSettingsKey, key.put());
    }
    if (rc != ERROR_SUCCESS) {
        ReportSystemError(owner, "", "", static_cast<DWORD>(rc));
        return 0;
    }

    GlobalBlock buffer;
    DWORD size = 0;
    rc = RegQueryValueExA(key.get(), "Menu", nullptr, nullptr, nullptr, &size);
    if (rc != ERROR_SUCCESS) {
        ReportSystemError(owner, "", "", static_cast<DWORD>(rc));
        return FailLoad(owner, buffer, key);
    }
    if (size < 2) {  // the flag alone, or nothing: no menu to build
        MessageBoxA(owner, kMsgSystemFault, kErrorTitle, MB_ICONERROR);
        return FailLoad(owner, buffer, key);
    }
    if (!buffer.Allocate(size)) {
        MessageBoxA(owner, kMsgNoMemory, kErrorTitle, MB_ICONERROR);
        return FailLoad(owner, buffer, key);
    }
    DWORD read = size;
    rc = RegQueryValueExA(key.get(), "Menu", nullptr, nullptr, buffer.get(), &read);
    if (rc != ERROR_SUCCESS) {
        ReportSystemError(owner, "", "", static_cast<DWORD>(rc));
        return FailLoad(owner, buffer, key);
    }
    rc = key.Close();
    if (rc != ERROR_SUCCESS) {
        ReportSystemError(owner, "", "", static_cast<DWORD>(rc));
        return FailLoad(owner, buffer, key);
    }
    if (!ReadSettingsBlock("Key", g_hotkeys, sizeof g_hotkeys)) return 0;  // buffer freed on return

    *layout = buffer.release();
    *length = size;
    return 1;
}
