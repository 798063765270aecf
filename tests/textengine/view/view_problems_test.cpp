// Problems in the view: the gutter image and the wavy line on screen, the hint under the mouse,
// what a repaint asks for when there are millions, and both marks and folds over the EDIF
// index of a shipped sample.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <QScreen>

#include "tests/textengine/view/view_test_support.h"
#include "textengine/edif/edif_index.h"
#include "textengine/edif/edif_view_sources.h"

namespace tarnwick::testing_view {
namespace {

// Saves a picture of the view, and of the screen with its hint windows, when
// TARNWICK_TEST_SHOTS names a folder, for looking at them.
void SaveShot(QWidget& view, const char* name) {
    const char* folder = std::getenv("TARNWICK_TEST_SHOTS");
    if (folder == nullptr)
        return;
    const QString path = QString::fromLatin1(folder) + "/" + name;
    view.grab().save(path + ".png");
    if (QScreen* screen = QGuiApplication::primaryScreen())
        screen->grabWindow(0).save(path + "_screen.png");
}

class ViewProblemTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        SetLines({"(cell a", "  (cellRef nope (libraryRef lib))", "  (net n", ")"});
        problems = TProblemList({{TProblemSeverity::Error, 1, 11, 4, "cellRef nope: no cell of that name"},
                                 {TProblemSeverity::Warning, 2, 7, 1, "net n joins nothing"}});
        view->SetOptions(view->Options().With(moDrawGutter));
        view->SetProblems(&problems);
    }
    QRect RowRect(int32_t line, int32_t fromColumn, int32_t toColumn) const {
        const int32_t y = view->RowOfPosition({line, 0}) * view->RowHeight();
        return QRect(view->TextLeftPx() + fromColumn * view->CharWidth(), y,
                     (toColumn - fromColumn) * view->CharWidth(), view->RowHeight());
    }
    QRect GutterRect(int32_t line) const {
        const int32_t y = view->RowOfPosition({line, 0}) * view->RowHeight();
        return QRect(1, y, view->GutterPx() - 2, view->RowHeight());
    }
    TProblemList problems;
};

int RedPixels(const QImage& image, const QRect& area) {
    int red = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    return red;
}

TEST_F(ViewProblemTest, AFaultyNameIsUnderlinedAndItsLineMarkedInTheGutter) {
    const QImage shot = view->grab().toImage();
    const QColor gutter = shot.pixelColor(1, 0);
    EXPECT_GT(InkPixels(shot, GutterRect(1), gutter), 20);
    EXPECT_GT(InkPixels(shot, GutterRect(2), gutter), 20);
    EXPECT_EQ(InkPixels(shot, GutterRect(0), gutter), 0);
    EXPECT_GT(RedPixels(shot, RowRect(1, 11, 15)), 4);  // the wave under "nope"
    EXPECT_EQ(RedPixels(shot, RowRect(1, 0, 11)), 0);
    EXPECT_EQ(RedPixels(shot, RowRect(0, 0, 20)), 0);
}

TEST_F(ViewProblemTest, TheMessageIsTheHintWhereTheMouseRestsAndGoesWhenItLeaves) {
    EXPECT_EQ(view->ProblemHintAt(view->rect().topLeft() + PointOf(1, 12)),
              "cellRef nope: no cell of that name");
    EXPECT_EQ(view->ProblemHintAt(PointOf(1, 9)), "");
    EXPECT_EQ(view->ProblemHintAt(QPoint(3, PointOf(2, 0).y())), "net n joins nothing");  // the gutter image

    QTest::mouseMove(view.get(), PointOf(1, 12));
    QTRY_VERIFY(view->IsDelayedHintVisible());
    QTest::mouseMove(view.get(), PointOf(1, 13));  // still on the name: the hint stays
    EXPECT_TRUE(view->IsDelayedHintVisible() || view->IsDelayedHintPending());
    QTest::mouseMove(view.get(), PointOf(0, 2));
    EXPECT_FALSE(view->IsDelayedHintVisible());
    EXPECT_FALSE(view->IsDelayedHintPending());
}

