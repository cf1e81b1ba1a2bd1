// Code page 932 text byte by byte: the extension finder, path separators and the
// search on whole characters.
#include <gtest/gtest.h>

#include <cstring>

#include "common/rules/cp932_text.h"

namespace {

// Literals are compiled to code page 932: "ア" is 83 41, "ソ" is 83 5C, "表" is 95 5C.

TEST(Cp932Text, ExtensionFinderStepsOverDoubleByteCharacters)
{
    // The final component starts after the last backslash that is a character of its own.
    EXPECT_EQ(FindExtension932("C:\\dir.d\\name"), std::strlen("C:\\dir.d\\name"));
    EXPECT_EQ(FindExtension932("C:\\dir\\a.txt"), std::strlen("C:\\dir\\a"));
    // "表" ends in 5C: still part of the extension, not a separator.
    EXPECT_EQ(FindExtension932("a.表"), 1u);
    EXPECT_EQ(FindExtension932("a.b c"), std::strlen("a.b c"));
    EXPECT_EQ(FindExtension932(".profile"), 0u);
    EXPECT_EQ(FindExtension932("a."), 1u);
    EXPECT_EQ(FindExtension932(""), 0u);
    // A lone lead byte at the end is one character.
    EXPECT_EQ(FindExtension932("a.b\x83"), 1u);
}

TEST(Cp932Text, PathSeparatorsAreFoundOnlyAsCharacters)
{
    EXPECT_FALSE(HasPathSeparator932("表ソ"));
    EXPECT_TRUE(HasPathSeparator932("a\\b"));
    EXPECT_TRUE(HasPathSeparator932("a/b"));
    EXPECT_TRUE(HasPathSeparator932("表\\"));
    EXPECT_FALSE(HasPathSeparator932(""));
}

TEST(Cp932Text, FindTextHonoursBoundaries)
{
    const char text[] = "アAア";   // 83 41 41 83 41
    const std::size_t length = std::strlen(text);
    EXPECT_EQ(FindText932(text, length, 0, "A", 1), 2u);
    EXPECT_EQ(FindText932(text, length, 3, "A", 1), kTextNotFound);
    EXPECT_EQ(FindText932(text, length, 0, "", 0), kTextNotFound);
    EXPECT_EQ(FindText932(text, length, 0, "アAア!", 6), kTextNotFound);
    EXPECT_EQ(FindText932(text, length, length, "A", 1), kTextNotFound);
}

}  // namespace
