#include "common/settings_store.h"

#include <cstring>

#include "common/handles.h"
#include "common/report.h"

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
