// Key strokes through the view's key mappings: typing and the basic keys of "Default", prefix
// keys and their states, Brief's modal selection, WantTabs, clipboard, bracket matching and
// capitalising a word.
#include <QKeyEvent>

#include "tests/textengine/view/view_test_support.h"

namespace tarnwick::testing_view {
namespace {

using ViewKeysTest = ViewFixture;

TEST_F(ViewKeysTest, TypingEnterTabAndBackspaceEditThroughTheDefaultMapping) {
    Buffer().SetOptions(Buffer().Options().Without(soAutoIndent).Without(soSmartTab));
    view->WantTabs = true;
    QTest::keyClicks(view.get(), "ab");
    Keys(Qt::Key_Return);
    QTest::keyClicks(view.get(), "cd");
    Keys(Qt::Key_Tab);
    QTest::keyClicks(view.get(), "e");
    Keys(Qt::Key_Backspace);
    Keys(Qt::Key_Backspace);
    EXPECT_EQ(Buffer().LineCount(), 2);
    EXPECT_EQ(Buffer().LineText(0), "ab");
    EXPECT_EQ(Buffer().LineText(1), "cd      ");  // the tab's blanks up to the stop, one removed
    EXPECT_EQ(Buffer().Caret(), (TPosition{1, 8}));
}

TEST_F(ViewKeysTest, BytesAboveAsciiAreTypedAsLatin1) {
    for (char16_t c : {u'\xE9', u'\xFC'}) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
        QApplication::sendEvent(view.get(), &key);
    }
    EXPECT_EQ(Buffer().LineText(0), "\xE9\xFC");
}

TEST_F(ViewKeysTest, CtrlKPrefixMarksBlockBeginOnlyWithBareB) {
    SetLines({"0123456789", "abcdefghij"});
    Buffer().SetOptions(Buffer().Options().With(soPersistentBlocks));
    Buffer().SelectAll();
    Buffer().SetCaret(2, 0);
    Keys(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(view->KeyList().State(), 1);
    Keys(Qt::Key_B, Qt::ControlModifier);  // Ctrl+B in state 1 has no binding
    EXPECT_EQ(view->KeyList().State(), 0);
    EXPECT_EQ(Buffer().SelStart(), (TPosition{0, 0}));

    Keys(Qt::Key_K, Qt::ControlModifier);
    Keys(Qt::Key_B);
    Buffer().SetCaret(4, 1);
    EXPECT_EQ(Buffer().Caret(), (TPosition{1, 4}));
    Keys(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(view->KeyList().State(), 1);
    Keys(Qt::Key_K, Qt::ControlModifier);  // K works with Ctrl as well
    ASSERT_EQ(Buffer().SelectionType(), stStream);
    EXPECT_EQ(Buffer().SelStart(), (TPosition{0, 2}));
    EXPECT_EQ(Buffer().SelEnd(), (TPosition{1, 4}));
}

TEST_F(ViewKeysTest, CtrlQDigitJumpsToBookmarkAndCtrlKZeroTogglesBookmarkTen) {
    SetLines({"one", "two", "three", "four"});
    Buffer().SetCaret(1, 2);
    Keys(Qt::Key_K, Qt::ControlModifier);
    Keys(Qt::Key_0);
    ASSERT_TRUE(Buffer().Bookmarks().Find(10).has_value());
    Buffer().SetCaret(2, 3);
    Buffer().ToggleBookmark(3);
    Buffer().SetCaret(0, 0);
    Keys(Qt::Key_Q, Qt::ControlModifier);
    Keys(Qt::Key_3);
    EXPECT_EQ(Buffer().Caret(), (TPosition{3, 2}));
}

TEST_F(ViewKeysTest, BriefSelectsModallyAndEscDropsTheSelection) {
    SetLines({"alpha", "beta", "gamma", "delta"});
    view->SetKeyMapping("Brief");
    Keys(Qt::Key_A, Qt::AltModifier);
    Keys(Qt::Key_Down);
    Keys(Qt::Key_Down);
    EXPECT_EQ(view->KeyList().State(), 6);
    ASSERT_EQ(Buffer().SelectionType(), stStream);
    EXPECT_EQ(Buffer().SelStart(), (TPosition{0, 0}));
    EXPECT_EQ(Buffer().SelEnd(), (TPosition{2, 0}));
    Keys(Qt::Key_Escape);
    EXPECT_FALSE(Buffer().HasSelection());
    EXPECT_EQ(view->KeyList().State(), 0);

    Buffer().SetCaret(3, 2);
    Keys(Qt::Key_Home);
    Keys(Qt::Key_Home);  // the second Home goes to the start of the text
    EXPECT_EQ(Buffer().Caret(), (TPosition{0, 0}));
}

TEST_F(ViewKeysTest, BriefColumnModeExtendsAColumnSelection) {
    SetLines({"abcdef", "ghijkl", "mnopqr"});
    view->SetKeyMapping("Brief");
    Buffer().SetCaret(1, 0);
    Keys(Qt::Key_C, Qt::AltModifier);
    Keys(Qt::Key_Down);
    Keys(Qt::Key_Right);
    Keys(Qt::Key_Right);
    ASSERT_EQ(Buffer().SelectionType(), stColumn);
    EXPECT_EQ(Buffer().SelStart(), (TPosition{0, 1}));
    EXPECT_EQ(Buffer().SelEnd(), (TPosition{1, 3}));
    QTest::keyClicks(view.get(), "x");  // unbound in state 7: back to 0, and typed
    EXPECT_EQ(view->KeyList().State(), 0);
}

TEST_F(ViewKeysTest, TabWithoutWantTabsIsLeftToTheWindowButCtrlTabIsTheTabKey) {
    Buffer().SetOptions(Buffer().Options().Without(soSmartTab));
    view->WantTabs = false;
    Keys(Qt::Key_Tab);
    EXPECT_EQ(Buffer().LineText(0), "");
    Keys(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Buffer().Caret().CharPos, Buffer().TabRack().NextStop(0));
}

TEST_F(ViewKeysTest, UnknownMappingBehavesAsDefaultAndAnEmptiedListStaysEmpty) {
    view->SetKeyMapping("No such mapping");
    const size_t defaultCount = view->KeyList().Bindings().size();
    view->SetKeyMapping("Default");
    EXPECT_EQ(view->KeyList().Bindings().size(), defaultCount);
    view->KeyList().Clear();
    view->SetKeyMapping("Default");  // the same name: nothing happens
    EXPECT_TRUE(view->KeyList().Empty());
    QTest::keyClicks(view.get(), "q");  // typing still works without bindings
    EXPECT_EQ(Buffer().LineText(0), "q");
}

TEST_F(ViewKeysTest, CopyWithoutSelectionLeavesTheClipboardAlone) {
    Buffer().SetOptions(Buffer().Options().Without(soForceCutCopy));
    QApplication::clipboard()->setText("kept");
    SetLines({"text"});
    Keys(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");
}

TEST_F(ViewKeysTest, ColumnBlockTravelsThroughTheClipboardAsAColumn) {
    SetLines({"abcd", "efgh", "ijkl"});
    Buffer().SetCaret(1, 0);
    Buffer().ExtendSelection(stColumn, [&] { Buffer().SetCaret(3, 1); });
    Keys(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "bcd\r\nfgh");  // the right column is inside
    Buffer().SetSelectionKind(stNone);
    Buffer().SetCaret(0, 1);
    Keys(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Buffer().LineText(1), "bcdefgh");
    EXPECT_EQ(Buffer().LineText(2), "fghijkl");
    EXPECT_EQ(Buffer().LineCount(), 3);  // a column block adds no lines

    QApplication::clipboard()->setText("x\r\ny");  // another program's text: a stream
    Buffer().SetCaret(0, 0);
    Keys(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Buffer().LineCount(), 4);
}

struct BracketCase {
    const char* name;
    std::vector<std::string> lines;
    TPosition from;
    TPosition expected;
};

TEST_F(ViewKeysTest, CtrlBracketMatchesBracketsSkippingNone) {
    const BracketCase cases[] = {
        {"ForwardNested", {"(a (b) c)"}, {0, 0}, {0, 8}},
        {"BackwardNested", {"(a (b) c)"}, {0, 8}, {0, 0}},
        {"AcrossLines", {"{", "  [x]", "}"}, {0, 0}, {2, 0}},
        {"NoBracketStays", {"abc"}, {0, 1}, {0, 1}},
        {"UnmatchedStays", {"((x)"}, {0, 0}, {0, 0}},
    };
    for (const BracketCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetLines(c.lines);
        Buffer().SetCaret(c.from.CharPos, c.from.LinePos);
        Keys(Qt::Key_BracketLeft, Qt::ControlModifier);
        EXPECT_EQ(Buffer().Caret(), c.expected);
    }
}

// Every run of ASCII letters in the word starts with a capital, whatever the process's locale.
TEST_F(ViewKeysTest, EpsilonAltCCapitalisesEachLetterRunOfTheWord) {
    view->SetKeyMapping("Epsilon");
    SetLines({"x mIXED2word y"});
    Buffer().SetCaret(4, 0);
    Keys(Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(Buffer().StoredLine(0), "x Mixed2Word y");
    EXPECT_EQ(Buffer().Caret(), (TPosition{0, 4}));
}

TEST_F(ViewKeysTest, ReadOnlyBufferIgnoresEditingKeys) {
    SetLines({"fixed"});
    Buffer().SetReadOnly(true);
    QTest::keyClicks(view.get(), "xy");
    Keys(Qt::Key_Return);
    Keys(Qt::Key_Backspace);
    Keys(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Buffer().Text(), "fixed");
}

}  // namespace
}  // namespace tarnwick::testing_view

namespace tarnwick::testing_view {
namespace {

// One prefix sequence of each mapping and what it must leave behind.
struct PrefixCase {
    const char* mapping;
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
    TPosition expectedCaret;
    std::string expectedLine0;
};

TEST_F(ViewKeysTest, EachMappingRunsItsPrefixSequences) {
    const PrefixCase cases[] = {
        {"Default", {{Qt::Key_Q, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier}}, {2, 5}, "(ab) x"},
        {"Classic", {{Qt::Key_Q, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier}}, {2, 5}, "(ab) x"},
        {"Visual Studio",
         {{Qt::Key_Q, Qt::ControlModifier}, {Qt::Key_BracketLeft, Qt::NoModifier}},
         {0, 3},
         "(ab) x"},
        {"Epsilon", {{Qt::Key_X, Qt::ControlModifier}, {Qt::Key_U, Qt::ControlModifier}}, {0, 0}, "(ab) x"},
        {"Brief", {{Qt::Key_J, Qt::AltModifier}, {Qt::Key_2, Qt::AltModifier}}, {1, 1}, "(ab) x"},
    };
    for (const PrefixCase& c : cases) {
        SCOPED_TRACE(c.mapping);
        view->SetKeyMapping(c.mapping);
        SetLines({"(ab) x", "line", "third"});
        Buffer().SetCaret(1, 1);
        Buffer().ToggleBookmark(2);
        Buffer().SetCaret(0, 0);
        if (std::string(c.mapping) == "Epsilon")  // something to undo
            Buffer().TypeChar('z');
        for (const auto& [key, mods] : c.keys)
            Keys(key, mods);
        EXPECT_EQ(Buffer().Caret(), c.expectedCaret);
        EXPECT_EQ(Buffer().LineText(0), c.expectedLine0);
        EXPECT_EQ(view->KeyList().State(), 0);
    }
}

TEST_F(ViewKeysTest, HiddenCaretMakesArrowKeysScroll) {
    std::vector<std::string> lines(100, "text");
    SetLines(lines);
    view->SetHideCaret(true);
    Keys(Qt::Key_Down);
    Keys(Qt::Key_Down);
    EXPECT_EQ(view->TopRow(), 2);
    EXPECT_EQ(Buffer().Caret(), (TPosition{0, 0}));
}

}  // namespace
}  // namespace tarnwick::testing_view
