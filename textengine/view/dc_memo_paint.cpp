// Painting: each row in the dirty region draws its gutter, number, visible text runs,
// selection, found rectangle, decorations and special symbols; nothing outside it is touched.
#include <algorithm>
#include <limits>

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "textengine/view/custom_dc_memo.h"
#include "widgets/colors.h"

namespace tarnwick {

namespace {

constexpr int32_t kNoEnd = std::numeric_limits<int32_t>::max();

// How a column of a row is highlighted.
enum class Mark : uint8_t { None, Selected, Found };

// A byte as the painter shows it: bytes are Latin-1, control bytes get their picture symbol.
QChar DisplayChar(unsigned char c) {
    if (c < 32)
        return QChar(0x2400 + c);
    if (c == 127)
        return QChar(0x2421);
    return QChar(c);
}

}  // namespace

// The selected and found column ranges of one line.
struct TCustomDCMemo::LineMarks {
    int32_t selFrom = 0, selTo = 0;
    int32_t foundFrom = 0, foundTo = 0;
    Mark At(int32_t column) const {
        if (column >= foundFrom && column < foundTo)
            return Mark::Found;
        if (column >= selFrom && column < selTo)
            return Mark::Selected;
        return Mark::None;
    }
};

// One piece of a row in one style and mark, measured and coloured.
struct TCustomDCMemo::TextRun {
    int32_t x = 0;
    int32_t width = 0;
    QString glyphs;
    const QFont* font = nullptr;
    QColor text;
    QColor back;
};

QColor TCustomDCMemo::WindowColor() const {
    if (!isEnabled())
        return ResolveColor(DisabledColor);
    if (source_->ReadOnly() && options_.Has(moUseReadOnlyColor))
        return ResolveColor(ReadOnlyColor);
    return ResolveColor(Color);
}

const TCustomDCMemo::StyleLook& TCustomDCMemo::LookOf(int style) {
    std::optional<StyleLook>& cached = looks_[size_t(style & 0xFF)];
    if (cached)
        return *cached;
    StyleLook look;
    TSimpleParser* parser = source_->SyntaxParser();
    if (options_.Has(moColorSyntax) && parser != nullptr) {
        const TFontDesc font = parser->GetStyleFont(style);
        TColorValue back = Color;
        parser->GetStyleBack(style, back);
        look.font = ToQFont(font, useMonoFont_);
        look.text = ResolveColor(font.Color);
        look.back = back == clWindow ? WindowColor() : ResolveColor(back);
    } else {
        look.font = qfont_;
        look.text = ResolveColor(font_.Color);
        look.back = WindowColor();
    }
    if (useMonoFont_) {
        // Every glyph advances exactly one column, whatever the font's fractional advance, so
        // long runs end where the column arithmetic says.
        const qreal advance = QFontMetricsF(look.font).horizontalAdvance(QLatin1Char('W'));
        look.font.setLetterSpacing(QFont::AbsoluteSpacing, charWidth_ - advance);
    }
    cached = look;
    return *cached;
}

void TCustomDCMemo::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    looks_.fill(std::nullopt);
    const QRect clip = event->rect();
    const int32_t firstOffset = std::max(clip.top(), 0) / rowHeight_;
    const int32_t lastOffset = std::max(clip.bottom(), 0) / rowHeight_;
    for (int32_t offset = firstOffset; offset <= lastOffset; ++offset)
        PaintRow(p, topRow_ + offset, offset * rowHeight_);
    PaintScrollBarCorner(p);
    if (!hideCaret_)
        PaintCaret(p);
    // A parse in this paint changed the end state of a line: the rows below it show stale
    // colours until they are painted again.
    const int32_t after = source_->RepaintAfter();
    if (after >= 0) {
        source_->ClearRepaintAfter();
        InvalidateLines(after + 1, std::numeric_limits<int32_t>::max() / 2);
    }
}

