#pragma once
// The search panel's found list: one entry per line that holds the search text, read
// "0007:Doc1" (the 1-based line, at least four digits, then the document tag). Only the line
// numbers are stored and an entry's text is made when the list paints it, so a list of a
// million lines costs four bytes a line and no widget per entry.
//
// Invariant: lines_ ascends strictly, as a forward search over the text finds them.

#include <QAbstractListModel>
#include <cstdint>
#include <vector>

namespace tarnwick {

class TFoundLineModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    [[nodiscard]] static QString EntryText(int32_t line);

    // Replaces every entry; lines must ascend strictly.
    void SetLines(std::vector<int32_t> lines);
    void Clear() { SetLines({}); }
    [[nodiscard]] int32_t LineAt(int row) const { return lines_[std::size_t(row)]; }
    // The row of the entry for line, or -1; O(log entries).
    [[nodiscard]] int RowOfLine(int32_t line) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<int32_t> lines_;
};

}  // namespace tarnwick
