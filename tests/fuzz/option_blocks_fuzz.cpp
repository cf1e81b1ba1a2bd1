// Option blocks: default bytes written into a buffer of any size, flag bytes read and
// written back, and the check of a stored hotkey table. Input: block index, buffer
// size, a flag value, then the bytes of a stored block or table.
#include <cstdint>
#include <cstring>
#include <string>

#include "common/rules/option_blocks.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::size_t index = in.Byte() % (kOptionBlockCount + 2);
    ExactBuffer block(in.Number(kLargestBlockSize + 16));
    const int flag = static_cast<int>(in.Word());
    const std::string stored = in.Rest();

    // The defaults fill exactly the block's size, or nothing when it does not fit.
    const std::size_t written =
        FillDefaultBlock(index, reinterpret_cast<unsigned char*>(block.get()), block.size);
    const bool usable = index < kOptionBlockCount && kOptionBlocks[index].size <= block.size;
    FUZZ_CHECK(written == (usable ? kOptionBlocks[index].size : 0));
    FUZZ_CHECK(written <= kLargestBlockSize);
    for (std::size_t i = written; i < block.size; ++i) FUZZ_CHECK(block.get()[i] == '\x5A');

    // A stored byte ticks a box only as 1, and a box is stored as 0 or 1.
    for (unsigned char b : stored) {
        FUZZ_CHECK(FlagFromByte(b) == (b == 1));
        FUZZ_CHECK(ByteFromFlag(FlagFromByte(b)) == (b == 1));
    }
    FUZZ_CHECK(ByteFromFlag(flag) == (flag == 1));
    FUZZ_CHECK(FlagFromByte(ByteFromFlag(flag)) == (flag == 1));

    // A stored hotkey table is usable exactly when no letter is zero; the defaults that
    // replace an unusable one always are.
    const ExactBuffer table = ExactText(stored);
    const std::size_t count = stored.size();
    FUZZ_CHECK(HotkeyTableUsable(reinterpret_cast<const unsigned char*>(table.data.get()), count) ==
               (std::memchr(stored.data(), 0, count) == nullptr));
    FUZZ_CHECK(HotkeyTableUsable(reinterpret_cast<const unsigned char*>(kDefaultHotkeys), kHotkeyTableSize));
    return 0;
}
