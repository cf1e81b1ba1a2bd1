// The attribute change rule: the loading rule of the option block and the list index
// that no item matches.
#include <gtest/gtest.h>

#include "attribute_rule.h"

namespace {

TEST(AttributeRule, LoadingRuleFillsInAbsoluteOnlyWhenNoModeIsNamed)
{
    const struct {
        unsigned char mode[3];
        unsigned char loaded[3];
    } rows[] = {
        {{0, 0, 0}, {1, 0, 0}}, {{0, 0, 1}, {0, 0, 1}}, {{0, 1, 0}, {0, 1, 0}},
        {{0, 0, 2}, {0, 0, 2}},   // a byte other than 1 still names something: no mode is guessed
    };
    for (const auto& row : rows) {
        unsigned char block[kAttributeOptionBytes] = {1, 1, 1, 2, row.mode[0], row.mode[1], row.mode[2], 1};
        ApplyAttributeLoadingRule(block, sizeof block);
        EXPECT_EQ(block[4], row.loaded[0]);
        EXPECT_EQ(block[5], row.loaded[1]);
        EXPECT_EQ(block[6], row.loaded[2]);
        EXPECT_EQ(block[3], 2);
    }
    EXPECT_EQ(TargetFor(3, false), AttributeTarget::Invalid);
    EXPECT_EQ(TargetFor(-1, true), AttributeTarget::Invalid);
}

}  // namespace
