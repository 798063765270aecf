// Mouse selection: click, shift-click, drag, Alt-drag, double and triple click, drag and drop of
// the selection, and gutter clicks.
#include <QMouseEvent>

#include "tests/textengine/view/view_test_support.h"

namespace tarnwick::testing_view {
namespace {

class ViewMouseTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        SetLines({"alpha beta gamma", "second line here", "third", "fourth line"});
    }
    void Press(QPoint p, Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(view.get(), Qt::LeftButton, mods, p);
    }
    void MoveTo(QPoint p) {
        QMouseEvent move(QEvent::MouseMove, p, view->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view.get(), &move);
    }
    void Release(QPoint p, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseRelease(view.get(), Qt::LeftButton, mods, p);
    }
};

TEST_F(ViewMouseTest, ClickPlacesTheCaretAndShiftClickSelectsFromIt) {
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, EdgeOf(1, 3));
    EXPECT_EQ(Buffer().Caret(), (TPosition{1, 3}));
    EXPECT_FALSE(Buffer().HasSelection());
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::ShiftModifier, EdgeOf(3, 2));
    ASSERT_EQ(Buffer().SelectionType(), stStream);
    EXPECT_EQ(Buffer().SelStart(), (TPosition{1, 3}));
    EXPECT_EQ(Buffer().SelEnd(), (TPosition{3, 2}));
}

TEST_F(ViewMouseTest, DragSelectsAStreamAndAltDragAColumn) {
    Press(EdgeOf(0, 2));
    MoveTo(EdgeOf(2, 4));
    Release(EdgeOf(2, 4));
    ASSERT_EQ(Buffer().SelectionType(), stStream);
    EXPECT_EQ(Buffer().SelStart(), (TPosition{0, 2}));
    EXPECT_EQ(Buffer().SelEnd(), (TPosition{2, 4}));

    QTest::mouseClick(view.get(), Qt::LeftButton, {}, EdgeOf(3, 0));  // outside: drops it
    Press(EdgeOf(0, 6), Qt::AltModifier);
    MoveTo(EdgeOf(3, 9));
    Release(EdgeOf(3, 9), Qt::AltModifier);
    ASSERT_EQ(Buffer().SelectionType(), stColumn);
    EXPECT_EQ(Buffer().SelStart(), (TPosition{0, 6}));
    EXPECT_EQ(Buffer().SelEnd(), (TPosition{3, 9}));
}

TEST_F(ViewMouseTest, DoubleClickSelectsTheWordOrWithDblClickLineTheLine) {
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, PointOf(0, 7));
    ASSERT_TRUE(Buffer().HasSelection());
    EXPECT_EQ(Buffer().SelStart(), (TPosition{0, 6}));
    EXPECT_EQ(Buffer().SelEnd(), (TPosition{0, 10}));

    view->SetOptions(view->Options().With(moDblClickLine));
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, PointOf(1, 2));
    EXPECT_EQ(Buffer().SelStart(), (TPosition{1, 0}));
    EXPECT_EQ(Buffer().SelEnd(), (TPosition{2, 0}));
}

TEST_F(ViewMouseTest, TripleClickSelectsTheLineOnlyWithTripleClickOption) {
    // A long interval, so that a busy machine cannot stretch the third click out of it.
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(3000);
    for (const bool tripleOn : {false, true}) {
        SCOPED_TRACE(tripleOn);
        view->SetOptions(view->Options().Set(moTripleClick, tripleOn));
        QTest::mouseDClick(view.get(), Qt::LeftButton, {}, PointOf(0, 1));
        QTest::mouseClick(view.get(), Qt::LeftButton, {}, PointOf(0, 1));
        if (tripleOn) {
            EXPECT_EQ(Buffer().SelStart(), (TPosition{0, 0}));
            EXPECT_EQ(Buffer().SelEnd(), (TPosition{1, 0}));
        } else {
            EXPECT_FALSE(Buffer().HasSelection());
        }
        QTest::qWait(QApplication::doubleClickInterval() + 50);
    }
    QApplication::setDoubleClickInterval(interval);
}

// Held below the text, the button scrolls the view and stretches the selection with it;
// releasing it stops the scrolling.
TEST_F(ViewMouseTest, HoldingTheButtonBelowTheTextScrollsAndSelects) {
    SetLines(std::vector<std::string>(200, "text"));
    Press(EdgeOf(1, 2));
    MoveTo(QPoint(EdgeOf(1, 2).x(), view->height() + 20));
    EXPECT_TRUE(view->IsAutoScrolling());
    const int32_t firstTop = view->TopRow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->TopRow() >= firstTop + 3; }, 5000));
    Release(QPoint(EdgeOf(1, 2).x(), view->height() + 20));
    EXPECT_FALSE(view->IsAutoScrolling());
    ASSERT_EQ(Buffer().SelectionType(), stStream);
    EXPECT_EQ(Buffer().SelStart(), (TPosition{1, 2}));
    const int32_t lastRowShown = view->TopRow() + view->FullyVisibleRows() - 1;
    EXPECT_EQ(Buffer().SelEnd().LinePos, lastRowShown);
}

TEST_F(ViewMouseTest, DraggingTheSelectionMovesItAndCtrlCopiesIt) {
    Buffer().SetSelection(0, 2, 5, 2);  // "third"
    Buffer().SetSelectionKind(stStream);
    Press(PointOf(2, 1));
    MoveTo(EdgeOf(3, 7));
    Release(EdgeOf(3, 7));
    EXPECT_EQ(Buffer().LineText(2), "");
    EXPECT_EQ(Buffer().LineText(3), "fourth thirdline");

    Buffer().SetSelection(0, 0, 5, 0);  // "alpha"
    Buffer().SetSelectionKind(stStream);
    Press(PointOf(0, 1));
    MoveTo(EdgeOf(1, 0));
    Release(EdgeOf(1, 0), Qt::ControlModifier);
    EXPECT_EQ(Buffer().LineText(0), "alpha beta gamma");
    EXPECT_EQ(Buffer().LineText(1), "alphasecond line here");
}

TEST_F(ViewMouseTest, GutterClickReportsLineImageAndButtonWithoutMovingTheCaret) {
    view->SetOptions(view->Options().With(moDrawGutter));
    Buffer().SetLineMark(2, 0, true);  // "BreakPoint"
    Buffer().SetCaret(1, 1);
    int32_t line = -2, image = -2;
    uint8_t shift = 0;
    view->OnClickGutter = [&](TCustomDCMemo&, int32_t l, int32_t i, uint8_t s) {
        line = l;
        image = i;
        shift = s;
    };
    const int32_t y = view->RowHeight() * 2 + view->RowHeight() / 2;
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(4, y));
    EXPECT_EQ(line, 2);
    EXPECT_EQ(image, 0);
    EXPECT_EQ(shift, ksShift | kGutterLeftButton);
    QTest::mouseClick(view.get(), Qt::RightButton, {}, QPoint(view->GutterPx() - 3, view->RowHeight() / 2));
    EXPECT_EQ(line, 0);
    EXPECT_EQ(image, -1);
    EXPECT_EQ(shift, kGutterRightButton);
    EXPECT_EQ(Buffer().Caret(), (TPosition{1, 1}));
}

}  // namespace
}  // namespace tarnwick::testing_view
