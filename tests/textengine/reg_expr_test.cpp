#include "reg_expr.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tarnwick {
namespace {

using namespace std::string_literals;

struct CompileErrorCase {
    const char* name;
    std::string pattern;
    int32_t position;
};

TEST(RegExprCompile, BadPatternsFailWithTheirPosition) {
    const CompileErrorCase cases[] = {
        {"StarWithNothingBefore", "*a", 1},
        {"PlusAfterLineStart", "^+", 2},
        {"StarAfterLineEnd", "a$*", 3},
        {"StarAfterGroupStart", "{*a}", 2},
        {"RepetitionOfARepetition", "ab*+", 4},
        {"BackslashAtTheEnd", "ab\\", 3},
        {"UnclosedBraceAtPatternEnd", "{ab", 4},
        {"UnopenedBrace", "ab}c", 3},
        {"EmptyClass", "x[]", 3},
        {"EmptyNegatedClass", "[^]", 3},
        {"UnterminatedClass", "[abc", 5},
        {"ClassEndingInEscapedBracket", "[a\\]", 5},
        {"DashWithoutCharacterBefore", "[-a]", 2},
        {"LoneDash", "[-]", 2},
        {"RangeRunningOffTheEnd", "[a-", 4},
    };
    for (const CompileErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            TRegExpr re(c.pattern, true);
            ADD_FAILURE() << "compiled";
        } catch (const ERegExprError& e) {
            EXPECT_EQ(e.Position(), c.position);
            EXPECT_EQ(std::string(e.what()), c.pattern + " is invalid mask at (" + std::to_string(c.position) + ")");
        }
    }
}

TEST(RegExprCompile, RepeatedSingleElementIsWrappedInAGroup) {
    TRegExpr re("ab*", true);
    const std::vector<TRegExprNode>& n = re.Nodes();
    ASSERT_EQ(n.size(), 6u);  // a { b } * end
    EXPECT_EQ(n[0].Kind, rkChar);
    EXPECT_EQ(n[0].EndOfRepetition, -1);
    EXPECT_EQ(n[1].Kind, rkGroupStart);
    EXPECT_EQ(n[1].EndOfRepetition, 3);
    EXPECT_EQ(n[2].EndOfRepetition, 3);
    EXPECT_EQ(n[3].Kind, rkGroupEnd);
    EXPECT_EQ(n[4].Kind, rkZeroOrMore);
    EXPECT_EQ(n[5].Kind, rkChar);
    EXPECT_EQ(n[5].Char, 0);
}

TEST(RegExprCompile, ClassMembersAreCapitalsWhenIgnoringCase) {
    TRegExpr re("[^a-c\\]]", false);
    const TRegExprNode& cls = re.Nodes()[0];
    EXPECT_EQ(cls.Kind, rkClass);
    EXPECT_EQ(cls.Char, 1);
    EXPECT_TRUE(cls.Set['A'] && cls.Set['B'] && cls.Set['C'] && cls.Set[']']);
    EXPECT_FALSE(cls.Set['a'] || cls.Set['D'] || cls.Set['\\']);
}

struct MatchCase {
    const char* name;
    std::string pattern;
    std::string line;
    int32_t start;
    bool forward;
    bool found;
    int32_t matchStart;  // 1-based
    int32_t length;
    bool caseSensitive = true;
};

class RegExprMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(RegExprMatch, FindsTheExpectedMatch) {
    const MatchCase& c = GetParam();
    TRegExpr re(c.pattern, c.caseSensitive);
    int32_t start = c.start;
    int32_t length = -1;
    ASSERT_EQ(re.Match(c.line, start, c.forward, length), c.found);
    if (c.found) {
        EXPECT_EQ(start, c.matchStart);
        EXPECT_EQ(length, c.length);
    } else {
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(length, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, RegExprMatch, testing::Values(
    // Repetition of single elements and of groups.
    MatchCase{"StarTakesZeroRepetitions", "a*b", "xb", 1, true, true, 2, 1},
    MatchCase{"StarIsGreedy", "a*b", "aaab", 1, true, true, 1, 4},
    MatchCase{"PlusNeedsOne", "xa+", "xxab", 1, true, true, 2, 2},
    MatchCase{"PlusOnGroup", "{ab}+c", "ababc", 1, true, true, 1, 5},
    MatchCase{"PlusOnLastCharacterOnly", "ab+c", "ababbc", 1, true, true, 3, 4},
    MatchCase{"GreedyGivesBack", "a*ab", "aaab", 1, true, true, 1, 4},
    MatchCase{"GroupRepetitionGivesBack", "{ab}*abc", "abababc", 1, true, true, 1, 7},
    MatchCase{"NestedRepetition", "{a*}*b", "aaab", 1, true, true, 1, 4},
    MatchCase{"RepeatedEscape", "\\.+x", "a..x", 1, true, true, 2, 3},
    MatchCase{"EmptyMatchAtStart", "x*", "abc", 2, true, true, 2, 0},
    MatchCase{"DigitsAfterWord", "net[0-9]+", "(net n1 net42)", 1, true, true, 9, 5},
    // The dot and negated classes take the line end.
    MatchCase{"DotTakesLineEnd", "a.", "xa", 1, true, true, 2, 1},
    MatchCase{"NegatedClassTakesLineEnd", "a[^x]", "ya", 1, true, true, 2, 1},
    MatchCase{"ClassTakesNoLineEnd", "a[x]", "ya", 1, true, false, 0, 0},
    MatchCase{"LineEndTakenOnlyOnce", "a..", "xa", 1, true, false, 0, 0},
    MatchCase{"DotStarTakesTheRest", "b.*", "abcd", 1, true, true, 2, 3},
    // Anchors.
    MatchCase{"CaretDollarOnEmptyLine", "^$", "", 1, true, true, 1, 0},
    MatchCase{"CaretDollarNotOnText", "^$", "a", 1, true, false, 0, 0},
    MatchCase{"CaretAtLineStart", "^", "abc", 1, true, true, 1, 0},
    MatchCase{"CaretOnlyAtLineStart", "^b", "bb", 2, true, false, 0, 0},
    MatchCase{"CaretBackward", "^a", "aaa", 3, false, true, 1, 1},
    MatchCase{"DollarAfterLastCharacter", "$", "abc", 2, true, true, 4, 0},
    MatchCase{"DollarOnEmptyLine", "$", "", 1, true, true, 1, 0},
    MatchCase{"DollarBackwardFromLineEnd", "$", "abc", 3, false, true, 4, 0},
    MatchCase{"DollarBackwardBeforeLineEnd", "$", "abc", 2, false, false, 0, 0},
    MatchCase{"DollarAfterText", "c$", "cbc", 1, true, true, 3, 1},
    MatchCase{"OtherPatternsMissEmptyLine", "x*", "", 1, true, false, 0, 0},
    // Escapes and ordinary characters.
    MatchCase{"EscapedDotIsADot", "\\.", "ab.c", 1, true, true, 3, 1},
    MatchCase{"EscapedDotIsNoWildcard", "\\.", "abc", 1, true, false, 0, 0},
    MatchCase{"EscapedBraces", "\\{a\\}", "x{a}", 1, true, true, 2, 3},
    MatchCase{"OrdinaryPunctuation", "(a|b)?]", "x(a|b)?]", 1, true, true, 2, 7},
    MatchCase{"ClassEscapes", "[\\]\\-]+", "a]-]b", 1, true, true, 2, 3},
    MatchCase{"DashBeforeClosingBracket", "[a-]", "x-", 1, true, true, 2, 1},
    MatchCase{"ReversedRangeAddsNothing", "[z-a]", "mz", 1, true, true, 2, 1},
    MatchCase{"NulInPattern", "a\0b"s, "xa\0b"s, 1, true, true, 2, 3},
    MatchCase{"NulInPatternIsNotLineEnd", "a\0"s, "a", 1, true, false, 0, 0},
    MatchCase{"HighBytes", "\xE9+", "a\xE9\xE9z", 1, true, true, 2, 2},
    // Case folding of ASCII letters only.
    MatchCase{"IgnoreCase", "Ab", "xaB", 1, true, true, 2, 2, false},
    MatchCase{"CaseSensitive", "Ab", "xaB", 1, true, false, 0, 0, true},
    MatchCase{"IgnoreCaseClass", "[a-c]+", "xBCa", 1, true, true, 2, 3, false},
    MatchCase{"IgnoreCaseNegatedClass", "[^a]", "A", 1, true, false, 0, 0, false},
    MatchCase{"AccentedLettersMatchOnlyThemselves", "\xE9", "\xC9", 1, true, false, 0, 0, false},
    // Start column and direction.
    MatchCase{"ForwardAtStart", "ab", "abab", 3, true, true, 3, 2},
    MatchCase{"ForwardPastLastCharacter", "b", "ab", 3, true, false, 0, 0},
    MatchCase{"BackwardAtOrBeforeStart", "a", "aXaXa", 4, false, true, 3, 1},
    MatchCase{"BackwardStartLimitedToLine", "a", "aXa", 99, false, true, 3, 1},
    MatchCase{"BackwardBeforeFirstColumn", "a", "a", 0, false, false, 0, 0},
    MatchCase{"BackwardGreedyLength", "x+", "axxx", 2, false, true, 2, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegExprMatch, PathologicalNestingStaysLinear) {
    const std::string as(200000, 'a');
    for (const char* pattern : {"{a*}*b", "{{a*}*a*}+b", "a*a*a*a*a*b", "{a+a}*b", "{.*}*b", "{aa|*}*b"}) {
        SCOPED_TRACE(pattern);
        TRegExpr re(pattern, true);
        int32_t start = 1, length = 0;
        EXPECT_FALSE(re.Match(as, start, true, length));
        start = int32_t(as.size());
        EXPECT_FALSE(re.Match(as, start, false, length));
    }
    TRegExpr re("{a*}*b", true);
    const std::string line = as + "b";
    int32_t start = 1, length = 0;
    ASSERT_TRUE(re.Match(line, start, true, length));
    EXPECT_EQ(start, 1);
    EXPECT_EQ(length, int32_t(line.size()));
}

TEST(RegExprMatch, DeepNestingCompilesAndMatches) {
    const int depth = 50000;
    const std::string pattern = std::string(depth, '{') + "a" + [&] {
        std::string closers;
        for (int i = 0; i < depth; ++i)
            closers += "}*";
        return closers;
    }() + "b";
    TRegExpr re(pattern, true);
    int32_t start = 1, length = 0;
    ASSERT_TRUE(re.Match("xaab", start, true, length));
    EXPECT_EQ(start, 2);
    EXPECT_EQ(length, 3);
    EXPECT_THROW(TRegExpr(std::string(depth, '{'), true), ERegExprError);
}

TEST(RegExprMatch, TenMegabyteLine) {
    std::string line(10 << 20, '7');
    line += "net42";
    int32_t start = 1, length = 0;
    TRegExpr word("net[0-9]+", true);
    ASSERT_TRUE(word.Match(line, start, true, length));
    EXPECT_EQ(start, int32_t(line.size()) - 4);
    EXPECT_EQ(length, 5);

    TRegExpr digits("[0-9]+x", true);  // every start runs to the end and fails there
    start = 1;
    EXPECT_FALSE(digits.Match(line, start, true, length));
}

// The matcher without its memory, scan shortcuts and explicit stack, straight from the rules:
// used on short inputs to check the real one.
class ReferenceMatcher {
public:
    ReferenceMatcher(const std::vector<TRegExprNode>& nodes, bool caseSensitive, std::string_view line)
        : nodes_(nodes), cs_(caseSensitive), line_(line), n_(int32_t(line.size())) {}

    int32_t At(int32_t p) { return Walk(0, p); }

private:
    int32_t CloseOf(int32_t open) const {
        int32_t depth = 0;
        for (int32_t i = open;; ++i) {
            if (nodes_[i].Kind == rkGroupStart) ++depth;
            if (nodes_[i].Kind == rkGroupEnd && --depth == 0) return i;
        }
    }
    bool StartsRepetition(int32_t i) const {
        return nodes_[i].Kind == rkGroupStart && nodes_[i].EndOfRepetition >= 0 &&
               nodes_[i].EndOfRepetition == CloseOf(i);
    }
    bool EndsRepetition(int32_t i) const {
        for (int32_t j = 0; j < i; ++j)
            if (StartsRepetition(j) && nodes_[j].EndOfRepetition == i) return true;
        return false;
    }
    int32_t Walk(int32_t i, int32_t p) {
        for (;; ++i) {
            if (i == int32_t(nodes_.size()) - 1 || EndsRepetition(i)) return p;
            if (StartsRepetition(i))
                return Loop(i, p, nodes_[nodes_[i].EndOfRepetition + 1].Kind == rkZeroOrMore);
            const TRegExprNode& nd = nodes_[i];
            if (nd.Kind == rkLineStart && p != 0) return -1;
            if (nd.Kind == rkLineEnd && p != n_) return -1;
            if (nd.Kind == rkChar || nd.Kind == rkAny || nd.Kind == rkClass) {
                if (p > n_) return -1;
                uint8_t c = p == n_ ? 0 : uint8_t(line_[p]);
                if (!cs_ && c >= 'a' && c <= 'z') c -= 32;
                const bool ok = nd.Kind == rkAny || (nd.Kind == rkChar ? p < n_ && c == nd.Char
                                                                       : nd.Set[c] != (nd.Char == 1));
                if (!ok) return -1;
                ++p;
            }
        }
    }
    int32_t Loop(int32_t first, int32_t p, bool satisfied) {
        const int32_t q = Walk(first + 1, p);
        if (q >= 0 && q != p)
            if (const int32_t r = Loop(first, q, true); r >= 0) return r;
        return satisfied ? Walk(nodes_[first].EndOfRepetition + 2, p) : -1;
    }

    const std::vector<TRegExprNode>& nodes_;
    bool cs_;
    std::string_view line_;
    int32_t n_;
};

std::string RandomText(std::mt19937& rng, const std::string& alphabet, size_t maxLength) {
    std::string s(rng() % (maxLength + 1), ' ');
    for (char& c : s)
        c = rng() % 8 == 0 ? char(rng() % 256) : alphabet[rng() % alphabet.size()];
    return s;
}

// Fixed-seed fuzzing of compile and match: random and mutated patterns against short random
// lines, checked against the reference matcher and the bounds of the result.
TEST(RegExprFuzz, CompileAndMatchAgreeWithTheReference) {
    std::mt19937 rng(20261210);
    const std::string patternAlphabet = "ab.^$*+{}[]-\\";
    const std::string lineAlphabet = "ab.-]";
    const std::vector<std::string> seeds = {"a*b", "{ab}+c", "[^a-b]*$", "^{a.}*", "\\.[ab]+", "{a*}*b"};
    int compiled = 0;
    for (int round = 0; round < 30000; ++round) {
        std::string pattern;
        if (round % 2) {
            pattern = seeds[rng() % seeds.size()];
            for (int edits = 1 + rng() % 3; edits > 0; --edits) {
                const size_t at = pattern.empty() ? 0 : rng() % pattern.size();
                const char c = patternAlphabet[rng() % patternAlphabet.size()];
                switch (rng() % 3) {
                case 0: pattern.insert(pattern.begin() + at, c); break;
                case 1: if (!pattern.empty()) pattern.erase(at, 1); break;
                default: if (!pattern.empty()) pattern[at] = c;
                }
            }
        } else {
            pattern = RandomText(rng, patternAlphabet, 10);
        }
        const bool caseSensitive = rng() % 2;
        std::unique_ptr<TRegExpr> re;
        try {
            re = std::make_unique<TRegExpr>(pattern, caseSensitive);
        } catch (const ERegExprError& e) {
            ASSERT_GE(e.Position(), 1) << pattern;
            ASSERT_LE(e.Position(), int32_t(pattern.size()) + 1) << pattern;
            continue;
        }
        ++compiled;
        for (int k = 0; k < 4; ++k) {
            const std::string line = RandomText(rng, lineAlphabet, 12);
            const int32_t n = int32_t(line.size());
            const bool forward = rng() % 2;
            const int32_t from = int32_t(rng() % (n + 3)) - 1;
            int32_t start = from, length = -1;
            const bool found = re->Match(line, start, forward, length);
            SCOPED_TRACE("pattern '" + pattern + "' line '" + line + "' start " + std::to_string(from));
            if (!found) {
                ASSERT_EQ(length, 0);
                ASSERT_EQ(start, from);
            }
            if (n == 0 || (pattern == "$"))
                continue;  // the rules for these are the table's
            ReferenceMatcher reference(re->Nodes(), caseSensitive, line);
            int32_t expectStart = 0, expectLength = 0;
            if (forward) {
                for (int32_t p = std::max(from, 1) - 1; p < n && !expectStart; ++p)
                    if (const int32_t end = reference.At(p); end >= 0)
                        expectStart = p + 1, expectLength = std::min(end, n) - p;
            } else {
                for (int32_t p = std::min(from, n) - 1; p >= 0 && !expectStart; --p)
                    if (const int32_t end = reference.At(p); end >= 0)
                        expectStart = p + 1, expectLength = std::min(end, n) - p;
            }
            ASSERT_EQ(found, expectStart != 0);
            if (found) {
                ASSERT_EQ(start, expectStart);
                ASSERT_EQ(length, expectLength);
            }
        }
    }
    EXPECT_GT(compiled, 1000);
}

}  // namespace
}  // namespace tarnwick
