#include "common/rules/option_blocks.h"

#include <cstring>

#include "common/resource_ids.h"

namespace {

constexpr BlockField Flag(std::size_t offset, int control, unsigned char byte = 0, int group = 0)
{
    return BlockField{offset, FieldKind::Flag, control, group, byte, nullptr, 0, 0};
}
constexpr BlockField Text(std::size_t offset, int control, const char* text = "")
{
    return BlockField{offset, FieldKind::Text, control, 0, 0, text, 0, 0};
}
constexpr BlockField List(std::size_t offset, int control, int outside, unsigned char none)
{
    return BlockField{offset, FieldKind::ListIndex, control, 0, 0, nullptr, outside, none};
}
constexpr BlockField Number(std::size_t offset, FieldKind kind, int control)
{
    return BlockField{offset, kind, control, 0, 0, nullptr, 0, 0};
}
constexpr BlockField Spin(std::size_t offset, int control, int upDown)
{
    return BlockField{offset, FieldKind::SpinNumber8, control, upDown, 0, nullptr, 0, 0};
}

// File list: an index the size, date or time list does not have shows its first entry,
// which is what a run makes of it, and a list without a selection stores 0.
constexpr BlockField kClipboardFields[] = {
    Flag(0, IDC_CLIPBOARD_PATH),
    Spin(1, IDC_CLIPBOARD_WIDTH, IDC_CLIPBOARD_WIDTH_UD),
    Flag(2, IDC_CLIPBOARD_SIZE),
    List(3, IDC_CLIPBOARD_SIZE_UNIT, 0, 0),
    Flag(4, IDC_CLIPBOARD_DATE),
    List(5, IDC_CLIPBOARD_DATE_FORMAT, 0, 0),
    Flag(6, IDC_CLIPBOARD_TIME),
    List(7, IDC_CLIPBOARD_TIME_FORMAT, 0, 0),
    Flag(8, IDC_CLIPBOARD_VERSION),
    Flag(9, IDC_CLIPBOARD_THOUSANDS),
    Flag(10, IDC_CLIPBOARD_SUBFOLDERS),
    Flag(11, IDC_CLIPBOARD_TEXT_FILE),
};

constexpr BlockField kTimeFields[] = {
    Flag(0, IDC_TIME_CREATION, 1),
    Flag(1, IDC_TIME_LAST_WRITE, 1),
    Flag(2, IDC_TIME_DATE, 1),
    Flag(3, IDC_TIME_TIME_OF_DAY, 1),
};

// Time-difference correction: with neither direction chosen the block reads as "later".
constexpr BlockField kReviseFields[] = {
    Number(0, FieldKind::Number16, IDC_REVISE_HOURS),
    Number(2, FieldKind::Number8, IDC_REVISE_MINUTES),
    Number(3, FieldKind::Number8, IDC_REVISE_SECONDS),
    Flag(4, IDC_REVISE_LATER, 0, 1),
    Flag(5, IDC_REVISE_EARLIER, 0, 1),
};

// Attribute change: an index outside the target list leaves it without a selection
// (a run then stops), and a list without a selection stores 0xFF. A block that names no
// mode opens in absolute mode.
constexpr BlockField kAttributeFields[] = {
    Flag(0, IDC_ATTRIBUTE_ARCHIVE),
    Flag(1, IDC_ATTRIBUTE_READONLY),
    Flag(2, IDC_ATTRIBUTE_HIDDEN),
    List(3, IDC_ATTRIBUTE_TARGETS, -1, 0xFF),
    Flag(4, IDC_ATTRIBUTE_ABSOLUTE, 0, 1),
    Flag(5, IDC_ATTRIBUTE_ADD, 0, 1),
    Flag(6, IDC_ATTRIBUTE_REMOVE, 0, 1),
    Flag(7, IDC_ATTRIBUTE_SUBFOLDERS),
};

// Name arrangement: nineteen flag bytes, then the four texts. A block that chooses no
// width conversion opens with none; one that chooses no case opens with the case as it is.
constexpr BlockField kNameFields[] = {
    Flag(0, IDC_NAME_WIDTH_NONE, 0, 1),
    Flag(1, IDC_NAME_WIDTH_HALF, 0, 1),
    Flag(2, IDC_NAME_WIDTH_FULL, 0, 1),
    Flag(3, IDC_NAME_UPPER, 1),
    Flag(4, IDC_NAME_LOWER, 1),
    Flag(5, IDC_NAME_DIGITS, 1),
    Flag(6, IDC_NAME_SYMBOLS),
    Flag(7, IDC_NAME_SPACES, 1),
    Flag(8, IDC_NAME_KEEP_EXTENSION),
    Flag(9, IDC_NAME_CASE_NONE, 0, 2),
    Flag(10, IDC_NAME_CASE_UPPER, 0, 2),
    Flag(11, IDC_NAME_CASE_LOWER, 0, 2),
    Flag(12, IDC_NAME_CASE_TOKEN, 0, 2),
    Flag(13, IDC_NAME_FULL_LETTERS),
    Flag(14, IDC_NAME_CHANGE_EXTENSION),
    Flag(15, IDC_NAME_ADD_START),
    Flag(16, IDC_NAME_ADD_END),
    Flag(17, IDC_NAME_KEEP_FOLDERS),
    Flag(18, IDC_NAME_SUBFOLDERS),
    Text(58, IDC_NAME_TOKEN),
    Text(318, IDC_NAME_EXTENSION_TEXT),
    Text(578, IDC_NAME_START_TEXT),
    Text(838, IDC_NAME_END_TEXT),
};

// Serial numbering: three texts, then the flags. A block that chooses no sort key opens
// sorted by date; one that chooses no direction opens ascending.
constexpr BlockField kCnumFields[] = {
    Text(0, IDC_CNUM_PREFIX),
    Text(260, IDC_CNUM_START, "0"),
    Text(520, IDC_CNUM_DIGITS, "4"),
    Flag(780, IDC_CNUM_ZERO_FILL),
    Flag(781, IDC_CNUM_BY_DATE, 0, 1),
    Flag(782, IDC_CNUM_BY_NAME, 0, 1),
    Flag(783, IDC_CNUM_ASCENDING, 0, 2),
    Flag(784, IDC_CNUM_DESCENDING, 0, 2),
};

constexpr BlockField kPermuteFields[] = {
    Flag(0, IDC_PERMUTE_EVERY),
    Flag(1, IDC_PERMUTE_KEEP_EXTENSION),
    Flag(2, IDC_PERMUTE_SUBFOLDERS),
};

// Archive check: the seven formats in the order of the archiver table, then folder
// search and the log file.
constexpr BlockField kArchiveFields[] = {
    Flag(0, IDC_ARCHIVE_LZH, 1), Flag(1, IDC_ARCHIVE_ARJ),        Flag(2, IDC_ARCHIVE_ISH),
    Flag(3, IDC_ARCHIVE_TAR),    Flag(4, IDC_ARCHIVE_CAB),        Flag(5, IDC_ARCHIVE_RAR),
    Flag(6, IDC_ARCHIVE_ZIP, 1), Flag(7, IDC_ARCHIVE_SUBFOLDERS), Flag(8, IDC_ARCHIVE_LOG),
};

template <std::size_t N>
constexpr OptionBlock Block(const char* name, std::size_t size, const BlockField (&fields)[N])
{
    return OptionBlock{name, size, fields, N};
}

std::size_t FieldBytes(const BlockField& field)
{
    switch (field.kind) {
    case FieldKind::Text: return kBlockTextSize;
    case FieldKind::Number16: return 2;
    default: return 1;
    }
}

}  // namespace

