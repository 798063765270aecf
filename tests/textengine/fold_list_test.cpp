#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "textengine/fold_list.h"
#include "textengine/fold_ranges.h"
#include "textengine/memo_source.h"

namespace tarnwick {
namespace {

// The hidden lines as one flag per line; a hidden range is a maximal run of flags.
struct HiddenFlags {
    std::vector<bool> hidden;

    void ShowRunsTouching(int first, int last) {
        for (int line = std::max(first, 0); line <= last && line < int(hidden.size()); ++line) {
            if (!hidden[size_t(line)])
                continue;
            int a = line, b = line;
            while (a > 0 && hidden[size_t(a - 1)])
                --a;
            while (b + 1 < int(hidden.size()) && hidden[size_t(b + 1)])
                ++b;
            for (int k = a; k <= b; ++k)
                hidden[size_t(k)] = false;
        }
    }
    std::vector<TLineRange> Runs() const {
        std::vector<TLineRange> runs;
        for (int line = 0; line < int(hidden.size()); ++line)
            if (hidden[size_t(line)] && (line == 0 || !hidden[size_t(line - 1)]))
                runs.push_back({line, line});
            else if (hidden[size_t(line)])
                runs.back().Last = line;
        return runs;
    }
};

void ExpectSame(const TFoldList& folds, const HiddenFlags& model) {
    ASSERT_EQ(folds.HiddenRanges(), model.Runs());
    int hiddenSoFar = 0, row = 0;
    for (int line = 0; line < int(model.hidden.size()); ++line) {
        ASSERT_EQ(folds.HiddenBefore(line), hiddenSoFar) << "line " << line;
        ASSERT_EQ(folds.IsHidden(line), bool(model.hidden[size_t(line)])) << "line " << line;
        if (model.hidden[size_t(line)]) {
            ++hiddenSoFar;
            continue;
        }
        ASSERT_EQ(folds.LineOfRow(row), line) << "row " << row;
        ASSERT_EQ(folds.RowOfLine(line), row) << "line " << line;
        ++row;
    }
    EXPECT_EQ(folds.HiddenLineCount(), hiddenSoFar);
    EXPECT_EQ(folds.RangeCount(), int(model.Runs().size()));
}

// Folds, shows and the line moves of inserts and deletes, in the order the buffer runs them,
// against the flags: every query agrees after every step.
TEST(FoldListTest, RandomFoldsAndEditsAgreeWithOneFlagPerLine) {
    std::mt19937 random(21);
    TFoldList folds;
    HiddenFlags model{std::vector<bool>(120, false)};
    for (int step = 0; step < 1500; ++step) {
        SCOPED_TRACE(step);
        const int lines = int(model.hidden.size());
        const int at = int(random() % unsigned(lines));
        switch (random() % 5) {
            case 0:
            case 1: {  // fold
                const int last = std::min(lines - 1, at + 1 + int(random() % 12));
                folds.Fold(at, last);
                for (int k = at + 1; k <= last; ++k)
                    model.hidden[size_t(k)] = true;
                break;
            }
            case 2:  // an edit on a line
                folds.Show(at, at);
                model.ShowRunsTouching(at, at);
                break;
            case 3:  // a line inserted before at
                folds.Show(at, at);
                folds.Shift(at, 1);
                model.ShowRunsTouching(at, at);
                model.hidden.insert(model.hidden.begin() + at, false);
                break;
            default:  // line at deleted
                if (lines < 10)
                    break;
                folds.Show(at, at + 1);
                folds.Shift(at + 1, -1);
                model.ShowRunsTouching(at, at + 1);
                model.hidden.erase(model.hidden.begin() + at);
                break;
        }
        ExpectSame(folds, model);
    }
}

TEST(FoldListTest, FoldOverFoldsSwallowsThemAndFoldingTwiceChangesNothing) {
    TFoldList folds;
    EXPECT_TRUE(folds.Fold(10, 12));
    EXPECT_TRUE(folds.Fold(20, 25));
    EXPECT_FALSE(folds.Fold(10, 12));
    EXPECT_FALSE(folds.Fold(10, 11));  // already hidden
    EXPECT_FALSE(folds.Fold(5, 5));    // a single line hides nothing
    EXPECT_TRUE(folds.Fold(2, 30));
    EXPECT_EQ(folds.HiddenRanges(), (std::vector<TLineRange>{{3, 30}}));
    EXPECT_TRUE(folds.IsFoldedHeader(2));
    EXPECT_FALSE(folds.IsFoldedHeader(10));
    EXPECT_TRUE(folds.Show(15, 15));
    EXPECT_TRUE(folds.Empty());
}

// A million folds: built, queried and moved by an edit at the top without a walk over them.
TEST(FoldListTest, AMillionFoldsMapRowsAndMoveWithAnEditAtTheTop) {
    TFoldList folds;
    constexpr int kFolds = 1'000'000;
    for (int k = 0; k < kFolds; ++k)
        folds.Fold(3 * k, 3 * k + 2);  // every form: a header and two hidden lines
    EXPECT_EQ(folds.RangeCount(), kFolds);
    EXPECT_EQ(folds.LineOfRow(kFolds - 1), 3 * (kFolds - 1));
    folds.Shift(0, 1);  // a line inserted at the top
    EXPECT_EQ(folds.LineOfRow(kFolds), 3 * (kFolds - 1) + 1);
    EXPECT_EQ(folds.RowOfLine(3 * (kFolds - 1) + 1), kFolds);
    EXPECT_TRUE(folds.IsFoldedHeader(1));
}

TEST(FoldRangesTest, FindsTheOutermostStartAndTheInnermostRangeAroundALine) {
    // 0 (library ... 20): 1 (cell 2..9 (view 3..8)) and 10 (cell ... 19); a one-line form at 12.
    const TFoldRanges ranges({{{0, 20}, false},
                              {{1, 9}, true},
                              {{2, 9}, false},
                              {{3, 8}, false},
                              {{10, 19}, true},
                              {{12, 12}, false}});
    EXPECT_EQ(ranges.RangeStartingAt(2), (TLineRange{2, 9}));
    EXPECT_EQ(ranges.RangeStartingAt(12), std::nullopt);
    EXPECT_EQ(ranges.RangeAround(5), (TLineRange{3, 8}));
    EXPECT_EQ(ranges.RangeAround(9), (TLineRange{2, 9}));  // the view ended on line 8
    EXPECT_EQ(ranges.RangeAround(15), (TLineRange{10, 19}));
    EXPECT_EQ(ranges.RangeAround(20), (TLineRange{0, 20}));
    EXPECT_EQ(ranges.RangeAround(0), std::nullopt);
    EXPECT_EQ(ranges.CellRanges(), (std::vector<TLineRange>{{1, 9}, {10, 19}}));
}

// ---- In the buffer ---------------------------------------------------------------------------

class BufferFoldTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string text;
        for (int i = 0; i < 20; ++i)
            text += "line " + std::to_string(i) + "\n";
        buffer.Lines().SetText(text);
        buffer.FoldLines(5, 9);  // hides 6..9
    }
    std::vector<TLineRange> Hidden() const { return buffer.Folds().HiddenRanges(); }
    TMemoSource buffer;
};

