// The stored values of the settings key, and each option block described once as data:
// its fields with their place, kind, control and default. The default bytes, the
// loading into a dialog and the saving from it all follow from these tables. No Win32
// here: controls are named by their resource ids.
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

// A text field holds 260 bytes, its terminator included.
inline constexpr std::size_t kBlockTextSize = 260;

enum class FieldKind : unsigned char {
    Flag,        // 1 byte, a check box or radio button: only the value 1 ticks it
    Text,        // 260 bytes, an edit's text; the field's last byte always ends it
    ListIndex,   // 1 byte, the selected item of a drop-down list
    Number8,     // 1 byte, an edit's unsigned number, stored modulo 256
    Number16,    // 2 bytes little-endian, an edit's unsigned number, stored modulo 65536
    SpinNumber8, // 1 byte, shown through the edit's up-down, stored from the edit modulo 256
};

struct BlockField {
    std::size_t offset;
    FieldKind kind;
    int control;
    // Flag: radio group; a group whose bytes are all 0 loads with its first button
    // ticked (0: no group). SpinNumber8: the up-down control.
    int extra;
    // Flag, ListIndex, Number8: the default byte. ListIndex also keeps, in `listOutside`
    // and `listNone`, the item shown for a stored index the list does not have (-1:
    // none) and the byte stored when no item is selected.
    unsigned char defaultByte;
    const char* defaultText;   // Text: the default text
    int listOutside;
    unsigned char listNone;
};

struct OptionBlock {
    const char* name;   // registry value name
    std::size_t size;   // bytes
    const BlockField* fields;
    std::size_t fieldCount;
};

// The blocks in the order the defaults are written.
enum class OptionBlockId { Clipboard, Time, Revise, Attribute, Name, Cnum, Permute, Archive };
inline constexpr std::size_t kOptionBlockCount = 8;
extern const OptionBlock kOptionBlocks[kOptionBlockCount];
inline const OptionBlock& BlockOf(OptionBlockId id) { return kOptionBlocks[static_cast<std::size_t>(id)]; }

// Writes the default bytes of block `index` into `out`, which must hold at least the
// block's size; returns the block size, or 0 when the index or the buffer is unusable.
std::size_t FillDefaultBlock(std::size_t index, unsigned char* out, std::size_t outSize);

// The loading rule of stored bytes, applied before they reach the controls: each text
// ends at its field's last byte at the latest, and a radio group whose bytes are all 0
// gets its first button ticked.
void ApplyLoadingRules(const OptionBlock& block, unsigned char* bytes /* block.size */);

// The number a Number8, Number16 or SpinNumber8 field holds in `bytes`; 0 for a field
// of another kind.
unsigned ReadBlockNumber(const BlockField& field, const unsigned char* bytes);
// `value` stored into such a field, cut to its width (modulo 256 or 65536).
void WriteBlockNumber(const BlockField& field, unsigned value, unsigned char* bytes);
// The field of `block` for `control`; null when the block has none.
const BlockField* FieldOf(const OptionBlock& block, int control);

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
