// Fuzz target of the attribute change rule: the bytes are an option block followed by
// a current attribute value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/rules/option_blocks.h"
#include "ctxmenu/rules/attribute_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    unsigned char block[kAttributeBlockSize] = {};
    if (size > 0) std::memcpy(block, data, size < sizeof block ? size : sizeof block);
    unsigned current = 0;
    for (size_t i = sizeof block; i < size && i < sizeof block + 4; ++i) current = (current << 8) | data[i];

    ApplyLoadingRules(BlockOf(OptionBlockId::Attribute), block);
    const unsigned chosen = ChosenAttributes(block[0] == 1, block[1] == 1, block[2] == 1);
    if ((chosen & ~(kAttributeArchive | kAttributeReadOnly | kAttributeHidden)) != 0) std::abort();
    const AttributeMode modes[] = {AttributeMode::Absolute, AttributeMode::Add, AttributeMode::Remove};
    const unsigned value = NewAttributeValue(current, chosen, modes[block[4] % 3]);
    // Only the chosen bits may differ, except in absolute mode, which gives exactly them.
    if (block[4] % 3 != 0 && ((value ^ current) & ~chosen) != 0) std::abort();
    if (block[4] % 3 == 0 && value != chosen) std::abort();
    const AttributeTarget target = TargetFor(static_cast<signed char>(block[3]), (current & kAttributeFolder) != 0);
    if ((block[3] <= 2) != (target != AttributeTarget::Invalid)) std::abort();
    return 0;
}
