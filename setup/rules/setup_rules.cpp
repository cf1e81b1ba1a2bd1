#include "setup/rules/setup_rules.h"

#include <cstring>

#include "common/rules/option_blocks.h"

const RegistryEntry kRegistryEntries[kRegistryEntryCount] = {
    {RegistryRoot::ClassesRoot, "CLSID\\" KELMORA_CLSID, "", EntryData::Text, kKelmoraDescription},
    {RegistryRoot::ClassesRoot, "CLSID\\" KELMORA_CLSID "\\InProcServer32", "", EntryData::KelmoraPath, nullptr},
    {RegistryRoot::ClassesRoot, "CLSID\\" KELMORA_CLSID "\\InProcServer32", "ThreadingModel", EntryData::Text,
     "Apartment"},
    {RegistryRoot::ClassesRoot, "*\\shellex\\ContextMenuHandlers\\Hollin_Menu", "", EntryData::Text, kKelmoraClassId},
    {RegistryRoot::ClassesRoot, "Directory\\shellex\\ContextMenuHandlers\\Hollin_Menu", "", EntryData::Text,
     kKelmoraClassId},
    {RegistryRoot::ClassesRoot, "CLSID\\" ORVID_CLSID, "", EntryData::Text, kOrvidDescription},
    {RegistryRoot::ClassesRoot, "CLSID\\" ORVID_CLSID "\\InProcServer32", "", EntryData::OrvidPath, nullptr},
    {RegistryRoot::ClassesRoot, "CLSID\\" ORVID_CLSID "\\InProcServer32", "ThreadingModel", EntryData::Text,
     "Apartment"},
    {RegistryRoot::ClassesRoot, "Folder\\shellex\\DragDropHandlers\\Hollin_Menu", "", EntryData::Text, kOrvidClassId},
    {RegistryRoot::LocalMachine, kApprovedKey, kKelmoraClassId, EntryData::Text, kKelmoraDescription},
    {RegistryRoot::LocalMachine, kApprovedKey, kOrvidClassId, EntryData::Text, kOrvidDescription},
    {RegistryRoot::LocalMachine, kUninstallKey, "DisplayName", EntryData::Text, kDisplayName},
    {RegistryRoot::LocalMachine, kUninstallKey, "UninstallString", EntryData::UninstallCommand, nullptr},
};

// Between the folder drop-handler key and the uninstall key, the approvals are removed
// (not a key of their own, so not a step here).
const UninstallStep kUninstallSteps[kUninstallStepCount] = {
    {RegistryRoot::ClassesRoot, "CLSID\\" KELMORA_CLSID "\\InProcServer32", true},
    {RegistryRoot::ClassesRoot, "CLSID\\" KELMORA_CLSID, true},
    {RegistryRoot::ClassesRoot, "*\\shellex\\ContextMenuHandlers\\Hollin_Menu", true},
    {RegistryRoot::ClassesRoot, "Directory\\shellex\\ContextMenuHandlers\\Hollin_Menu", true},
    {RegistryRoot::ClassesRoot, "CLSID\\" ORVID_CLSID "\\InProcServer32", true},
    {RegistryRoot::ClassesRoot, "CLSID\\" ORVID_CLSID, true},
    {RegistryRoot::ClassesRoot, "Folder\\shellex\\DragDropHandlers\\Hollin_Menu", true},
    // Never written by the install; removed in case an older one left it.
    {RegistryRoot::ClassesRoot, "Directory\\shellex\\DragDropHandlers\\Hollin_Menu", false},
};

bool IsUninstallSwitch(const char* commandLine)
{
    return commandLine != nullptr && std::strcmp(commandLine, kUninstallSwitch) == 0;
}

bool BuildSiblingPath(const char* fullPath, std::size_t folderLength, const char* fileName, char* out,
                      std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (fullPath == nullptr || fileName == nullptr) return false;
    if (folderLength > std::strlen(fullPath)) return false;
    const std::size_t nameLength = std::strlen(fileName);
    if (folderLength >= outSize || nameLength >= outSize - folderLength) return false;
    std::memcpy(out, fullPath, folderLength);
    std::memcpy(out + folderLength, fileName, nameLength + 1);
    return true;
}

bool BuildUninstallCommand(const char* modulePath, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (modulePath == nullptr) return false;
    const std::size_t pathLength = std::strlen(modulePath);
    const std::size_t switchLength = sizeof kUninstallSwitch - 1;
    // quote, path, quote, blank, switch, terminator
    if (pathLength >= outSize || outSize - pathLength < switchLength + 4) return false;
    char* p = out;
    *p++ = '"';
    std::memcpy(p, modulePath, pathLength);
    p += pathLength;
    *p++ = '"';
    *p++ = ' ';
    std::memcpy(p, kUninstallSwitch, switchLength + 1);
    return true;
}

std::size_t AvailableIndices(const unsigned char* layout, std::size_t used, unsigned char* available,
                             std::size_t capacity)
{
    bool shown[kCatalogueSize] = {};
    for (std::size_t i = 1; layout != nullptr && i < used; ++i)
        if (IsCatalogueIndex(layout[i])) shown[layout[i]] = true;
    std::size_t count = 0;
    for (unsigned char k = 0; k < kCatalogueSize && available != nullptr && count < capacity; ++k) {
        if (k == 6 || k == 15 || (k != 0 && shown[k])) continue;
        available[count++] = k;
    }
    return count;
}

int MovedPosition(int selected, int count, bool up)
{
    if (selected < 0 || selected >= count) return -1;
    const int target = up ? selected - 1 : selected + 1;
    return target >= 0 && target < count ? target : -1;
}

void FillMissingHotkeys(unsigned char* table, std::size_t count)
{
    for (std::size_t i = 0; table != nullptr && i < count && i < kHotkeyTableSize; ++i)
        if (table[i] == 0) table[i] = static_cast<unsigned char>(kDefaultHotkeys[i]);
}
