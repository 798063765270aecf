// Undo steps, grouping, the save point and the undo limit.
#include <gtest/gtest.h>

#include "tests/textengine/test_support.h"
#include "textengine/memo_source.h"

namespace tarnwick {
namespace {

using testing_support::LoadLines;

TStringsOptions WithoutGrouping() { return TStringsOptions(kDefaultStringsOptions).Without(soGroupUndo); }

class UndoTest : public testing::Test {
protected:
    void SetUp() override {
        source.SetInsertMode();
        LoadLines(source, {"line one", "line two", "line three"});
    }
    void Type(const std::string& text) {
        for (char c : text)
            source.TypeChar(c);
    }
    // Types count characters; the most records the undo list held meanwhile.
    size_t TypeWatchingTheLimit(int count) {
        size_t most = 0;
        for (int i = 0; i < count; ++i) {
            source.TypeChar('k');
            most = std::max(most, source.UndoList().Count());
            if (!source.UndoList()[0].FirstOfChange) {
                ADD_FAILURE() << "a trim cut inside a command";
                break;
            }
        }
        return most;
    }
    TMemoSource source;
};

TEST_F(UndoTest, TypedCharactersUndoOneByOneOrGrouped) {
    source.SetOptions(WithoutGrouping());
    Type("abc");
    source.Undo();
    EXPECT_EQ(source.StoredLine(0), "abline one");
    EXPECT_EQ(source.Caret(), (TPosition{0, 2}));

    source.SetOptions(TStringsOptions(kDefaultStringsOptions));
    Type("de");
    source.Undo();
    EXPECT_EQ(source.StoredLine(0), "line one") << "with soGroupUndo the whole run of typing goes";
    EXPECT_EQ(source.Caret(), (TPosition{0, 0}));
}

TEST_F(UndoTest, CaretMovesAreUndoable) {
    source.SetOptions(WithoutGrouping());
    source.CaretRight();
    source.CaretRight();
    source.CaretDown();
    source.Undo();
    EXPECT_EQ(source.Caret(), (TPosition{0, 2}));
    source.SetOptions(TStringsOptions(kDefaultStringsOptions));
    source.Undo();
    EXPECT_EQ(source.Caret(), (TPosition{0, 0})) << "consecutive moves go back in one step";
}

// A move past the last line (soBeyondFileEnd) undoes to exactly where it came from: cut short
// at the last line, it left the records before it to undo at the wrong place, so the typed
// character stayed.
TEST_F(UndoTest, MovesPastTheLastLineUndoExactlySoTheTypingBeforeThemGoes) {
    source.SetOptions(WithoutGrouping().With(soBeyondFileEnd));
    source.SetCaret(2, 5);
    source.TypeChar('e');  // appends lines 3 to 5 first
    source.MoveCaret(4, -1);
    source.SelectAll();
    while (source.CanUndo())
        source.Undo();
    EXPECT_EQ(testing_support::StoredLines(source),
              (std::vector<std::string>{"line one", "line two", "line three"}));
    EXPECT_EQ(source.Caret(), (TPosition{0, 0}));
}

TEST_F(UndoTest, SavePointDecidesModified) {
    source.SetOptions(WithoutGrouping());
    source.SetModified(false);
    Type("x");
    EXPECT_TRUE(source.Modified());
    source.Undo();
    EXPECT_FALSE(source.Modified()) << "back at the save point";

    Type("y");
    source.SetModified(false);
    source.Undo();
    EXPECT_TRUE(source.Modified()) << "undoing past the save point";
    source.Redo();
    EXPECT_TRUE(source.Modified()) << "the save point was undone, so it is gone";
}

// Trimming removes only caret moves here, which must not bring back the save point that undo
// went past: the text differs from the saved one whatever the list still holds.
TEST_F(UndoTest, TrimmingKeepsTheTextModifiedAfterUndoPastTheSavePoint) {
    source.SetOptions(WithoutGrouping());
    source.SetUndoLimit(10);
    Type("x");
    source.SetModified(false);
    source.Undo();
    ASSERT_TRUE(source.Modified());
    for (int i = 0; i < 150; ++i) {
        if (i % 2 == 0)
            source.CaretRight();
        else
            source.CaretLeft();
    }
    source.Undo();  // a caret move; undo works the flag out afresh
    EXPECT_EQ(source.StoredLine(0), "line one");
    EXPECT_TRUE(source.Modified());
}

TEST_F(UndoTest, AnyChangeAfterUndoDropsRedo) {
    Type("x");
    source.Undo();
    ASSERT_TRUE(source.CanRedo());
    source.CaretDown();
    EXPECT_FALSE(source.CanRedo());

    Type("y");
    source.Undo();
    ASSERT_TRUE(source.CanRedo());
    Type("z");
    EXPECT_FALSE(source.CanRedo());
}

TEST_F(UndoTest, TabKeyUndoesInOneStep) {
    source.SetOptions(WithoutGrouping().Without(soSmartTab));
    source.SetCaret(4, 1);
    source.TabKey();
    ASSERT_EQ(source.StoredLine(1), "line      two");
    ASSERT_EQ(source.Caret(), (TPosition{1, 9}));
    source.Undo();
    EXPECT_EQ(source.StoredLine(1), "line two");
    EXPECT_EQ(source.Caret(), (TPosition{1, 4}));
    source.TabKey();
    source.TabKey();
    source.Undo();
    EXPECT_EQ(source.StoredLine(1), "line      two") << "two Tab keys stay two steps";
}

TEST_F(UndoTest, LimitTrimsAtCommandBoundaries) {
    source.SetOptions(WithoutGrouping());
    source.SetUndoLimit(10);
    EXPECT_LE(TypeWatchingTheLimit(150), 111u);
    EXPECT_LT(source.UndoList().Count(), 111u);
    int steps = 0;
    while (source.CanUndo()) {
        source.Undo();
        ++steps;
    }
    EXPECT_GE(steps, 5);
    EXPECT_EQ(source.StoredLine(0), std::string(150 - steps, 'k') + "line one");
}

TEST_F(UndoTest, LimitMovesTheSavePointWithTheTrim) {
    source.SetOptions(WithoutGrouping());
    source.SetUndoLimit(10);
    Type(std::string(200, 'k'));
    source.SetModified(false);
    Type("abc");
    for (int i = 0; i < 3; ++i)
        source.Undo();
    EXPECT_FALSE(source.Modified()) << "the save point moved down with the records trimmed below it";

    Type(std::string(150, 'm'));
    while (source.CanUndo())
        source.Undo();
    EXPECT_TRUE(source.Modified()) << "the save point was trimmed away";
}

// One change of more records than the limit has no place to cut: it stays whole, and once it
// is undone the typing after it is trimmed as before.
TEST_F(UndoTest, LimitKeepsAChangeLargerThanItWhole) {
    std::vector<std::string> lines(500, "some text");
    LoadLines(source, lines);
    source.SetOptions(WithoutGrouping());
    source.SetUndoLimit(10);
    Type("ab");
    source.SetSelection(0, 1, 0, 401);
    source.SetSelectionKind(stStream);
    source.DeleteSelection();
    ASSERT_EQ(source.LineCount(), 100);
    EXPECT_GT(source.UndoList().Count(), 111u);
    EXPECT_TRUE(source.UndoList()[0].FirstOfChange);

    Type("xyz");
    for (int i = 0; i < 4; ++i)
        source.Undo();
    EXPECT_EQ(source.LineCount(), 500);
    EXPECT_EQ(source.StoredLine(0), "absome text");
    EXPECT_LE(TypeWatchingTheLimit(150), 111u);
}

// With every record undone the list is empty, and the trim's search for a place to cut must
// still stop above the first record when one change outgrows the limit.
TEST_F(UndoTest, LimitKeepsALargeChangeWholeAfterEverythingWasUndone) {
    std::vector<std::string> lines(500, "some text");
    LoadLines(source, lines);
    source.SetOptions(WithoutGrouping());
    source.SetUndoLimit(10);
    Type("ab");
    while (source.CanUndo())
        source.Undo();
    ASSERT_EQ(source.StoredLine(0), "some text");
    source.SetSelection(0, 1, 0, 401);
    source.SetSelectionKind(stStream);
    source.DeleteSelection();
    ASSERT_EQ(source.LineCount(), 100);
    EXPECT_GT(source.UndoList().Count(), 111u);
    while (source.CanUndo())
        source.Undo();
    EXPECT_EQ(source.LineCount(), 500);
    EXPECT_EQ(source.StoredLine(0), "some text");
}

TEST_F(UndoTest, ReadOnlyBufferDoesNotUndo) {
    Type("x");
    source.SetReadOnly(true);
    source.Undo();
    EXPECT_EQ(source.StoredLine(0), "xline one");
    source.SetReadOnly(false);
    source.Undo();
    EXPECT_EQ(source.StoredLine(0), "line one");
}

TEST_F(UndoTest, SwitchingUndoOffClearsBothLists) {
    Type("x");
    source.Undo();
    Type("y");
    source.SetAllowUndo(false);
    EXPECT_FALSE(source.CanUndo());
    EXPECT_FALSE(source.CanRedo());
    Type("z");
    EXPECT_FALSE(source.CanUndo());
}

TEST_F(UndoTest, UndoOfStructureRestoresLinesAndCaret) {
    source.SetOptions(WithoutGrouping());
    source.SetCaret(4, 0);
    source.NewLine();
    source.DeleteLine();
    source.SetCaret(0, 2);
    source.BackSpace();
    source.Undo();
    source.Undo();
    source.Undo();
    EXPECT_EQ(source.Text(), "line\r\n one\r\nline two\r\nline three");
    source.Undo();
    EXPECT_EQ(source.Text(), "line one\r\nline two\r\nline three");
    EXPECT_EQ(source.Caret(), (TPosition{0, 4}));
    source.Undo();
    EXPECT_EQ(source.Caret(), (TPosition{0, 0}));
    EXPECT_FALSE(source.CanUndo());
}

}  // namespace
}  // namespace tarnwick
