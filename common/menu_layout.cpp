#include "common/menu_layout.h"

#include <cstring>

#include "common/handles.h"
#include "common/report.h"
#include "common/settings_store.h"

namespace {

// One copy per library, overwritten whole by every successful or failed "Key" read.
struct HotkeyTableStore {
    HotkeyTableStore() { std::memcpy(letters, kDefaultHotkeys, kHotkeyTableSize); }
    unsigned char letters[kHotkeyTableSize];
};
HotkeyTableStore g_hotkeys;

}  // namespace

const unsigned char* HotkeyTable() { return g_hotkeys.letters; }
unsigned char* MutableHotkeyTable() { return g_hotkeys.letters; }

int WriteDefaultSettings()
{
    if (!WriteStringValue(HKEY_CURRENT_USER, kSettingsKey, "Version", kVersionText)) return 0;
    if (!WriteSettingsBlock("Menu", kDefaultLayout, sizeof kDefaultLayout)) return 0;
    // A table emptied by a failed "Key" read is never stored: every entry would lose its
    // access key. The default letters are written instead.
    unsigned char* hotkeys = MutableHotkeyTable();
    if (!HotkeyTableUsable(hotkeys, kHotkeyTableSize)) std::memcpy(hotkeys, kDefaultHotkeys, kHotkeyTableSize);
    if (!WriteSettingsBlock("Key", hotkeys, kHotkeyTableSize)) return 0;
    unsigned char block[kLargestBlockSize];
    for (std::size_t i = 0; i < kOptionBlockCount; ++i) {
        const std::size_t size = FillDefaultBlock(i, block, sizeof block);
        if (!WriteSettingsBlock(kOptionBlocks[i].name, block, static_cast<DWORD>(size))) return 0;
    }
    return 1;
}

namespace {

// Clean-up after a failure once the key is open: reports a failing free or close.
int FailLoad(GlobalBlock& buffer, RegKey& key)
{
    if (!buffer.Free()) ReportLastError();
    CloseReporting(key);
    return 0;
}

}  // namespace

int LoadMenuLayout(BYTE** layout, DWORD* length, unsigned char* hotkeys)
{
    if (layout == nullptr || length == nullptr) {
        ReportFault();
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
        ReportError(static_cast<DWORD>(rc));
        return 0;
    }

    GlobalBlock buffer;
    DWORD size = 0;
    rc = RegQueryValueExA(key.get(), "Menu", nullptr, nullptr, nullptr, &size);
    if (rc != ERROR_SUCCESS) {
        ReportError(static_cast<DWORD>(rc));
        return FailLoad(buffer, key);
    }
    if (size < 2) {  // the flag alone, or nothing: no menu to build
        ReportFault();
        return FailLoad(buffer, key);
    }
    if (!buffer.Allocate(size)) {
        ShowErrorBox(nullptr, kMsgNoMemory);
        return FailLoad(buffer, key);
    }
    DWORD read = size;
    rc = RegQueryValueExA(key.get(), "Menu", nullptr, nullptr, buffer.get(), &read);
    if (rc != ERROR_SUCCESS) {
        ReportError(static_cast<DWORD>(rc));
        return FailLoad(buffer, key);
    }
    if (!CloseReporting(key)) return FailLoad(buffer, key);
    // Read into a table of this call, then published whole: the shared table is never
    // seen half read. A failed read publishes the emptied table as well.
    unsigned char letters[kHotkeyTableSize] = {};
    const int keyRead = ReadSettingsBlock("Key", letters, kHotkeyTableSize);
    std::memcpy(g_hotkeys.letters, letters, kHotkeyTableSize);
    if (!keyRead) return 0;  // buffer freed on return
    if (hotkeys != nullptr) std::memcpy(hotkeys, letters, kHotkeyTableSize);

    *layout = buffer.release();
    *length = size;
    return 1;
}
