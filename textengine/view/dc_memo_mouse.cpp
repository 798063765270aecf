// Mouse selection with auto-scroll, multi-clicks, drag and drop of the selection, gutter
// clicks, the wheel, and the hint windows.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>

#include "textengine/view/custom_dc_memo.h"

namespace tarnwick {

namespace {

uint8_t ShiftOf(Qt::KeyboardModifiers mods) {
    return uint8_t((mods & Qt::ShiftModifier ? ksShift : 0) | (mods & Qt::AltModifier ? ksAlt : 0) |
                   (mods & Qt::ControlModifier ? ksCtrl : 0));
}

uint8_t ButtonBit(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return kGutterLeftButton;
        case Qt::RightButton:
            return kGutterRightButton;
        case Qt::MiddleButton:
            return kGutterMiddleButton;
        default:
            return 0;
    }
}

bool InsideSelection(const TCustomMemoSource& source, TPosition pos) {
    if (!source.HasSelection())
        return false;
    const TPosition tl = source.SelStart(), br = source.SelEnd();
    if (source.SelectionType() == stColumn)
        return pos.LinePos >= tl.LinePos && pos.LinePos <= br.LinePos && pos.CharPos >= tl.CharPos &&
               pos.CharPos <= br.CharPos;
    return tl <= pos && pos < br;
}

}  // namespace

// Mouse commands run as every command from outside does: a failure is reported, not thrown
// through the window system.
void TCustomDCMemo::mousePressEvent(QMouseEvent* event) {
    RunCommand([this, event] { PressMouse(event); });
}
void TCustomDCMemo::mouseMoveEvent(QMouseEvent* event) {
    RunCommand([this, event] { MoveMouse(event); });
}
void TCustomDCMemo::mouseReleaseEvent(QMouseEvent* event) {
    RunCommand([this, event] { ReleaseMouse(event); });
}
void TCustomDCMemo::mouseDoubleClickEvent(QMouseEvent* event) {
    RunCommand([this, event] { DoubleClickMouse(event); });
}

bool TCustomDCMemo::InGutter(QPoint point) const { return point.x() < GutterPx(); }

int32_t TCustomDCMemo::GutterImageAt(int32_t line, int32_t x) const {
    if (line < 0 || line >= source_->LineCount())
        return -1;
    // The images of the line in drawing order, each as wide as its glyph plus one pixel.
    std::vector<int32_t> shown;
    const uint16_t marks = source_->Store().GutterMarks(line);
    for (int32_t bit = 0; bit < 16 && bit < gutterImgs_.Count(); ++bit)
        if (marks & (1u << bit))
            shown.push_back(bit);
    for (const TMemoBookMark& b : source_->Bookmarks().Items())
        if (b.LinePos == line)
            if (const int32_t image = gutterImgs_.IndexOf("Bookmark" + std::to_string(b.Number % 10));
                image >= 0)
                shown.push_back(image);
    int32_t edge = GutterImgsAlign == iaLeft ? 1 : GutterPx() - 2 - FoldColumnPx();
    for (int32_t image : shown) {
        const int32_t w = gutterImgs_[image].Width() + 1;
        const bool hit =
            GutterImgsAlign == iaLeft ? (x >= edge && x < edge + w) : (x < edge && x >= edge - w);
        if (hit)
            return image;
        edge += GutterImgsAlign == iaLeft ? w : -w;
    }
    return -1;
}

