#include <gtest/gtest.h>

#include <string>

#include "maze/link_excerpt.h"

namespace {

// A long text is cut at 40 bytes, or before the character the 40th byte
// falls in: never through a UTF-8 character.
TEST(LinkExcerptTest, CutsAtCharacterBoundaries)
{
    const std::string a39(39, 'a'), a38(38, 'a'), a37(37, 'a');
    const std::string e = "\xc3\xa9", euro = "\xe2\x82\xac", clef = "\xf0\x9d\x84\x9e";
    struct Case { std::string text, excerpt; } cases[] = {
        {"", ""},
        {std::string(40, 'a'), std::string(40, 'a')},
        {std::string(41, 'a'), std::string(40, 'a') + "..."},
        {a39 + e + "b", a39 + "..."},             // é's second byte would be the 41st
        {a38 + e + "b", a38 + e + "..."},         // é ends at the 40th byte
        {a38 + euro + "b", a38 + "..."},
        {a37 + clef + "b", a37 + "..."},
        {a39 + std::string(1, '\0') + "cd", a39 + std::string(1, '\0') + "..."},  // a NUL is a character
        {std::string(50, '\x80'), std::string(40, '\x80') + "..."},  // not UTF-8: cut at 40
    };
    for (const Case& c : cases)
        EXPECT_EQ(linkExcerpt(c.text), c.excerpt) << c.text;
}

}  // namespace
