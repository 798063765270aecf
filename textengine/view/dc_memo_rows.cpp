// The row model of the view: rows to lines and back (through the word-wrap lists), wrapping,
// the visible slice of a row's text, columns to pixels, and vertical moves by rows.
#include <algorithm>
#include <chrono>
#include <limits>

#include "textengine/view/custom_dc_memo.h"
#include "widgets/application_idle.h"

namespace tarnwick {

// ---- Rows ------------------------------------------------------------------------------------

int32_t TCustomDCMemo::RowCount() const {
    const int32_t lines = source_->LineCount();
    const int32_t rows = wordWrap_ ? lines + wrap_.ExtraRows()
                                   : lines - (HidesLines() ? source_->Folds().HiddenLineCount() : 0);
    return rows + (options_.Has(moDrawSpecialSymbols) ? 1 : 0);
}

// Past the end of the file the range reaches the caret's row, so that every caret move can
// bring the caret into view.
int32_t TCustomDCMemo::ScrollRowCount() const {
    const int32_t rows = RowCount();
    if (source_->HasOption(soBeyondFileEnd))
        return std::max({rows, RowOfPosition(source_->Caret()) + 1, 1});
    return std::max(rows - FullyVisibleRows() + 1, 1);
}

TLineInfo TCustomDCMemo::RowInfo(int32_t row) const {
    if (wordWrap_)
        return wrap_.RowAt(row);
    TLineInfo info;
    info.Line = HidesLines() ? source_->Folds().LineOfRow(row) : row;
    return info;
}

int32_t TCustomDCMemo::RowOfPosition(TPosition pos) const {
    if (!wordWrap_)
        return HidesLines() ? source_->Folds().RowOfLine(pos.LinePos) : pos.LinePos;
    if (pos.LinePos >= source_->LineCount())
        return wrap_.RowOfLine(pos.LinePos);
    const TLineInfo info = wrap_.RowOfColumn(pos.LinePos, pos.CharPos);
    int32_t index = info.Index;
    if (index > 0 && pos.CharPos == info.StartColumn && caretAtRowEnd_ == pos && pos == source_->Caret())
        --index;
    return wrap_.RowOfLine(pos.LinePos) + index;
}

// ---- Word wrap -------------------------------------------------------------------------------

bool TCustomDCMemo::WrapsAtFixedColumns() const { return useMonoFont_ && options_.Has(moBreakWordAtMargin); }

int32_t TCustomDCMemo::WrapWidthPx() const {
    if (options_.Has(moBreakWordAtMargin))
        return charWidth_ * std::max(useMonoFont_ ? marginPos_ - 1 : marginPos_, 1);
    return std::max(TextWidthPx(), charWidth_);
}

void TCustomDCMemo::RewrapLines(int32_t first, int32_t last) {
    const int32_t widthPx = WrapWidthPx();
    const int32_t widest = *std::max_element(widths_.begin(), widths_.end());
    const auto width = [this](unsigned char c) { return CharWidthOf(c); };
    const auto delimiter = [this](unsigned char c) { return source_->IsDelimiter(c); };
    last = std::min(last, source_->LineCount() - 1);
    for (int32_t line = std::max(first, 0); line <= last; ++line) {
        // Most lines fit; those are known without expanding them.
        if (int64_t(source_->Store().TextLength(line)) * widest <= widthPx &&
            !source_->LineMayHoldTab(line)) {
            wrap_.SetBreaks(line, {});
            continue;
        }
        wrap_.SetBreaks(line, WrapLine(source_->LineText(line), widthPx, width, delimiter));
    }
}

void TCustomDCMemo::RewrapAll() {
    wrap_.Clear();
    if (wordWrap_ && source_ != nullptr)
        RewrapLines(0, source_->LineCount() - 1);
}

// The buffer reports the changed range in the new numbering; the lines after it moved by the
// change in line count. Only the changed lines are wrapped again.
void TCustomDCMemo::RewrapAfterEdit(TMemoStates states, int32_t first, int32_t last) {
    if (!wordWrap_ || first > last)
        return;
    const int32_t delta = source_->LineCount() - lineCount_;
    if (states & msLineCount) {
        const int32_t oldEnd = std::max(first, last - delta);
        wrap_.EraseLines(first, oldEnd);
        wrap_.ShiftLines(oldEnd + 1, delta);
    }
    RewrapLines(first, std::max(last, first));
}

// ---- Columns and pixels ----------------------------------------------------------------------

// Expanded text and styles of columns [firstColumn, endColumn) of a line. Costs the visible
// columns (and, on a line with tabs, a walk to the first of them), whatever the line's length.
TCustomDCMemo::RowSlice TCustomDCMemo::SliceOf(int32_t line, int32_t firstColumn, int32_t endColumn) {
    RowSlice slice;
    slice.startColumn = firstColumn;
    if (line < 0 || line >= source_->LineCount() || endColumn <= firstColumn)
        return slice;
    bool colour = options_.Has(moColorSyntax) && source_->SyntaxParser() != nullptr;
    if (colour && !source_->ColoursWithinReach(line)) {
        WaitForColours(line);
        colour = false;
    }
    // Every stored byte takes a column at least, so the slice needs no more bytes than columns
    // (and the tab that may start before it).
    const TTabStops& tabs = source_->TabRack();
    const TTabStops::Location at = source_->LocateColumn(line, firstColumn);
    const size_t length = source_->Store().TextLength(line);
    const size_t budget = size_t(endColumn - firstColumn);
    std::string piece;
    if (size_t(at.index) < length)
        source_->Store().CopyText(line, size_t(at.index), budget + 1, piece);
    // The buffer parses on demand, a long line from the kept point before the piece.
    const std::string colours =
        colour ? source_->StoredColours(line, size_t(at.index), piece.size()) : std::string();
    int64_t i = at.index;
    int32_t column = at.startColumn;
    const auto styleAt = [&](int64_t index) -> char {
        const size_t k = size_t(index - at.index);
        return k < colours.size() ? colours[k] : '\0';
    };
    const auto byteAt = [&](int64_t index) { return piece[size_t(index - at.index)]; };
    const size_t pieceEnd = size_t(at.index) + piece.size();
    slice.text.reserve(std::min<size_t>(budget, 4096));
    while (column < endColumn && size_t(i) < pieceEnd) {
        const char c = byteAt(i);
        const char style = styleAt(i);
        if (c == '\t') {
            const int32_t next = tabs.NextStop(column);
            const int32_t symbol = column + std::max((next - column) / 2 - 1, 0);
            if (symbol >= firstColumn && symbol < endColumn)
                slice.tabSymbols.push_back(symbol);
            for (int32_t k = std::max(column, firstColumn); k < std::min(next, endColumn); ++k) {
                slice.text.push_back('\t');  // the painter draws tab runs as blanks
                slice.styles.push_back(style);
            }
            column = next;
        } else {
            if (column >= firstColumn) {
                slice.text.push_back(c);
                slice.styles.push_back(style);
            }
            ++column;
        }
        ++i;
    }
    if (size_t(i) >= length && column <= endColumn) {
        slice.endsInside = true;
        // A line that ends before the slice: Locate counted the columns past its end as bytes.
        const int64_t pastEnd = at.index - int64_t(length);
        slice.lineEnd = pastEnd > 0 ? firstColumn - int32_t(pastEnd) : column;
    }
    return slice;
}

void TCustomDCMemo::WaitForColours(int32_t line) {
    if (line <= waitingForColours_)
        return;
    if (waitingForColours_ < 0)
        TApplicationIdle::Post(this, [this] { return CatchUpColours(); });
    waitingForColours_ = line;
}

// One slice of idle time: short enough that a key pressed meanwhile waits at most a few
// milliseconds more.
bool TCustomDCMemo::CatchUpColours() {
    constexpr auto kSlice = std::chrono::milliseconds(8);
    if (waitingForColours_ < 0)
        return false;
    if (!source_->CatchUpHighlighting(waitingForColours_, std::chrono::steady_clock::now() + kSlice))
        return true;
    waitingForColours_ = -1;
    update();  // the rows painted plainly, and any other row that waited
    return false;
}

int32_t TCustomDCMemo::ColumnX(const TLineInfo& row, int32_t column) const {
    const int32_t origin = wordWrap_ ? row.StartColumn : leftCol_;
    if (useMonoFont_ || column <= origin)
        return TextLeftPx() + (column - origin) * charWidth_;
    auto* self = const_cast<TCustomDCMemo*>(this);
    const RowSlice slice = self->SliceOf(row.Line, origin, column);
    int32_t x = TextLeftPx();
    for (char c : slice.text)
        x += CharWidthOf(static_cast<unsigned char>(c == '\t' ? ' ' : c));
    return x + (column - origin - int32_t(slice.text.size())) * CharWidthOf(' ');
}

int32_t TCustomDCMemo::ColumnAtX(const TLineInfo& row, int32_t x) const {
    const int32_t origin = wordWrap_ ? row.StartColumn : leftCol_;
    const int32_t dx = x - TextLeftPx();
    if (dx <= 0)
        return origin;
    if (useMonoFont_)
        return origin + (dx + charWidth_ / 2) / std::max(charWidth_, 1);
    auto* self = const_cast<TCustomDCMemo*>(this);
    const RowSlice slice = self->SliceOf(row.Line, origin, origin + VisibleColumns());
    int32_t left = 0, column = origin;
    for (char c : slice.text) {
        const int32_t w = CharWidthOf(static_cast<unsigned char>(c == '\t' ? ' ' : c));
        if (dx < left + w / 2 + (w & 1))
            return column;
        left += w;
        ++column;
    }
    return column + (dx - left + CharWidthOf(' ') / 2) / std::max(CharWidthOf(' '), 1);
}

TPosition TCustomDCMemo::PositionAt(QPoint point) const {
    const int32_t offset = point.y() >= 0 ? point.y() / std::max(rowHeight_, 1) : -1;
    const int32_t row = std::max(topRow_ + offset, 0);
    const TLineInfo info = RowInfo(row);
    int32_t column = ColumnAtX(info, point.x());
    if (wordWrap_ && !info.IsLastRow())
        column = std::clamp(column, info.StartColumn, info.EndColumn);
    if (wordWrap_ && info.Line >= source_->LineCount())
        return {info.Line, 0};
    return {info.Line, std::max(column, 0)};
}

TPosition TCustomDCMemo::LimitClick(TPosition pos) const {
    if (!source_->HasOption(soBeyondFileEnd))
        pos.LinePos = std::min(pos.LinePos, LastLine());
    if (source_->HasOption(soLimitEOL))
        pos.CharPos = std::min(pos.CharPos, source_->LineLength(pos.LinePos));
    return pos;
}

QRect TCustomDCMemo::CaretRect() const {
    const TPosition caret = source_->Caret();
    const int32_t row = RowOfPosition(caret);
    TLineInfo info = RowInfo(row);
    const int32_t x = ColumnX(info, caret.CharPos);
    int32_t w = 2;
    if (hideCaret_)
        return QRect(x, (row - topRow_) * rowHeight_, 1, 1);
    if (options_.Has(moOverwriteCaret) && !TCustomMemoSource::InsertMode()) {
        auto* self = const_cast<TCustomDCMemo*>(this);
        const RowSlice under = self->SliceOf(caret.LinePos, caret.CharPos, caret.CharPos + 1);
        const char c = under.text.empty() ? ' ' : under.text[0];
        w = CharWidthOf(static_cast<unsigned char>(c == '\t' ? ' ' : c));
    }
    return QRect(x, (row - topRow_) * rowHeight_, w, rowHeight_);
}

// ---- Vertical moves --------------------------------------------------------------------------

// Moves the caret by rows. With word wrap, a proportional font or soRetainColumn the caret keeps
// the pixel column of the first move of a series; any other caret change forgets it.
void TCustomDCMemo::VerticalMove(int32_t rows, bool) {
    const bool rowBased = wordWrap_ || !useMonoFont_ || source_->HasOption(soRetainColumn) || HidesLines();
    if (!rowBased) {
        if (rows == -1)
            source_->CaretUp();
        else if (rows == 1)
            source_->CaretDown();
        else
            source_->MoveCaret(rows, 0);
        return;
    }
    const TPosition caret = source_->Caret();
    const int32_t row = RowOfPosition(caret);
    if (!rememberedX_)
        rememberedX_ = ColumnX(RowInfo(row), caret.CharPos);
    int32_t lastRow = std::numeric_limits<int32_t>::max() / 2;
    if (!source_->HasOption(soBeyondFileEnd))
        lastRow = wordWrap_ ? wrap_.RowOfLine(LastLine()) + wrap_.RowsOfLine(LastLine()) - 1
                            : RowOfPosition({LastLine(), 0});
    const int32_t target = std::clamp(row + rows, 0, std::max(lastRow, 0));
    if (target == row)
        return;
    const TLineInfo info = RowInfo(target);
    int32_t column = ColumnAtX(info, *rememberedX_);
    bool atRowEnd = false;
    if (!info.IsLastRow() && column >= info.EndColumn) {
        column = info.EndColumn;
        atRowEnd = true;
    }
    if (source_->HasOption(soLimitEOL))
        column = std::min(column, source_->LineLength(info.Line));
    // Before the move: the scroll that follows it must see the row the caret comes to.
    caretAtRowEnd_ = atRowEnd ? std::optional<TPosition>({info.Line, column}) : std::nullopt;
    verticalMoveRunning_ = true;
    source_->SetCaret(column, info.Line);
    verticalMoveRunning_ = false;
}

}  // namespace tarnwick
