// The buffer's own rules: tabs, positions, padding, lines past the end, trailing blanks,
// selections under edits, options, notification and highlighting on demand.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/textengine/test_support.h"
#include "textengine/memo_source.h"

namespace tarnwick {
namespace {

using testing_support::LoadLines;
using testing_support::StoredLines;
using Lines = std::vector<std::string>;

TStringsOptions Defaults() { return TStringsOptions(kDefaultStringsOptions); }

TEST(MemoSourceTest, BadTabStopsKeepTheOldOnes) {
    TMemoSource s;
    EXPECT_THROW(
        {
            try {
                s.SetTabStops("8,4");
            } catch (const ETabStopsError& e) {
                EXPECT_STREQ(e.what(), "Invalid Tab Rack");
                throw;
            }
        },
        ETabStopsError);
    EXPECT_EQ(s.TabStops(), "9,17");
    s.SetTabStops("4");
    EXPECT_EQ(s.TabRack().NextStop(4), 8);
}

TEST(MemoSourceTest, NumericPropertiesAreClamped) {
    TMemoSource s;
    for (const auto& [given, stored] : {std::pair{0, 8}, {11, 8}, {-3, 8}, {10, 10}, {3, 3}}) {
        s.SetSpacesInTab(given);
        EXPECT_EQ(s.SpacesInTab(), stored) << given;
    }
    s.SetBlockIndent(-2);
    EXPECT_EQ(s.BlockIndent(), 0);
    s.SetUndoLimit(-5);
    EXPECT_EQ(s.UndoLimit(), 0);
}

struct ExclusiveCase {
    const char* name;
    uint32_t before;
    uint32_t set;
    bool tabCharacter;
    bool smartTab;
};

class OptionExclusivityTest : public testing::TestWithParam<ExclusiveCase> {};

TEST_P(OptionExclusivityTest, KeepsTabCharacterAndSmartTabApart) {
    const ExclusiveCase& c = GetParam();
    TMemoSource s;
    s.SetOptions(TStringsOptions(c.before));
    s.SetOptions(TStringsOptions(c.set));
    EXPECT_EQ(s.HasOption(soUseTabCharacter), c.tabCharacter);
    EXPECT_EQ(s.HasOption(soSmartTab), c.smartTab);
}

constexpr uint32_t kTab = 1u << soUseTabCharacter;
constexpr uint32_t kSmart = 1u << soSmartTab;

INSTANTIATE_TEST_SUITE_P(
    Options, OptionExclusivityTest,
    testing::Values(ExclusiveCase{"TabCharacterOnClearsSmartTab", kSmart, kSmart | kTab, true, false},
                    ExclusiveCase{"SmartTabOnClearsTabCharacter", kTab, kSmart | kTab, false, true},
                    ExclusiveCase{"BothAtOnceFromNeitherKeepsTabCharacter", 0, kSmart | kTab, true, false},
                    ExclusiveCase{"SmartTabAloneStays", 0, kSmart, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MemoSourceTest, TypingPastTheEndPadsWithSpaces) {
    TMemoSource s;
    LoadLines(s, {"abcde"});
    s.SetCaret(20, 0);
    s.TypeChar('x');
    EXPECT_EQ(s.StoredLine(0), "abcde" + std::string(15, ' ') + "x");
    EXPECT_EQ(s.Caret(), (TPosition{0, 21}));
    s.Undo();
    EXPECT_EQ(s.StoredLine(0), "abcde");

    s.SetOptions(Defaults().With(soLimitEOL));
    s.SetCaret(20, 0);
    EXPECT_EQ(s.Caret(), (TPosition{0, 5})) << "with soLimitEOL the caret stops at the line end";
}

TEST(MemoSourceTest, TypingBelowTheTextAppendsLines) {
    TMemoSource s;
    LoadLines(s, {"a", "b", "c"});
    s.SetCaret(0, 10);
    EXPECT_EQ(s.Caret().LinePos, 2) << "without soBeyondFileEnd the caret stays on the last line";
    s.SetOptions(Defaults().With(soBeyondFileEnd));
    s.SetCaret(0, 10);
    s.TypeChar('z');
    EXPECT_EQ(StoredLines(s), (Lines{"a", "b", "c", "", "", "", "", "", "", "", "z"}));
    s.Undo();
    EXPECT_EQ(StoredLines(s), (Lines{"a", "b", "c"}));
}

TEST(MemoSourceTest, SwitchingBeyondFileEndOffMovesTheCaretToTheEnd) {
    TMemoSource s;
    LoadLines(s, {"a", "bcd"});
    s.SetOptions(Defaults().With(soBeyondFileEnd));
    s.SetCaret(1, 6);
    s.SetOptions(Defaults());
    EXPECT_EQ(s.Caret(), (TPosition{1, 3}));
}

TEST(MemoSourceTest, LeavingALineDropsItsTrailingBlanks) {
    TMemoSource s;
    LoadLines(s, {"ab", "cd"});
    s.SetModified(false);
    s.SetCaret(2, 0);
    s.TypeChar(' ');
    s.TypeChar(' ');
    s.SetModified(false);
    s.CaretDown();
    EXPECT_EQ(s.StoredLine(0), "ab");
    EXPECT_TRUE(s.Modified());
    // Kept for undo, so that every later undo step finds the line as it left it.
    s.Undo();
    EXPECT_EQ(s.StoredLine(0), "ab  ");
    EXPECT_EQ(s.Caret(), (TPosition{0, 4}));
    EXPECT_FALSE(s.Modified());
}

TEST(MemoSourceTest, InsertingAtSelectionCornersPushesOnlyTheTopLeft) {
    TMemoSource s;
    s.SetOptions(Defaults().With(soPersistentBlocks));  // the caret moves below keep the selection
    LoadLines(s, {"0123456789"});
    s.SetSelection(2, 0, 5, 0);
    s.SetSelectionKind(stStream);
    s.SetCaret(2, 0);
    ASSERT_TRUE(s.HasSelection());
    s.InsertString("xy");
    EXPECT_EQ(s.SelStart(), (TPosition{0, 4}));
    EXPECT_EQ(s.SelEnd(), (TPosition{0, 7}));
    s.SetCaret(7, 0);
    s.InsertString("zz");
    EXPECT_EQ(s.SelEnd(), (TPosition{0, 7})) << "text at the bottom-right corner lands outside";
}

TEST(MemoSourceTest, BlockOptionConvertsAndFiltersSelections) {
    TMemoSource s;
    LoadLines(s, {"abc", "def"});
    s.ExtendSelection(stStream, [&] { s.MoveCaret(1, 2); });
    EXPECT_EQ(s.SelectionType(), stStream);
    s.SetBlockOption(bkBlockSel);
    EXPECT_EQ(s.SelectionType(), stColumn);
    s.SetBlockOption(bkStreamSel);
    EXPECT_EQ(s.SelectionType(), stStream);
    s.SetBlockOption(bkNone);
    EXPECT_EQ(s.SelectionType(), stNone);
    s.ExtendSelection(stColumn, [&] { s.MoveCaret(-1, 0); });
    EXPECT_EQ(s.SelectionType(), stNone);
}

TEST(MemoSourceTest, SelectionAsTextPadsColumnsAndShortLines) {
    TMemoSource s;
    LoadLines(s, {"abcdef", "gh", "ijklmn"});
    s.SetSelection(1, 0, 3, 2);
    s.SetSelectionKind(stColumn);
    EXPECT_EQ(s.SelectionLines(), (Lines{"bcd", "h  ", "jkl"}));
    s.SetSelectionKind(stStream);
    EXPECT_EQ(s.SelectionLines(), (Lines{"bcdef", "gh", "ijk"}));
    s.SetSelection(4, 1, 6, 1);
    EXPECT_EQ(s.SelectionLines(), (Lines{"  "})) << "one line past its end is padded";
}

TEST(MemoSourceTest, ViewsHearOncePerCommand) {
    TMemoSource s;
    LoadLines(s, {"a", "b", "c", "d"});
    struct Call {
        TMemoStates states;
        int32_t first, last;
    };
    std::vector<Call> calls;
    s.AddView(
        [&](TCustomMemoSource& src, int32_t first, int32_t last) {
            calls.push_back({src.States(), first, last});
        },
        &calls, true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].states, msFullUpdate);
    EXPECT_EQ(calls[0].last, 3);
    calls.clear();
    s.SetCaret(0, 1);
    s.NewLine();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].states & (msTextChanged | msLineCount | msCaretMoved | msModified),
              msTextChanged | msLineCount | msCaretMoved | msModified);
    EXPECT_EQ(calls[1].first, 1);
    EXPECT_EQ(calls[1].last, 2);
    calls.clear();
    s.RemoveView(&calls);
    s.TypeChar('q');
    EXPECT_TRUE(calls.empty());
}

TEST(MemoSourceTest, IndexesOutOfRangeAreIgnored) {
    TMemoSource s;
    LoadLines(s, {"one word"});
    for (int32_t line : {-1, 1, 1000, INT32_MIN, INT32_MAX}) {
        s.SetLineMark(line, 3, true);
        EXPECT_FALSE(s.LineMarked(line, 3));
        s.SetLineStyle(line, 4);
        EXPECT_EQ(s.LineStyle(line), 0);
        EXPECT_FALSE(s.LineReadOnly(line));
        EXPECT_EQ(s.LineText(line), "");
        EXPECT_EQ(s.LineColors(line), "");
        EXPECT_EQ(s.WordAt(0, line), "");
        s.Lines().Put(line, "x");
        s.Lines().Delete(line);
    }
    EXPECT_EQ(s.WordAt(-4, 0), "");
    EXPECT_EQ(s.WordAt(8, 0), "word") << "touching a word from the right counts";
    s.SetLineMark(0, 16, true);
    EXPECT_FALSE(s.LineMarked(0, 16));
    s.SetLineMark(0, 15, true);
    EXPECT_TRUE(s.LineMarked(0, 15));
    EXPECT_EQ(s.Text(), "one word");
}

TEST(MemoSourceTest, ExtremePositionsNeitherOverflowNorFillMemory) {
    TMemoSource s;
    s.SetOptions(Defaults().With(soBeyondFileEnd));
    LoadLines(s, {"abc", "def"});
    for (const auto& [line, column] :
         {std::pair{INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN}, {5, INT32_MAX}}) {
        s.SetCaret(column, line);
        s.MoveCaret(line, column);
        s.TypeChar('x');
        s.DeleteChar();
        s.NewLine();
        s.BackSpace();
        s.SetSelection(INT32_MIN, 0, INT32_MAX, 1);
        s.SetSelectionKind(stColumn);
        s.CopyBlock();
        EXPECT_GE(s.Caret().LinePos, 0);
        EXPECT_GE(s.Caret().CharPos, 0);
    }
    EXPECT_LT(s.LineCount(), 100);
    EXPECT_LT(s.Text().size(), size_t(1) << 20);
}

TEST(MemoSourceTest, LongestLineFollowsEdits) {
    TMemoSource s;
    LoadLines(s, {"ab", "abcdef", "abc"});
    EXPECT_EQ(s.LongestLineLength(), 6);
    s.SetCaret(2, 0);
    for (int i = 0; i < 5000; ++i)
        s.InsertString("x");
    EXPECT_EQ(s.LongestLineLength(), 5002) << "past the directly counted lengths";
    s.DeleteLine();
    EXPECT_EQ(s.LongestLineLength(), 6);
    s.SetCaret(3, 0);
    s.NewLine();
    EXPECT_EQ(s.LongestLineLength(), 3) << "abcdef split into abc and def";
    s.Undo();
    EXPECT_EQ(s.LongestLineLength(), 6);
    s.Lines().Delete(0);
    EXPECT_EQ(s.LongestLineLength(), 3);
}

TEST(MemoSourceTest, ReadOnlyBufferRefusesEditsButMovesTheCaret) {
    TMemoSource s;
    LoadLines(s, {"abc", "def"});
    s.SetReadOnly(true);
    EXPECT_FALSE(s.InsertString("x"));
    s.TypeChar('y');
    s.NewLine();
    s.BackSpace();
    s.DeleteLine();
    s.TabKey();
    s.CaretDown();
    EXPECT_EQ(s.Text(), "abc\r\ndef");
    EXPECT_EQ(s.Caret().LinePos, 1);
    s.SetReadOnly(false);
    s.SetLineReadOnly(1, true);
    s.TypeChar('y');
    s.DeleteLine();
    EXPECT_EQ(s.Text(), "abc\r\ndef");
}

TEST(MemoSourceTest, LinesOperationsMoveTheCaretAndClearUndo) {
    TMemoSource s;
    LoadLines(s, {"a", "b"});
    s.SetCaret(1, 1);
    s.TypeChar('x');
    ASSERT_TRUE(s.CanUndo());
    s.Lines().Insert(1, "new\tline");
    EXPECT_EQ(StoredLines(s), (Lines{"a", "new        line", "bx"}));
    EXPECT_EQ(s.Caret(), (TPosition{1, 0}));
    EXPECT_FALSE(s.CanUndo());
    s.Lines().Delete(0);
    EXPECT_EQ(s.Caret(), (TPosition{0, 0}));
    s.Lines().Clear();
    EXPECT_EQ(s.LineCount(), 0);
    EXPECT_TRUE(s.Modified());
}

// Style = state; a '{' raises the state for the rest of the text, a '}' lowers it.
class DepthParser final : public TSimpleParser {
public:
    int parsed = 0;
    TFontDesc GetStyleFont(int) override { return {}; }
    bool GetStyleBack(int, TColorValue& colour) override {
        colour = clWindow;
        return true;
    }
    uint32_t ParseLine(std::string_view text, uint32_t state, std::string& styles) override {
        ++parsed;
        for (size_t i = 0; i < text.size(); ++i) {
            state += text[i] == '{' ? 1 : text[i] == '}' && state > 0 ? uint32_t(-1) : 0;
            styles[i] = char(state);
        }
        return state;
    }
};

TEST(MemoSourceTest, HighlightsOnDemandAndReparsesUntilStatesMatch) {
    TMemoSource s;
    LoadLines(s, Lines(1000, "ab"));
    DepthParser parser;
    s.SetSyntaxParser(&parser);
    EXPECT_EQ(s.LineColors(0), std::string(2, '\0'));
    EXPECT_EQ(parser.parsed, 101) << "the line asked for and 100 more";
    parser.parsed = 0;
    s.LineColors(500);
    EXPECT_EQ(parser.parsed, 500) << "from the first unparsed line on";

    // An edit that keeps the end state costs one line.
    s.SetCaret(1, 10);
    s.TypeChar('x');
    parser.parsed = 0;
    s.LineColors(10);
    EXPECT_EQ(parser.parsed, 1);

    // One that changes it re-parses the following lines as they are asked for.
    s.SetCaret(0, 20);
    s.TypeChar('{');
    parser.parsed = 0;
    EXPECT_EQ(s.LineColors(21), std::string(2, '\1'));
    EXPECT_EQ(parser.parsed, 102);
    EXPECT_EQ(s.LineColors(300), std::string(2, '\1'));

    s.SetSyntaxParser(nullptr);
    EXPECT_EQ(s.LineColors(21), std::string(2, '\0'));
}

// A far line is not parsed at once: idle slices carry the parse there, each one batch when its
// deadline has passed, and its colours then are those of a full parse from the first line, with
// the braces opened and closed far above. An edit above moves the parse back, and catching up
// again gives the colours of the edited text.
TEST(MemoSourceTest, CatchesUpFarLinesInSlicesToTheColoursOfAFullParse) {
    Lines text(30000, "ab");
    for (size_t i = 0; i < text.size(); i += 1000)
        text[i] = "{a";
    for (size_t i = 700; i < text.size(); i += 1500)
        text[i] = "}b";
    TMemoSource far, full;
    LoadLines(far, text);
    LoadLines(full, text);
    DepthParser farParser, fullParser;
    far.SetSyntaxParser(&farParser);
    full.SetSyntaxParser(&fullParser);
    const int32_t last = far.LineCount() - 1;
    const auto compareEnd = [&] {
        for (int32_t line = last - 300; line <= last; ++line)
            ASSERT_EQ(far.LineColors(line), full.LineColors(line)) << "line " << line;
    };

    EXPECT_FALSE(far.ColoursWithinReach(last));
    EXPECT_TRUE(far.ColoursWithinReach(500));
    int slices = 1;
    while (!far.CatchUpHighlighting(last, std::chrono::steady_clock::time_point{}))
        ++slices;
    EXPECT_GT(slices, 50) << "one batch of lines per slice past its deadline";
    EXPECT_LT(farParser.parsed, last) << "the last lines wait for the repaint that asks for them";
    compareEnd();

    for (TMemoSource* s : {&far, &full}) {
        s->SetCaret(0, 5);
        s->TypeChar('{');
    }
    EXPECT_FALSE(far.ColoursWithinReach(last));
    EXPECT_TRUE(far.CatchUpHighlighting(last, std::chrono::steady_clock::now() + std::chrono::hours(1)));
    compareEnd();
}

// A highlighter given a new scheme tells its buffer that its styles changed; the lines parsed
// by the old rules are parsed again.
TEST(MemoSourceTest, ReparsesWhenTheHighlightersStylesChange) {
    class MarkParser final : public TSimpleParser {
    public:
        char mark = '{';
        void ChangeStyles() { NotifyStylesChanged(); }
        TFontDesc GetStyleFont(int) override { return {}; }
        bool GetStyleBack(int, TColorValue& colour) override {
            colour = clWindow;
            return true;
        }
        uint32_t ParseLine(std::string_view text, uint32_t state, std::string& styles) override {
            for (size_t i = 0; i < text.size(); ++i)
                styles[i] = char(text[i] == mark);
            return state;
        }
    };
    TMemoSource s;
    LoadLines(s, {"{a", "b{"});
    MarkParser parser;
    s.SetSyntaxParser(&parser);
    EXPECT_EQ(s.LineColors(1), std::string("\0\1", 2));
    parser.mark = 'b';
    parser.ChangeStyles();
    EXPECT_EQ(s.LineColors(1), std::string("\1\0", 2));
    EXPECT_EQ(s.LineColors(0), std::string(2, '\0'));
}

TEST(MemoSourceTest, ForgetsAHighlighterThatGoesAway) {
    TMemoSource s;
    LoadLines(s, {"{a"});
    {
        DepthParser parser;
        s.SetSyntaxParser(&parser);
        EXPECT_EQ(s.LineColors(0), "\1\1");
    }
    EXPECT_EQ(s.SyntaxParser(), nullptr);
    EXPECT_EQ(s.LineColors(0), std::string(2, '\0'));
}

TEST(MemoSourceTest, ColoursOfTabsCoverTheirExpansion) {
    TMemoSource s;
    s.SetOptions(Defaults().Without(soSmartTab).With(soUseTabCharacter));
    LoadLines(s, {"{\tb"});
    DepthParser parser;
    s.SetSyntaxParser(&parser);
    EXPECT_EQ(s.LineColors(0), std::string(10, '\1'));
}

}  // namespace
}  // namespace tarnwick