void TCustomDCMemo::PaintRows(QPainter& painter, int32_t firstRow, int32_t rows) {
    looks_.fill(std::nullopt);
    // A page has no later repaint to wait for: its colours are parsed now, however far.
    const int32_t lastLine =
        std::min(RowInfo(firstRow + std::max(rows, 1) - 1).Line, source_->LineCount() - 1);
    if (rows > 0 && lastLine >= 0)
        source_->UpdateColours(lastLine);
    for (int32_t offset = 0; offset < rows; ++offset)
        PaintRow(painter, firstRow + offset, offset * rowHeight_);
}

void TCustomDCMemo::PaintRow(QPainter& p, int32_t row, int32_t y) {
    const TLineInfo info = RowInfo(row);
    PaintGutter(p, row, info, y);
    const int32_t numberPx = NumberColumnPx();
    const int32_t gutterPx = GutterPx();
    if (numberPx > 0) {
        p.fillRect(gutterPx, y, numberPx, rowHeight_, ResolveColor(LineNumBackColor));
        PaintLineNumber(p, row, gutterPx, y);
    }
    const int32_t indentPx = TextLeftPx() - gutterPx - numberPx;
    if (indentPx > 0)
        p.fillRect(gutterPx + numberPx, y, indentPx, rowHeight_, WindowColor());
    PaintText(p, info, y);
    PaintFoldMarker(p, info, y);
    PaintProblems(p, info, y);
}

std::string TCustomDCMemo::LineNumberText(int32_t row) const {
    if (!options_.Has(moLineNumbers))
        return {};
    const TLineInfo info = RowInfo(row);
    if (info.Index > 0)
        return {};
    const bool pastEndNumbered = source_->HasOption(soBeyondFileEnd) && !options_.Has(moLimitLineNumbers);
    if (info.Line >= source_->LineCount() && !pastEndNumbered)
        return {};
    std::string text = std::to_string(int64_t(info.Line) + 1);
    int32_t maxLength = LineNumberDigits();
    if (OnGetLineNumber)
        OnGetLineNumber(const_cast<TCustomDCMemo&>(*this), text, maxLength);
    if (int32_t(text.size()) < maxLength) {
        const std::string pad(size_t(maxLength) - text.size(), ' ');
        text = LineNumAlign == taRightJustify ? pad + text : text + pad;
    }
    return text;
}

void TCustomDCMemo::PaintGutter(QPainter& p, int32_t row, const TLineInfo& info, int32_t y) {
    const int32_t gutterPx = GutterPx();
    if (gutterPx <= 0)
        return;
    p.fillRect(0, y, gutterPx, rowHeight_, ResolveColor(GutterBackColor));
    p.setPen(ResolveColor(GutterLineColor));
    p.drawLine(gutterPx - 1, y, gutterPx - 1, y + rowHeight_ - 1);
    if (info.Index > 0 || info.Line >= source_->LineCount())
        return;
    // Images of the line's mark bits, then its bookmarks, side by side from the aligned edge.
    std::vector<const QPixmap*> glyphs;
    const uint16_t marks = source_->Store().GutterMarks(info.Line);
    for (int32_t bit = 0; bit < 16 && bit < gutterImgs_.Count(); ++bit)
        if (marks & (1u << bit))
            glyphs.push_back(&gutterImgs_[bit].Glyph);
    for (const TMemoBookMark& b : source_->Bookmarks().Items()) {
        if (b.LinePos != info.Line)
            continue;
        const int32_t image = gutterImgs_.IndexOf("Bookmark" + std::to_string(b.Number % 10));
        if (image >= 0)
            glyphs.push_back(&gutterImgs_[image].Glyph);
    }
    int32_t x = GutterImgsAlign == iaLeft ? 1 : gutterPx - 2 - FoldColumnPx();
    for (const QPixmap* glyph : glyphs) {
        const QSize size = LogicalSize(*glyph);
        const int32_t w = size.width();
        const int32_t top = y + std::max((rowHeight_ - size.height()) / 2, 0);
        if (GutterImgsAlign == iaLeft) {
            p.drawPixmap(x, top, *glyph);
            x += w + 1;
        } else {
            x -= w;
            p.drawPixmap(x, top, *glyph);
            x -= 1;
        }
    }
    if (options_.Has(moLineNumbers) && options_.Has(moLineNumbersOnGutter))
        PaintLineNumber(p, row, GutterLineIndent, y);
}

