#include "host/abi/ascii_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// Each byte's image under the two foldings; the rows sit at the edges of the letter ranges.
struct CaseRow {
    uint8_t byte;
    uint8_t asciiUpper, asciiLower;
    uint8_t latin1Upper, latin1Lower;
};

// clang-format off
constexpr CaseRow kCaseRows[] = {
    // byte ASCII upper, lower  Latin-1 upper, lower
    {'a',  'A',  'a',  'A',  'a'},
    {'z',  'Z',  'z',  'Z',  'z'},
    {'A',  'A',  'a',  'A',  'a'},
    {'Z',  'Z',  'z',  'Z',  'z'},
    {'@',  '@',  '@',  '@',  '@'},
    {'[',  '[',  '[',  '[',  '['},
    {'`',  '`',  '`',  '`',  '`'},
    {'{',  '{',  '{',  '{',  '{'},
    {0x00, 0x00, 0x00, 0x00, 0x00},
    {0xC0, 0xC0, 0xC0, 0xC0, 0xE0},
    {0xE0, 0xE0, 0xE0, 0xC0, 0xE0},
    {0xDE, 0xDE, 0xDE, 0xDE, 0xFE},
    {0xFE, 0xFE, 0xFE, 0xDE, 0xFE},
    {0xD7, 0xD7, 0xD7, 0xD7, 0xD7},
    {0xF7, 0xF7, 0xF7, 0xF7, 0xF7},
    {0xDF, 0xDF, 0xDF, 0xDF, 0xDF},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0xBF, 0xBF, 0xBF, 0xBF, 0xBF},
};
// clang-format on

TEST(AsciiTextTest, FoldsOnlyTheLettersOfEachAlphabet) {
    for (const CaseRow& row : kCaseRows) {
        SCOPED_TRACE(int(row.byte));
        const char c = char(row.byte);
        EXPECT_EQ(uint8_t(ascii::ToUpper(c)), row.asciiUpper);
        EXPECT_EQ(uint8_t(ascii::ToLower(c)), row.asciiLower);
        EXPECT_EQ(ascii::ToUpper(row.byte), row.asciiUpper);
        EXPECT_EQ(uint8_t(latin1::ToUpper(c)), row.latin1Upper);
        EXPECT_EQ(uint8_t(latin1::ToLower(c)), row.latin1Lower);
    }
}

TEST(AsciiTextTest, ComparesNamesIgnoringAsciiCaseOnly) {
    EXPECT_TRUE(ascii::EqualIgnoringCase("Languages.INI", "languages.ini"));
    EXPECT_FALSE(ascii::EqualIgnoringCase("edf", "edif"));
    EXPECT_FALSE(ascii::EqualIgnoringCase("caf\xE9", "CAF\xC9"));
    EXPECT_FALSE(ascii::EqualIgnoringCase("a[", "A{"));  // 32 apart, but not letters

    const ascii::LessIgnoringCase less;
    EXPECT_TRUE(less("abc", "ABD"));
    EXPECT_FALSE(less("ABC", "abc"));
    EXPECT_FALSE(less("abc", "ABC"));
    EXPECT_TRUE(less("AB", "abc"));
}

TEST(AsciiTextTest, TrimsTheBytesThePredicateNames) {
    EXPECT_EQ(ascii::Trim(" \t\r\n name \x01"), "name");
    EXPECT_EQ(ascii::Trim("\xA0name\xA0"), "\xA0name\xA0");
    EXPECT_EQ(ascii::Trim("   "), "");
    EXPECT_EQ(ascii::Trim(" \ta b\t ", ascii::IsSpaceOrTab), "a b");
    EXPECT_EQ(ascii::Trim("\r value \r", ascii::IsSpaceOrTab), "\r value \r");
    EXPECT_EQ(ascii::Trim(std::string_view("\0 x", 3)), "x");
}

}  // namespace
