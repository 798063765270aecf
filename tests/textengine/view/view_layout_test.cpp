// Layout and painting: line numbers, word wrap, special symbols, what a change repaints, the
// selection on screen, and painting bad input without a crash or a freeze.
#include <QPaintEvent>

#include "languages/syntax_parser.h"
#include "tests/textengine/view/view_test_support.h"
#include "textengine/view/word_wrap_list.h"
#include "widgets/colors.h"

namespace tarnwick::testing_view {
namespace {

using ViewLayoutTest = ViewFixture;

std::vector<std::string> NumberedLines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back("line " + std::to_string(i + 1));
    return lines;
}

TEST_F(ViewLayoutTest, LineNumbersArePaddedToTheLineCountAndSitInTheirColumnOrTheGutter) {
    SetLines(NumberedLines(1000));
    view->SetOptions(view->Options().With(moLineNumbers).Without(moDrawGutter));
    EXPECT_EQ(view->LineNumberText(0), "   1");
    EXPECT_EQ(view->LineNumberText(41), "  42");
    EXPECT_EQ(view->GutterPx(), 0);
    EXPECT_EQ(view->NumberColumnPx(), view->CharWidth() * 5);
    EXPECT_EQ(view->TextLeftPx(), view->CharWidth() * 5);

    view->LineNumAlign = taLeftJustify;
    EXPECT_EQ(view->LineNumberText(0), "1   ");

    // As the preferences arrange it: numbers inside a gutter that widens to hold them.
    view->SetGutterWidth(10);
    view->SetOptions(view->Options().With(moDrawGutter).With(moLineNumbersOnGutter));
    EXPECT_EQ(view->NumberColumnPx(), 0);
    EXPECT_EQ(view->GutterPx(), view->CharWidth() * 5 + 2);
    EXPECT_EQ(view->TextLeftPx(), view->GutterPx());
}

TEST_F(ViewLayoutTest, RowsPastTheEndAndContinuationRowsHaveNoNumber) {
    SetLines({std::string(300, 'x'), "b"});
    view->SetOptions(view->Options().With(moLineNumbers));
    EXPECT_EQ(view->LineNumberText(5), "");
    view->SetWordWrap(true);
    EXPECT_EQ(view->LineNumberText(0), "1");
    EXPECT_EQ(view->LineNumberText(1), "");
    EXPECT_EQ(view->LineNumberText(view->RowOfPosition({1, 0})), "2");
}

struct WrapCase {
    const char* name;
    std::string line;
    std::vector<int32_t> starts;  // columns where rows 1.. start
};

TEST_F(ViewLayoutTest, WordWrapAtTheMarginCutsAfterTheLastDelimiterThatFits) {
    std::string words;
    while (words.size() < 200)
        words += "word ";
    words.resize(200);
    const WrapCase cases[] = {
        {"Words", words, {75, 150}},  // last blank before column 79 ends each row
        {"NoDelimiters", std::string(200, 'x'), {79, 158}},
    };
    view->SetOptions(view->Options().With(moBreakWordAtMargin));
    view->SetMarginPos(80);
    view->SetWordWrap(true);
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetLines({c.line, "next"});
        ASSERT_EQ(view->RowCount(), int32_t(c.starts.size()) + 2);
        for (size_t i = 0; i < c.starts.size(); ++i)
            EXPECT_EQ(view->RowInfo(int32_t(i) + 1).StartColumn, c.starts[i]);
        EXPECT_EQ(view->RowInfo(int32_t(c.starts.size()) + 1).Line, 1);
    }
}

TEST_F(ViewLayoutTest, WordWrapAtTheWindowEdgeFollowsTheWidthAndEdits) {
    const int32_t columns = view->TextWidthPx() / view->CharWidth();
    SetLines({"first", std::string(size_t(columns) * 2 + 5, 'y'), "last"});
    view->SetWordWrap(true);
    EXPECT_EQ(view->RowCount(), 5);
    EXPECT_EQ(view->RowInfo(2).StartColumn, columns);
    EXPECT_EQ(view->RowOfPosition({2, 0}), 4);

    Buffer().SetCaret(0, 0);
    Keys(Qt::Key_Return);  // a line inserted above shifts the wrapped line
    EXPECT_EQ(view->RowOfPosition({2, 0}), 2);
    EXPECT_EQ(view->RowOfPosition({3, 0}), 5);
    view->resize(view->width() / 2, view->height());  // narrower: more rows
    EXPECT_GT(view->RowCount(), 6);
}