TEST_F(BufferFoldTest, EditsInsideOrAcrossAFoldShowItAndEditsElsewhereMoveIt) {
    struct Case {
        const char* name;
        void (*edit)(TMemoSource&);
        std::vector<TLineRange> hidden;
    };
    const Case cases[] = {
        {"TypingOnTheHeaderKeepsIt", [](TMemoSource& b) { b.SetCaret(2, 5), b.TypeChar('x'); }, {{6, 9}}},
        {"EnterAboveMovesItDown", [](TMemoSource& b) { b.SetCaret(0, 2), b.NewLine(); }, {{7, 10}}},
        {"LineDeletedAboveMovesItUp", [](TMemoSource& b) { b.SetCaret(0, 1), b.DeleteLine(); }, {{5, 8}}},
        {"EnterOnTheHeaderShowsIt", [](TMemoSource& b) { b.SetCaret(2, 5), b.NewLine(); }, {}},
        {"JoiningTheHeaderWithAHiddenLineShowsIt",
         [](TMemoSource& b) { b.SetCaret(b.LineLength(5), 5), b.DeleteChar(); },
         {}},
        {"DeletingTheHeaderShowsIt", [](TMemoSource& b) { b.SetCaret(0, 5), b.DeleteLine(); }, {}},
        {"ALineReplacedInsideShowsIt", [](TMemoSource& b) { b.Lines().Put(7, "changed"); }, {}},
        {"ASelectionAcrossItDeletedShowsIt",
         [](TMemoSource& b) {
             b.SetSelection(0, 4, 0, 12), b.SetSelectionKind(stStream), b.DeleteSelection();
         },
         {}},
        {"EditsBelowLeaveIt",
         [](TMemoSource& b) { b.SetCaret(0, 15), b.NewLine(), b.DeleteLine(); },
         {{6, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.edit(buffer);
        EXPECT_EQ(Hidden(), c.hidden);
    }
}

TEST_F(BufferFoldTest, TheCaretNeverRestsOnAHiddenLine) {
    EXPECT_EQ(buffer.Caret().LinePos, 0);
    buffer.SetCaret(0, 7);  // a jump into the fold shows it
    EXPECT_TRUE(Hidden().empty());
    buffer.FoldLines(5, 9);  // folding around the caret takes it to the header
    EXPECT_EQ(buffer.Caret().LinePos, 5);
    EXPECT_EQ(Hidden(), (std::vector<TLineRange>{{6, 9}}));
    buffer.CaretDown();  // a plain relative move from the header lands inside: shown
    EXPECT_EQ(buffer.Caret().LinePos, 6);
    EXPECT_TRUE(Hidden().empty());
    buffer.FoldLines(5, 9);
    buffer.Undo();  // the caret move of the fold is undone onto a hidden line: shown again
    EXPECT_FALSE(buffer.Folds().IsHidden(buffer.Caret().LinePos));
}

}  // namespace
}  // namespace tarnwick
