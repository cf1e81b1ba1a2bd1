// The stored values of the settings key and their default bytes. No Win32 here.
#pragma once
#include <cstddef>

inline constexpr std::size_t kCatalogueSize = 17;   // catalogue indices 0..16
inline constexpr std::size_t kCatalogueTextSize = 64;
inline constexpr std::size_t kHotkeyTableSize = 17;
inline constexpr std::size_t kLargestBlockSize = 1098;

inline constexpr char kVersionText[] = "1.20";

// Byte 0 is the drag-menu flag, the rest catalogue indices (0 = separator).
inline constexpr unsigned char kDefaultLayout[] = {0x00, 0x03, 0x01, 0x00, 0x07, 0x00, 0x08, 0x09,
                                                   0x0A, 0x00, 0x0B, 0x0C, 0x0D, 0x00, 0x10};
inline constexpr char kDefaultHotkeys[kHotkeyTableSize + 1] = "ELFXURHCTBAGNEDOI";

// Sizes of the option blocks, one REG_BINARY value per dialog command.
inline constexpr std::size_t kClipboardBlockSize = 12;
inline constexpr std::size_t kTimeBlockSize = 4;
inline constexpr std::size_t kReviseBlockSize = 6;
inline constexpr std::size_t kAttributeBlockSize = 8;
inline constexpr std::size_t kNameBlockSize = 1098;
inline constexpr std::size_t kCnumBlockSize = 785;
inline constexpr std::size_t kPermuteBlockSize = 3;
inline constexpr std::size_t kArchiveBlockSize = 9;

struct OptionBlockInfo {
    const char* name;   // registry value name
    std::size_t size;   // bytes
};

// The blocks in the order the defaults are written.
inline constexpr std::size_t kOptionBlockCount = 8;
extern const OptionBlockInfo kOptionBlocks[kOptionBlockCount];

// Writes the default bytes of block `index` into `out`, which must hold at least the
// block's size; returns the block size, or 0 when the index or the buffer is unusable.
std::size_t FillDefaultBlock(std::size_t index, unsigned char* out, std::size_t outSize);

// A hotkey table every entry can use: no zero letter (a zero would end the entry's
// text at its "(&").
inline bool HotkeyTableUsable(const unsigned char* table, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (table[i] == 0) return false;
    return true;
}

// Reads a flag byte the way every dialog does: only the value 1 ticks a box.
inline int FlagFromByte(unsigned char b) { return b == 1 ? 1 : 0; }
inline unsigned char ByteFromFlag(int flag) { return flag == 1 ? 1 : 0; }
