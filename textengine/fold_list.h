// The folded parts of a text: which lines are hidden. A fold hides the lines after its header
// line up to its last line; the header stays visible. Hidden ranges never overlap or touch: a
// fold over a folded part swallows it, and showing the outer one shows both.
//
// A treap over the hidden ranges in line order. A node keeps its range relative to the range
// before it (gap: the visible lines between them; length: its hidden lines) and each subtree
// the sums of both, so an edit that moves every later range changes one node, and a mapping
// between display rows and lines is one descent. Every operation costs O(log n) in the number
// of folds, whatever their number or the size of the text.
//
// Invariant: for every node, sumSpan and sumGap are the sums of gap + length and of gap over
// its subtree; gap >= 0 and length >= 1; priorities form a max-heap.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tarnwick {

// Lines [First, Last], both included.
struct TLineRange {
    int32_t First = 0;
    int32_t Last = 0;
    friend bool operator==(const TLineRange&, const TLineRange&) = default;
};

class TFoldList {
public:
    [[nodiscard]] bool Empty() const noexcept { return root_ == kNil; }
    [[nodiscard]] int32_t RangeCount() const noexcept { return rangeCount_; }
    [[nodiscard]] int32_t HiddenLineCount() const;
    // The hidden range that holds line.
    [[nodiscard]] std::optional<TLineRange> HiddenRangeAt(int32_t line) const;
    [[nodiscard]] bool IsHidden(int32_t line) const { return HiddenRangeAt(line).has_value(); }
    // Whether the lines right after header are hidden: header is a folded line.
    [[nodiscard]] bool IsFoldedHeader(int32_t header) const;
    // Hidden lines before line, and the display row of a visible line.
    [[nodiscard]] int32_t HiddenBefore(int32_t line) const;
    [[nodiscard]] int32_t RowOfLine(int32_t line) const { return line - HiddenBefore(line); }
    // The visible line shown on a display row (rows past the text count on as lines).
    [[nodiscard]] int32_t LineOfRow(int32_t row) const;

    // Hides lines header + 1 to last; false when nothing changed.
    bool Fold(int32_t header, int32_t last);
    // Shows every hidden range that holds a line of [first, last]; false when there was none.
    bool Show(int32_t first, int32_t last);
    // Lines from `from` on moved by delta: lines were inserted or deleted just before them. For
    // a deletion no hidden range may hold a deleted line (Show them first).
    void Shift(int32_t from, int32_t delta);
    void Clear();
    // The hidden ranges in line order.
    [[nodiscard]] std::vector<TLineRange> HiddenRanges() const;

private:
    static constexpr int32_t kNil = -1;
    struct Node {
        int32_t left = kNil, right = kNil;
        uint32_t priority = 0;
        int32_t gap = 0, length = 0;
        int32_t sumSpan = 0, sumGap = 0;
    };

    struct Place {
        int32_t hiddenBefore = 0;
        std::optional<TLineRange> range;
    };
    Place Locate(int32_t line) const;
    int32_t SumSpan(int32_t t) const { return t == kNil ? 0 : nodes_[size_t(t)].sumSpan; }
    int32_t SumGap(int32_t t) const { return t == kNil ? 0 : nodes_[size_t(t)].sumGap; }
    void Update(int32_t t);
    int32_t NewNode(int32_t gap, int32_t length);
    void FreeTree(int32_t t);
    int32_t Merge(int32_t l, int32_t r);
    template <class GoesLeft>
    void Split(int32_t t, int32_t offset, const GoesLeft& goesLeft, int32_t& l, int32_t& r);
    // Splits t, whose first line is offset, into the ranges that end before `line` and the rest.
    void SplitEndingBefore(int32_t t, int32_t offset, int32_t line, int32_t& l, int32_t& r);
    // Splits t into the ranges that start at or before `line` and the rest.
    void SplitStartingUpTo(int32_t t, int32_t offset, int32_t line, int32_t& l, int32_t& r);
    void AddToFirstGap(int32_t t, int32_t delta);
    int32_t FirstGap(int32_t t) const;

    std::vector<Node> nodes_;
    std::vector<int32_t> freeNodes_;
    int32_t root_ = kNil;
    int32_t rangeCount_ = 0;
    uint32_t seed_ = 0x9E3779B9u;
};

}  // namespace tarnwick
