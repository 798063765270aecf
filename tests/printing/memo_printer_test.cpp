// The print routine on a PDF printer: what it prints, how many pages, what the progress window
// shows, and that the buffer is given back however the run ends.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "tests/printing/print_test_support.h"
#include "textengine/print/memo_print_progress.h"
#include "textengine/print/memo_printer.h"
#include "textengine/print/page_metrics.h"
#include "textengine/print/print_parser.h"

namespace tarnwick {
namespace {

using testing_print::PdfPageCount;
using testing_print::PdfPrinter;
using testing_print::SampleLines;
using testing_print::TEdifView;

// What the progress window showed after each page.
struct TProgressSeen {
    std::vector<std::string> pageTexts;
    std::vector<int> barValues;
    int barMaximum = -1;
    std::string fileName;
};

// Counts the progress windows that were shown.
class TProgressWindowWatch : public QObject {
public:
    TProgressWindowWatch() { qApp->installEventFilter(this); }
    ~TProgressWindowWatch() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->objectName() == "MemoPrintProgress")
            ++shown;
        return false;
    }
};

std::string Lines(int count, const std::string& text = "(net n (joined (portRef A)))") {
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += text + "\n";
    return lines;
}

class MemoPrinterTest : public ::testing::Test {
protected:
    QString PdfPath(const QString& name) { return folder_.filePath(name + ".pdf"); }

    TPrintReport Print(TCustomDCMemo& view, TDCPrintOptions options, const QString& path,
                       const std::string& name = "counter.edf") {
        auto printer = PdfPrinter(path);
        TPrintSettings settings;
        settings.Options = options;
        settings.DocumentName = name;
        return printer_.Print(view, settings, *printer);
    }

