#include "textengine/tab_stops.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TTabStops Stops(const char* list) {
    TTabStops t;
    t.Parse(list);
    return t;
}

struct NextStopCase {
    const char* name;
    const char* list;
    int32_t column;
    int32_t next;
};

class NextStopTest : public testing::TestWithParam<NextStopCase> {};

TEST_P(NextStopTest, GivesFirstStopAfterColumn) {
    const NextStopCase& c = GetParam();
    EXPECT_EQ(Stops(c.list).NextStop(c.column), c.next);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, NextStopTest,
    testing::Values(NextStopCase{"DefaultAtZeroSpansNine", "9,17", 0, 9},
                    NextStopCase{"DefaultAtNineSpansEight", "9,17", 9, 17},
                    NextStopCase{"DefaultAtTwelveSpansFive", "9,17", 12, 17},
                    NextStopCase{"DefaultAfterLastContinuesByDifference", "9,17", 17, 25},
                    NextStopCase{"DefaultFarOut", "9,17", 100, 105},
                    NextStopCase{"SingleValueIsInterval", "4", 4, 8},
                    NextStopCase{"SingleValueAtZero", "4", 0, 4},
                    NextStopCase{"EmptyListEveryEight", "", 8, 16}, NextStopCase{"EmptyListAtZero", "", 0, 8},
                    NextStopCase{"BlanksAroundValues", " 3 , 5 ", 5, 7}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadListCase {
    const char* name;
    const char* list;
    const char* message;
};

class BadTabStopsTest : public testing::TestWithParam<BadListCase> {};

TEST_P(BadTabStopsTest, FailsAndKeepsOldStops) {
    const BadListCase& c = GetParam();
    TTabStops t = Stops("9,17");
    try {
        t.Parse(c.list);
        FAIL() << "no error for " << c.list;
    } catch (const ETabStopsError& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(t.NextStop(0), 9);
}

INSTANTIATE_TEST_SUITE_P(Lists, BadTabStopsTest,
                         testing::Values(BadListCase{"Decreasing", "8,4", "Invalid Tab Rack"},
                                         BadListCase{"Equal", "8,8", "Invalid Tab Rack"},
                                         BadListCase{"Zero", "0", "Invalid Tab Rack"},
                                         BadListCase{"Negative", "-3,5", "Invalid Tab Rack"},
                                         BadListCase{"NotANumber", "9,x", "'x' is not a valid integer value"},
                                         BadListCase{"EmptyItem", "9,,17",
                                                     "'' is not a valid integer value"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TabStopsTest, ExpandsAndLocatesColumns) {
    const TTabStops t = Stops("9,17");
    EXPECT_EQ(t.Expand("a\tb"), "a        b");
    EXPECT_EQ(t.ExpandedLength("a\tb\tc"), 18);
    EXPECT_EQ(t.ColumnOf("a\tb", 2), 9);
    const TTabStops::Location inTab = t.Locate("a\tb", 4);
    EXPECT_EQ(inTab.index, 1);
    EXPECT_EQ(inTab.startColumn, 1);
    EXPECT_TRUE(inTab.insideTab);
    const TTabStops::Location past = t.Locate("a\tb", 15);
    EXPECT_EQ(past.index, 3 + 5);
    EXPECT_FALSE(past.insideTab);
    EXPECT_EQ(t.PreviousStop(20), 17);
    EXPECT_EQ(t.PreviousStop(9), 0);
    EXPECT_EQ(t.PreviousStop(40), 33);
}

}  // namespace
}  // namespace tarnwick
