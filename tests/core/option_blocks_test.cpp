// The default bytes of the option blocks, block by block and into buffers too small.
#include <gtest/gtest.h>

#include <cstddef>

#include "common/rules/option_blocks.h"

TEST(OptionBlocks, DefaultBytes)
{
    unsigned char buffer[kLargestBlockSize];
    std::size_t total = 0;
    for (std::size_t i = 0; i < kOptionBlockCount; ++i) total += FillDefaultBlock(i, buffer, sizeof buffer);
    EXPECT_EQ(total, 12u + 4 + 6 + 8 + 1098 + 785 + 3 + 9);
    EXPECT_EQ(FillDefaultBlock(5, buffer, sizeof buffer), 785u);  // Cnum
    EXPECT_EQ(buffer[260], '0');
    EXPECT_EQ(buffer[520], '4');
    EXPECT_EQ(FillDefaultBlock(4, buffer, 100), 0u);  // Name does not fit
    EXPECT_EQ(FillDefaultBlock(8, buffer, sizeof buffer), 0u);
}
