#pragma once
// The outline panel's tree: libraries, cells, views, ports, instances and nets as the netlist
// index defines them. Rows are handed to the tree in batches as it asks for them (fetchMore),
// so a view with a million nets costs one batch until the user scrolls through it, and a row's
// text is made only when it is shown.
//
// With a filter text the tree becomes a flat list of the definitions whose name holds the text
// (case ignored). The index is read for it in slices (ContinueFilter), never all at once, so a
// keystroke in the filter box costs one slice whatever the netlist's size.

#include <QAbstractItemModel>
#include <chrono>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "editor/netlist_outline.h"

namespace tarnwick {

class TOutlineModel : public QAbstractItemModel {
public:
    static constexpr int32_t kBatch = 1000;

    using QAbstractItemModel::QAbstractItemModel;

    // The index to show, or none; shown afresh (the tree collapses) whenever this is called.
    void SetSource(const TNetlistOutline* source);
    // An empty text shows the tree again.
    void SetFilter(std::string text);
    [[nodiscard]] const std::string& Filter() const noexcept { return filter_; }
    // Reads the index for the filter until the deadline; true while some of it is left to read.
    bool ContinueFilter(std::chrono::steady_clock::time_point deadline);
    [[nodiscard]] bool Filtering() const noexcept { return !filter_.empty(); }

    // The definition of a row, or kNoNode.
    [[nodiscard]] TNetlistOutline::TNode NodeOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    using TNode = TNetlistOutline::TNode;
    [[nodiscard]] QModelIndex IndexOfNode(TNode node, int row) const;
    [[nodiscard]] int32_t Fetched(TNode parent) const;

    const TNetlistOutline* source_ = nullptr;
    // Per parent node, how many of its children the tree has been given so far.
    mutable std::unordered_map<TNode, int32_t> fetched_;

    std::string filter_;  // upper case, for the comparison
    std::vector<TNode> matches_;
    int32_t scanned_ = 0;  // definitions read for the filter, in the source's order
};

}  // namespace tarnwick
