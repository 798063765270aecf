#include "editor/problem_model.h"

#include <QColor>

namespace tarnwick {

QString TProblemModel::EntryText(const TProblemEntry& problem) {
    const char* severity = problem.Severity == TProblemSeverity::Error ? "error" : "warning";
    return QStringLiteral("%1  %2:%3  %4")
        .arg(QString::fromLatin1(severity), -7)
        .arg(problem.Place.LinePos + 1)
        .arg(problem.Place.CharPos + 1)
        .arg(QString::fromLatin1(problem.Message.data(), qsizetype(problem.Message.size())));
}

void TProblemModel::SetSource(const TNetlistOutline* source) {
    beginResetModel();
    source_ = source;
    endResetModel();
}

int TProblemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !source_ ? 0 : source_->ListedProblemCount();
}

QVariant TProblemModel::data(const QModelIndex& index, int role) const {
    if (!source_ || !index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)  // the tip shows a message cut off
        return EntryText(source_->Problem(index.row()));
    if (role == Qt::ForegroundRole)
        return source_->Problem(index.row()).Severity == TProblemSeverity::Error ? QColor(170, 20, 20)
                                                                                 : QColor(150, 100, 0);
    return {};
}

}  // namespace tarnwick