void TCustomDCMemo::PressMouse(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    mousePoint_ = point;
    if (!hasFocus()) {
        if (event->button() == Qt::LeftButton && mouseMode_ != MouseMode::LineSelecting)
            source_->SetSelectionKind(stNone);
        setFocus(Qt::MouseFocusReason);
    }
    pressInGutter_ = InGutter(point);
    if (pressInGutter_) {
        pressGutterLine_ = RowInfo(topRow_ + point.y() / rowHeight_).Line;
        pressGutterImage_ = GutterImageAt(pressGutterLine_, point.x());
        return;
    }
    const TPosition pos = LimitClick(PositionAt(point));
    if (event->button() == Qt::RightButton) {
        if (!options_.Has(moDisableRightClickMove) && !InsideSelection(*source_, pos))
            source_->SetCaret(pos.CharPos, pos.LinePos);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const bool tripleClick =
        options_.Has(moTripleClick) && !options_.Has(moDblClickLine) && lastDoubleClick_.isValid() &&
        lastDoubleClick_.elapsed() < QApplication::styleHints()->mouseDoubleClickInterval() &&
        (point - lastDoubleClickPoint_).manhattanLength() <=
            QApplication::styleHints()->mouseDoubleClickDistance();
    if (tripleClick) {
        lastDoubleClick_.invalidate();
        source_->SetCaret(pos.CharPos, pos.LinePos);
        source_->SelectLine();
        mouseMode_ = MouseMode::LineSelecting;
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (!shift && InsideSelection(*source_, pos) && !options_.Has(moDisableDrag) && !source_->ReadOnly()) {
        mouseMode_ = MouseMode::Dragging;
        dragMoved_ = false;
        return;
    }
    mouseSelKind_ = event->modifiers() & Qt::AltModifier ? stColumn : stStream;
    if (shift) {
        if (!source_->HasSelection())
            source_->SetSelectionKind(stNone);
        source_->ExtendSelection(mouseSelKind_, [this, pos] { source_->SetCaret(pos.CharPos, pos.LinePos); });
    } else {
        TChangeBracket bracket(*source_, ccCaretMove);
        source_->SetSelectionKind(stNone);
        source_->SetCaret(pos.CharPos, pos.LinePos);
    }
    mouseMode_ = MouseMode::Selecting;
    autoScroll_.start();
}

void TCustomDCMemo::MoveMouse(QMouseEvent* event) {
    mousePoint_ = event->position().toPoint();
    if (event->buttons() == Qt::NoButton)
        ShowProblemHint(mousePoint_);
    if (mouseMode_ == MouseMode::Selecting)
        ExtendSelectionTo(mousePoint_);
    else if (mouseMode_ == MouseMode::Dragging)
        dragMoved_ = true;
}

void TCustomDCMemo::ExtendSelectionTo(QPoint point) {
    const TPosition pos = LimitClick(PositionAt(point));
    if (pos == source_->Caret())
        return;
    source_->ExtendSelection(mouseSelKind_, [this, pos] { source_->SetCaret(pos.CharPos, pos.LinePos); });
}

// Every 30 ms while the button is held: scroll toward a mouse outside the text area and stretch
// the selection to it.
void TCustomDCMemo::AutoScrollTick() {
    if (mouseMode_ != MouseMode::Selecting) {
        autoScroll_.stop();
        return;
    }
    const int32_t areaHeight = FullyVisibleRows() * rowHeight_;
    if (mousePoint_.y() < 0)
        SetTopRow(topRow_ - 1);
    else if (mousePoint_.y() >= areaHeight)
        SetTopRow(topRow_ + 1);
    if (!wordWrap_) {
        if (mousePoint_.x() < TextLeftPx() && leftCol_ > 0)
            SetLeftColumn(leftCol_ - 1);
        else if (mousePoint_.x() >= TextRightPx())
            SetLeftColumn(leftCol_ + 1);
    }
    const QPoint clamped(mousePoint_.x(), std::clamp(mousePoint_.y(), 0, std::max(areaHeight - 1, 0)));
    ExtendSelectionTo(clamped);
}

void TCustomDCMemo::ReleaseMouse(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    autoScroll_.stop();
    const MouseMode mode = mouseMode_;
    mouseMode_ = MouseMode::Idle;
    if (pressInGutter_) {
        pressInGutter_ = false;
        if (event->button() == Qt::LeftButton && InFoldColumn(point) && ToggleFoldAt(pressGutterLine_))
            return;
        if (InGutter(point) && OnClickGutter)
            OnClickGutter(*this, pressGutterLine_, pressGutterImage_,
                          uint8_t(ShiftOf(event->modifiers()) | ButtonBit(event->button())));
        return;
    }
    if (mode != MouseMode::Dragging)
        return;
    const TPosition pos = LimitClick(PositionAt(point));
    if (!dragMoved_ || InsideSelection(*source_, pos)) {
        // A click inside the selection without a drag: an ordinary click there.
        TChangeBracket bracket(*source_, ccCaretMove);
        source_->SetSelectionKind(stNone);
        source_->SetCaret(pos.CharPos, pos.LinePos);
        return;
    }
    TChangeBracket bracket(*source_, ccMoveBlock);
    source_->SetCaret(pos.CharPos, pos.LinePos);
    if (event->modifiers() & Qt::ControlModifier)
        source_->CopyBlock();
    else
        source_->MoveBlock();
}

void TCustomDCMemo::DoubleClickMouse(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || InGutter(point)) {
        PressMouse(event);
        return;
    }
    autoScroll_.stop();
    const TPosition pos = LimitClick(PositionAt(point));
    source_->SetCaret(pos.CharPos, pos.LinePos);
    if (options_.Has(moDblClickLine))
        source_->SelectLine();
    else
        SelectWordAtCaret();
    lastDoubleClick_.start();
    lastDoubleClickPoint_ = point;
    mouseMode_ = MouseMode::LineSelecting;
}

void TCustomDCMemo::SelectWordAtCaret() {
    TChangeBracket bracket(*source_, ccSelectWord);
    source_->SelectWord();
    if (WordSelectionType == wsWordOnly || !source_->HasSelection())
        return;
    // Stretch over one following blank, or over every delimiter up to the next word.
    const TPosition end = source_->SelEnd();
    const std::string line = source_->LineText(end.LinePos);
    int32_t column = end.CharPos;
    if (WordSelectionType == wsWordWithSpace) {
        if (column < int32_t(line.size()) && line[size_t(column)] == ' ')
            ++column;
    } else {
        while (column < int32_t(line.size()) &&
               source_->IsDelimiter(static_cast<unsigned char>(line[size_t(column)])))
            ++column;
    }
    if (column != end.CharPos)
        source_->ExtendSelection(stStream, [this, column, end] { source_->SetCaret(column, end.LinePos); });
}

void TCustomDCMemo::wheelEvent(QWheelEvent* event) {
    const int32_t steps = event->angleDelta().y() / 40;
    if (steps != 0)
        SetTopRow(topRow_ - steps);
    event->accept();
}

// ---- Hints -----------------------------------------------------------------------------------

void TCustomDCMemo::ShowScrollHint() {
    if (!options_.Has(moShowScrollHint))
        return;
    const int32_t line = RowInfo(vScroll_->sliderPosition()).Line + 1;
    hintWindow_->setText("<b>Line</b> " + QString::number(line));
    hintWindow_->adjustSize();
    const QPoint at(
        width() - vScroll_->width() - hintWindow_->width() - 4,
        vScroll_->y() + vScroll_->height() * vScroll_->sliderPosition() / std::max(vScroll_->maximum(), 1));
    hintWindow_->move(mapToGlobal(at));
    hintWindow_->show();
}

void TCustomDCMemo::HideScrollHint() { hintWindow_->hide(); }

std::string TCustomDCMemo::ScrollHintText() const {
    if (!hintWindow_->isVisible())
        return {};
    QString text = hintWindow_->text();
    text.remove("<b>").remove("</b>");
    return text.toStdString();
}

void TCustomDCMemo::ShowDelayedHint(const std::string& text, QPoint at) {
    delayedHintWindow_->hide();
    delayedHintText_ = QString::fromLatin1(text.c_str());
    delayedHintPoint_ = at;
    delayedHint_.start();
}

bool TCustomDCMemo::IsDelayedHintVisible() const { return delayedHintWindow_->isVisible(); }

}  // namespace tarnwick
