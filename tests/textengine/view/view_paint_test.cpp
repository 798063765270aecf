// What reaches the screen: decorations under the glyphs, the margins around line numbers, the
// caret's row kept clear of the scroll bar, and the corner between the scroll bars.
#include <algorithm>
#include <functional>

#include "tests/textengine/view/view_test_support.h"
#include "widgets/application_idle.h"
#include "widgets/colors.h"

namespace tarnwick::testing_view {
namespace {

constexpr TColorValue kRed = 0x0000FF;

struct DecorationCase {
    const char* name;
    std::function<void(TCustomDCMemo&)> arrange;
};

void PrintTo(const DecorationCase& c, std::ostream* os) { *os << c.name; }

class ViewDecorationTest : public ViewFixture, public ::testing::WithParamInterface<DecorationCase> {};

// No pixel of the glyphs on the caret's line turns into the decoration's colour when the
// decoration is drawn: the underscore and the descenders reach the row's last pixels, where
// frames, separators and bookmark markers run.
TEST_P(ViewDecorationTest, LeavesEveryGlyphWhole) {
    const std::string text = "hdi_primitives";
    SetLines({text, "next"});
    Buffer().SetCaret(int32_t(text.size()), 0);  // on the decorated line, after its glyphs
    const QRect glyphs(view->TextLeftPx(), 0, int(text.size()) * view->CharWidth(), view->RowHeight());
    const QColor window = ResolveColor(view->Color), decoration = ResolveColor(kRed);
    const QImage plain = view->grab().toImage();
    GetParam().arrange(*view);
    const QImage decorated = view->grab().toImage();
    decorated.save(QString::fromStdString(testing::TempDir() + "decoration-" + GetParam().name + ".png"));

    int ink = 0, hidden = 0, decorationPixels = 0;
    for (int y = glyphs.top(); y <= glyphs.bottom(); ++y)
        for (int x = glyphs.left(); x <= glyphs.right(); ++x) {
            const bool decorationHere = decorated.pixelColor(x, y) == decoration;
            decorationPixels += decorationHere;
            if (plain.pixelColor(x, y) != window) {
                ++ink;
                hidden += decorationHere;
            }
        }
    ASSERT_GT(ink, 0);
    EXPECT_GT(decorationPixels, 0);  // the decoration is there, around the glyphs
    EXPECT_EQ(hidden, 0);
}

INSTANTIATE_TEST_SUITE_P(Decorations, ViewDecorationTest,
                         ::testing::Values(DecorationCase{"CaretLineFrame",
                                                          [](TCustomDCMemo& v) {
                                                              v.LineHighlight.Visible = true;
                                                              v.LineHighlight.Shape = shDoubleLine;
                                                              v.LineHighlight.Pen.Color = kRed;
                                                          }},
                                           DecorationCase{"LineSeparator",
                                                          [](TCustomDCMemo& v) {
                                                              v.LineSeparator.Options = moDrawLineSeparator;
                                                              v.LineSeparator.Pen.Color = kRed;
                                                          }},
                                           DecorationCase{"MarginThroughTheUnderscore",
                                                          [](TCustomDCMemo& v) {
                                                              v.MarginPen.Color = kRed;
                                                              v.SetMarginPos(3);
                                                              v.SetOptions(v.Options().With(moDrawMargin));
                                                          }},
                                           DecorationCase{
                                               "BookmarkMarkerOnTheDescender",
                                               [](TCustomDCMemo& v) {
                                                   const TPosition caret = v.MemoSource().Caret();
                                                   v.MemoSource().SetCaret(4, 0);  // the "p"
                                                   v.MemoSource().ToggleBookmark(1);
                                                   v.MemoSource().SetCaret(caret.CharPos, caret.LinePos);
                                                   v.SetOptions(v.Options().With(moDrawLineBookmarks));
                                               }}),
                         [](const auto& info) { return std::string(info.param.name); });

using ViewPaintTest = ViewFixture;

// The widest number, seven digits, keeps half a character to the window's edge (or the gutter's)
// and to what follows it, whether the numbers sit in the gutter or in their own column.
TEST_F(ViewPaintTest, SevenDigitLineNumbersKeepAMarginOnBothSides) {
    Buffer().Lines().Assign(std::vector<std::string>(1000000, "x"));
    Keys(Qt::Key_End, Qt::ControlModifier);  // "1000000" is on screen
    const struct {
        const char* name;
        TMemoOptions options;
        std::function<QRect(TCustomDCMemo&)> numberArea;  // up to the gutter line or the text
    } layouts[] = {
        {"InTheGutter", TMemoOptions{moDrawGutter, moLineNumbers, moLineNumbersOnGutter},
         [](TCustomDCMemo& v) {
             return QRect(0, 0, v.GutterPx() - 1, v.FullyVisibleRows() * v.RowHeight());
         }},
        {"InTheirColumn", TMemoOptions{moLineNumbers},
         [](TCustomDCMemo& v) {
             return QRect(v.GutterPx(), 0, v.NumberColumnPx(), v.FullyVisibleRows() * v.RowHeight());
         }},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.name);
        view->SetOptions(layout.options);
        ASSERT_EQ(view->LineNumberText(999999), "1000000");
        const QImage image = view->grab().toImage();
        image.save(QString::fromStdString(testing::TempDir() + "numbers-" + layout.name + ".png"));
        const QRect area = layout.numberArea(*view);
        const QColor back = ResolveColor(view->GutterBackColor);
        int firstInk = area.right() + 1, lastInk = area.left() - 1;
        for (int x = area.left(); x <= area.right(); ++x)
            if (InkPixels(image, QRect(x, area.top(), 1, area.height()), back) > 0) {
                firstInk = std::min(firstInk, x);
                lastInk = x;
            }
        ASSERT_LE(firstInk, lastInk);
        const int margin = view->CharWidth() / 2;
        EXPECT_GE(firstInk - area.left(), margin);
        EXPECT_GE(area.right() - lastInk, margin);
    }
}

using Key = std::pair<Qt::Key, Qt::KeyboardModifiers>;
const Key kTextEnd{Qt::Key_End, Qt::ControlModifier};
const Key kPageUp{Qt::Key_PageUp, Qt::NoModifier};
const Key kPageDown{Qt::Key_PageDown, Qt::NoModifier};
const Key kDown{Qt::Key_Down, Qt::NoModifier};
const Key kEnd{Qt::Key_End, Qt::NoModifier};

struct CaretMoveCase {
    const char* name;
    std::function<void(TCustomDCMemo&)> arrange;
    std::vector<Key> keys;
};

void PrintTo(const CaretMoveCase& c, std::ostream* os) { *os << c.name; }

class ViewCaretRowTest : public ViewFixture, public ::testing::WithParamInterface<CaretMoveCase> {};

// After every key the caret's whole row is on screen, clear of the horizontal scroll bar.
TEST_P(ViewCaretRowTest, KeepsTheCaretsWholeRowInView) {
    view->SetScrollBars(ssBoth);
    GetParam().arrange(*view);
    const QScrollBar* bar = ScrollBarOf(*view, Qt::Horizontal);
    ASSERT_NE(bar, nullptr);
    for (const auto& [key, mods] : GetParam().keys) {
        Keys(key, mods);
        const QRect caret = view->CaretRect();
        SCOPED_TRACE(testing::Message() << "key " << key << ": caret " << Buffer().Caret().LinePos << ","
                                        << Buffer().Caret().CharPos << ", top row " << view->TopRow());
        EXPECT_GE(caret.top(), 0);
        EXPECT_LT(caret.bottom(), bar->y());
    }
    view->grab().save(QString::fromStdString(testing::TempDir() + "caret-row-" + GetParam().name + ".png"));
}

// As the editor's preferences have it, the caret may go past the last line.
void TwoHundredLinesAndBeyond(TCustomDCMemo& view) {
    view.MemoSource().Lines().Assign(std::vector<std::string>(200, "text"));
    view.MemoSource().SetOptions(view.MemoSource().Options().With(soBeyondFileEnd));
}

std::vector<Key> TextEndThen(Key key, int times) {
    std::vector<Key> keys(size_t(times) + 1, key);
    keys.front() = kTextEnd;
    return keys;
}

INSTANTIATE_TEST_SUITE_P(
    CaretMoves, ViewCaretRowTest,
    ::testing::Values(
        // The scroll range follows the caret past the last line.
        CaretMoveCase{
            "PageDownThenUpPastTheEnd", TwoHundredLinesAndBeyond, {kTextEnd, kPageDown, kPageUp, kPageUp}},
        CaretMoveCase{"DownPastTheEnd", TwoHundredLinesAndBeyond, TextEndThen(kDown, 30)},
        // The end of a wrapped row is also the next row's start; the scroll follows the row the
        // caret stays on.
        CaretMoveCase{"EndOfAWrappedRowAboveTheWindow",
                      [](TCustomDCMemo& view) {
                          std::vector<std::string> lines(100, "next");
                          lines[0] = std::string(300, 'x');
                          view.MemoSource().Lines().Assign(lines);
                          view.MemoSource().SetCaret(0, 0);
                          view.SetWordWrap(true);
                          view.SetTopRow(1);  // the caret's row is above the window
                      },
                      {kEnd}}),
    [](const auto& info) { return std::string(info.param.name); });

// Nothing else covers the corner between the scroll bars: it shows the window's colour, also
// the read-only one.
TEST_F(ViewPaintTest, ScrollBarCornerTakesTheWindowColour) {
    view->SetScrollBars(ssBoth);
    const QScrollBar* vertical = ScrollBarOf(*view, Qt::Vertical);
    const QScrollBar* horizontal = ScrollBarOf(*view, Qt::Horizontal);
    ASSERT_TRUE(vertical && horizontal);
    const QRect corner(vertical->x(), horizontal->y(), vertical->width(), horizontal->height());
    ASSERT_FALSE(corner.isEmpty());

    view->Color = 0xE0F0FF;
    EXPECT_EQ(InkPixels(view->grab().toImage(), corner, ResolveColor(view->Color)), 0);
    view->ReadOnlyColor = 0xD0FFD0;
    view->SetOptions(view->Options().With(moUseReadOnlyColor));
    Buffer().SetReadOnly(true);
    const QImage readOnly = view->grab().toImage();
    readOnly.save(QString::fromStdString(testing::TempDir() + "scroll-bar-corner.png"));
    EXPECT_EQ(InkPixels(readOnly, corner, ResolveColor(view->ReadOnlyColor)), 0);
}

// Style = state; a '{' line opens a red stretch for every line after it, a '}' line closes it.
class BraceParser final : public TSimpleParser {
public:
    int parsed = 0;
    TFontDesc GetStyleFont(int style) override {
        TFontDesc font;
        font.Name = "DejaVu Sans Mono";
        font.Color = style != 0 ? kRed : 0;
        return font;
    }
    bool GetStyleBack(int, TColorValue& colour) override {
        colour = clWindow;
        return true;
    }
    uint32_t ParseLine(std::string_view text, uint32_t state, std::string& styles) override {
        ++parsed;
        state = text[0] == '{' ? 1 : text[0] == '}' ? 0 : state;
        std::fill(styles.begin(), styles.end(), char(state));
        return state;
    }
};

// A jump to the end of a long text paints at once, plainly, without parsing the lines above;
// idle time then parses up to the rows shown and repaints them in the colours a full parse
// gives them (the red stretch opened far above).
TEST_F(ViewPaintTest, FarJumpPaintsPlainlyAtOnceAndItsColoursInIdleTime) {
    std::vector<std::string> lines(60000, "net");
    lines[100] = "{ open";
    lines[50000] = "} shut";
    lines[59990] = "{ again";
    SetLines(lines);
    BraceParser parser;
    view->SetSyntaxParser(&parser);
    Buffer().TextEnd();
    const QImage first = view->grab().toImage();
    EXPECT_LT(parser.parsed, 5000) << "the first paint waited for the lines above";
    const QRect text(view->TextLeftPx(), 0, view->TextWidthPx(), view->TextBottomPx());
    EXPECT_GT(InkPixels(first, text, ResolveColor(view->Color)), 0) << "the rows are shown, plainly";

    for (int round = 0; TApplicationIdle::HasWork() && round < 10000; ++round)
        TApplicationIdle::RunOnce();
    EXPECT_FALSE(TApplicationIdle::HasWork());
    const QImage caughtUp = view->grab().toImage();
    caughtUp.save(QString::fromStdString(testing::TempDir() + "far-jump-caught-up.png"));

    view->SetSyntaxParser(nullptr);
    view->SetSyntaxParser(&parser);
    Buffer().LineColors(Buffer().LineCount() - 1);  // the whole text, from its first line
    const QImage full = view->grab().toImage();
    EXPECT_TRUE(caughtUp == full);
    EXPECT_FALSE(first == full) << "the red rows at the end were red before their lines were parsed";
}

}  // namespace
}  // namespace tarnwick::testing_view
