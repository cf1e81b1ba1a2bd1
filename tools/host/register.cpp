// --register: the class registration that setup writes, done by the host itself so
// that the demo can load the built libraries before setup exists.
#include "host.h"

namespace {

const char kKelmoraClsid[] = "{5D0C2A71-3B8E-4F19-A6C2-7E41B09D3F58}";
const char kOrvidClsid[] = "{A83F6E12-94C7-4B2D-8E05-1C6D72F4B9A0}";

bool WriteString(HKEY root, const std::string& path, const char* name, const std::string& value)
{
    RegKey key;
    LONG result = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
    }
    if (result != ERROR_SUCCESS) {
        char code[16];
        wsprintfA(code, "%ld", result);
        Log("register: cannot write " + path + " (error " + code + ")");
        return false;
    }
    return true;
}

bool RegisterServer(const char* clsid, const char* title, const std::string& library)
{
    const std::string key = std::string("CLSID\\") + clsid;
    return WriteString(HKEY_CLASSES_ROOT, key, nullptr, title) &&
           WriteString(HKEY_CLASSES_ROOT, key + "\\InProcServer32", nullptr, library) &&
           WriteString(HKEY_CLASSES_ROOT, key + "\\InProcServer32", "ThreadingModel", "Apartment") &&
           WriteString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved",
                       clsid, title);
}

bool Exists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int RegisterSuite(const std::string& distFolder)
{
    char full[MAX_PATH] = {};
    const DWORD n = GetFullPathNameA(WindowsPath(distFolder).c_str(), MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) {
        Log("register: bad folder " + distFolder);
        return 1;
    }
    std::string dist = full;
    if (dist.back() != '\\') dist += '\\';

    const std::string kelmora = dist + "kelmora.dll";
    if (!Exists(kelmora)) {
        Log("register: " + kelmora + " is missing");
        return 1;
    }
    if (!RegisterServer(kKelmoraClsid, "Kelmora", kelmora) ||
        !WriteString(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Kelmora", nullptr, kKelmoraClsid) ||
        !WriteString(HKEY_CLASSES_ROOT, "Directory\\shellex\\ContextMenuHandlers\\Kelmora", nullptr, kKelmoraClsid)) {
        return 1;
    }
    Log("register: " + kelmora + " as context-menu handler for files and folders");

    const std::string orvid = dist + "orvid.dll";
    if (Exists(orvid)) {
        if (!RegisterServer(kOrvidClsid, "Orvid", orvid) ||
            !WriteString(HKEY_CLASSES_ROOT, "Folder\\shellex\\DragDropHandlers\\Orvid", nullptr, kOrvidClsid)) {
            return 1;
        }
        Log("register: " + orvid + " as drag-and-drop handler for folders");
    } else {
        Log("register: no orvid.dll yet; the drop menu stays without handler");
    }
    return 0;
}