TEST_F(ViewLayoutTest, VerticalMovesInWrappedTextGoByRowsAndKeepThePixelColumn) {
    const int32_t columns = view->TextWidthPx() / view->CharWidth();
    SetLines({std::string(size_t(columns) + 10, 'a'), "bb"});
    view->SetWordWrap(true);
    Buffer().SetCaret(5, 0);
    Keys(Qt::Key_Down);
    EXPECT_EQ(Buffer().Caret(), (TPosition{0, columns + 5}));  // same line, next row
    Keys(Qt::Key_Down);
    EXPECT_EQ(Buffer().Caret().LinePos, 1);
    Keys(Qt::Key_Up);
    Keys(Qt::Key_Up);
    EXPECT_EQ(Buffer().Caret(), (TPosition{0, 5}));
}

TEST_F(ViewLayoutTest, SpecialSymbolsAddTheEndOfTextRowEvenToAnEmptyText) {
    SetLines({});
    EXPECT_EQ(view->RowCount(), 0);
    view->SetOptions(view->Options().With(moDrawSpecialSymbols));
    EXPECT_EQ(view->RowCount(), 1);
    // The end-of-text symbol has pixels on the row after the last line.
    const auto eofMarked = [&](int32_t row) {
        const QImage image = view->grab().toImage();
        int marked = 0;
        for (int y = row * view->RowHeight(); y < (row + 1) * view->RowHeight(); ++y)
            for (int x = view->TextLeftPx(); x < view->TextLeftPx() + view->CharWidth(); ++x)
                marked += image.pixelColor(x, y) != image.pixelColor(view->width() / 2, y);
        return marked > 0;
    };
    EXPECT_TRUE(eofMarked(0));
    SetLines({"a", "b"});
    EXPECT_TRUE(eofMarked(2));
    SetLines(NumberedLines(100));
    EXPECT_EQ(view->RowCount(), 101);
    EXPECT_EQ(view->ScrollRowCount(), 101 - view->FullyVisibleRows() + 1);
}

TEST_F(ViewLayoutTest, ScrollLinesStopsAtTheLastRowAndPageDownMovesCaretAndTopTogether) {
    SetLines(NumberedLines(200));
    const int32_t rows = view->FullyVisibleRows();
    Keys(Qt::Key_PageDown);
    EXPECT_EQ(view->TopRow(), rows);
    EXPECT_EQ(Buffer().Caret().LinePos, rows);
    for (int i = 0; i < 300; ++i)
        Keys(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(view->TopRow(), 200 - rows);
    Keys(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Buffer().Caret().LinePos, 199);
    EXPECT_GE(199, view->TopRow());
    EXPECT_LT(199, view->TopRow() + rows);
}

// Records the regions the view paints.
class PaintRecorder : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            region += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion region;
};

TEST_F(ViewLayoutTest, TypingRepaintsOnlyTheChangedRow) {
    SetLines(NumberedLines(50));
    Buffer().SetCaret(2, 10);
    QApplication::processEvents();
    PaintRecorder recorder;
    view->installEventFilter(&recorder);
    QTest::keyClicks(view.get(), "z");
    QApplication::processEvents();
    view->removeEventFilter(&recorder);
    const QRect painted = recorder.region.boundingRect();
    EXPECT_EQ(painted.top(), 10 * view->RowHeight());
    EXPECT_EQ(painted.height(), view->RowHeight());
}

TEST_F(ViewLayoutTest, StreamSelectionIsPaintedUpToItsEndOnTheLastLine) {
    SetLines({"    (aaaa)", "    )", "next"});
    Buffer().SetCaret(6, 0);
    Buffer().ExtendSelection(stStream, [&] { Buffer().SetCaret(12, 1); });
    view->LineHighlight.Visible = true;  // decorations of the caret line keep the selection
    view->LineHighlight.Shape = shSingleLine;
    const QImage image = view->grab().toImage();
    const QColor selected = QApplication::palette().color(QPalette::Highlight);
    const auto cell = [&](int32_t line, int32_t column) {
        return image.pixelColor(view->TextLeftPx() + column * view->CharWidth() + 1,
                                line * view->RowHeight() + 1);
    };
    EXPECT_NE(cell(0, 2), selected);
    EXPECT_EQ(cell(0, 7), selected);
    EXPECT_EQ(cell(1, 1), selected);   // text of the last line
    EXPECT_EQ(cell(1, 10), selected);  // beyond its end, up to the caret
    EXPECT_NE(cell(1, 14), selected);
}

