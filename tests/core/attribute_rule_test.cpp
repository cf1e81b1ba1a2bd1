// The loading rule of the attribute change block: absolute mode is filled in only when
// the block names no mode at all.
#include <gtest/gtest.h>

#include "ctxmenu/rules/attribute_rule.h"

TEST(AttributeRule, LoadingRuleFillsInAbsoluteOnlyWhenNoModeIsNamed)
{
    const struct {
        unsigned char mode[3];
        unsigned char absolute;
    } rows[] = {{{0, 0, 0}, 1}, {{0, 0, 1}, 0}, {{0, 1, 0}, 0}, {{0, 0, 2}, 0}};
    for (const auto& row : rows) {
        unsigned char block[kAttributeOptionBytes] = {1, 1, 1, 2, row.mode[0], row.mode[1], row.mode[2], 1};
        ApplyAttributeLoadingRule(block, sizeof block);
        EXPECT_EQ(block[4], row.absolute);
        EXPECT_EQ(block[5], row.mode[1]);
        EXPECT_EQ(block[6], row.mode[2]);
    }
}
