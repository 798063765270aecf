#include "textengine/fold_list.h"

#include <algorithm>
#include <cassert>

namespace tarnwick {

void TFoldList::Update(int32_t t) {
    Node& n = nodes_[size_t(t)];
    n.sumSpan = SumSpan(n.left) + n.gap + n.length + SumSpan(n.right);
    n.sumGap = SumGap(n.left) + n.gap + SumGap(n.right);
}

int32_t TFoldList::NewNode(int32_t gap, int32_t length) {
    assert(gap >= 0 && length >= 1 && "TFoldList::NewNode: a range needs a place and a line");
    // xorshift: priorities only need to look random to keep the tree shallow.
    seed_ ^= seed_ << 13;
    seed_ ^= seed_ >> 17;
    seed_ ^= seed_ << 5;
    int32_t t;
    if (!freeNodes_.empty()) {
        t = freeNodes_.back();
        freeNodes_.pop_back();
    } else {
        t = int32_t(nodes_.size());
        nodes_.emplace_back();
    }
    nodes_[size_t(t)] = Node{kNil, kNil, seed_, gap, length, gap + length, gap};
    ++rangeCount_;
    return t;
}

// Iterative: a removed part may hold most of the tree.
void TFoldList::FreeTree(int32_t t) {
    std::vector<int32_t> pending;
    if (t != kNil)
        pending.push_back(t);
    while (!pending.empty()) {
        const int32_t n = pending.back();
        pending.pop_back();
        for (int32_t child : {nodes_[size_t(n)].left, nodes_[size_t(n)].right})
            if (child != kNil)
                pending.push_back(child);
        freeNodes_.push_back(n);
        --rangeCount_;
    }
}

// The ranges of r follow those of l; the first gap of r already counts from l's last range.
int32_t TFoldList::Merge(int32_t l, int32_t r) {
    if (l == kNil)
        return r;
    if (r == kNil)
        return l;
    if (nodes_[size_t(l)].priority > nodes_[size_t(r)].priority) {
        const int32_t merged = Merge(nodes_[size_t(l)].right, r);
        nodes_[size_t(l)].right = merged;
        Update(l);
        return l;
    }
    const int32_t merged = Merge(l, nodes_[size_t(r)].left);
    nodes_[size_t(r)].left = merged;
    Update(r);
    return r;
}

// Ranges for which goesLeft(start, end + 1) holds come first (the predicate is monotone).
template <class GoesLeft>
void TFoldList::Split(int32_t t, int32_t offset, const GoesLeft& goesLeft, int32_t& l, int32_t& r) {
    if (t == kNil) {
        l = r = kNil;
        return;
    }
    const Node& n = nodes_[size_t(t)];
    const int32_t start = offset + SumSpan(n.left) + n.gap;
    if (goesLeft(start, start + n.length)) {
        int32_t rightLeft = kNil;
        Split(n.right, start + n.length, goesLeft, rightLeft, r);
        nodes_[size_t(t)].right = rightLeft;
        l = t;
    } else {
        int32_t leftRight = kNil;
        Split(n.left, offset, goesLeft, l, leftRight);
        nodes_[size_t(t)].left = leftRight;
        r = t;
    }
    Update(t);
}

void TFoldList::SplitEndingBefore(int32_t t, int32_t offset, int32_t line, int32_t& l, int32_t& r) {
    Split(
        t, offset, [line](int32_t, int32_t endPlusOne) { return endPlusOne <= line; }, l, r);
}

void TFoldList::SplitStartingUpTo(int32_t t, int32_t offset, int32_t line, int32_t& l, int32_t& r) {
    Split(
        t, offset, [line](int32_t start, int32_t) { return start <= line; }, l, r);
}

int32_t TFoldList::FirstGap(int32_t t) const {
    while (nodes_[size_t(t)].left != kNil)
        t = nodes_[size_t(t)].left;
    return nodes_[size_t(t)].gap;
}

// The sums on the path to the first range change with it.
void TFoldList::AddToFirstGap(int32_t t, int32_t delta) {
    for (; t != kNil; t = nodes_[size_t(t)].left) {
        Node& n = nodes_[size_t(t)];
        n.sumSpan += delta;
        n.sumGap += delta;
        if (n.left == kNil)
            n.gap += delta;
    }
}

int32_t TFoldList::HiddenLineCount() const { return SumSpan(root_) - SumGap(root_); }

// One descent: the hidden lines before line, and the hidden range that holds it.
TFoldList::Place TFoldList::Locate(int32_t line) const {
    Place place;
    int32_t t = root_, offset = 0;
    while (t != kNil) {
        const Node& n = nodes_[size_t(t)];
        const int32_t start = offset + SumSpan(n.left) + n.gap;
        if (line < start) {
            t = n.left;
            continue;
        }
        place.hiddenBefore += SumSpan(n.left) - SumGap(n.left);
        if (line < start + n.length) {
            place.hiddenBefore += line - start;
            place.range = TLineRange{start, start + n.length - 1};
            return place;
        }
        place.hiddenBefore += n.length;
        offset = start + n.length;
        t = n.right;
    }
    return place;
}

std::optional<TLineRange> TFoldList::HiddenRangeAt(int32_t line) const { return Locate(line).range; }

bool TFoldList::IsFoldedHeader(int32_t header) const {
    const std::optional<TLineRange> next = HiddenRangeAt(header + 1);
    return next && next->First == header + 1;
}

int32_t TFoldList::HiddenBefore(int32_t line) const { return Locate(line).hiddenBefore; }

int32_t TFoldList::LineOfRow(int32_t row) const {
    int32_t t = root_, lineOffset = 0, rowOffset = 0;
    while (t != kNil) {
        const Node& n = nodes_[size_t(t)];
        const int32_t rowsBeforeStart = rowOffset + SumGap(n.left) + n.gap;
        if (row < rowsBeforeStart) {
            t = n.left;
            continue;
        }
        lineOffset += SumSpan(n.left) + n.gap + n.length;
        rowOffset = rowsBeforeStart;
        t = n.right;
    }
    return lineOffset + (row - rowOffset);
}

// Ranges that overlap or touch [header + 1, last] become one with it.
bool TFoldList::Fold(int32_t header, int32_t last) {
    const int32_t first = header + 1;
    if (header < 0 || last < first)
        return false;
    int32_t before = kNil, rest = kNil, touched = kNil, after = kNil;
    SplitEndingBefore(root_, 0, first - 1, before, rest);
    SplitStartingUpTo(rest, SumSpan(before), last + 1, touched, after);
    const int32_t base = SumSpan(before);
    int32_t newFirst = first, newLast = last;
    if (touched != kNil) {
        newFirst = std::min(first, base + FirstGap(touched));
        newLast = std::max(last, base + SumSpan(touched) - 1);
        // One range that covers the new one: nothing changes.
        const bool alreadyHidden = SumSpan(touched) - SumGap(touched) == newLast - newFirst + 1;
        if (alreadyHidden) {
            root_ = Merge(before, Merge(touched, after));
            return false;
        }
    }
    if (after != kNil)
        AddToFirstGap(after, base + SumSpan(touched) - (newLast + 1));
    FreeTree(touched);
    const int32_t node = NewNode(newFirst - base, newLast - newFirst + 1);
    root_ = Merge(Merge(before, node), after);
    return true;
}

bool TFoldList::Show(int32_t first, int32_t last) {
    if (root_ == kNil || last < first)
        return false;
    int32_t before = kNil, rest = kNil, shown = kNil, after = kNil;
    SplitEndingBefore(root_, 0, first, before, rest);
    SplitStartingUpTo(rest, SumSpan(before), last, shown, after);
    if (shown == kNil) {
        root_ = Merge(before, after);
        return false;
    }
    if (after != kNil)
        AddToFirstGap(after, SumSpan(shown));
    FreeTree(shown);
    root_ = Merge(before, after);
    return true;
}

void TFoldList::Shift(int32_t from, int32_t delta) {
    if (root_ == kNil || delta == 0)
        return;
    int32_t before = kNil, after = kNil;
    SplitStartingUpTo(root_, 0, from - 1, before, after);
    if (after != kNil) {
        assert(FirstGap(after) + delta >= 0 && "TFoldList::Shift: a deleted line was hidden");
        AddToFirstGap(after, delta);
    }
    root_ = Merge(before, after);
}

void TFoldList::Clear() {
    nodes_.clear();
    freeNodes_.clear();
    root_ = kNil;
    rangeCount_ = 0;
}

std::vector<TLineRange> TFoldList::HiddenRanges() const {
    std::vector<TLineRange> ranges;
    ranges.reserve(size_t(rangeCount_));
    std::vector<std::pair<int32_t, int32_t>> pending;  // node, first line of its subtree
    int32_t t = root_, offset = 0;
    while (t != kNil || !pending.empty()) {
        while (t != kNil) {
            pending.emplace_back(t, offset);
            t = nodes_[size_t(t)].left;
        }
        const auto [n, subtreeOffset] = pending.back();
        pending.pop_back();
        const Node& node = nodes_[size_t(n)];
        const int32_t start = subtreeOffset + SumSpan(node.left) + node.gap;
        ranges.push_back({start, start + node.length - 1});
        offset = start + node.length;
        t = node.right;
    }
    return ranges;
}

}  // namespace tarnwick