    // Records the progress window after every page; cancels after page cancelAfter (0: never).
    void WatchProgress(TProgressSeen& seen, int cancelAfter = 0) {
        printer_.OnPagePrinted = [&seen, cancelAfter](int32_t pages, TMemoPrintProgress* progress) {
            ASSERT_NE(progress, nullptr);
            seen.pageTexts.push_back(progress->findChild<QLabel*>("lblProgress")->text().toStdString());
            seen.fileName = progress->findChild<QLabel*>("lblFileName")->text().toStdString();
            auto* bar = progress->findChild<QProgressBar*>("ProgressBar");
            seen.barValues.push_back(bar->value());
            seen.barMaximum = bar->maximum();
            if (pages == cancelAfter)
                QTest::mouseClick(progress->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
        };
    }

    QTemporaryDir folder_;
    TMemoPrinter printer_;
};

TEST_F(MemoPrinterTest, EveryPageOfTheSampleReachesThePdf) {
    TEdifView edif(SampleLines(200));
    const QString path = PdfPath("sample");
    const TPrintReport report = Print(edif.View(), {poPrintHeader, poLineNumbers, poInColor}, path);
    EXPECT_EQ(report.Rows, 200);
    EXPECT_EQ(report.PageCount, (200 + report.LinesPerPage - 1) / report.LinesPerPage);
    EXPECT_GT(report.PageCount, 1);
    EXPECT_EQ(report.PagesPrinted, report.PageCount);
    EXPECT_FALSE(report.Stopped);
    EXPECT_EQ(PdfPageCount(path), report.PageCount);
}

TEST_F(MemoPrinterTest, AViewWithoutLinesPrintsNothingAndShowsNoWindow) {
    TEdifView edif("");
    edif.View().MemoSource().Lines().Clear();
    ASSERT_EQ(edif.Buffer().LineCount(), 0);
    TProgressWindowWatch watch;
    const QString path = PdfPath("empty");
    const TPrintReport report = Print(edif.View(), {poShowProgress, poPrintHeader}, path);
    EXPECT_EQ(report.PageCount, 0);
    EXPECT_EQ(watch.shown, 0);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(MemoPrinterTest, PrintSelectionWithoutOnePrintsAllUnderTheSelectedBlockName) {
    TEdifView edif(SampleLines(200));
    TProgressSeen seen;
    WatchProgress(seen);
    const TPrintReport report =
        Print(edif.View(), {poShowProgress, poPrintSel, poPrintHeader}, PdfPath("sel"));
    EXPECT_EQ(report.Rows, 200);
    EXPECT_EQ(seen.fileName, "<Selected block>");
}

TEST_F(MemoPrinterTest, ASelectionPrintsItsLinesAndNoTrailingEmptyOne) {
    struct TCase {
        const char* name;
        TPosition end;
        int32_t rows;
    };
    const TCase cases[] = {
        {"EndsAtLineStart", {10, 0}, 10},
        {"EndsInsideALine", {10, 3}, 11},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TEdifView edif(SampleLines(200));
        TCustomMemoSource& buffer = edif.Buffer();
        buffer.SetCaret(0, 0);
        buffer.ExtendSelection(stStream, [&] { buffer.SetCaret(c.end.CharPos, c.end.LinePos); });
        ASSERT_TRUE(buffer.HasSelection());
        const TPrintReport report = Print(edif.View(), {poPrintSel}, PdfPath(c.name));
        EXPECT_EQ(report.Rows, c.rows);
    }
}

TEST_F(MemoPrinterTest, TwentyPagesShowEveryPageOfTwentyAndEightySteps) {
    TEdifView edif(Lines(1));
    const int32_t perPage = Print(edif.View(), {poPrintHeader}, PdfPath("probe")).LinesPerPage;
    edif.SetText(Lines(20 * perPage - 3));
    TProgressSeen seen;
    WatchProgress(seen);
    const QString path = PdfPath("twenty");
    const TPrintReport report = Print(edif.View(), {poShowProgress, poPrintHeader}, path);
    ASSERT_EQ(report.PageCount, 20);
    ASSERT_EQ(seen.pageTexts.size(), 20u);
    for (int page = 1; page <= 20; ++page) {
        EXPECT_EQ(seen.pageTexts[size_t(page - 1)], "Printing page " + std::to_string(page) + " from 20");
        EXPECT_EQ(seen.barValues[size_t(page - 1)], 4 * page);
    }
    EXPECT_EQ(seen.barMaximum, 80);
    EXPECT_EQ(PdfPageCount(path), 20);
}

TEST_F(MemoPrinterTest, CancelAfterPageThreeGivesAThreePagePdf) {
    TEdifView edif(Lines(1));
    const int32_t perPage = Print(edif.View(), {}, PdfPath("probe")).LinesPerPage;
    edif.SetText(Lines(10 * perPage));
    TProgressSeen seen;
    WatchProgress(seen, 3);
    const QString path = PdfPath("cancelled");
    const TPrintReport report = Print(edif.View(), {poShowProgress}, path);
    EXPECT_EQ(report.PageCount, 10);
    EXPECT_EQ(report.PagesPrinted, 3);
    EXPECT_TRUE(report.Stopped);
    EXPECT_EQ(PdfPageCount(path), 3);
}

// A locked buffer tells its views nothing; the lock must go however the run ends.
void ExpectBufferUnlocked(TEdifView& edif) {
    int changes = 0;
    edif.View().OnChange = [&changes](TCustomDCMemo&) { ++changes; };
    edif.Buffer().SetCaret(0, 0);
    edif.Buffer().TypeChar('x');
    EXPECT_EQ(changes, 1) << "the buffer is still locked";
    edif.View().OnChange = nullptr;
}

TEST_F(MemoPrinterTest, AnUnwritablePdfIsAnErrorNamingTheFileAndUnlocksTheBuffer) {
    TEdifView edif(SampleLines(50));
    const QString path = folder_.filePath("no-such-folder/out.pdf");
    try {
        Print(edif.View(), {poShowProgress, poPrintHeader}, path);
        ADD_FAILURE() << "no error";
    } catch (const EPrintError& error) {
        EXPECT_NE(std::string(error.what()).find(path.toStdString()), std::string::npos) << error.what();
    }
    ExpectBufferUnlocked(edif);
    TProgressWindowWatch watch;  // and the progress window is gone
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_NE(w->objectName(), "MemoPrintProgress");
}

TEST_F(MemoPrinterTest, ASuccessfulRunUnlocksTheBufferAndKeepsTheFoundMatch) {
    TEdifView edif(SampleLines(50));
    const TFoundRect found{3, 2, 7};
    edif.Buffer().SetFoundRect(found);
    Print(edif.View(), {}, PdfPath("plain"));
    EXPECT_EQ(edif.Buffer().FoundRect(), found);
    ExpectBufferUnlocked(edif);
}

// The progress window lets events through, so the window of the view may be closed meanwhile.
TEST_F(MemoPrinterTest, AViewClosedWhilePrintingEndsThePrintoutAfterThatPage) {
    auto* view = new TDCMemo;
    TMemoryStream stream(SampleLines(200));
    view->MemoSource().LoadFromStream(stream);
    printer_.OnPagePrinted = [&view](int32_t pages, TMemoPrintProgress*) {
        if (pages == 1)
            delete std::exchange(view, nullptr);
    };
    const QString path = PdfPath("closed");
    const TPrintReport report = Print(*view, {poShowProgress, poPrintHeader}, path);
    EXPECT_EQ(view, nullptr);
    EXPECT_GT(report.PageCount, 1);
    EXPECT_EQ(report.PagesPrinted, 1);
    EXPECT_TRUE(report.Stopped);
    EXPECT_EQ(PdfPageCount(path), 1);
}

TEST_F(MemoPrinterTest, ATenMegabyteLinePrintsCutOrWrappedOntoPages) {
    std::string line;
    line.reserve(10u << 20);
    while (line.size() < (10u << 20))
        line += "(portRef A (instanceRef id00042)) ";
    TEdifView edif(line + "\n");
    const TPrintReport cut = Print(edif.View(), {poLineNumbers}, PdfPath("cut"));
    EXPECT_EQ(cut.PageCount, 1);

    TProgressSeen seen;
    WatchProgress(seen, 2);
    const TPrintReport wrapped = Print(edif.View(), {poShowProgress, poWrapLines}, PdfPath("wrapped"));
    EXPECT_GT(wrapped.Rows, 10000);
    EXPECT_EQ(wrapped.PageCount, (wrapped.Rows + wrapped.LinesPerPage - 1) / wrapped.LinesPerPage);
    EXPECT_EQ(wrapped.PagesPrinted, 2);
    EXPECT_EQ(PdfPageCount(PdfPath("wrapped")), 2);
}

TEST_F(MemoPrinterTest, TabsAndBytesAboveAsciiPrint) {
    TEdifView edif("\t(cell\t\"caf\xE9 \xFF\x80\"\t)\n\xA9 2026\n");
    const QString path = PdfPath("bytes");
    const TPrintReport report = Print(edif.View(), {poLineNumbers, poWrapLines, poPrintHeader}, path);
    EXPECT_EQ(report.Rows, 2);
    EXPECT_EQ(PdfPageCount(path), 1);
}

// The printout's highlighter keeps the styles of the screen's but prints on white, and in black
// unless in colour.
TEST(PrintParserTest, PaintsOnWhiteAndInBlackUnlessInColour) {
    TEdifView edif("(edif x)\n");
    TSimpleParser& screen = *edif.Buffer().SyntaxParser();
    for (int style = 0; style < 16; ++style) {
        SCOPED_TRACE(style);
        const TFontDesc shown = screen.GetStyleFont(style);
        TPrintParser black(screen, false, 0, 0, 96);
        TPrintParser colour(screen, true, 0, 0, 96);
        EXPECT_EQ(black.GetStyleFont(style).Color, 0u);
        EXPECT_EQ(black.GetStyleFont(style).Style, shown.Style);
        EXPECT_EQ(colour.GetStyleFont(style).Color, shown.Color);
        TColorValue back = 0;
        EXPECT_TRUE(colour.GetStyleBack(style, back));
        EXPECT_EQ(back, 0xFFFFFFu);
    }
}

struct TMetricsCase {
    const char* name;
    TPageMetricsInput in;
    int32_t width, height, linesPerPage, targetTop;
};

class PageMetricsTest : public ::testing::TestWithParam<TMetricsCase> {};

TEST_P(PageMetricsTest, LaysThePageOut) {
    const TMetricsCase& c = GetParam();
    const TPageMetrics m = ComputePageMetrics(c.in);
    EXPECT_EQ(m.pageWidth, c.width);
    EXPECT_EQ(m.pageHeight, c.height);
    EXPECT_EQ(m.linesPerPage, c.linesPerPage);
    EXPECT_EQ(m.target.top, c.targetTop);
}

// A 600 dpi printer page of 4800 x 6000 pixels is 768 x 960 screen pixels at 96 dpi.
INSTANTIATE_TEST_SUITE_P(
    Pages, PageMetricsTest,
    ::testing::Values(
        TMetricsCase{"Proportional", {600, 600, 96, 96, 4800, 6000, 17, 8, false, false}, 768, 960, 56, 17},
        TMetricsCase{
            "FixedPitchRoundsToCells", {600, 600, 96, 96, 4800, 6000, 17, 7, true, false}, 763, 952, 56, 17},
        TMetricsCase{
            "HeaderTakesALine", {600, 600, 96, 96, 4800, 6000, 17, 8, false, true}, 768, 943, 55, 17 + 106},
        TMetricsCase{
            "TinyPageHoldsOneLine", {600, 600, 96, 96, 50, 50, 17, 8, true, true}, 8, 17, 1, 17 + 106}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageMetricsTest, PageCountRoundsUp) {
    TPageMetrics m;
    m.linesPerPage = 10;
    EXPECT_EQ(m.PageCount(0), 0);
    EXPECT_EQ(m.PageCount(1), 1);
    EXPECT_EQ(m.PageCount(10), 1);
    EXPECT_EQ(m.PageCount(11), 2);
}

}  // namespace
}  // namespace tarnwick
