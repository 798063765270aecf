#include <gtest/gtest.h>

#include "languages/char_set.h"
#include "languages/syntax_block.h"

namespace tarnwick {
namespace {

struct SetStringCase {
    const char* name;
    std::string text;
    std::string members;  // every member, in order
};

std::string Members(const TCharSet& set) {
    std::string out;
    for (int c = 0; c < 256; ++c)
        if (set.Contains(static_cast<unsigned char>(c)))
            out += static_cast<char>(c);
    return out;
}

TEST(CharSetTest, ReadsSetStrings) {
    const SetStringCase cases[] = {
        {"Empty", "", ""},
        {"Range", "a-e", "abcde"},
        {"ChainedRangeContinuesFromLastEnd", "a-c-e", "abcde"},
        {"EscapedHyphenAndBackslash", "\\-\\\\", "-\\"},
        {"BackwardRangeAddsOnlyItsStart", "z-a", "z"},
        {"LeadingHyphenRangesFromZero", std::string("-\x03", 2), std::string("\0\1\2\3", 4)},
        {"TrailingHyphenIsLiteral", "a-", "-a"},
        {"HighBytes", "\xF0-\xF2", "\xF0\xF1\xF2"},
    };
    for (const SetStringCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Members(TCharSet::FromSetString(c.text)), c.members);
    }
}

TEST(CharSetTest, WritesRunsAndEscapesOnlyWhereTheyStart) {
    TCharSet first = TSyntaxBlock::DefaultFirstIdentChars();
    EXPECT_EQ(first.ToSetString(), "A-Z_a-z");
    first.Add('$');
    EXPECT_EQ(first.ToSetString(), "$A-Z_a-z");
    TCharSet punctuation = TCharSet::Range('+', '-');  // a run that ends in "-"
    punctuation.Add('\\');
    EXPECT_EQ(punctuation.ToSetString(), "+--\\\\");
}

TEST(CharSetTest, EveryByteSetRoundTrips) {
    // A few sets that stress escapes, runs touching 0 and 255, and single members.
    std::vector<TCharSet> sets(4);
    sets[0] = TCharSet::Range(0, 255);
    sets[1].AddChars("-\\a-");
    sets[2].Add(0);
    sets[2].Add(255);
    for (int c = 0; c < 256; c += 3)
        sets[3].Add(static_cast<unsigned char>(c));
    for (const TCharSet& set : sets)
        EXPECT_EQ(TCharSet::FromSetString(set.ToSetString()), set) << set.ToSetString();
}

}  // namespace
}  // namespace tarnwick
