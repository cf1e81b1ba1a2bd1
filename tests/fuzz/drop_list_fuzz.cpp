// The name list of a DROPFILES block: any bytes as the block. Every name read lies
// inside the block, ends at a zero unit, and the reading always comes to an end.
#include <cstdint>
#include <cstring>

#include "common/rules/drop_list.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    // The block in a heap copy of exactly its size.
    ExactBuffer copy(size);
    if (size > 0) std::memcpy(copy.get(), data, size);
    const auto* block = reinterpret_cast<const unsigned char*>(copy.get());

    DropListInfo info{};
    if (!ReadDropHeader(block, size, &info)) return 0;
    FUZZ_CHECK(info.first >= kDropHeaderSize && info.first < size);
    const std::size_t unit = info.wide ? 2 : 1;
    std::size_t offset = info.first, start = 0, length = 0, names = 0;
    while (NextDropName(block, size, info.wide, &offset, &start, &length)) {
        FUZZ_CHECK(length > 0);
        FUZZ_CHECK(start + (length + 1) * unit <= size);
        FUZZ_CHECK(offset == start + (length + 1) * unit);
        for (std::size_t i = 0; i < length; ++i) {
            const bool zero = info.wide ? block[start + 2 * i] == 0 && block[start + 2 * i + 1] == 0
                                        : block[start + i] == 0;
            FUZZ_CHECK(!zero);
        }
        FUZZ_CHECK(++names <= size);
    }
    return 0;
}
