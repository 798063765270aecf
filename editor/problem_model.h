#pragma once
// The outline panel's list of problems, read from the netlist index row by row as the list
// paints them: "error   12:5  unknown cell block_17". Only the problems the index keeps for
// listing are rows; the count above the list says how many there are in all.

#include <QAbstractListModel>

#include "editor/netlist_outline.h"

namespace tarnwick {

class TProblemModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    [[nodiscard]] static QString EntryText(const TProblemEntry& problem);

    // The index to list, or none; listed afresh whenever this is called.
    void SetSource(const TNetlistOutline* source);
    [[nodiscard]] const TNetlistOutline* Source() const noexcept { return source_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const TNetlistOutline* source_ = nullptr;
};

}  // namespace tarnwick
