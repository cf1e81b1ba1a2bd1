// The loading rule of the attribute change block: absolute mode is filled in only when
// the block names no mode at all.
#include <gtest/gtest.h>

#include "ctxmenu/rules/attribute_rule.h"

