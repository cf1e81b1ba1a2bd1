// The default bytes of the option blocks, block by block and into buffers too small.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

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

// Every table lies inside its block, field after field, with no two fields on a byte.
TEST(OptionBlocks, FieldsLieInsideTheirBlocksWithoutOverlap)
{
    for (const OptionBlock& block : kOptionBlocks) {
        SCOPED_TRACE(block.name);
        std::size_t end = 0;
        for (std::size_t i = 0; i < block.fieldCount; ++i) {
            const BlockField& field = block.fields[i];
            const std::size_t bytes = field.kind == FieldKind::Text ? kBlockTextSize : field.kind == FieldKind::Number16 ? 2 : 1;
            EXPECT_GE(field.offset, end) << i;
            end = field.offset + bytes;
        }
        EXPECT_LE(end, block.size);
    }
}

// The loading rule of the radio groups (a group whose bytes are all 0 gets its first
// button) and the numbers of the time-difference block, read and cut to their widths.
TEST(OptionBlocks, GroupsAndNumbersAsTheDialogsLoadThem)
{
    const struct {
        OptionBlockId block;
        std::size_t first, count;   // the group's bytes
        unsigned char in[4];
        unsigned char out[4];
    } groups[] = {
        {OptionBlockId::Attribute, 4, 3, {0, 0, 0}, {1, 0, 0}},   // no mode names absolute
        {OptionBlockId::Attribute, 4, 3, {0, 0, 1}, {0, 0, 1}},
        {OptionBlockId::Attribute, 4, 3, {0, 1, 0}, {0, 1, 0}},
        {OptionBlockId::Attribute, 4, 3, {0, 0, 2}, {0, 0, 2}},   // a 2 is no tick, yet not empty
        {OptionBlockId::Revise, 4, 2, {0, 0}, {1, 0}},            // no direction reads as later
        {OptionBlockId::Revise, 4, 2, {2, 0}, {2, 0}},
        {OptionBlockId::Name, 9, 4, {0, 0, 0, 0}, {1, 0, 0, 0}},  // no case: unchanged
        {OptionBlockId::Name, 0, 3, {0, 0, 1}, {0, 0, 1}},
        {OptionBlockId::Cnum, 783, 2, {0, 0}, {1, 0}},            // no direction: ascending
    };
    for (const auto& row : groups) {
        const OptionBlock& block = BlockOf(row.block);
        SCOPED_TRACE(testing::Message() << block.name << " " << row.first);
        unsigned char bytes[kLargestBlockSize] = {};
        for (std::size_t i = 0; i < row.count; ++i) bytes[row.first + i] = row.in[i];
        ApplyLoadingRules(block, bytes);
        for (std::size_t i = 0; i < row.count; ++i) EXPECT_EQ(bytes[row.first + i], row.out[i]) << i;
    }

    const OptionBlock& revise = BlockOf(OptionBlockId::Revise);
    const BlockField* fields[3] = {&revise.fields[0], &revise.fields[1], &revise.fields[2]};
    const struct {
        unsigned values[3];
        unsigned char bytes[4];
        unsigned read[3];
    } numbers[] = {
        {{0x1234, 90, 255}, {0x34, 0x12, 90, 255}, {0x1234, 90, 255}},
        {{70000, 300, 256}, {0x70, 0x11, 44, 0}, {4464, 44, 0}},
        {{9999, 59, 59}, {0x0F, 0x27, 59, 59}, {9999, 59, 59}},
    };
    for (const auto& row : numbers) {
        unsigned char bytes[kReviseBlockSize];
        std::memset(bytes, 0xAA, sizeof bytes);
        for (int i = 0; i < 3; ++i) WriteBlockNumber(*fields[i], row.values[i], bytes);
        EXPECT_EQ(std::memcmp(bytes, row.bytes, 4), 0) << row.values[0];
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadBlockNumber(*fields[i], bytes), row.read[i]) << i;
    }
}
