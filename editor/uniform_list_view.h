#pragma once
// A list box over a one-column model whose rows all have one height. A row's place follows from
// its number, so a new model, a scroll, a paint, a click or a key costs the same for ten rows or
// ten million: only the rows in sight are touched, and nothing is kept per row. The scroll bar
// counts rows, not pixels, so no pixel offset can overflow however long the list is.
//
// Typing does not look for a row by its text (that would read the rows one by one), and a key
// is reported after the list moved its current row, so a handler sees where the key led.

#include <QAbstractItemView>
#include <functional>

namespace tarnwick {

class TUniformListView : public QAbstractItemView {
public:
    explicit TUniformListView(QWidget* parent = nullptr);

    [[nodiscard]] int RowHeight() const noexcept { return rowHeight_; }
    void SetRowHeight(int pixels);
    [[nodiscard]] int TopRow() const;

    std::function<void()> OnKeyDown;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void keyboardSearch(const QString&) override {}

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    [[nodiscard]] int RowCount() const;
    [[nodiscard]] int VisibleRows() const;  // rows that fit whole, at least 1
    // The row at a viewport y, which may lie outside the model's rows.
    [[nodiscard]] int64_t RowAtY(int y) const;
    // The viewport y of a row's top, kept within a range that cannot overflow.
    [[nodiscard]] int RowTop(int row) const;
    [[nodiscard]] QModelIndex RowIndex(int row) const;

    int rowHeight_ = 16;
};

}  // namespace tarnwick
