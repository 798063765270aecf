#pragma once
// The outline's rows over a netlist index: the libraries, cells, views, ports, instances and
// nets, each under the nearest of them that holds it (a port under its view, not under the
// interface between). The rows are laid out once the index is current, in slices (Continue),
// and keep only numbers: names and places are read from the index when a row is shown, so an
// edit that leaves the definitions in place (renaming a net) shows at once without a new layout.
//
// Invariant once Complete(): node n is definition shown_[n]; its children are
// children_[childStart_[n] .. childStart_[n + 1]), in the order of the text, and the top rows
// are those with parent_ kRoot, in topRows_.

#include <chrono>
#include <cstdint>
#include <vector>

#include "editor/netlist_outline.h"

namespace tarnwick {

class TEdifIndex;

class TEdifOutline final : public TNetlistOutline {
public:
    explicit TEdifOutline(const TEdifIndex& index) : index_(index) {}

    // Starts the layout again (the index's definitions changed).
    void Restart();
    // Lays out rows until the deadline; true once the layout is complete.
    bool Continue(std::chrono::steady_clock::time_point deadline);
    [[nodiscard]] bool Complete() const noexcept { return complete_; }
    // How many definitions the index had when the layout was made.
    [[nodiscard]] int32_t DefinitionsLaidOut() const noexcept { return definitions_; }
    // The node of a definition, or kNoNode when the outline does not show it; O(log nodes).
    [[nodiscard]] TNode NodeOfDefinition(int32_t definition) const;

    int32_t ChildCount(TNode parent) const override;
    TNode Child(TNode parent, int32_t row) const override;
    TNode Parent(TNode node) const override;
    int32_t RowOf(TNode node) const override;
    TOutlineEntry Entry(TNode node) const override;
    int32_t NodeCount() const override;
    TNode NodeAt(int32_t i) const override { return i; }
    int64_t ProblemCount() const override;
    int32_t ListedProblemCount() const override;
    TProblemEntry Problem(int32_t i) const override;

private:
    enum class TPhase { Scan, Count, Sum, Place, Done };
    // Calls each for next_ .. total - 1, reading the clock between runs of them; true when all
    // were done (next_ is then 0 again for the next phase), false at the deadline.
    template <class Each>
    bool RunPhase(int32_t total, std::chrono::steady_clock::time_point deadline, Each&& each);
    void ScanDefinition(int32_t i);

    const TEdifIndex& index_;
    TPhase phase_ = TPhase::Scan;
    bool complete_ = false;
    int32_t definitions_ = 0;
    int32_t next_ = 0;  // the next definition or node of the phase
    // While laying out: for each definition read so far, the node that shows it or the node
    // of its nearest shown ancestor (kRoot when none). Dropped when the layout is complete.
    std::vector<TNode> nearestShown_;

    std::vector<int32_t> shown_;
    std::vector<TNode> parent_;
    std::vector<int32_t> row_;
    std::vector<int32_t> childStart_;
    std::vector<TNode> children_;
    std::vector<TNode> topRows_;
};

}  // namespace tarnwick