// A number's cell is one character wider than the widest number: half a character on either
// side keeps the number off the window's edge, the gutter line and the text.
void TCustomDCMemo::PaintLineNumber(QPainter& p, int32_t row, int32_t cellLeft, int32_t y) {
    const std::string number = LineNumberText(row);
    if (number.empty())
        return;
    p.setFont(qfont_);
    p.setPen(ResolveColor(LineNumColor));
    p.drawText(cellLeft + charWidth_ / 2, y + ascent_, QString::fromLatin1(number.c_str()));
}

// The text of a row in layers: the background, the backgrounds of the runs and marks, the
// decorations, then the glyphs. Nothing is painted over a glyph, so a frame or separator on the
// row's last pixels cannot hide an underscore.
void TCustomDCMemo::PaintText(QPainter& p, const TLineInfo& info, int32_t y) {
    const RowArea area = TextAreaOf(info, y);
    if (area.right <= area.left)
        return;
    const QColor window = RowBackColor(info);
    p.fillRect(area.left, y, area.right - area.left, rowHeight_, window);
    if (info.Line >= source_->LineCount()) {
        PaintDecorations(p, info, area);
        PaintEndOfText(p, info, area);
        return;
    }
    const RowSlice slice = SliceOf(info.Line, area.firstColumn, area.endColumn);
    const LineMarks marks = MarksOf(info.Line, slice);
    const std::vector<TextRun> runs = RunsOf(info.Line, slice, marks, area);
    const int32_t textEndPx = runs.empty() ? area.left : runs.back().x + runs.back().width;
    for (const TextRun& run : runs)
        if (run.back != window)
            p.fillRect(run.x, y, run.width, rowHeight_, run.back);
    PaintMarksPastText(p, info, marks, int32_t(slice.text.size()), textEndPx, area);
    PaintDecorations(p, info, area);
    for (const TextRun& run : runs) {
        p.setFont(*run.font);
        p.setPen(run.text);
        p.drawText(run.x, y + ascent_, run.glyphs);
    }
    // The line-end mark only where the line ends on screen, not on a line scrolled past.
    const bool endsOnScreen = slice.endsInside && slice.lineEnd >= slice.startColumn;
    if (options_.Has(moDrawSpecialSymbols) && endsOnScreen && info.IsLastRow())
        PaintSymbol(p, textEndPx, y, SpecialSymbols.EOLString);
}

TCustomDCMemo::RowArea TCustomDCMemo::TextAreaOf(const TLineInfo& info, int32_t y) const {
    RowArea area;
    area.left = TextLeftPx();
    area.right = TextRightPx();
    area.top = y;
    area.firstColumn = wordWrap_ ? info.StartColumn : leftCol_;
    const int32_t visibleEnd = area.firstColumn + VisibleColumns();
    area.endColumn = info.IsLastRow() ? visibleEnd : std::min(info.EndColumn, visibleEnd);
    return area;
}

// The window colour, or the current-line brush on the caret's line.
QColor TCustomDCMemo::RowBackColor(const TLineInfo& info) const {
    if (LineHighlight.Visible && LineHighlight.Brush.Visible && info.Line == source_->Caret().LinePos)
        return ResolveColor(LineHighlight.Brush.Color);
    return WindowColor();
}

TCustomDCMemo::LineMarks TCustomDCMemo::MarksOf(int32_t line, const RowSlice& slice) const {
    LineMarks marks;
    if (source_->HasSelection() && !(HideSelection && !hasFocus())) {
        const TPosition tl = source_->SelStart(), br = source_->SelEnd();
        if (line >= tl.LinePos && line <= br.LinePos) {
            if (source_->SelectionType() == stColumn) {
                marks.selFrom = tl.CharPos;
                marks.selTo = br.CharPos + 1;  // a column block includes its right column
            } else {
                marks.selFrom = line == tl.LinePos ? tl.CharPos : 0;
                marks.selTo = line == br.LinePos ? br.CharPos : kNoEnd;
                if (marks.selTo == kNoEnd && options_.Has(moSelectOnlyText) && slice.endsInside)
                    marks.selTo = slice.lineEnd;
            }
        }
    }
    const TFoundRect found = source_->FoundRect();
    if (found.LinePos == line) {
        marks.foundFrom = found.StartChar;
        marks.foundTo = found.EndChar;
    }
    return marks;
}

