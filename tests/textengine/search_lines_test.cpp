#include "textengine/search_lines.h"

#include <gtest/gtest.h>

#include "textengine/reg_expr.h"

namespace tarnwick {
namespace {

using namespace std::string_literals;

TDelimiterSet EditorDelimiters() {
    TDelimiterSet set;
    for (int c = 0; c <= 32; ++c)
        set[size_t(c)] = true;
    for (const char c : std::string("{}+-/*():=,;><$.#[]^@&~|%'\""))
        set[uint8_t(c)] = true;
    return set;
}

struct SearchCase {
    const char* name;
    std::vector<std::string> lines;
    std::string text;
    TPosition start;  // 0-based line, 1-based column
    bool found;
    TPosition match;
    int32_t length;
    bool forward = true;
    bool caseSensitive = false;
    bool wholeWords = false;
    bool regularExpr = false;
};

class SearchLinesTable : public testing::TestWithParam<SearchCase> {};

TEST_P(SearchLinesTable, FindsTheExpectedMatch) {
    const SearchCase& c = GetParam();
    TSearchOptions options;
    options.TextToFind = c.text;
    options.Direction = c.forward ? sdForward : sdBackward;
    options.CaseSensitive = c.caseSensitive;
    options.WholeWordsOnly = c.wholeWords;
    options.RegularExpr = c.regularExpr;
    TStringListLines lines(c.lines);
    TPosition position = c.start;
    int32_t length = -1;
    ASSERT_EQ(SearchLines(lines, options, position, EditorDelimiters(), length), c.found);
    if (c.found) {
        EXPECT_EQ(position, c.match);
        EXPECT_EQ(length, c.length);
    } else {
        EXPECT_EQ(position, c.start);
        EXPECT_EQ(length, 0);
    }
}

using L = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Plain, SearchLinesTable,
    testing::Values(
        SearchCase{"ForwardTakesMatchAtStart", L{"a cat b cat"}, "cat", {0, 3}, true, {0, 3}, 3},
        SearchCase{"ForwardAfterMatchFindsNext", L{"a cat b cat"}, "cat", {0, 6}, true, {0, 9}, 3},
        SearchCase{"ForwardGoesToLaterLines", L{"cat", "xx", "a cat"}, "cat", {0, 2}, true, {2, 3}, 3},
        SearchCase{"ForwardFromBeforeFirstLine", L{"cat"}, "cat", {-1, 9}, true, {0, 1}, 3},
        SearchCase{"BackwardNeverAtStart", L{"cat cat"}, "cat", {0, 4}, true, {0, 1}, 3, false},
        SearchCase{"BackwardStartColumnItself", L{"cat cat"}, "cat", {0, 5}, true, {0, 5}, 3, false},
        SearchCase{
            "BackwardEarlierLinesFromTheirEnd", L{"cat cat", "x"}, "cat", {1, 1}, true, {0, 5}, 3, false},
        SearchCase{"BackwardIgnoresTrailingBlanks", L{"ab  ", "x"}, "b ", {1, 1}, false, {}, 0, false},
        SearchCase{"ForwardSeesTrailingBlanks", L{"ab  ", "x"}, "b ", {0, 1}, true, {0, 2}, 2},
        SearchCase{"IgnoreCaseLatin1", L{"x\xE9T\xC9"}, "\xC9t\xE9", {0, 1}, true, {0, 2}, 3},
        SearchCase{"IgnoreCaseTriesBothCasesInOrder", L{"xcaX Cat cat"}, "CAT", {0, 1}, true, {0, 6}, 3},
        SearchCase{"CaseSensitiveMisses", L{"xCAT"}, "cat", {0, 1}, false, {}, 0, true, true},
        SearchCase{"NulAndHighBytes", L{"a\0\xFF"s}, "\0\xFF"s, {0, 1}, true, {0, 2}, 2, true, true},
        SearchCase{"EmptyTextFindsNothing", L{"abc"}, "", {0, 1}, false, {}, 0},
        SearchCase{"EmptyListFindsNothing", L{}, "a", {0, 1}, false, {}, 0},
        // Whole words.
        SearchCase{"WholeWordSkipsInsideWords",
                   L{"concat cats cat."},
                   "cat",
                   {0, 1},
                   true,
                   {0, 13},
                   3,
                   true,
                   false,
                   true},
        SearchCase{
            "WholeWordBackward", L{"cat. concat cats"}, "cat", {0, 99}, true, {0, 1}, 3, false, false, true},
        SearchCase{
            "WholeWordBackwardNone", L{"concat cats"}, "cat", {0, 99}, false, {}, 0, false, false, true},
        SearchCase{
            "WholeWordAtLineEnds", L{"xcat", "cat"}, "CAT", {0, 1}, true, {1, 1}, 3, true, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Pattern, SearchLinesTable,
    testing::Values(
        SearchCase{"ForwardPattern",
                   L{"x", "net12 net3"},
                   "net[0-9]+",
                   {0, 1},
                   true,
                   {1, 1},
                   5,
                   true,
                   true,
                   false,
                   true},
        SearchCase{"BackwardPattern",
                   L{"net12 net3", "x"},
                   "net[0-9]+",
                   {1, 1},
                   true,
                   {0, 7},
                   4,
                   false,
                   true,
                   false,
                   true},
        SearchCase{
            "CaretPatternMovesOn", L{"ab", "cd"}, "^", {0, 1}, true, {1, 1}, 0, true, false, false, true},
        SearchCase{
            "DollarPatternMovesOn", L{"ab", "cd"}, "$", {0, 3}, true, {1, 3}, 0, true, false, false, true},
        SearchCase{
            "DollarBackwardMovesOn", L{"ab", "cd"}, "$", {1, 2}, true, {0, 3}, 0, false, false, false, true},
        SearchCase{
            "EmptyLinesOnly", L{"a", "", "b", ""}, "^$", {1, 1}, true, {3, 1}, 0, true, false, false, true},
        SearchCase{
            "EmptyMatchAtStartSkipped", L{"abc"}, "x*", {0, 2}, true, {0, 3}, 0, true, false, false, true},
        SearchCase{"EmptyMatchAtLineEndGoesToNextLine",
                   L{"ab", "c"},
                   "x*",
                   {0, 2},
                   true,
                   {1, 1},
                   0,
                   true,
                   false,
                   false,
                   true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchLines, FirstSearchOfEntireScopeStartsAtTheScopeEdge) {
    const L text{"cat", "x", "cat"};
    TStringListLines lines(text);
    TSearchOptions options;
    options.TextToFind = "cat";
    options.FirstSearch = true;
    TPosition position{1, 1};
    int32_t length = 0;
    ASSERT_TRUE(SearchLines(lines, options, position, EditorDelimiters(), length));
    EXPECT_EQ(position, (TPosition{0, 1}));
    EXPECT_FALSE(options.FirstSearch);

    options.FirstSearch = true;
    options.Direction = sdBackward;
    position = {1, 1};
    ASSERT_TRUE(SearchLines(lines, options, position, EditorDelimiters(), length));
    EXPECT_EQ(position, (TPosition{2, 1}));

    options.FirstSearch = true;
    options.Origin = soFromCursor;
    position = {1, 1};
    ASSERT_TRUE(SearchLines(lines, options, position, EditorDelimiters(), length));
    EXPECT_EQ(position, (TPosition{0, 1}));
    EXPECT_FALSE(options.FirstSearch);
}

TEST(SearchLines, FirstSearchTakesAnAnchorAtTheScopeStart) {
    const L text{"ab", "cd"};
    TStringListLines lines(text);
    TSearchOptions options;
    options.TextToFind = "^";
    options.RegularExpr = true;
    options.FirstSearch = true;
    TPosition position{1, 2};
    int32_t length = -1;
    ASSERT_TRUE(SearchLines(lines, options, position, EditorDelimiters(), length));
    EXPECT_EQ(position, (TPosition{0, 1}));
}

TEST(SearchLines, BadPatternThrowsItsMessage) {
    const L text{"abc"};
    TStringListLines lines(text);
    TSearchOptions options;
    options.TextToFind = "{a";
    options.RegularExpr = true;
    TPosition position{0, 1};
    int32_t length = 0;
    EXPECT_THROW(
        {
            try {
                SearchLines(lines, options, position, EditorDelimiters(), length);
            } catch (const ERegExprError& e) {
                EXPECT_STREQ(e.what(), "{a is invalid mask at (3)");
                throw;
            }
        },
        ERegExprError);
}

TEST(SearchLines, TenMegabyteLine) {
    L text{std::string(10 << 20, 'c') + "cat"};
    TStringListLines lines(text);
    TSearchOptions options;
    options.TextToFind = "CAT";
    TPosition position{0, 1};
    int32_t length = 0;
    ASSERT_TRUE(SearchLines(lines, options, position, EditorDelimiters(), length));
    EXPECT_EQ(position.CharPos, int32_t(text[0].size()) - 2);
    options.Direction = sdBackward;
    options.WholeWordsOnly = true;
    position = {0, 1 << 30};
    EXPECT_FALSE(SearchLines(lines, options, position, EditorDelimiters(), length));
}

}  // namespace
}  // namespace tarnwick
