// Folding in the view: the fold commands, the gutter's fold column and the mark under a
// folded line. What is folded lives in the buffer; the row model leaves its hidden lines out.
#include <QPainter>

#include "textengine/view/custom_dc_memo.h"
#include "widgets/colors.h"

namespace tarnwick {

namespace {

constexpr int32_t kFoldColumnPx = 12;
constexpr int32_t kFoldBoxPx = 9;

}  // namespace

bool TCustomDCMemo::HidesLines() const {
    return options_.Has(moHideInvisibleLines) && !wordWrap_ && !source_->Folds().Empty();
}

void TCustomDCMemo::SetFoldRanges(const TFoldRangeSource* ranges) {
    foldRanges_ = ranges;
    RewrapAll();  // the fold column changes the text's width
    UpdateScrollBars();
    update();
}

int32_t TCustomDCMemo::FoldColumnPx() const {
    return foldRanges_ != nullptr && options_.Has(moDrawGutter) ? kFoldColumnPx : 0;
}

// The fold column is the gutter's right end, before its separating line.
bool TCustomDCMemo::InFoldColumn(QPoint point) const {
    const int32_t right = GutterPx() - 1;
    return FoldColumnPx() > 0 && point.x() >= right - FoldColumnPx() && point.x() < right;
}

void TCustomDCMemo::FoldAtCaret() {
    if (foldRanges_ == nullptr)
        return;
    const int32_t line = source_->Caret().LinePos;
    std::optional<TLineRange> range = foldRanges_->RangeStartingAt(line);
    if (!range || source_->Folds().IsFoldedHeader(line))
        range = foldRanges_->RangeAround(line);
    if (range)
        source_->FoldLines(range->First, range->Last);
}

void TCustomDCMemo::UnfoldAtCaret() {
    const int32_t line = source_->Caret().LinePos;
    source_->UnfoldLines(line + 1, line + 1);
}

void TCustomDCMemo::FoldAllCells() {
    if (foldRanges_ != nullptr)
        source_->FoldLines(foldRanges_->CellRanges());
}

void TCustomDCMemo::UnfoldAll() { source_->UnfoldAll(); }

bool TCustomDCMemo::ToggleFoldAt(int32_t line) {
    if (source_->Folds().IsFoldedHeader(line)) {
        source_->UnfoldLines(line + 1, line + 1);
        return true;
    }
    const std::optional<TLineRange> range = foldRanges_ ? foldRanges_->RangeStartingAt(line) : std::nullopt;
    if (!range)
        return false;
    source_->FoldLines(range->First, range->Last);
    return true;
}

// A box with a minus on a line that starts a form, a plus when the form is folded; a folded
// line also gets a line under its text, where its hidden lines would be.
void TCustomDCMemo::PaintFoldMarker(QPainter& p, const TLineInfo& info, int32_t y) {
    if (FoldColumnPx() == 0 || info.Index > 0 || info.Line >= source_->LineCount())
        return;
    const bool folded = source_->Folds().IsFoldedHeader(info.Line);
    if (!folded && !foldRanges_->RangeStartingAt(info.Line))
        return;
    const int32_t right = GutterPx() - 1;
    const int32_t left = right - FoldColumnPx() + (FoldColumnPx() - kFoldBoxPx) / 2;
    const int32_t top = y + (rowHeight_ - kFoldBoxPx) / 2;
    const QColor ink = ResolveColor(GutterLineColor);
    p.setPen(ink);
    p.setBrush(ResolveColor(GutterBackColor));
    p.drawRect(left, top, kFoldBoxPx - 1, kFoldBoxPx - 1);
    p.setBrush(Qt::NoBrush);
    const int32_t midX = left + kFoldBoxPx / 2, midY = top + kFoldBoxPx / 2;
    p.setPen(ResolveColor(LineNumColor));
    p.drawLine(left + 2, midY, left + kFoldBoxPx - 3, midY);
    if (folded)
        p.drawLine(midX, top + 2, midX, top + kFoldBoxPx - 3);
    if (folded && HidesLines()) {
        p.setPen(QPen(ink, 1, Qt::DotLine));
        p.drawLine(TextLeftPx(), y + rowHeight_ - 1, TextRightPx(), y + rowHeight_ - 1);
    }
}

}  // namespace tarnwick
