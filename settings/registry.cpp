// Value accessors of the settings key and the system error box.
#include <cstring>

#include "handles.h"
#include "report.h"

void ShowErrorBox(HWND owner, const char* text)
{
    MessageBoxA(owner != nullptr ? owner : GetForegroundWindow(), text, kErrorTitle, MB_ICONERROR);
}

void ReportSystemError(HWND owner, const char* context1, const char* context2, DWORD code)
{
    if (owner == nullptr) owner = GetForegroundWindow();
    char* buffer = nullptr;
    const char* text = kMsgSystemFault;
    if (context1 != nullptr && context2 != nullptr) {
        // Inserts are left as they stand: no argument array is passed, so expanding them
        // would read arguments that do not exist.
        const DWORD count = FormatMessageA(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
        if (count > 0 || GetLastError() == ERROR_MR_MID_NOT_FOUND) {
            if (buffer == nullptr) return;  // the system has no text for this code
            // Drop the line break the system text ends with; nothing else is cut, so a
            // double-byte character at the end stays whole.
            for (DWORD n = count, cut = 0; n > 0 && cut < 2; --n, ++cut) {
                if (buffer[n - 1] != '\r' && buffer[n - 1] != '\n') break;
                buffer[n - 1] = '\0';
            }
            text = buffer;
        }
    }
    ShowErrorBox(owner, text);
    if (buffer != nullptr && LocalFree(buffer) != nullptr) ShowErrorBox(owner, kMsgSystemFault);
}

namespace {

enum class Access { Read, WriteBinary, WriteString };

int AccessValue(Access access, HKEY root, const char* subkey, const char* name, void* data, DWORD size)
{
    if (root == nullptr || subkey == nullptr || name == nullptr || data == nullptr ||
        (access != Access::WriteString && size == 0)) {
        ReportFault();
        return 0;
    }
    if (access == Access::Read) std::memset(data, 0, size);

    RegKey key;
    LONG rc = RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              key.put(), nullptr);
    if (rc != ERROR_SUCCESS) {
        ReportError(static_cast<DWORD>(rc));
        return 0;
    }
    switch (access) {
    case Access::Read: {
        DWORD inOut = size;
        rc = RegQueryValueExA(key.get(), name, nullptr, nullptr, static_cast<BYTE*>(data), &inOut);
        break;
    }
    case Access::WriteBinary:
        rc = RegSetValueExA(key.get(), name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
        break;
    case Access::WriteString: {
        const char* text = static_cast<const char*>(data);
        rc = RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                            static_cast<DWORD>(std::strlen(text) + 1));
        break;
    }
    }
    if (rc != ERROR_SUCCESS) {
        ReportError(static_cast<DWORD>(rc));
        CloseReporting(key);
        return 0;
    }
    return CloseReporting(key);
}

}  // namespace

int ReadBinaryValue(HKEY root, const char* subkey, const char* name, void* buffer, DWORD size)
{
    return AccessValue(Access::Read, root, subkey, name, buffer, size);
}

int WriteBinaryValue(HKEY root, const char* subkey, const char* name, const void* data, DWORD size)
{
    return AccessValue(Access::WriteBinary, root, subkey, name, const_cast<void*>(data), size);
}

int WriteStringValue(HKEY root, const char* subkey, const char* name, const char* text)
{
    return AccessValue(Access::WriteString, root, subkey, name, const_cast<char*>(text), 0);
}

int ReadSettingsBlock(const char* name, void* buffer, DWORD size)
{
    return ReadBinaryValue(HKEY_CURRENT_USER, kSettingsKey, name, buffer, size);
}

int WriteSettingsBlock(const char* name, const void* data, DWORD size)
{
    return WriteBinaryValue(HKEY_CURRENT_USER, kSettingsKey, name, data, size);
}
