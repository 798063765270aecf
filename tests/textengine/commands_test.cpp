// The editing commands bound to keys.
#include <gtest/gtest.h>

#include "tests/textengine/test_support.h"
#include "textengine/clipboard.h"
#include "textengine/memo_source.h"

namespace tarnwick {
namespace {

using testing_support::LoadLines;
using testing_support::StoredLines;
using Lines = std::vector<std::string>;

constexpr uint32_t kDefaults = kDefaultStringsOptions.Mask();
constexpr uint32_t Bit(TStringsOption o) { return 1u << o; }

// A buffer with lines, options and the caret set, in insert mode.
struct Editor {
    Editor(const Lines& lines, uint32_t options, TPosition caret, const char* tabStops = "9,17") {
        s.SetInsertMode();
        s.SetOptions(TStringsOptions(options));
        s.SetTabStops(tabStops);
        LoadLines(s, lines);
        s.SetCaret(caret.CharPos, caret.LinePos);
    }
    TMemoSource s;
};

struct CommandCase {
    const char* name;
    Lines before;
    uint32_t options;
    TPosition caret;
    void (TCustomMemoSource::*command)();
    Lines after;
    TPosition caretAfter;
    const char* tabStops = "9,17";
};

class CommandTest : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandTest, ChangesTextAndCaret) {
    const CommandCase& c = GetParam();
    Editor e(c.before, c.options, c.caret, c.tabStops);
    (e.s.*c.command)();
    EXPECT_EQ(StoredLines(e.s), c.after);
    EXPECT_EQ(e.s.Caret(), c.caretAfter);
    e.s.Undo();
    EXPECT_EQ(StoredLines(e.s), c.before) << "one undo step takes the command back";
}

using S = TCustomMemoSource;
constexpr uint32_t kNoAutoIndent = kDefaults & ~Bit(soAutoIndent);
constexpr uint32_t kTabFill = (kDefaults & ~Bit(soSmartTab)) | Bit(soUseTabCharacter) | Bit(soOptimalFill);
constexpr uint32_t kTabPrev = (kDefaults & ~Bit(soSmartTab)) | Bit(soUseTabCharacter) | Bit(soUsePrevIndent);
constexpr uint32_t kPlainTab = kDefaults & ~Bit(soSmartTab);

INSTANTIATE_TEST_SUITE_P(AutoIndent, CommandTest,
                         testing::Values(CommandCase{"EnterAtEndKeepsIndent",
                                                     {"    abc"},
                                                     kDefaults,
                                                     {0, 7},
                                                     &S::NewLine,
                                                     {"    abc", "    "},
                                                     {1, 4}},
                                         CommandCase{"EnterInLeadingSpacesUsesCaretColumn",
                                                     {"    abc"},
                                                     kDefaults,
                                                     {0, 2},
                                                     &S::NewLine,
                                                     {"", "    abc"},
                                                     {1, 2}},
                                         CommandCase{"EnterInTextSplitsAndIndents",
                                                     {"  ab cd"},
                                                     kDefaults,
                                                     {0, 5},
                                                     &S::NewLine,
                                                     {"  ab", "  cd"},
                                                     {1, 2}},
                                         CommandCase{"EmptyLineTakesIndentFromAbove",
                                                     {"  x", ""},
                                                     kDefaults,
                                                     {1, 0},
                                                     &S::NewLine,
                                                     {"  x", "", "  "},
                                                     {2, 2}},
                                         CommandCase{"WithoutAutoIndentColumnZero",
                                                     {"    abc"},
                                                     kNoAutoIndent,
                                                     {0, 7},
                                                     &S::NewLine,
                                                     {"    abc", ""},
                                                     {1, 0}},
                                         CommandCase{"OptimalFillUsesTabs",
                                                     {"      x"},
                                                     kTabFill,
                                                     {0, 7},
                                                     &S::NewLine,
                                                     {"      x", "\t  "},
                                                     {1, 6},
                                                     "4"},
                                         CommandCase{"PrevIndentCopiesTabs",
                                                     {" \t x"},
                                                     kTabPrev,
                                                     {0, 6},
                                                     &S::NewLine,
                                                     {" \t x", " \t "},
                                                     {1, 5},
                                                     "4"}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Tab, CommandTest,
    testing::Values(
        CommandCase{"SmartTabToIndentAbove",
                    {"      word", ""},
                    kDefaults,
                    {1, 0},
                    &S::TabKey,
                    {"      word", "      "},
                    {1, 6}},
        CommandCase{"SmartTabToNextWordAbove",
                    {"ab   cd  ef", "x"},
                    kDefaults,
                    {1, 1},
                    &S::TabKey,
                    {"ab   cd  ef", "x    "},
                    {1, 5}},
        CommandCase{"PlainTabToNextStop", {"ab"}, kPlainTab, {0, 2}, &S::TabKey, {"ab       "}, {0, 9}},
        CommandCase{"TabCharacterEndsAtItsStop", {"ab"}, kTabFill, {0, 1}, &S::TabKey, {"a\tb"}, {0, 9}},
        CommandCase{"SmartTabToEndOfLastWordAbove",
                    {"abc def", "x"},
                    kDefaults,
                    {1, 5},
                    &S::TabKey,
                    {"abc def", "x      "},
                    {1, 7}},
        CommandCase{"SmartTabInsideOnlyWordAbove",
                    {"word", ""},
                    kDefaults,
                    {1, 2},
                    &S::TabKey,
                    {"word", "    "},
                    {1, 4}},
        CommandCase{"TabInsideTabExpansionSplitsIt",
                    {"a\tb"},
                    kTabFill,
                    {0, 3},
                    &S::TabKey,
                    {"a  \t      b"},
                    {0, 9}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    BackSpace, CommandTest,
    testing::Values(
        CommandCase{"UnindentsToWordAbove",
                    {"  word", "    text"},
                    kDefaults,
                    {1, 4},
                    &S::BackSpace,
                    {"  word", "  text"},
                    {1, 2}},
        CommandCase{"UnindentsToStartWhenNothingAbove",
                    {"    text"},
                    kDefaults,
                    {0, 4},
                    &S::BackSpace,
                    {"text"},
                    {0, 0}},
        CommandCase{"PlainDeletesOneCharacter",
                    {"  word", "    text"},
                    kDefaults & ~Bit(soBackUnindents),
                    {1, 4},
                    &S::BackSpace,
                    {"  word", "   text"},
                    {1, 3}},
        CommandCase{"AtColumnZeroJoins", {"ab", "cd"}, kDefaults, {1, 0}, &S::BackSpace, {"abcd"}, {0, 2}},
        CommandCase{"InsideTextDeletesLeft", {"abc"}, kDefaults, {0, 2}, &S::BackSpace, {"ac"}, {0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Delete, CommandTest,
    testing::Values(
        CommandCase{
            "DeleteLineInTheMiddle", {"a", "b", "c"}, kDefaults, {1, 1}, &S::DeleteLine, {"a", "c"}, {1, 0}},
        CommandCase{"DeleteLineOnLastLineEmptiesIt",
                    {"a", "b"},
                    kDefaults,
                    {1, 1},
                    &S::DeleteLine,
                    {"a", ""},
                    {1, 0}},
        CommandCase{
            "DeleteAtEndJoinsNext", {"ab", "cd"}, kDefaults, {0, 2}, &S::DeleteChar, {"abcd"}, {0, 2}},
        CommandCase{"DeleteBeyondEndPadsThenJoins",
                    {"ab", "cd"},
                    kDefaults,
                    {0, 4},
                    &S::DeleteChar,
                    {"ab  cd"},
                    {0, 4}},
        CommandCase{"DeleteToLineEnd", {"abcdef"}, kDefaults, {0, 2}, &S::DeleteToLineEnd, {"ab"}, {0, 2}},
        CommandCase{
            "DeleteToLineStart", {"abcdef"}, kDefaults, {0, 2}, &S::DeleteToLineStart, {"cdef"}, {0, 0}},
        CommandCase{"DeleteWordRightTakesOneBlank",
                    {"one two  three"},
                    kDefaults,
                    {0, 4},
                    &S::DeleteWordRight,
                    {"one  three"},
                    {0, 4}},
        CommandCase{"DeleteWordRightInBlanks",
                    {"one   two"},
                    kDefaults,
                    {0, 3},
                    &S::DeleteWordRight,
                    {"onetwo"},
                    {0, 3}},
        CommandCase{"DeleteWordRightAtEndJoins",
                    {"one", "two"},
                    kDefaults,
                    {0, 3},
                    &S::DeleteWordRight,
                    {"onetwo"},
                    {0, 3}},
        CommandCase{"DeleteWordRightOnLastCharacterKeepsNextLine",
                    {"abc", "def"},
                    kDefaults,
                    {0, 2},
                    &S::DeleteWordRight,
                    {"ab", "def"},
                    {0, 2}},
        CommandCase{"DeleteWordRightInLastWordKeepsNextLine",
                    {"ab cd", "ef"},
                    kDefaults,
                    {0, 3},
                    &S::DeleteWordRight,
                    {"ab ", "ef"},
                    {0, 3}},
        CommandCase{"DeleteWordRightOnLastLetterOfLastWord",
                    {"ab cd", "ef"},
                    kDefaults,
                    {0, 4},
                    &S::DeleteWordRight,
                    {"ab c", "ef"},
                    {0, 4}},
        CommandCase{"DeleteWordRightBlanksBeforeLastCharacter",
                    {"ab  c", "ef"},
                    kDefaults,
                    {0, 2},
                    &S::DeleteWordRight,
                    {"abc", "ef"},
                    {0, 2}},
        CommandCase{"DeleteWordRightBeyondEndPadsThenJoins",
                    {"ab", "cd"},
                    kDefaults,
                    {0, 4},
                    &S::DeleteWordRight,
                    {"ab  cd"},
                    {0, 4}},
        CommandCase{"DeleteWordRightOnEmptyLineJoins",
                    {"", "cd"},
                    kDefaults,
                    {0, 0},
                    &S::DeleteWordRight,
                    {"cd"},
                    {0, 0}},
        CommandCase{"DeleteWordLeft", {"one two"}, kDefaults, {0, 7}, &S::DeleteWordLeft, {"one "}, {0, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Case, CommandTest,
                         testing::Values(CommandCase{"UpperCaseWordKeepsCaret",
                                                     {"net cell"},
                                                     kDefaults,
                                                     {0, 5},
                                                     &S::UpperCaseWord,
                                                     {"net CELL"},
                                                     {0, 5}},
                                         CommandCase{"LowerCaseWordLatin1",
                                                     {"\xC9T\xC9 X"},
                                                     kDefaults,
                                                     {0, 1},
                                                     &S::LowerCaseWord,
                                                     {"\xE9t\xE9 X"},
                                                     {0, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandsTest, EnterInOverwriteModeNeverChangesText) {
    Editor e({"    abc", "  def"}, kDefaults, {0, 2});
    e.s.SetOverwriteMode();
    e.s.NewLine();
    EXPECT_EQ(StoredLines(e.s), (Lines{"    abc", "  def"}));
    EXPECT_EQ(e.s.Caret(), (TPosition{1, 2}));
    e.s.SetCaret(6, 0);
    e.s.NewLine();
    EXPECT_EQ(e.s.Caret(), (TPosition{1, 2})) << "after the first non-blank: the next line's indent";
    e.s.SetInsertMode();
}

TEST(CommandsTest, OverwriteModeReplacesCharacters) {
    Editor e({"abc"}, kDefaults, {0, 1});
    e.s.SetOverwriteMode();
    e.s.TypeChar('X');
    e.s.TypeChar('Y');
    e.s.TypeChar('Z');
    EXPECT_EQ(e.s.StoredLine(0), "aXYZ");
    e.s.SetInsertMode();
    e.s.ToggleInsertMode();
    EXPECT_FALSE(TMemoSource::InsertMode());
    TMemoSource other;
    EXPECT_FALSE(other.InsertMode()) << "one flag for every buffer";
    other.ToggleInsertMode();
    EXPECT_TRUE(TMemoSource::InsertMode());
}

TEST(CommandsTest, OverwriteAtOrBeyondLineEndAppendsWithoutJoining) {
    for (const auto& [column, typed] : {std::pair{2, "abx"}, {4, "ab  x"}}) {
        Editor e({"ab", "cd"}, kDefaults, {0, column});
        e.s.SetOverwriteMode();
        e.s.TypeChar('x');
        e.s.SetInsertMode();
        EXPECT_EQ(StoredLines(e.s), (Lines{typed, "cd"})) << "caret at column " << column;
    }
}

TEST(CommandsTest, BackTabUnindentsBlockByTheWidthToTheFirstStopAtOrAfterItsLeft) {
    struct Case {
        const char* name;
        Lines before;
        TSelectionType kind;
        TPosition from, to;
        Lines after;
    };
    const Case cases[] = {
        {"StreamFromColumnZero",
         {"            ab", "  cd", "ef"},
         stStream,
         {0, 0},
         {2, 0},
         {"   ab", "cd", "ef"}},
        {"ColumnBeforeAStop",
         {"abcde     x", "abcde     y"},
         stColumn,
         {0, 5},
         {1, 9},
         {"abcde x", "abcde y"}},
        {"ColumnOnAStopHasNoWidth",
         {"abcdefghi    x", "abcdefghi    y"},
         stColumn,
         {0, 9},
         {1, 12},
         {"abcdefghi    x", "abcdefghi    y"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e(c.before, kPlainTab, c.from);
        e.s.ExtendSelection(
            c.kind, [&] { e.s.MoveCaret(c.to.LinePos - c.from.LinePos, c.to.CharPos - c.from.CharPos); });
        e.s.BackTab();
        EXPECT_EQ(StoredLines(e.s), c.after);
    }
}

// Far above, past several runs of the buffer's line index.
TEST(CommandsTest, KeysAlignWithALineAboveALongBlankStretch) {
    Lines lines{"  ab  cd"};
    lines.resize(5001);
    lines.push_back("      x");
    struct Case {
        const char* name;
        TPosition caret;
        void (TCustomMemoSource::*command)();
        std::string changedLine;
        TPosition caretAfter;
    };
    const Case cases[] = {
        {"SmartTabToEndOfTheWordAbove", {5001, 7}, &S::TabKey, "      x ", {5001, 8}},
        {"BackspaceUnindentsToTheWordAbove", {5001, 6}, &S::BackSpace, "  x", {5001, 2}},
        {"EnterTakesTheIndentAbove", {5000, 0}, &S::NewLine, "  ", {5001, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e(lines, kDefaults, c.caret);
        (e.s.*c.command)();
        EXPECT_EQ(e.s.StoredLine(c.caretAfter.LinePos), c.changedLine);
        EXPECT_EQ(e.s.Caret(), c.caretAfter);
    }
}

TEST(CommandsTest, InsertModeChangeIsAnnounced) {
    Editor e({"abc"}, kDefaults, {0, 0});
    TMemoStates seen = 0;
    e.s.AddView([&](TCustomMemoSource& s, int32_t, int32_t) { seen |= s.States(); }, &seen, false);
    e.s.ToggleInsertMode();
    EXPECT_TRUE(seen & msInsertMode);
    e.s.SetInsertMode();
}

TEST(CommandsTest, TypingOverASelection) {
    Editor e({"abcdef"}, kDefaults, {0, 1});
    e.s.ExtendSelection(stStream, [&] { e.s.MoveCaret(0, 3); });
    e.s.TypeChar('X');
    EXPECT_EQ(e.s.StoredLine(0), "aXef") << "overwrite blocks replace the selection";

    Editor p({"abcdef"}, kDefaults | Bit(soPersistentBlocks), {0, 1});
    p.s.ExtendSelection(stStream, [&] { p.s.MoveCaret(0, 3); });
    p.s.TypeChar('X');
    EXPECT_EQ(p.s.StoredLine(0), "abcdXef");
    EXPECT_TRUE(p.s.HasSelection());
}

TEST(CommandsTest, SelectAllLeavesCaretAtEndUnlessSelectionsAreOff) {
    Editor e({"one", "two!"}, kDefaults, {0, 1});
    e.s.SelectAll();
    EXPECT_EQ(e.s.SelectionType(), stStream);
    EXPECT_EQ(e.s.SelStart(), (TPosition{0, 0}));
    EXPECT_EQ(e.s.SelEnd(), (TPosition{1, 4}));
    EXPECT_EQ(e.s.Caret(), (TPosition{1, 4}));

    Editor none({"one", "two!"}, kDefaults, {0, 1});
    none.s.SetBlockOption(bkNone);
    none.s.SelectAll();
    EXPECT_FALSE(none.s.HasSelection());
    EXPECT_EQ(none.s.Caret(), (TPosition{0, 1}));
}

TEST(CommandsTest, Bookmarks) {
    Editor e({"a", "b", "c"}, kDefaults, {0, 0});
    e.s.ToggleBookmark(3);
    TPosition at;
    ASSERT_TRUE(e.s.BookmarkPos(3, at));
    e.s.ToggleBookmark(3);
    EXPECT_FALSE(e.s.BookmarkPos(3, at)) << "twice on one line removes it";

    e.s.ToggleBookmark(3);
    e.s.SetCaret(1, 2);
    e.s.ToggleBookmark(3);
    ASSERT_TRUE(e.s.BookmarkPos(3, at));
    EXPECT_EQ(at, (TPosition{2, 1})) << "on another line it moves there";
    EXPECT_EQ(e.s.Bookmarks().Items().size(), 1u);

    e.s.ToggleBookmark(0);
    e.s.ToggleBookmark(11);
    EXPECT_EQ(e.s.Bookmarks().Items().size(), 1u);

    e.s.SetCaret(0, 1);
    e.s.SetBookmark(3);
    ASSERT_TRUE(e.s.BookmarkPos(3, at));
    EXPECT_EQ(at, (TPosition{1, 0})) << "setting on its own line moves it, never removes it";
    e.s.SetCaret(2, 1);
    e.s.ClearBookmark(3);
    EXPECT_FALSE(e.s.BookmarkPos(3, at)) << "cleared wherever the caret is";
    e.s.SetCaret(1, 2);
    e.s.SetBookmark(3);

    e.s.SetCaret(0, 0);
    e.s.NewLine();
    ASSERT_TRUE(e.s.BookmarkPos(3, at));
    EXPECT_EQ(at, (TPosition{3, 1})) << "bookmarks follow the lines";

    TMemoStates seen = 0;
    e.s.AddView([&](TCustomMemoSource& s, int32_t, int32_t) { seen = s.States(); }, &seen, false);
    e.s.SetCaret(1, 3);
    e.s.GotoBookmark(3);
    EXPECT_TRUE(seen & msCaretMoved) << "even when the caret is already there";
}

TEST(CommandsTest, WordMovement) {
    Editor e({"(net  a1)", "next"}, kDefaults, {0, 0});
    e.s.SetDelimeters("()");
    e.s.WordRight();
    EXPECT_EQ(e.s.Caret(), (TPosition{0, 1}));
    e.s.WordRight();
    EXPECT_EQ(e.s.Caret(), (TPosition{0, 6}));
    e.s.LineEnd();
    e.s.WordRight();
    EXPECT_EQ(e.s.Caret(), (TPosition{1, 0}));
    e.s.WordLeft();
    EXPECT_EQ(e.s.Caret(), (TPosition{0, 9}));
    e.s.WordLeft();
    EXPECT_EQ(e.s.Caret(), (TPosition{0, 6}));
    e.s.SelectWord();
    EXPECT_EQ(e.s.SelectionLines(), (Lines{"a1"}));
    EXPECT_EQ(e.s.Caret(), (TPosition{0, 8}));
}

TEST(CommandsTest, BlockIndentAndCase) {
    Editor e({"ab", "", "cd", "ef"}, kDefaults, {0, 0});
    e.s.SetBlockIndent(2);
    e.s.ExtendSelection(stStream, [&] { e.s.MoveCaret(3, 0); });
    e.s.IndentBlock();
    EXPECT_EQ(StoredLines(e.s), (Lines{"  ab", "", "  cd", "ef"}))
        << "empty lines and the line after the end stay";
    EXPECT_TRUE(e.s.HasSelection());
    e.s.UpperCaseBlock();
    EXPECT_EQ(StoredLines(e.s), (Lines{"  AB", "", "  CD", "ef"}));
    e.s.UnindentBlock();
    EXPECT_EQ(StoredLines(e.s), (Lines{"AB", "", "CD", "ef"}));
    e.s.ToggleCaseBlock();
    EXPECT_EQ(StoredLines(e.s), (Lines{"ab", "", "cd", "ef"}));
}

TEST(CommandsTest, ColumnBlockCaseLeavesShortLinesAlone) {
    Editor e({"abcdef", "gh", "ijklmn"}, kDefaults, {0, 1});
    e.s.ExtendSelection(stColumn, [&] { e.s.MoveCaret(2, 2); });
    e.s.UpperCaseBlock();
    EXPECT_EQ(StoredLines(e.s), (Lines{"aBCDef", "gH", "iJKLmn"}));
    e.s.IndentBlock();
    EXPECT_EQ(StoredLines(e.s), (Lines{"a BCDef", "g H", "i JKLmn"}));
}

TEST(CommandsTest, CopyAndMoveBlocks) {
    Editor e({"abcdef", "ghijkl"}, kDefaults, {0, 1});
    e.s.ExtendSelection(stStream, [&] { e.s.MoveCaret(0, 2); });
    e.s.SetCaret(0, 1);
    EXPECT_FALSE(e.s.HasSelection()) << "a caret move drops a selection that is not persistent";

    Editor p({"abcdef", "ghijkl"}, kDefaults | Bit(soPersistentBlocks), {0, 1});
    p.s.ExtendSelection(stStream, [&] { p.s.MoveCaret(0, 2); });
    p.s.SetCaret(2, 0);
    EXPECT_FALSE(p.s.MoveBlock()) << "the caret lies inside the selection";
    p.s.SetCaret(0, 1);
    p.s.CopyBlock();
    EXPECT_EQ(StoredLines(p.s), (Lines{"abcdef", "bcghijkl"}));
    EXPECT_FALSE(p.s.HasSelection());

    p.s.SetCaret(4, 0);
    p.s.ExtendSelection(stStream, [&] { p.s.MoveCaret(0, 2); });
    p.s.SetCaret(0, 1);
    EXPECT_TRUE(p.s.MoveBlock());
    EXPECT_EQ(StoredLines(p.s), (Lines{"abcd", "efbcghijkl"}));
    p.s.Undo();
    EXPECT_EQ(StoredLines(p.s), (Lines{"abcdef", "bcghijkl"}));
}

TEST(CommandsTest, MarkingBeginThenEndWithoutASelectionMakesTheBlock) {
    Editor e({"abcdef", "ghijkl"}, kDefaults, {0, 1});
    e.s.MarkBlockBegin();
    EXPECT_FALSE(e.s.HasSelection());  // one corner alone is an empty block
    e.s.SetCaret(3, 1);
    e.s.MarkBlockEnd();
    ASSERT_TRUE(e.s.HasSelection());
    EXPECT_EQ(e.s.SelectionText(), "bcdef\r\nghi");
}

TEST(CommandsTest, ClipboardRoundTripsStreamAndColumnBlocks) {
    TMemoryClipboard clipboard;
    Editor e({"abcdef", "ghijkl", "mnopqr"}, kDefaults | Bit(soPersistentBlocks), {0, 1});
    e.s.ExtendSelection(stColumn, [&] { e.s.MoveCaret(1, 1); });
    e.s.CutToClipboard(clipboard);
    EXPECT_TRUE(clipboard.IsColumnBlock());
    EXPECT_EQ(clipboard.Text(), "bc\r\nhi");
    EXPECT_EQ(StoredLines(e.s), (Lines{"adef", "gjkl", "mnopqr"}));
    e.s.SetCaret(3, 1);
    e.s.PasteFromClipboard(clipboard);
    EXPECT_EQ(StoredLines(e.s), (Lines{"adef", "gjkbcl", "mnohipqr"}));

    TMemoryClipboard stream;
    stream.SetText("x\r\ny\tz", false);
    e.s.SetCaret(0, 0);
    e.s.PasteFromClipboard(stream);
    EXPECT_EQ(e.s.StoredLine(0), "x");
    EXPECT_EQ(e.s.StoredLine(1), "y        zadef");
    EXPECT_EQ(e.s.Caret(), (TPosition{1, 10}));

    TMemoryClipboard column;
    column.SetText("12\r\n34", true);
    Editor last({"ab", "cdef"}, kDefaults, {0, 0});
    last.s.SetCaret(2, 1);  // a column block pasted on the last line grows the text below it
    last.s.PasteFromClipboard(column);
    EXPECT_EQ(StoredLines(last.s), (Lines{"ab", "cd12ef", "  34"}));
    last.s.Undo();
    EXPECT_EQ(StoredLines(last.s), (Lines{"ab", "cdef"}));

    TMemoryClipboard untouched;
    untouched.SetText("keep", false);
    Editor n({"abc"}, kDefaults & ~Bit(soForceCutCopy), {0, 0});
    n.s.CopyToClipboard(untouched);
    EXPECT_EQ(untouched.Text(), "keep") << "copy without a selection leaves the clipboard alone";
    n.s.SetOptions(TStringsOptions(kDefaults));
    n.s.CopyToClipboard(untouched);
    EXPECT_FALSE(untouched.HasText()) << "unless soForceCutCopy empties it";
}

}  // namespace
}  // namespace tarnwick
