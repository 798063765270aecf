// Folding in the view: rows leave hidden lines out, the caret steps over folds, keys and the
// gutter fold and unfold, and edits show a fold again.
#include "tests/textengine/view/view_test_support.h"

namespace tarnwick::testing_view {
namespace {

// Twelve cells of ten lines each after a header line: cell k spans lines 1 + 10k to 10 + 10k,
// and holds a view over its lines 2 to 8.
class ViewFoldTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        std::vector<std::string> lines{"(library lib"};
        std::vector<TFoldRanges::TEntry> entries;
        for (int k = 0; k < 12; ++k) {
            const int first = 1 + 10 * k;
            for (int i = 0; i < 10; ++i)
                lines.push_back(i == 0 ? "  (cell c" + std::to_string(k)
                                       : "    line " + std::to_string(first + i));
            entries.push_back({{first, first + 9}, true});
            entries.push_back({{first + 1, first + 7}, false});
        }
        lines.push_back(")");
        entries.push_back({{0, int32_t(lines.size()) - 1}, false});
        SetLines(lines);
        ranges = TFoldRanges(std::move(entries));
        view->SetOptions(view->Options().With(moHideInvisibleLines).With(moDrawGutter));
        view->SetFoldRanges(&ranges);
    }
    std::vector<TLineRange> Hidden() { return Buffer().Folds().HiddenRanges(); }
    // The fold box of a row, in the gutter's fold column.
    QPoint FoldBoxOf(int32_t line) const {
        const int32_t row = view->RowOfPosition({line, 0}) - view->TopRow();
        return QPoint(view->GutterPx() - 1 - view->FoldColumnPx() / 2,
                      row * view->RowHeight() + view->RowHeight() / 2);
    }
    TFoldRanges ranges;
};

TEST_F(ViewFoldTest, KeysFoldTheFormAtTheCaretThenTheOneAroundItAndUnfold) {
    Buffer().SetCaret(4, 5);  // inside the view of cell 0
    Keys(Qt::Key_BracketLeft, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Hidden(), (std::vector<TLineRange>{{3, 8}}));
    EXPECT_EQ(Buffer().Caret(), (TPosition{2, 4}));                      // out of the fold, onto its header
    Keys(Qt::Key_BracketLeft, Qt::ControlModifier | Qt::ShiftModifier);  // again: the cell
    EXPECT_EQ(Hidden(), (std::vector<TLineRange>{{2, 10}}));
    EXPECT_EQ(Buffer().Caret().LinePos, 1);
    Keys(Qt::Key_BracketRight, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(Hidden().empty());

    Keys(Qt::Key_BracketLeft, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(Buffer().Folds().RangeCount(), 12);
    EXPECT_EQ(view->RowCount(), 1 + 12 + 1);
    EXPECT_EQ(view->RowInfo(5).Line, 41);  // the header of cell 4
    Keys(Qt::Key_BracketRight, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_TRUE(Hidden().empty());
    EXPECT_EQ(view->RowCount(), 122);
}

TEST_F(ViewFoldTest, TheCaretStepsOverFoldsAndPagesCountOnlyShownRows) {
    view->FoldAllCells();
    Buffer().SetCaret(3, 1);
    Keys(Qt::Key_Down);
    EXPECT_EQ(Buffer().Caret().LinePos, 11);  // the next cell's header, not a hidden line
    Keys(Qt::Key_Up);
    EXPECT_EQ(Buffer().Caret().LinePos, 1);
    EXPECT_EQ(Buffer().Folds().RangeCount(), 12);

    view->resize(640, view->RowHeight() * 5 + 2);  // five rows on a page
    Buffer().SetCaret(0, 0);
    Keys(Qt::Key_PageDown);
    EXPECT_EQ(view->TopRow(), 5);
    EXPECT_EQ(Buffer().Caret().LinePos, 41);  // four cells further
    Keys(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Buffer().Caret().LinePos, 121);
    EXPECT_EQ(view->RowOfPosition(Buffer().Caret()), 13);
    EXPECT_EQ(Buffer().Folds().RangeCount(), 12);  // the last line is not in a cell
    Keys(Qt::Key_PageUp);
    EXPECT_FALSE(Buffer().Folds().IsHidden(Buffer().Caret().LinePos));
}

TEST_F(ViewFoldTest, AJumpOrAnEditIntoAFoldShowsIt) {
    view->FoldAllCells();
    Buffer().SetCaret(0, 25);  // a go-to line into cell 2
    EXPECT_FALSE(Buffer().Folds().IsHidden(25));
    EXPECT_EQ(Buffer().Folds().RangeCount(), 11);
    EXPECT_EQ(view->RowInfo(view->RowOfPosition({25, 0})).Line, 25);

    Buffer().SetCaret(Buffer().LineLength(31), 31);  // the header of cell 3
    Keys(Qt::Key_Delete);                            // joins the first hidden line onto it
    EXPECT_FALSE(Buffer().Folds().IsFoldedHeader(31));
    EXPECT_EQ(Buffer().Folds().RangeCount(), 10);
    Keys(Qt::Key_Return);                              // a new line above the other folds moves them down
    EXPECT_TRUE(Buffer().Folds().IsFoldedHeader(41));  // cell 4: up by the join, down again
}

TEST_F(ViewFoldTest, TheGutterBoxFoldsAndUnfoldsAndOtherGutterClicksStillReportTheLine) {
    int32_t reported = -1;
    view->OnClickGutter = [&](TCustomDCMemo&, int32_t line, int32_t, uint8_t) { reported = line; };
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, FoldBoxOf(11));
    EXPECT_EQ(Hidden(), (std::vector<TLineRange>{{12, 20}}));
    EXPECT_EQ(reported, -1);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, FoldBoxOf(11));
    EXPECT_TRUE(Hidden().empty());
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(2, FoldBoxOf(13).y()));
    EXPECT_EQ(reported, 13);

    // The box is drawn on the lines that start a form: a minus, and a plus once folded.
    const QImage open = view->grab().toImage();
    view->ToggleFoldAt(11);
    const QImage folded = view->grab().toImage();
    const QRect box(view->GutterPx() - 1 - view->FoldColumnPx(), FoldBoxOf(11).y() - 5, view->FoldColumnPx(),
                    10);
    const QColor gutter = open.pixelColor(1, FoldBoxOf(11).y());
    EXPECT_GT(InkPixels(open, box, gutter), 0);
    EXPECT_GT(InkPixels(folded, box, gutter), InkPixels(open, box, gutter));
    const QRect plainLine = box.translated(0, 2 * view->RowHeight());  // line 13 starts nothing
    EXPECT_EQ(InkPixels(open, plainLine, gutter), 0);
}

TEST_F(ViewFoldTest, UnderWordWrapOrWithoutTheOptionEveryLineIsShown) {
    view->FoldAllCells();
    EXPECT_EQ(view->RowCount(), 14);
    view->SetWordWrap(true);
    EXPECT_EQ(view->RowCount(), 122);
    view->SetWordWrap(false);
    view->SetOptions(view->Options().Without(moHideInvisibleLines));
    EXPECT_EQ(view->RowCount(), 122);
    EXPECT_EQ(Buffer().Folds().RangeCount(), 12);  // the folds stay for when they are shown
}

}  // namespace
}  // namespace tarnwick::testing_view
