#include "host/abi/parameter_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tarnwick {

namespace {

struct LookupCase {
    const char* name;
    std::string text;
    const char* key;
    bool found;
    std::string value;
};

class LookupTest : public testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, FindsTheFirstMatchingPairTrimmed) {
    const LookupCase& c = GetParam();
    std::string value = "stale";
    EXPECT_EQ(LookupParameter(c.text.c_str(), c.key, value), c.found);
    EXPECT_EQ(value, c.value);
}

const std::string kLong(300, 'v');

INSTANTIATE_TEST_SUITE_P(
    Strings, LookupTest,
    testing::Values(LookupCase{"LaterEqualsBelongToValue", "A=1|B=2=3", "B", true, "2=3"},
                    LookupCase{"FirstPair", "A=1|B=2=3", "A", true, "1"},
                    LookupCase{"SegmentWithoutEqualsDropped", "A|B=2", "A", false, ""},
                    LookupCase{"EmptyNameDropped", "=5|B=2", "", false, ""},
                    LookupCase{"EmptyText", "", "A", false, ""},
                    LookupCase{"OnlySeparators", "|||", "A", false, ""},
                    LookupCase{"FirstMatchTrimmed", " a =  x |A=y", "A", true, "x"},
                    LookupCase{"KeyTrimmedAndCaseFolded", "a=1", " A ", true, "1"},
                    LookupCase{"NonAsciiCaseDoesNotFold", "\xE9=1", "\xC9", false, ""},
                    LookupCase{"ControlBytesTrimmed", "K=\t\x01v\x1f", "k", true, "v"},
                    LookupCase{"EmptyValueIsFound", "K=", "K", true, ""},
                    LookupCase{"LongValueCutTo255", "K=" + kLong, "K", true, std::string(255, 'v')},
                    LookupCase{"HighBytesKept", "K=\xff\x80", "K", true, "\xff\x80"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParameterListTest, FormatsNamesTrimmedAndValuesAsWritten) {
    TParameterList list;
    list.ParseParameters(" a =  x |A=y");
    EXPECT_EQ(list.FormatParameters(), "a=  x |A=y");
    list.AddParameter("Empty", std::string_view(""));
    list.AddParameter("Absent", std::nullopt);
    EXPECT_EQ(list.FormatParameters(), "a=  x |A=y|Empty=|Absent= ");
}

TEST(ParameterListTest, LongValueSurvivesParseAndFormatWhole) {
    TParameterList list;
    list.ParseParameters("K=" + kLong);
    EXPECT_EQ(list.FormatParameters(), "K=" + kLong);
}

TEST(ParameterListTest, RemoveDeletesOnlyTheFirstMatchAndKeepsOrder) {
    TParameterList list;
    list.ParseParameters("A=1|B=2|a=3|C=4");
    list.RemoveParameter("a");
    EXPECT_EQ(list.FormatParameters(), "B=2|a=3|C=4");
}

TEST(ParameterListTest, NamesAreCutTo255Bytes) {
    TParameterList list;
    list.ParseParameters(std::string(400, 'n') + "=v");
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list[0].Name.size(), 255u);
}

struct StoreCase {
    const char* name;
    std::string buffer;
    const char* key;
    const char* value;
    std::string expected;
};

class StoreTest : public testing::TestWithParam<StoreCase> {};

TEST_P(StoreTest, ReplacesOrAppends) {
    const StoreCase& c = GetParam();
    std::vector<char> buffer(kParameterStringLimit, '\0');
    std::copy(c.buffer.begin(), c.buffer.end(), buffer.begin());
    StoreParameter(buffer.data(), c.key, c.value);
    EXPECT_EQ(std::string(buffer.data()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Buffers, StoreTest,
                         testing::Values(StoreCase{"ReplaceIgnoringCaseTrimmed", "A=1|B=2", "b", " 7 ",
                                                   "A=1|B=7"},
                                         StoreCase{"AppendNew", "A=1|B=2", "C", "x", "A=1|B=2|C=x"},
                                         StoreCase{"IntoEmptyBuffer", "", "Result", "True", "Result=True"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StoreParameterTest, ResultIsCutToTheCapacity) {
    char buffer[8] = "A=1";
    StoreParameter(buffer, "Long", "abcdefgh", sizeof buffer);
    EXPECT_EQ(std::string(buffer), "A=1|Lon");
}

TEST(LookupParameterTest, TextBeyondTheLimitIsCutNotOverrun) {
    std::string huge = "A=1|" + std::string(kParameterStringLimit * 2, 'x') + "|B=2";
    std::string value;
    EXPECT_TRUE(LookupParameter(huge.c_str(), "A", value));
    EXPECT_FALSE(LookupParameter(huge.c_str(), "B", value));  // past the limit
}

TEST(LookupParameterTest, SeesANewStringAtTheSameAddress) {
    char buffer[32] = "A=1";
    EXPECT_EQ(LookupParameter(buffer, "A"), "1");
    std::strcpy(buffer, "A=2");
    EXPECT_EQ(LookupParameter(buffer, "A"), "2");
    std::string value;
    EXPECT_FALSE(LookupParameter(nullptr, "A", value));
}

// Any bytes at any length: parsing, formatting and storing stay in bounds.
TEST(ParameterListTest, RandomBytesNeverOverrun) {
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 300; ++round) {
        std::string text(next() % 600, '\0');
        for (char& c : text) {
            const uint32_t r = next() >> 16;
            c = static_cast<char>(r % 5 == 0 ? '|' : r % 7 == 0 ? '=' : r & 0xFF);
        }
        TParameterList list;
        list.ParseParameters(text);
        std::vector<char> buffer(64, '\0');
        list.FormatParameters(buffer.data(), buffer.size());
        EXPECT_EQ(buffer.back(), '\0');
        StoreParameter(buffer.data(), "k", text, buffer.size());
        EXPECT_EQ(buffer.back(), '\0');
        std::string value;
        LookupParameter(text.c_str(), "k", value);
        EXPECT_LE(value.size(), kShortStringLength);
    }
}

}  // namespace

}  // namespace tarnwick
