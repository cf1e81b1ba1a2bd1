// The setup program's fixed registry entries, the strings built from its own path, and
// the customisation lists computed from a layout. No Win32 here.
#pragma once
#include <cstddef>

#include "common/rules/class_ids.h"

inline constexpr char kKelmoraDescription[] = "Hollin's Shell Extension Menu";
inline constexpr char kOrvidDescription[] = "Hollin's Shell Extension Drag & Drop Menu";
inline constexpr char kKelmoraFile[] = "kelmora.dll";
inline constexpr char kOrvidFile[] = "orvid.dll";
inline constexpr char kApprovedKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tidalon(ｴｸｽﾌﾟﾛｰﾗ拡張)";
inline constexpr char kDisplayName[] = "Tidalon（エクスプローラ拡張）";
inline constexpr char kUninstallSwitch[] = "/uninst";

enum class RegistryRoot { ClassesRoot, LocalMachine };

// Where the data of an entry comes from.
enum class EntryData { Text, KelmoraPath, OrvidPath, UninstallCommand };

struct RegistryEntry {
    RegistryRoot root;
    const char* key;
    const char* value;   // "" for the key's unnamed value
    EntryData data;
    const char* text;    // the data when `data` is Text
};

// Everything the install writes, in the order it is written: the two servers and their
// handler keys (0..8), their approval (9, 10), the uninstall entry (11, 12).
inline constexpr std::size_t kRegistryEntryCount = 13;
inline constexpr std::size_t kRegisterEntryCount = 11;   // entries of the two servers
extern const RegistryEntry kRegistryEntries[kRegistryEntryCount];

// The keys the uninstall deletes, in order. Required ones stop it when they fail.
struct UninstallStep {
    RegistryRoot root;
    const char* key;
    bool required;
};
inline constexpr std::size_t kUninstallStepCount = 8;
extern const UninstallStep kUninstallSteps[kUninstallStepCount];

// The command line starts the maintenance when it is exactly the switch, byte for byte.
bool IsUninstallSwitch(const char* commandLine);

// The folder part (first `folderLength` bytes, ending in a backslash) of `fullPath`
// followed by `fileName`, into `out` of `outSize` bytes. false, with `out` empty, when
// it would not fit.
bool BuildSiblingPath(const char* fullPath, std::size_t folderLength, const char* fileName, char* out,
                      std::size_t outSize);

// "\"<path>\" /uninst" into `out` of `outSize` bytes; false, with `out` empty, when it
// would not fit.
bool BuildUninstallCommand(const char* modulePath, char* out, std::size_t outSize);

// The lists of the customisation dialog for layout bytes 1..used-1 that were shown:
// every catalogue index not shown (the separator always), but never 6 or 15. Bytes above
// 16 are not catalogue indices and are passed over. Returns the count written to
// `available`, which holds `capacity` entries.
std::size_t AvailableIndices(const unsigned char* layout, std::size_t used, unsigned char* available,
                             std::size_t capacity);
// A layout byte the displayed list can show.
inline bool IsCatalogueIndex(unsigned char b) { return b <= 16; }

// Where the selected item of `count` goes when moved one place up or down; -1 when it
// stays (no selection, first up, last down).
int MovedPosition(int selected, int count, bool up);

// Zero slots of a hotkey table (a "Key" that was short or unreadable) take their default
// letters, so no entry loses its access key when the table is stored.
void FillMissingHotkeys(unsigned char* table, std::size_t count);
