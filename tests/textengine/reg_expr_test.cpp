#include "textengine/reg_expr.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

#include "host/abi/ascii_text.h"
#include "textengine/reg_expr_automaton.h"
#include "textengine/reg_expr_backtracker.h"
#include "textengine/reg_expr_program.h"

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
            EXPECT_EQ(std::string(e.what()),
                      c.pattern + " is invalid mask at (" + std::to_string(c.position) + ")");
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

INSTANTIATE_TEST_SUITE_P(
    Table, RegExprMatch,
    testing::Values(
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
        // A repetition gives back part of itself, also inside nested groups and searching backward.
        MatchCase{"GroupGivesBackInsideARepetition", "x{ab*}+b", "xabb", 1, true, true, 1, 4},
        MatchCase{"GroupGivesBackBeforeALaterShorterMatch", "{ab*}*bc", "abbbc", 1, true, true, 1, 5},
        MatchCase{"NestedGroupsGiveBack", "{a{bc*}*}*cd", "abccd", 1, true, true, 1, 5},
        MatchCase{"DotStarInsideGroupGivesBackTheLineEnd", "x{a.*}*b", "xab", 1, true, true, 1, 3},
        MatchCase{"BackwardGroupGivesBack", "{ab*}+b", "xabb", 4, false, true, 2, 3},
        MatchCase{"PlusOnGroupThatCanBeEmptyNeedsOneCharacter", "{a*}+b", "b", 1, true, false, 0, 0},
        MatchCase{"EmptyPlusGroupNeverMatches", "x{}+", "x", 1, true, false, 0, 0},
        // A repetition whose body never matches: "+" fails, "*" goes on without it.
        MatchCase{"PlusOverABodyThatNeverMatches", "{{}+x^}+", "xx", 1, true, false, 0, 0},
        MatchCase{"StarOverABodyThatNeverMatches", "{{}+x}*y", "xy", 1, true, true, 2, 1},
        MatchCase{"FirstRepetitionGivesBackForTheSecond", "{a*b*}+ab", "aab", 1, true, true, 1, 3},
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

// The process's resident memory in KiB ("VmRSS:") or its peak since the last reset ("VmHWM:").
int64_t ResidentKib(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0)
            return std::stoll(line.substr(key.size()));
    return -1;
}

// Many repetitions on a long line: the peak memory of matching stays a small multiple of the
// line whatever the number of repetitions, with or without a match.
TEST(RegExprMatch, ManyRepetitionsOnALongLineStayWithinBoundedMemory) {
    std::string line(1 << 17, 'a');
    for (const int repetitions : {10, 200}) {
        SCOPED_TRACE(std::to_string(repetitions) + " repetitions");
        std::string pattern;
        for (int i = 0; i < repetitions; ++i)
            pattern += "a*";
        TRegExpr re(pattern + "c", true);
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
        const int64_t before = ResidentKib("VmRSS:");
        if (before < 0 || ResidentKib("VmHWM:") > before + 1024)
            GTEST_SKIP() << "this system cannot reset the peak of resident memory";
        int32_t start = 1, length = 0;
        EXPECT_FALSE(re.Match(line, start, true, length));
        start = int32_t(line.size());
        EXPECT_FALSE(re.Match(line, start, false, length));
        const std::string withEnd = line + "c";
        start = 1;
        ASSERT_TRUE(re.Match(withEnd, start, true, length));
        EXPECT_EQ(start, 1);
        EXPECT_EQ(length, int32_t(withEnd.size()));
        EXPECT_LT(ResidentKib("VmHWM:") - before, 16 * 1024) << "KiB more at the peak";
    }
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

// Matching done the plainest way, straight on the node list: every way through the pattern is
// tried in the order a backtracking stack gives (one more repetition before stopping, newest
// choice first), and the first way that reaches the end of the pattern wins. Exponential, so
// only for short inputs.
class ReferenceMatcher {
public:
    ReferenceMatcher(const std::vector<TRegExprNode>& nodes, bool caseSensitive, std::string_view line)
        : nodes_(nodes), cs_(caseSensitive), line_(line), n_(int32_t(line.size())) {}

    // The end of the match that starts at p, or -1.
    int32_t At(int32_t p) { return Walk(0, p, nullptr); }

private:
    // One repetition of a repeated group in progress, and the repetitions around it.
    struct Repetition {
        int32_t first;  // the group start
        int32_t from;   // where this repetition started
        int32_t done;   // repetitions completed before it
        const Repetition* outer;
    };

    int32_t CloseOf(int32_t open) const {
        int32_t depth = 0;
        for (int32_t i = open;; ++i) {
            if (nodes_[i].Kind == rkGroupStart)
                ++depth;
            if (nodes_[i].Kind == rkGroupEnd && --depth == 0)
                return i;
        }
    }
    bool StartsRepetition(int32_t i) const {
        return nodes_[i].Kind == rkGroupStart && nodes_[i].EndOfRepetition >= 0 &&
               nodes_[i].EndOfRepetition == CloseOf(i);
    }
    bool Consumes(const TRegExprNode& nd, int32_t p) const {
        if (p > n_)
            return false;
        const uint8_t byte = p == n_ ? 0 : uint8_t(line_[p]);
        const uint8_t c = cs_ ? byte : ascii::ToUpper(byte);
        if (nd.Kind == rkAny)
            return true;
        if (nd.Kind == rkChar)
            return p < n_ && c == nd.Char;
        return nd.Set[c] != (nd.Char == 1);
    }
    int32_t Walk(int32_t i, int32_t p, const Repetition* inside) {
        for (;; ++i) {
            if (i == int32_t(nodes_.size()) - 1)
                return p;
            if (inside && i == nodes_[inside->first].EndOfRepetition)
                return Again(*inside, p);
            if (StartsRepetition(i))
                return Repeat(i, p, 0, inside);
            const TRegExprNode& nd = nodes_[i];
            if (nd.Kind == rkLineStart && p != 0)
                return -1;
            if (nd.Kind == rkLineEnd && p != n_)
                return -1;
            if (nd.Kind == rkChar || nd.Kind == rkAny || nd.Kind == rkClass) {
                if (!Consumes(nd, p))
                    return -1;
                ++p;
            }
        }
    }
    // Another repetition first; when no way through it succeeds, the rest after the marker.
    int32_t Repeat(int32_t first, int32_t p, int32_t done, const Repetition* outer) {
        const Repetition next{first, p, done, outer};
        if (const int32_t end = Walk(first + 1, p, &next); end >= 0)
            return end;
        const int32_t last = nodes_[first].EndOfRepetition;
        if (done == 0 && nodes_[last + 1].Kind == rkOneOrMore)
            return -1;
        return Walk(last + 2, p, outer);
    }
    int32_t Again(const Repetition& r, int32_t p) {
        if (p == r.from)
            return -1;  // a repetition that consumed nothing does not count
        return Repeat(r.first, p, r.done + 1, r.outer);
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

// The three ways of matching behind TRegExpr, each from every start of a short line, against
// the reference; and the nearest start with a match in a random range, against the same.
struct Matchers {
    Matchers(const std::vector<TRegExprNode>& nodes, bool caseSensitive)
        : program(nodes, caseSensitive), backtracker(program), automaton(program) {}

    void ExpectAgree(const std::string& text, const std::vector<int32_t>& expected, std::mt19937& rng) {
        const TRegExprLine line{text, int32_t(text.size())};
        automaton.NewSearch();
        for (int32_t p = 0; p <= line.length; ++p) {
            int64_t budget = 1 << 20;
            const int32_t end = backtracker.Run(line, p, budget, 1 << 20);
            if (end != kRegExprOverBudget) {
                ASSERT_EQ(end, expected[size_t(p)]) << "backtracking from " << p;
            }
            ASSERT_EQ(automaton.Run(line, p, nullptr), expected[size_t(p)]) << "automaton from " << p;
            if (expected[size_t(p)] >= 0) {
                ASSERT_EQ(automaton.FollowPreferred(line, p), expected[size_t(p)])
                    << "following the preferred way from " << p;
            }
        }
        const int32_t first = int32_t(rng() % size_t(line.length + 1));
        const int32_t last = first + int32_t(rng() % size_t(line.length + 1 - first));
        for (const bool forward : {true, false}) {
            int32_t nearest = kRegExprFail;
            for (int32_t p = first; p <= last; ++p)
                if (expected[size_t(p)] >= 0 && (!forward || nearest < 0))
                    nearest = p;
            ASSERT_EQ(automaton.NearestStart(line, first, last, forward), nearest)
                << "nearest start in [" << first << ", " << last << "] "
                << (forward ? "forward" : "backward");
        }
    }

    const TRegExprProgram program;
    TRegExprBacktracker backtracker;
    TRegExprAutomaton automaton;
};

// Fixed-seed fuzzing of compile and match: random and mutated patterns against short random
// lines, checked against the reference matcher and the bounds of the result.
TEST(RegExprFuzz, CompileAndMatchAgreeWithTheReference) {
    std::mt19937 rng(20261210);
    const std::string patternAlphabet = "ab.^$*+{}[]-\\";
    const std::string lineAlphabet = "ab.-]";
    const std::vector<std::string> seeds = {"a*b",    "{ab}+c",  "[^a-b]*$",    "^{a.}*",  "\\.[ab]+",
                                            "{a*}*b", "{ab*}+b", "{a{b*}*}*bb", "{.*a}*b", "{a*b}+a"};
    int compiled = 0;
    for (int round = 0; round < 30000; ++round) {
        std::string pattern;
        if (round % 2) {
            pattern = seeds[rng() % seeds.size()];
            for (int edits = 1 + rng() % 3; edits > 0; --edits) {
                const size_t at = pattern.empty() ? 0 : rng() % pattern.size();
                const char c = patternAlphabet[rng() % patternAlphabet.size()];
                switch (rng() % 3) {
                    case 0:
                        pattern.insert(pattern.begin() + at, c);
                        break;
                    case 1:
                        if (!pattern.empty())
                            pattern.erase(at, 1);
                        break;
                    default:
                        if (!pattern.empty())
                            pattern[at] = c;
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
        Matchers matchers(re->Nodes(), caseSensitive);
        for (int k = 0; k < 4; ++k) {
            const std::string line = RandomText(rng, lineAlphabet, 12);
            const int32_t n = int32_t(line.size());
            SCOPED_TRACE("pattern '" + pattern + "' line '" + line + "'");
            ReferenceMatcher reference(re->Nodes(), caseSensitive, line);
            std::vector<int32_t> ends;
            for (int32_t p = 0; p <= n; ++p)
                ends.push_back(reference.At(p));
            matchers.ExpectAgree(line, ends, rng);
            if (HasFatalFailure())
                return;

            const bool forward = rng() % 2;
            const int32_t from = int32_t(rng() % (n + 3)) - 1;
            SCOPED_TRACE(std::string(forward ? "forward" : "backward") + " from column " +
                         std::to_string(from));
            int32_t start = from, length = -1;
            const bool found = re->Match(line, start, forward, length);
            if (!found) {
                ASSERT_EQ(length, 0);
                ASSERT_EQ(start, from);
            }
            if (n == 0 || (pattern == "$"))
                continue;  // the rules for these are the table's
            int32_t expectStart = 0, expectLength = 0;
            const auto take = [&](int32_t p) {
                if (ends[size_t(p)] >= 0 && !expectStart)
                    expectStart = p + 1, expectLength = std::min(ends[size_t(p)], n) - p;
            };
            if (forward)
                for (int32_t p = std::max(from, 1) - 1; p < n; ++p)
                    take(p);
            else
                for (int32_t p = std::min(from, n) - 1; p >= 0; --p)
                    take(p);
            ASSERT_EQ(found, expectStart != 0);
            if (found) {
                ASSERT_EQ(start, expectStart);
                ASSERT_EQ(length, expectLength);
            }
        }
    }
    EXPECT_GT(compiled, 1000);
}

// Long lines bring the automaton's state caches into play; a cache too small for the states
// restarts again and again and must give the same answers. Backtracking, checked against the
// reference above, is the judge.
TEST(RegExprFuzz, AutomatonCachesAgreeWithBacktrackingOnLongLines) {
    std::mt19937 rng(77);
    for (const char* pattern :
         {"a*b", "{ab*}+b", "{a{b*}*}*bb", "{.*a}*b", "{a*b}+ac", "a.b.", "{a*}+$", "[^a]*a.."}) {
        SCOPED_TRACE(pattern);
        TRegExpr re(pattern, true);
        const TRegExprProgram program(re.Nodes(), true);
        TRegExprBacktracker backtracker(program);
        TRegExprAutomaton roomy(program);
        TRegExprAutomaton cramped(program, 512);
        for (int k = 0; k < 3; ++k) {
            std::string text(2000, ' ');
            for (char& c : text)
                c = "aabc"[rng() % 4];
            const TRegExprLine line{text, int32_t(text.size())};
            for (int i = 0; i < 12; ++i) {
                const int32_t p = int32_t(rng() % size_t(line.length + 1));
                int64_t budget = 1 << 24;
                const int32_t expected = backtracker.Run(line, p, budget, 1 << 20);
                if (expected == kRegExprOverBudget)
                    continue;
                roomy.NewSearch();
                cramped.NewSearch();
                ASSERT_EQ(roomy.Run(line, p, nullptr), expected) << "from " << p;
                ASSERT_EQ(cramped.Run(line, p, nullptr), expected) << "from " << p;
                if (expected >= 0) {
                    ASSERT_EQ(roomy.FollowPreferred(line, p), expected) << "from " << p;
                    const int32_t followed = cramped.FollowPreferred(line, p);
                    if (followed != kRegExprOverBudget) {
                        ASSERT_EQ(followed, expected) << "from " << p;
                    }
                }
            }
            const int32_t first = int32_t(rng() % size_t(line.length - 40));
            for (const bool forward : {true, false}) {
                int32_t nearest = kRegExprFail;
                for (int32_t p = first; p <= first + 40 && (!forward || nearest < 0); ++p) {
                    int64_t budget = 1 << 24;
                    if (backtracker.Run(line, p, budget, 1 << 20) >= 0)
                        nearest = p;
                }
                cramped.NewSearch();
                EXPECT_EQ(cramped.NearestStart(line, first, first + 40, forward), nearest) << first;
            }
        }
    }
}

}  // namespace
}  // namespace tarnwick
