// Loading and saving through the buffer: line ends, tabs, trailing blanks and bytes that must
// come back unchanged.
#include <gtest/gtest.h>

#include "tests/textengine/test_support.h"
#include "textengine/memo_source.h"

namespace tarnwick {
namespace {

using testing_support::Saved;
using testing_support::StoredLines;

void Load(TMemoSource& s, const std::string& bytes) {
    TMemoryStream stream(bytes);
    s.LoadFromStream(stream);
}

struct SaveCase {
    const char* name;
    std::string loaded;
    TOutFormatType format;
    std::string saved;
    TFinalLineEnd finalLineEnd = feByOutFormat;
};

class SaveFormatTest : public testing::TestWithParam<SaveCase> {};

TEST_P(SaveFormatTest, WritesLineEndsOfTheOutFormat) {
    const SaveCase& c = GetParam();
    TMemoSource s;
    Load(s, c.loaded);
    s.SetOutFormat(c.format);
    s.SetFinalLineEnd(c.finalLineEnd);
    EXPECT_EQ(Saved(s), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SaveFormatTest,
    testing::Values(SaveCase{"WindowsJoinsWithoutFinalLineEnd", "x  \r\ny\r\n", ofWindows, "x\r\ny"},
                    SaveCase{"UnixEndsEveryLine", "x  \r\ny\r\n", ofUnix, "x\ny\n"},
                    SaveCase{"MacEndsEveryLine", "x\ny", ofMac, "x\ry\r"},
                    SaveCase{"MixedLineEndsBecomeOneKind", "a\rb\r\nc\nd", ofUnix, "a\nb\nc\nd\n"},
                    SaveCase{"EmptyFile", "", ofUnix, ""},
                    SaveCase{"EmptyLinesKept", "\n\n\n", ofUnix, "\n\n\n"},
                    SaveCase{"CrOnlyFileToWindows", "a\r\rb\r", ofWindows, "a\r\n\r\nb"},
                    SaveCase{"WindowsWithFinalLineEnd", "a\r\nb\r\n", ofWindows, "a\r\nb\r\n", feWritten},
                    SaveCase{"UnixWithoutFinalLineEnd", "a\nb", ofUnix, "a\nb", feOmitted},
                    SaveCase{"MacWithoutFinalLineEnd", "a\rb", ofMac, "a\rb", feOmitted},
                    SaveCase{"EmptyLastLineKeepsItsLineEnd", "a\n\n", ofUnix, "a\n\n", feWritten},
                    SaveCase{"EmptyFileStaysEmpty", "", ofUnix, "", feWritten},
                    SaveCase{"LoneLineEnd", "\n", ofUnix, "\n", feWritten}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadSaveTest, EveryByteComesBackThatNoRuleChanges) {
    std::string bytes;
    for (int line = 0; line < 300; ++line) {
        for (int i = 0; i < line % 17 + 1; ++i) {
            char c = char((line * 31 + i * 7) % 256);
            if (c == '\r' || c == '\n' || c == '\t' || c == ' ')
                c = '\0';
            bytes += c;
        }
        bytes += '\n';
    }
    TMemoSource s;
    Load(s, bytes);
    s.SetOutFormat(ofUnix);
    EXPECT_EQ(Saved(s), bytes);
    // After edits the unedited lines still come back byte for byte.
    s.SetCaret(0, 150);
    s.TypeChar('Q');
    s.SetCaret(1, 150);  // leaving the line is not needed for the edit to be saved
    std::string expected = bytes;
    size_t at = 0;
    for (int line = 0; line < 150; ++line)
        at = expected.find('\n', at) + 1;
    expected.insert(at, "Q");
    EXPECT_EQ(Saved(s), expected);
}

TEST(LoadSaveTest, TabsFollowUseTabCharacter) {
    TMemoSource s;
    s.SetSpacesInTab(3);
    Load(s, "a\tb");
    EXPECT_EQ(StoredLines(s), std::vector<std::string>{"a   b"});
    s.SetOptions(s.Options().With(soUseTabCharacter));
    Load(s, "a\tb");
    EXPECT_EQ(StoredLines(s), std::vector<std::string>{"a\tb"});
    EXPECT_EQ(s.LineText(0), "a        b") << "shown up to the stop at column 9";
    s.SetOutFormat(ofUnix);
    EXPECT_EQ(Saved(s), "a\tb\n");
}

TEST(LoadSaveTest, LoadResetsStateAndSetsSavePoint) {
    TMemoSource s;
    Load(s, "one\ntwo\n");
    s.SetCaret(2, 1);
    s.TypeChar('x');
    ASSERT_TRUE(s.Modified());
    ASSERT_TRUE(s.CanUndo());
    Load(s, "fresh");
    EXPECT_FALSE(s.Modified());
    EXPECT_FALSE(s.CanUndo());
    EXPECT_EQ(s.Caret(), (TPosition{0, 0}));
    EXPECT_EQ(s.Text(), "fresh");
}

TEST(LoadSaveTest, FailingStreamsKeepTextAndReport) {
    class Failing final : public TByteStream {
    public:
        int64_t Read(void*, int64_t) override { return -1; }
        int64_t Write(const void*, int64_t count) override { return count > 0 ? count - 1 : 0; }
    } failing;
    TMemoSource s;
    Load(s, "kept\n");
    EXPECT_THROW(s.LoadFromStream(failing), EStreamError);
    EXPECT_EQ(s.Text(), "kept");
    EXPECT_THROW(s.SaveToStream(failing), EStreamError);
}

TEST(LoadSaveTest, ReadOnlyLinesLeftOutWhenExcluded) {
    TMemoSource s;
    Load(s, "a\nb\nc");
    s.SetLineReadOnly(1, true);
    s.SetOutFormat(ofUnix);
    EXPECT_EQ(Saved(s), "a\nb\nc\n");
    s.SetOptions(s.Options().With(soExcludeReadOnlyLines));
    EXPECT_EQ(Saved(s), "a\nc\n");
    s.SetOutFormat(ofWindows);
    EXPECT_EQ(Saved(s), "a\r\nc\r\n") << "excluding read-only lines ends every line";
    s.SetLineReadOnly(1, false);
    s.SetLineReadOnly(2, true);
    s.SetFinalLineEnd(feOmitted);
    EXPECT_EQ(Saved(s), "a\r\nb") << "no line end after the last line written";
}

TEST(LoadSaveTest, LinesTextAndAssign) {
    TMemoSource s;
    s.Lines().Assign({"a", "b\tc", ""});
    EXPECT_EQ(s.LineCount(), 3);
    EXPECT_EQ(s.Lines().Get(1), "b        c");
    EXPECT_EQ(s.Lines().Text(), "a\r\nb        c\r\n");
    s.Lines().SetText("x\r\ny");
    EXPECT_EQ(s.LineCount(), 2);
    EXPECT_FALSE(s.CanUndo());
}

}  // namespace
}  // namespace tarnwick