// Bad input is painted as far as it goes, and a freeze fails the test instead of hanging it.
TEST_F(ViewLayoutTest, BadInputPaintsWithoutCrashOrFreeze) {
    const FreezeWatchdog watchdog(std::chrono::seconds(120));
    std::string controls;
    for (int c = 0; c < 256; ++c)
        if (c != '\n' && c != '\r')
            controls.push_back(char(c));
    std::string tabs;
    for (int i = 0; i < 200; ++i)
        tabs += "x\t";
    Buffer().SetOptions(Buffer().Options().With(soUseTabCharacter));
    SetLines({std::string(10 * 1024 * 1024, 'w'), controls, tabs, ""});
    Buffer().SetLineStyle(3, 200);  // a line style with no text style
    view->SetOptions(view->Options().With(moDrawSpecialSymbols).With(moLineNumbers).With(moDrawGutter));
    view->SpecialSymbols.TabChar = '>';
    view->SpecialSymbols.SpaceChar = '.';
    TFontDesc missing;
    missing.Name = "No Such Font At All";
    view->SetFont(missing);
    for (QSize size : {QSize(0, 0), QSize(1, 1)}) {
        view->resize(size);
        view->repaint();
    }
    view->resize(640, 400);

    // What a row shows in its first text cell, or from its second cell to the window's edge.
    const QColor window = ResolveColor(view->Color);
    const auto cells = [&](const QImage& image, int32_t row, bool first) {
        const int32_t left = view->TextLeftPx() + (first ? 0 : view->CharWidth());
        const int32_t right = first ? left + view->CharWidth() : view->width();
        return InkPixels(image, QRect(left, row * view->RowHeight(), right - left, view->RowHeight()),
                         window);
    };
    const QImage shown = view->grab().toImage();
    for (int32_t row : {0, 1, 2, 3, 4})  // w, a control picture, x, the line end, the text end
        EXPECT_GT(cells(shown, row, true), 0) << "row " << row;
    EXPECT_GT(cells(shown, 0, false), 0);  // the long line runs to the edge
    EXPECT_EQ(cells(shown, 3, false), 0);  // the unknown line style paints nothing
    EXPECT_EQ(cells(shown, 5, true), 0);   // past the text end

    view->SetWordWrap(true);
    const int32_t lastRow = view->FullyVisibleRows() - 1;
    EXPECT_EQ(view->RowInfo(lastRow).Line, 0);
    EXPECT_GT(cells(view->grab().toImage(), lastRow, true), 0);

    Buffer().SetCaret(9 * 1024 * 1024, 0);  // far into the long line
    view->SetWordWrap(false);
    view->MakeCaretVisible();
    const QImage scrolled = view->grab().toImage();
    EXPECT_GT(cells(scrolled, 0, true), 0);
    EXPECT_EQ(cells(scrolled, 1, true), 0);  // the other lines end far to the left
    EXPECT_EQ(cells(scrolled, 4, true), 0);

    SetLines({});
    const QImage empty = view->grab().toImage();
    EXPECT_GT(cells(empty, 0, true), 0);  // the end-of-text mark
    EXPECT_EQ(cells(empty, 0, false), 0);
}

TEST(WordWrapListTest, MapsRowsAndLinesAcrossWrappedLines) {
    TWordWrapList wrap;
    wrap.SetBreaks(2, {10, 20});  // line 2 has three rows
    wrap.SetBreaks(5, {7});       // line 5 has two rows
    EXPECT_EQ(wrap.RowOfLine(2), 2);
    EXPECT_EQ(wrap.RowOfLine(3), 5);
    EXPECT_EQ(wrap.RowOfLine(6), 9);
    const TLineInfo row4 = wrap.RowAt(4);
    EXPECT_EQ(row4.Line, 2);
    EXPECT_EQ(row4.Index, 2);
    EXPECT_EQ(row4.StartColumn, 20);
    EXPECT_TRUE(row4.IsLastRow());
    EXPECT_EQ(wrap.RowAt(8).Line, 5);
    EXPECT_EQ(wrap.RowAt(9).Line, 6);
    wrap.ShiftLines(3, 2);  // two lines inserted before line 3
    EXPECT_EQ(wrap.RowOfLine(7), 9);
    wrap.EraseLines(0, 2);
    EXPECT_EQ(wrap.ExtraRows(), 1);
    EXPECT_EQ(wrap.RowOfColumn(7, 7).Index, 1);
}

}  // namespace
}  // namespace tarnwick::testing_view

