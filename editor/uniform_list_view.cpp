#include "editor/uniform_list_view.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdint>

namespace tarnwick {

namespace {

// Far enough outside any viewport to be out of sight, near enough that no sum overflows.
constexpr int64_t kFarAway = int64_t(1) << 24;

}  // namespace

TUniformListView::TUniformListView(QWidget* parent) : QAbstractItemView(parent) {
    setSelectionBehavior(SelectRows);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TUniformListView::SetRowHeight(int pixels) {
    rowHeight_ = std::max(pixels, 1);
    updateGeometries();
    viewport()->update();
}

int TUniformListView::RowCount() const { return model() ? model()->rowCount(rootIndex()) : 0; }

int TUniformListView::TopRow() const { return verticalScrollBar()->value(); }

int TUniformListView::VisibleRows() const { return std::max(viewport()->height() / rowHeight_, 1); }

int64_t TUniformListView::RowAtY(int y) const {
    const int64_t rowsDown = y >= 0 ? y / rowHeight_ : -((-int64_t(y) + rowHeight_ - 1) / rowHeight_);
    return TopRow() + rowsDown;
}

int TUniformListView::RowTop(int row) const {
    return int(std::clamp((int64_t(row) - TopRow()) * rowHeight_, -kFarAway, kFarAway));
}

QModelIndex TUniformListView::RowIndex(int row) const {
    return model() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

QRect TUniformListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    return {0, RowTop(index.row()), viewport()->width(), rowHeight_};
}

void TUniformListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    executeDelayedItemsLayout();  // a new model's rows are in the scroll range first
    const int row = index.row(), top = TopRow(), visible = VisibleRows();
    int newTop = top;
    switch (hint) {
        case PositionAtTop:
            newTop = row;
            break;
        case PositionAtBottom:
            newTop = row - visible + 1;
            break;
        case PositionAtCenter:
            newTop = row - visible / 2;
            break;
        case EnsureVisible:
            if (row < top)
                newTop = row;
            else if (row >= top + visible)
                newTop = row - visible + 1;
            break;
    }
    verticalScrollBar()->setValue(newTop);
}

QModelIndex TUniformListView::indexAt(const QPoint& point) const {
    const int64_t row = RowAtY(point.y());
    return row >= 0 && row < RowCount() ? RowIndex(int(row)) : QModelIndex();
}

QModelIndex TUniformListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int count = RowCount();
    if (count == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return RowIndex(0);
    int64_t row = current.row();
    switch (action) {
        case MoveUp:
        case MovePrevious:
            row -= 1;
            break;
        case MoveDown:
        case MoveNext:
            row += 1;
            break;
        case MovePageUp:
            row -= VisibleRows();
            break;
        case MovePageDown:
            row += VisibleRows();
            break;
        case MoveHome:
            row = 0;
            break;
        case MoveEnd:
            row = count - 1;
            break;
        case MoveLeft:
        case MoveRight:
            break;
    }
    return RowIndex(int(std::clamp<int64_t>(row, 0, count - 1)));
}

int TUniformListView::verticalOffset() const {
    return int(std::min<int64_t>(int64_t(TopRow()) * rowHeight_, INT32_MAX));
}

void TUniformListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) {
    if (!selectionModel())
        return;
    const QRect area = rect.normalized();
    const int64_t top = std::max<int64_t>(RowAtY(area.top()), 0);
    const int64_t bottom = std::min<int64_t>(RowAtY(area.bottom()), RowCount() - 1);
    if (top > bottom)
        return;
    selectionModel()->select(QItemSelection(RowIndex(int(top)), RowIndex(int(bottom))), flags);
}

QRegion TUniformListView::visualRegionForSelection(const QItemSelection& selection) const {
    const int first = TopRow(), last = TopRow() + VisibleRows();  // the last may show in part
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        const int top = std::max(range.top(), first), bottom = std::min(range.bottom(), last);
        if (top <= bottom)
            region += QRect(0, RowTop(top), viewport()->width(), (bottom - top + 1) * rowHeight_);
    }
    return region;
}

void TUniformListView::updateGeometries() {
    const int visible = VisibleRows();
    verticalScrollBar()->setRange(0, std::max(RowCount() - visible, 0));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    QAbstractItemView::updateGeometries();
}

// The scroll bar counts rows: the rows in sight are painted afresh rather than moved by pixels.
void TUniformListView::scrollContentsBy(int, int) { viewport()->update(); }

void TUniformListView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State common = option.state & ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    const int64_t first = std::max<int64_t>(RowAtY(event->rect().top()), 0);
    const int64_t last = std::min<int64_t>(RowAtY(event->rect().bottom()), RowCount() - 1);
    const QModelIndex current = currentIndex();
    for (int row = int(first); row <= last; ++row) {
        const QModelIndex index = RowIndex(row);
        option.rect = visualRect(index);
        option.state = common;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (index == current && hasFocus())
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void TUniformListView::keyPressEvent(QKeyEvent* event) {
    QAbstractItemView::keyPressEvent(event);
    if (OnKeyDown)
        OnKeyDown();
}

}  // namespace tarnwick
