#include "common/rules/option_blocks.h"

#include <cstring>

const OptionBlockInfo kOptionBlocks[kOptionBlockCount] = {
    {"Clipboard", kClipboardBlockSize}, {"Time", kTimeBlockSize},
    {"Revise", kReviseBlockSize},       {"Attribute", kAttributeBlockSize},
    {"Name", kNameBlockSize},           {"Cnum", kCnumBlockSize},
    {"Permute", kPermuteBlockSize},     {"Archive", kArchiveBlockSize},
};

std::size_t FillDefaultBlock(std::size_t index, unsigned char* out, std::size_t outSize)
{
    if (index >= kOptionBlockCount || out == nullptr) return 0;
    const std::size_t size = kOptionBlocks[index].size;
    if (outSize < size) return 0;
    std::memset(out, 0, size);
    const char* name = kOptionBlocks[index].name;
    if (std::strcmp(name, "Time") == 0) {
        std::memset(out, 1, 4);
    } else if (std::strcmp(name, "Name") == 0) {
        out[3] = out[4] = out[5] = out[7] = 1;
    } else if (std::strcmp(name, "Cnum") == 0) {
        out[260] = '0';
        out[520] = '4';
    } else if (std::strcmp(name, "Archive") == 0) {
        out[0] = out[6] = 1;
    }
    return size;
}
