// Painting: each row in the dirty region draws its gutter, number, visible text runs,
// selection, found rectangle, special symbols and decorations; nothing outside it is touched.
#include <algorithm>
#include <limits>

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "custom_dc_memo.h"
#include "widgets/colors.h"

namespace tarnwick {

namespace {

constexpr int32_t kNoEnd = std::numeric_limits<int32_t>::max();

// How a column of a row is highlighted.
enum class Mark : uint8_t { None, Selected, Found };

// The selected and found column ranges of one line.
struct LineMarks {
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

// A byte as the painter shows it: bytes are Latin-1, control bytes get their picture symbol.
QChar DisplayChar(unsigned char c) {
    if (c < 32)
        return QChar(0x2400 + c);
    if (c == 127)
        return QChar(0x2421);
    return QChar(c);
}

}  // namespace

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
        PaintRow(p, topRow_ + offset, offset * rowHeight_, clip);
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

void TCustomDCMemo::PaintRow(QPainter& p, int32_t row, int32_t y, const QRect&) {
    const TLineInfo info = RowInfo(row);
    PaintGutter(p, row, info, y);
    const int32_t numberPx = NumberColumnPx();
    const int32_t gutterPx = GutterPx();
    if (numberPx > 0) {
        p.fillRect(gutterPx, y, numberPx, rowHeight_, ResolveColor(LineNumBackColor));
        const std::string number = LineNumberText(row);
        if (!number.empty()) {
            p.setFont(qfont_);
            p.setPen(ResolveColor(LineNumColor));
            p.drawText(gutterPx, y + ascent_, QString::fromLatin1(number.c_str()));
        }
    }
    const int32_t indentPx = TextLeftPx() - gutterPx - numberPx;
    if (indentPx > 0)
        p.fillRect(gutterPx + numberPx, y, indentPx, rowHeight_, WindowColor());
    PaintText(p, info, y);
    PaintDecorations(p, info, y);
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
    int32_t x = GutterImgsAlign == iaLeft ? 1 : gutterPx - 2;
    for (const QPixmap* glyph : glyphs) {
        const int32_t w = glyph->width();
        const int32_t top = y + std::max((rowHeight_ - glyph->height()) / 2, 0);
        if (GutterImgsAlign == iaLeft) {
            p.drawPixmap(x, top, *glyph);
            x += w + 1;
        } else {
            x -= w;
            p.drawPixmap(x, top, *glyph);
            x -= 1;
        }
    }
    if (options_.Has(moLineNumbers) && options_.Has(moLineNumbersOnGutter)) {
        const std::string number = LineNumberText(row);
        p.setFont(qfont_);
        p.setPen(ResolveColor(LineNumColor));
        p.drawText(GutterLineIndent, y + ascent_, QString::fromLatin1(number.c_str()));
    }
}

void TCustomDCMemo::PaintText(QPainter& p, const TLineInfo& info, int32_t y) {
    const int32_t left = TextLeftPx();
    const int32_t right = width() - (vScroll_->isVisibleTo(this) ? vScroll_->width() : 0);
    if (right <= left)
        return;
    const TPosition caret = source_->Caret();
    QColor window = WindowColor();
    if (LineHighlight.Visible && LineHighlight.Brush.Visible && info.Line == caret.LinePos)
        window = ResolveColor(LineHighlight.Brush.Color);
    const int32_t line = info.Line;
    const int32_t textRows = RowCount() - (options_.Has(moDrawSpecialSymbols) ? 1 : 0);
    p.fillRect(left, y, right - left, rowHeight_, window);
    if (line >= source_->LineCount()) {
        if (options_.Has(moDrawSpecialSymbols) && RowOfPosition({line, 0}) == textRows && info.Index == 0) {
            p.setFont(qfont_);
            p.setPen(ResolveColor(GutterLineColor));
            p.drawText(left - (wordWrap_ ? 0 : leftCol_ * charWidth_), y + ascent_,
                       QString::fromLatin1(SpecialSymbols.EOFString.c_str()));
        }
        return;
    }
    const int32_t origin = wordWrap_ ? info.StartColumn : leftCol_;
    const int32_t visibleEnd = origin + VisibleColumns();
    const int32_t end = info.IsLastRow() ? visibleEnd : std::min(info.EndColumn, visibleEnd);
    const RowSlice slice = SliceOf(line, origin, end);

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
    const uint8_t lineStyleIndex = source_->LineStyle(line);
    const TTextStyle* lineStyle = lineStyleIndex != 0 ? textStyles_.At(lineStyleIndex) : nullptr;
    const bool specials = options_.Has(moDrawSpecialSymbols);

    const int32_t n = int32_t(slice.text.size());
    int32_t x = left;
    QString run;
    for (int32_t i = 0; i < n;) {
        const char style = slice.styles[size_t(i)];
        const Mark mark = marks.At(origin + i);
        int32_t j = i + 1;
        while (j < n && slice.styles[size_t(j)] == style && marks.At(origin + j) == mark)
            ++j;
        const StyleLook& look = LookOf(static_cast<unsigned char>(style));
        QColor text = look.text, back = look.back;
        if (lineStyle != nullptr) {
            text = ResolveColor(lineStyle->Font.Color);
            if (!lineStyle->UseMemoColor)
                back = ResolveColor(lineStyle->Color);
        }
        if (mark == Mark::Selected) {
            text = ResolveColor(SelColor);
            back = ResolveColor(SelBackColor);
        } else if (mark == Mark::Found) {
            text = ResolveColor(MatchColor);
            back = ResolveColor(MatchBackColor);
        }
        run.resize(j - i);
        int32_t runWidth = 0;
        for (int32_t k = i; k < j; ++k) {
            unsigned char c = static_cast<unsigned char>(slice.text[size_t(k)]);
            if (c == '\t')
                c = ' ';
            if (c == ' ' && specials && SpecialSymbols.SpaceChar != 0 && slice.text[size_t(k)] == ' ')
                c = static_cast<unsigned char>(SpecialSymbols.SpaceChar);
            run[k - i] = DisplayChar(c);
            runWidth += CharWidthOf(c);
        }
        if (specials && SpecialSymbols.TabChar != 0)
            for (int32_t column : slice.tabSymbols)
                if (column >= origin + i && column < origin + j)
                    run[column - origin - i] = DisplayChar(static_cast<unsigned char>(SpecialSymbols.TabChar));
        if (back != window)
            p.fillRect(x, y, runWidth, rowHeight_, back);
        p.setFont(look.font);
        p.setPen(text);
        p.drawText(x, y + ascent_, run);
        x += runWidth;
        i = j;
        if (x >= right)
            break;
    }
    // Past the text: selection or found columns beyond the line end, then the end-of-line mark.
    const int32_t tailStart = origin + n;
    const int32_t tailEnd = info.IsLastRow() ? visibleEnd : info.EndColumn;
    int32_t tx = x;
    for (int32_t column = tailStart; column < tailEnd && tx < right;) {
        const Mark mark = info.IsLastRow() ? marks.At(column) : marks.At(info.EndColumn - 1);
        int32_t next = column + 1;
        while (next < tailEnd && (info.IsLastRow() ? marks.At(next) : mark) == mark)
            ++next;
        const int32_t w = (next - column) * CharWidthOf(' ');
        if (mark != Mark::None)
            p.fillRect(tx, y, info.IsLastRow() ? w : right - tx, rowHeight_,
                       ResolveColor(mark == Mark::Selected ? SelBackColor : MatchBackColor));
        tx += w;
        column = next;
    }
    if (specials && slice.endsInside && info.IsLastRow()) {
        p.setFont(qfont_);
        p.setPen(ResolveColor(GutterLineColor));
        p.drawText(x, y + ascent_, QString::fromLatin1(SpecialSymbols.EOLString.c_str()));
    }
}

void TCustomDCMemo::PaintDecorations(QPainter& p, const TLineInfo& info, int32_t y) {
    const int32_t left = TextLeftPx();
    const int32_t right = width() - (vScroll_->isVisibleTo(this) ? vScroll_->width() : 0);
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
            if (b.LinePos != info.Line || RowOfPosition({b.LinePos, b.CharPos}) != RowOfPosition({info.Line, info.StartColumn}))
                continue;
            const int32_t x = ColumnX(info, b.CharPos);
            const QPoint triangle[] = {{x, bottom - 3}, {x - 3, bottom}, {x + 3, bottom}};
            p.drawPolygon(triangle, 3);
        }
        p.setBrush(Qt::NoBrush);
    }
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