// Ten million problems, one per line: a repaint asks about the rows it shows, for no more
// than it draws, and the count still covers all of them.
class ManyProblems final : public TProblemSource {
public:
    int64_t ProblemCount() const override { return 10'000'000; }
    int64_t ErrorCount() const override { return 10'000'000; }
    std::vector<TTextProblem> ProblemsOnLine(int32_t line, size_t limit) const override {
        ++asked;
        largestLimit = std::max(largestLimit, limit);
        std::vector<TTextProblem> found;
        for (size_t k = 0; k < std::min<size_t>(limit, 1000); ++k)
            found.push_back({TProblemSeverity::Error, line, int32_t(k), 1, "bad"});
        return found;
    }
    mutable int asked = 0;
    mutable size_t largestLimit = 0;
};

TEST_F(ViewProblemTest, MillionsOfProblemsCostARepaintOnlyWhatItDraws) {
    SetLines(std::vector<std::string>(2000, std::string(2000, 'x')));
    ManyProblems many;
    view->SetProblems(&many);
    (void)view->grab();
    EXPECT_GT(many.asked, 0);
    EXPECT_LE(many.asked, view->FullyVisibleRows() + 2);
    EXPECT_LE(many.largestLimit, 64u);
    EXPECT_EQ(ProblemCountText(many), "10000000 problems (10000000 errors)");
    EXPECT_EQ(ProblemCountText(problems), "2 problems (1 error)");
    EXPECT_EQ(ProblemCountText(TProblemList()), "No problems");
}

// ---- Over the index of a sample --------------------------------------------------------------

std::string SampleText(const char* name) {
    std::ifstream in(std::string(TARNWICK_SOURCE_DIR) + "/data/samples/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(ViewProblemTest, ASampleFoldsItsCellsAndABrokenOneShowsItsProblems) {
    Buffer().Lines().SetText(SampleText("yosys-counter.edf"));
    view->SetProblems(nullptr);
    TEdifBufferLines lines(Buffer());
    TEdifIndex index(lines);
    index.BuildAll();
    TEdifFoldSource folds(index);
    view->SetOptions(view->Options().With(moHideInvisibleLines));
    view->SetFoldRanges(&folds);
    const std::vector<TLineRange> cells = folds.CellRanges();
    ASSERT_FALSE(cells.empty());
    view->FoldAllCells();
    EXPECT_EQ(Buffer().Folds().RangeCount(), int32_t(cells.size()));
    for (const TLineRange& cell : cells) {
        EXPECT_NE(Buffer().LineText(cell.First).find("(cell"), std::string::npos) << cell.First;
        EXPECT_TRUE(Buffer().Folds().IsFoldedHeader(cell.First));
    }
    view->ToggleFoldAt(cells.back().First);  // the design's cell open again
    Buffer().SetCaret(0, cells.back().First);
    view->CenterLine();
    SaveShot(*view, "sample_folded_cells");

    // Break a reference: the index finds it, the view marks it.
    const int32_t refLine = [&] {
        for (int32_t line = 0; line < Buffer().LineCount(); ++line)
            if (Buffer().LineText(line).find("(cellRef ") != std::string::npos)
                return line;
        return -1;
    }();
    ASSERT_GE(refLine, 0);
    view->UnfoldAll();
    std::string broken = Buffer().LineText(refLine);
    const size_t name = broken.find("(cellRef ") + 9;
    broken.insert(name, "no_such_");
    Buffer().Lines().Put(refLine, broken);
    index.Update(refLine, refLine, 0);
    index.BuildAll();
    TEdifProblemSource problemsOfIndex(index);
    ASSERT_GT(problemsOfIndex.ProblemCount(), 0);
    view->SetProblems(&problemsOfIndex);
    Buffer().SetCaret(0, refLine);
    view->CenterLine();
    const QPoint onName = PointOf(refLine, int32_t(name) + 2);
    EXPECT_NE(view->ProblemHintAt(onName).find("no_such_"), std::string::npos) << view->ProblemHintAt(onName);
    const QImage shot = view->grab().toImage();
    EXPECT_GT(RedPixels(shot, RowRect(refLine, int32_t(name), int32_t(name) + 8)
                                  .translated(0, -view->TopRow() * view->RowHeight())),
              4);
    QTest::mouseMove(view.get(), onName);
    QTRY_VERIFY(view->IsDelayedHintVisible());
    SaveShot(*view, "sample_broken_marks");
}

}  // namespace
}  // namespace tarnwick::testing_view