const OptionBlock kOptionBlocks[kOptionBlockCount] = {
    Block("Clipboard", kClipboardBlockSize, kClipboardFields),
    Block("Time", kTimeBlockSize, kTimeFields),
    Block("Revise", kReviseBlockSize, kReviseFields),
    Block("Attribute", kAttributeBlockSize, kAttributeFields),
    Block("Name", kNameBlockSize, kNameFields),
    Block("Cnum", kCnumBlockSize, kCnumFields),
    Block("Permute", kPermuteBlockSize, kPermuteFields),
    Block("Archive", kArchiveBlockSize, kArchiveFields),
};

std::size_t FillDefaultBlock(std::size_t index, unsigned char* out, std::size_t outSize)
{
    if (index >= kOptionBlockCount || out == nullptr) return 0;
    const OptionBlock& block = kOptionBlocks[index];
    if (outSize < block.size) return 0;
    std::memset(out, 0, block.size);
    for (std::size_t i = 0; i < block.fieldCount; ++i) {
        const BlockField& field = block.fields[i];
        if (field.offset + FieldBytes(field) > block.size) continue;
        if (field.kind == FieldKind::Text) {
            const std::size_t length = std::strlen(field.defaultText);
            if (length < kBlockTextSize) std::memcpy(out + field.offset, field.defaultText, length);
        } else if (field.kind != FieldKind::Number16) {
            out[field.offset] = field.defaultByte;
        }
    }
    return block.size;
}

void ApplyLoadingRules(const OptionBlock& block, unsigned char* bytes)
{
    if (bytes == nullptr) return;
    for (std::size_t i = 0; i < block.fieldCount; ++i) {
        const BlockField& field = block.fields[i];
        if (field.offset + FieldBytes(field) > block.size) continue;
        if (field.kind == FieldKind::Text) {
            // A text written without its terminator ends at the last byte of its field.
            bytes[field.offset + kBlockTextSize - 1] = '\0';
            continue;
        }
        if (field.kind != FieldKind::Flag || field.extra == 0) continue;
        // The first button of its group: no earlier field belongs to the group.
        bool first = true;
        for (std::size_t j = 0; j < i && first; ++j)
            first = !(block.fields[j].kind == FieldKind::Flag && block.fields[j].extra == field.extra);
        if (!first) continue;
        bool anySet = false;
        for (std::size_t j = i; j < block.fieldCount && !anySet; ++j) {
            const BlockField& other = block.fields[j];
            anySet = other.kind == FieldKind::Flag && other.extra == field.extra && bytes[other.offset] != 0;
        }
        if (!anySet) bytes[field.offset] = 1;
    }
}

unsigned ReadBlockNumber(const BlockField& field, const unsigned char* bytes)
{
    const unsigned char* at = bytes + field.offset;
    switch (field.kind) {
    case FieldKind::Number8:
    case FieldKind::SpinNumber8: return at[0];
    case FieldKind::Number16: return static_cast<unsigned>(at[0]) | (static_cast<unsigned>(at[1]) << 8);
    default: return 0;
    }
}

void WriteBlockNumber(const BlockField& field, unsigned value, unsigned char* bytes)
{
    unsigned char* at = bytes + field.offset;
    switch (field.kind) {
    case FieldKind::Number16: at[1] = static_cast<unsigned char>((value >> 8) & 0xFF); [[fallthrough]];
    case FieldKind::Number8:
    case FieldKind::SpinNumber8: at[0] = static_cast<unsigned char>(value & 0xFF); break;
    default: break;
    }
}

const BlockField* FieldOf(const OptionBlock& block, int control)
{
    for (std::size_t i = 0; i < block.fieldCount; ++i)
        if (block.fields[i].control == control) return &block.fields[i];
    return nullptr;
}
