// Layout bytes and hotkey letters turned into the entries of the "Tidalon(&E)" submenu.
// No Win32 here: the handlers insert what this computes.
#pragma once
#include <cstddef>

#include "common/rules/option_blocks.h"

// Menu texts of the catalogue, index 0..16 (0 is the separator's list text).
extern const char kCatalogue[kCatalogueSize][kCatalogueTextSize];
inline constexpr char kTopItemText[] = "Tidalon(&E)";
inline constexpr unsigned char kNoOffset = 0xFF;

struct MenuModelEntry {
    bool separator;
    unsigned char index;              // catalogue index; 0 for a separator
    char text[kCatalogueTextSize];    // text with its hotkey letter put in
};

struct MenuModel {
    std::size_t count;                // entries written
    std::size_t commands;             // command ids used
    unsigned char offsets[kCatalogueSize];  // catalogue index -> id offset, kNoOffset if absent
};

// Puts `letter` after the first "(&" of `text` (or, with `marker` "&E", in place of
// the E of the first "&E"). A zero letter ends the text there; an empty marker changes
// nothing. `out` holds `outSize`.
void SubstituteHotkey(const char* text, const char* marker, char letter, char* out,
                      std::size_t outSize);

// Builds the submenu from layout bytes 1..length-1. Bytes above 16 are skipped.
// `entries` must hold `capacity` entries; entries past it are dropped. Returns the model.
MenuModel BuildMenuModel(const unsigned char* layout, std::size_t length,
                         const unsigned char* hotkeys, std::size_t hotkeyCount,
                         MenuModelEntry* entries, std::size_t capacity);

// The catalogue index whose id offset is `offset`, lowest first; 0 when none has it.
unsigned char IndexForOffset(const unsigned char* offsets, unsigned offset);
