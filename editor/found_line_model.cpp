#include "editor/found_line_model.h"

#include <algorithm>
#include <cassert>

namespace tarnwick {

QString TFoundLineModel::EntryText(int32_t line) {
    return QStringLiteral("%1:Doc1").arg(line, 4, 10, QLatin1Char('0'));
}

void TFoundLineModel::SetLines(std::vector<int32_t> lines) {
    assert(std::adjacent_find(lines.begin(), lines.end(), std::greater_equal<>()) == lines.end() &&
           "found lines must ascend");
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int TFoundLineModel::RowOfLine(int32_t line) const {
    const auto at = std::lower_bound(lines_.begin(), lines_.end(), line);
    return at != lines_.end() && *at == line ? int(at - lines_.begin()) : -1;
}

int TFoundLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(lines_.size());
}

QVariant TFoundLineModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return EntryText(LineAt(index.row()));
}

}  // namespace tarnwick