// The slice cut where the style or the mark changes, each piece measured and coloured, from
// the text's left edge up to the first piece that reaches the right edge.
std::vector<TCustomDCMemo::TextRun> TCustomDCMemo::RunsOf(int32_t line, const RowSlice& slice,
                                                          const LineMarks& marks, const RowArea& area) {
    const uint8_t lineStyleIndex = source_->LineStyle(line);
    const TTextStyle* lineStyle = lineStyleIndex != 0 ? textStyles_.At(lineStyleIndex) : nullptr;
    const int32_t origin = slice.startColumn;
    const int32_t n = int32_t(slice.text.size());
    std::vector<TextRun> runs;
    int32_t x = area.left;
    for (int32_t i = 0; i < n && x < area.right;) {
        const char style = slice.styles[size_t(i)];
        const Mark mark = marks.At(origin + i);
        int32_t j = i + 1;
        while (j < n && slice.styles[size_t(j)] == style && marks.At(origin + j) == mark)
            ++j;
        const StyleLook& look = LookOf(static_cast<unsigned char>(style));
        TextRun run;
        run.x = x;
        run.font = &look.font;
        run.text = look.text;
        run.back = look.back;
        if (lineStyle != nullptr) {
            run.text = ResolveColor(lineStyle->Font.Color);
            if (!lineStyle->UseMemoColor)
                run.back = ResolveColor(lineStyle->Color);
        }
        if (mark == Mark::Selected) {
            run.text = ResolveColor(SelColor);
            run.back = ResolveColor(SelBackColor);
        } else if (mark == Mark::Found) {
            run.text = ResolveColor(MatchColor);
            run.back = ResolveColor(MatchBackColor);
        }
        run.glyphs = GlyphsOf(slice, i, j, run.width);
        x += run.width;
        runs.push_back(std::move(run));
        i = j;
    }
    return runs;
}

// The characters [from, to) of a slice as they are drawn: tabs as blanks, and with special
// symbols the space and tab characters in their places.
QString TCustomDCMemo::GlyphsOf(const RowSlice& slice, int32_t from, int32_t to, int32_t& widthPx) const {
    const bool specials = options_.Has(moDrawSpecialSymbols);
    QString glyphs(to - from, QChar(' '));
    widthPx = 0;
    for (int32_t k = from; k < to; ++k) {
        unsigned char c = static_cast<unsigned char>(slice.text[size_t(k)]);
        if (c == '\t')
            c = ' ';
        else if (c == ' ' && specials && SpecialSymbols.SpaceChar != 0)
            c = static_cast<unsigned char>(SpecialSymbols.SpaceChar);
        glyphs[k - from] = DisplayChar(c);
        widthPx += CharWidthOf(c);
    }
    if (specials && SpecialSymbols.TabChar != 0) {
        const int32_t first = slice.startColumn + from, end = slice.startColumn + to;
        for (int32_t column : slice.tabSymbols)
            if (column >= first && column < end)
                glyphs[column - first] = DisplayChar(static_cast<unsigned char>(SpecialSymbols.TabChar));
    }
    return glyphs;
}

// Selected or found columns beyond the line's text: to the mark's end on the last row of a
// line, to the window's edge on a wrapped row.
void TCustomDCMemo::PaintMarksPastText(QPainter& p, const TLineInfo& info, const LineMarks& marks,
                                       int32_t textColumns, int32_t x, const RowArea& area) {
    const int32_t tailStart = area.firstColumn + textColumns;
    const int32_t tailEnd = info.IsLastRow() ? area.endColumn : info.EndColumn;
    for (int32_t column = tailStart; column < tailEnd && x < area.right;) {
        const Mark mark = info.IsLastRow() ? marks.At(column) : marks.At(info.EndColumn - 1);
        int32_t next = column + 1;
        while (next < tailEnd && (info.IsLastRow() ? marks.At(next) : mark) == mark)
            ++next;
        const int32_t w = (next - column) * CharWidthOf(' ');
        if (mark != Mark::None)
            p.fillRect(x, area.top, info.IsLastRow() ? w : area.right - x, rowHeight_,
                       ResolveColor(mark == Mark::Selected ? SelBackColor : MatchBackColor));
        x += w;
        column = next;
    }
}

