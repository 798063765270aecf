#include "editor/edif_outline.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "textengine/edif/edif_index.h"

namespace tarnwick {

namespace {

// The clock is read once per this many definitions, not for each.
constexpr int32_t kBetweenClockReads = 512;

// The outline's kind of a form, or nullopt for the forms it looks through (the root, the
// interface, the contents, pages, the design).
std::optional<TOutlineKind> ShownKind(TEdifKind kind) {
    switch (kind) {
        case TEdifKind::Library:
            return TOutlineKind::Library;
        case TEdifKind::External:
            return TOutlineKind::External;
        case TEdifKind::Cell:
            return TOutlineKind::Cell;
        case TEdifKind::View:
            return TOutlineKind::View;
        case TEdifKind::Port:
            return TOutlineKind::Port;
        case TEdifKind::Instance:
            return TOutlineKind::Instance;
        case TEdifKind::Net:
            return TOutlineKind::Net;
        default:
            return std::nullopt;
    }
}

TPosition PositionOf(TEdifPoint point) { return {point.line, point.column}; }

}  // namespace

void TEdifOutline::Restart() {
    phase_ = TPhase::Scan;
    complete_ = false;
    definitions_ = 0;
    next_ = 0;
    for (auto* v : {&nearestShown_, &shown_, &parent_, &row_, &childStart_, &children_, &topRows_})
        v->clear();
}

template <class Each>
bool TEdifOutline::RunPhase(int32_t total, std::chrono::steady_clock::time_point deadline, Each&& each) {
    while (next_ < total) {
        const int32_t end = std::min(total, next_ + kBetweenClockReads);
        for (; next_ < end; ++next_)
            each(next_);
        if (next_ < total && std::chrono::steady_clock::now() >= deadline)
            return false;
    }
    next_ = 0;
    return true;
}

// The rows are read from the index, then grouped under their parents by counting: each phase
// is one pass, and every pass stops at the deadline and goes on at the next call.
bool TEdifOutline::Continue(std::chrono::steady_clock::time_point deadline) {
    const auto nodes = [this] { return int32_t(shown_.size()); };
    switch (phase_) {
        case TPhase::Scan:
            if (!RunPhase(index_.DefinitionCount(), deadline, [this](int32_t i) { ScanDefinition(i); }))
                return false;
            definitions_ = index_.DefinitionCount();
            std::vector<TNode>().swap(nearestShown_);
            childStart_.assign(shown_.size() + 1, 0);
            row_.assign(shown_.size(), 0);
            phase_ = TPhase::Count;
            [[fallthrough]];
        case TPhase::Count:
            if (!RunPhase(nodes(), deadline, [this](int32_t n) {
                    const TNode parent = parent_[std::size_t(n)];
                    if (parent == kRoot) {
                        row_[std::size_t(n)] = int32_t(topRows_.size());
                        topRows_.push_back(n);
                    } else {
                        row_[std::size_t(n)] = childStart_[std::size_t(parent) + 1]++;
                    }
                }))
                return false;
            phase_ = TPhase::Sum;
            [[fallthrough]];
        case TPhase::Sum:
            if (!RunPhase(nodes(), deadline, [this](int32_t n) {
                    childStart_[std::size_t(n) + 1] += childStart_[std::size_t(n)];
                }))
                return false;
            children_.resize(std::size_t(childStart_.back()));
            phase_ = TPhase::Place;
            [[fallthrough]];
        case TPhase::Place:
            if (!RunPhase(nodes(), deadline, [this](int32_t n) {
                    const TNode parent = parent_[std::size_t(n)];
                    if (parent != kRoot)
                        children_[std::size_t(childStart_[std::size_t(parent)] + row_[std::size_t(n)])] = n;
                }))
                return false;
            phase_ = TPhase::Done;
            complete_ = true;
            [[fallthrough]];
        case TPhase::Done:
            return true;
    }
    return true;
}

void TEdifOutline::ScanDefinition(int32_t i) {
    const TEdifDefinition d = index_.Definition(i);
    // Forms come in the order of the text, so a parent is always read before its forms.
    const TNode parent = d.parent >= 0 && d.parent < i ? nearestShown_[std::size_t(d.parent)] : kRoot;
    if (!ShownKind(d.kind)) {
        nearestShown_.push_back(parent);
        return;
    }
    nearestShown_.push_back(TNode(shown_.size()));
    shown_.push_back(i);
    parent_.push_back(parent);
}

TNetlistOutline::TNode TEdifOutline::NodeOfDefinition(int32_t definition) const {
    if (!complete_)
        return kNoNode;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), definition);
    return at != shown_.end() && *at == definition ? TNode(at - shown_.begin()) : kNoNode;
}

int32_t TEdifOutline::ChildCount(TNode parent) const {
    if (!complete_)
        return 0;
    if (parent == kRoot)
        return int32_t(topRows_.size());
    if (parent < 0 || std::size_t(parent) >= shown_.size())
        return 0;
    return childStart_[std::size_t(parent) + 1] - childStart_[std::size_t(parent)];
}

TNetlistOutline::TNode TEdifOutline::Child(TNode parent, int32_t row) const {
    if (row < 0 || row >= ChildCount(parent))
        return kNoNode;
    if (parent == kRoot)
        return topRows_[std::size_t(row)];
    return children_[std::size_t(childStart_[std::size_t(parent)] + row)];
}

TNetlistOutline::TNode TEdifOutline::Parent(TNode node) const {
    return node >= 0 && std::size_t(node) < parent_.size() ? parent_[std::size_t(node)] : kNoNode;
}

int32_t TEdifOutline::RowOf(TNode node) const {
    return node >= 0 && std::size_t(node) < row_.size() ? row_[std::size_t(node)] : 0;
}

TOutlineEntry TEdifOutline::Entry(TNode node) const {
    // The index may be rebuilding after an edit; a definition it does not hold yet shows empty.
    if (node < 0 || std::size_t(node) >= shown_.size() ||
        shown_[std::size_t(node)] >= index_.DefinitionCount())
        return {};
    const TEdifDefinition d = index_.Definition(shown_[std::size_t(node)]);
    return {ShownKind(d.kind).value_or(TOutlineKind::Net), std::string(d.name), PositionOf(d.nameAt)};
}

int32_t TEdifOutline::NodeCount() const { return complete_ ? int32_t(shown_.size()) : 0; }

int64_t TEdifOutline::ProblemCount() const { return index_.ProblemCount(); }

int32_t TEdifOutline::ListedProblemCount() const {
    return int32_t(std::min<std::size_t>(index_.Problems().size(), INT32_MAX));
}

TProblemEntry TEdifOutline::Problem(int32_t i) const {
    const std::vector<TEdifProblem>& problems = index_.Problems();
    if (i < 0 || std::size_t(i) >= problems.size())
        return {};
    const TEdifProblem& p = problems[std::size_t(i)];
    return {p.severity == TEdifSeverity::Error ? TProblemSeverity::Error : TProblemSeverity::Warning,
            {p.line, p.column},
            p.message};
}

}  // namespace tarnwick