namespace tarnwick::testing_view {
namespace {

// Colours every "x" with style 1 in red.
class RedXParser final : public TSimpleParser {
public:
    TFontDesc GetStyleFont(int style) override {
        TFontDesc font;
        font.Name = "DejaVu Sans Mono";
        font.Size = 10;
        font.Color = style == 1 ? 0x0000FF : 0;
        return font;
    }
    bool GetStyleBack(int, TColorValue& colour) override {
        colour = clWindow;
        return true;
    }
    uint32_t ParseLine(std::string_view text, uint32_t state, std::string& styles) override {
        for (size_t i = 0; i < text.size(); ++i)
            styles[i] = text[i] == 'x' ? 1 : 0;
        return state;
    }
};

TEST_F(ViewLayoutTest, LinesColouredOnTheWayToTheEndKeepTheirColoursWhenShownLater) {
    std::vector<std::string> lines(3000, "xxxxxxxx");
    SetLines(lines);
    RedXParser parser;
    Buffer().SetSyntaxParser(&parser);
    Buffer().TextEnd();  // the first paint is at the end: the lines above are only caught up
    view->repaint();
    Buffer().TextStart();
    const QImage image = view->grab().toImage();
    int red = 0;
    for (int y = 0; y < view->RowHeight(); ++y)
        for (int x = view->TextLeftPx(); x < view->TextLeftPx() + 8 * view->CharWidth(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
        }
    EXPECT_GT(red, 0);
    Buffer().SetSyntaxParser(nullptr);
}

}  // namespace
}  // namespace tarnwick::testing_view

namespace tarnwick::testing_view {
namespace {

TEST_F(ViewLayoutTest, ProportionalFontKeepsThePixelColumnAcrossLines) {
    TFontDesc font;
    font.Name = "DejaVu Sans";
    font.Size = 10;
    view->SetFont(font);
    view->SetUseMonoFont(false);
    SetLines({"iiiiiiiiii", "WWWWWWWWWW", "iiiiiiiiii"});
    Buffer().SetCaret(8, 0);
    Keys(Qt::Key_Down);
    const int32_t underWide = Buffer().Caret().CharPos;
    EXPECT_LT(underWide, 8);  // narrow letters above, wide ones here: fewer columns
    Keys(Qt::Key_Down);
    EXPECT_EQ(Buffer().Caret(), (TPosition{2, 8}));  // the remembered pixel column, not the wide line's
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(view->TextLeftPx() + 1, view->RowHeight() / 2));
    EXPECT_EQ(Buffer().Caret(), (TPosition{0, 0}));
}

// Pixels of a colour in the cells of one row, from the first column on.
int PixelsLike(TCustomDCMemo& view, int32_t row, int32_t columns, const std::function<bool(QColor)>& like) {
    const QImage image = view.grab().toImage();
    int count = 0;
    for (int y = row * view.RowHeight(); y < (row + 1) * view.RowHeight(); ++y)
        for (int x = view.TextLeftPx(); x < view.TextLeftPx() + columns * view.CharWidth(); ++x)
            count += like(image.pixelColor(x, y));
    return count;
}

// Links take the colour of the view's "Url" style (blue unless changed) when the scheme has no
// style 12 of its own.
TEST_F(ViewLayoutTest, LinkStyleShowsTheColourOfTheUrlStyle) {
    TSyntaxScheme scheme;
    TSyntaxBlock& root = scheme.SyntaxBlocks.at(0);
    root.FIText = 0;
    root.UseKeywords = true;
    TKeywordSet links;
    links.FontID = 12;
    links.Keywords = "http";
    root.KeywordSets.push_back(links);
    scheme.FontTable.Add().FontID = 0;
    TSyntaxParser parser;
    parser.SetSyntaxScheme(scheme);
    SetLines({"http", "text"});
    view->SetSyntaxParser(&parser);
    ASSERT_EQ(Buffer().LineColors(0), std::string(4, 12));
    const auto blue = [](QColor c) { return c.blue() > 150 && c.red() < 100 && c.green() < 100; };
    const auto red = [](QColor c) { return c.red() > 150 && c.green() < 100 && c.blue() < 100; };
    view->grab().save(QString::fromStdString(testing::TempDir() + "url-style.png"));
    EXPECT_GT(PixelsLike(*view, 0, 4, blue), 0);
    EXPECT_EQ(PixelsLike(*view, 1, 4, blue), 0);  // plain text keeps the text colour

    TTextStyle url = *view->TextStyles().At(12);
    url.Font.Color = 0x0000FF;  // red
    view->SetTextStyle(12, url);
    EXPECT_GT(PixelsLike(*view, 0, 4, red), 0);
    EXPECT_EQ(PixelsLike(*view, 0, 4, blue), 0);
    view->SetSyntaxParser(nullptr);
}

}  // namespace
}  // namespace tarnwick::testing_view