void TCustomDCMemo::PaintDecorations(QPainter& p, const TLineInfo& info, const RowArea& area) {
    const int32_t left = area.left, right = area.right, y = area.top;
    const auto usePen = [&p](const TPenDesc& pen) {
        p.setPen(QPen(ResolveColor(pen.Color), std::max(pen.Width, 1)));
        return pen.Visible;
    };
    const int32_t bottom = y + rowHeight_ - 1;
    const bool separated = info.IsLastRow() ? (LineSeparator.Options & moDrawLineSeparator)
                                            : (LineSeparator.Options & moWrappedLineSeparator);
    if (separated && info.Line < source_->LineCount() && usePen(LineSeparator.Pen))
        p.drawLine(left, bottom, right, bottom);
    if (LineHighlight.Visible && info.Line == source_->Caret().LinePos && usePen(LineHighlight.Pen)) {
        if (LineHighlight.Shape == shDoubleLine && info.Index == 0)
            p.drawLine(left, y, right, y);
        if (info.IsLastRow())
            p.drawLine(left, bottom, right, bottom);
    }
    if (options_.Has(moDrawMargin) && usePen(MarginPen)) {
        const int32_t origin = wordWrap_ ? 0 : leftCol_;
        const int32_t x = left + (marginPos_ - origin) * charWidth_;
        if (x >= left && x < right)
            p.drawLine(x, y, x, bottom);
    }
    if (options_.Has(moDrawLineBookmarks)) {
        p.setPen(Qt::NoPen);
        p.setBrush(ResolveColor(LineBookmarkColor));
        for (const TMemoBookMark& b : source_->Bookmarks().Items()) {
            if (b.LinePos != info.Line ||
                RowOfPosition({b.LinePos, b.CharPos}) != RowOfPosition({info.Line, info.StartColumn}))
                continue;
            const int32_t x = ColumnX(info, b.CharPos);
            const QPoint triangle[] = {{x, bottom - 3}, {x - 3, bottom}, {x + 3, bottom}};
            p.drawPolygon(triangle, 3);
        }
        p.setBrush(Qt::NoBrush);
    }
}

// With special symbols the row after the last line shows the end-of-text mark, unless the text
// is scrolled to the right past it.
void TCustomDCMemo::PaintEndOfText(QPainter& p, const TLineInfo& info, const RowArea& area) {
    if (!options_.Has(moDrawSpecialSymbols) || info.Index != 0 ||
        RowOfPosition({info.Line, 0}) != RowCount() - 1)
        return;
    const int32_t x = area.left - (wordWrap_ ? 0 : leftCol_ * charWidth_);
    if (x >= area.left)
        PaintSymbol(p, x, area.top, SpecialSymbols.EOFString);
}

void TCustomDCMemo::PaintSymbol(QPainter& p, int32_t x, int32_t y, const std::string& symbol) {
    p.setFont(qfont_);
    p.setPen(ResolveColor(GutterLineColor));
    p.drawText(x, y + ascent_, QString::fromLatin1(symbol.c_str()));
}

// No scroll bar covers the corner between the two, and the view paints opaquely.
void TCustomDCMemo::PaintScrollBarCorner(QPainter& p) {
    if (!vScroll_->isVisibleTo(this) || !hScroll_->isVisibleTo(this))
        return;
    p.fillRect(TextRightPx(), TextBottomPx(), width() - TextRightPx(), height() - TextBottomPx(),
               WindowColor());
}

void TCustomDCMemo::PaintCaret(QPainter& p) {
    const QRect caret = CaretRect();
    if (caret.left() < TextLeftPx() || caret.bottom() < 0 || caret.top() >= height())
        return;
    const bool block = caret.width() > 2;
    if (block) {
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(caret, Qt::white);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        p.fillRect(caret, ResolveColor(font_.Color));
    }
}

}  // namespace tarnwick
