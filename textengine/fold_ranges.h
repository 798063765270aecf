// What a view can fold: the forms of a text that span more than one line, as a language's
// index knows them. The view asks only about the lines it shows or the caret's line.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "textengine/fold_list.h"

namespace tarnwick {

class TFoldRangeSource {
public:
    virtual ~TFoldRangeSource() = default;
    // The outermost form of more than one line that starts on line.
    [[nodiscard]] virtual std::optional<TLineRange> RangeStartingAt(int32_t line) const = 0;
    // The innermost form of more than one line that holds line below its first line.
    [[nodiscard]] virtual std::optional<TLineRange> RangeAround(int32_t line) const = 0;
    // What "fold all cells" folds, in line order.
    [[nodiscard]] virtual std::vector<TLineRange> CellRanges() const = 0;
};

// Foldable ranges given as a list. Ranges nest or follow each other (forms of a text never
// cross); one of a single line is dropped. Looking up a line costs a binary search and a walk
// up its enclosing ranges, never over its siblings.
class TFoldRanges final : public TFoldRangeSource {
public:
    struct TEntry {
        TLineRange Range;
        bool IsCell = false;
    };
    TFoldRanges() = default;
    explicit TFoldRanges(std::vector<TEntry> entries);

    [[nodiscard]] std::optional<TLineRange> RangeStartingAt(int32_t line) const override;
    [[nodiscard]] std::optional<TLineRange> RangeAround(int32_t line) const override;
    [[nodiscard]] std::vector<TLineRange> CellRanges() const override;

private:
    // Sorted by first line, outer before inner; parents_[i] is the index of the innermost entry
    // that holds entry i, or -1.
    std::vector<TEntry> entries_;
    std::vector<int32_t> parents_;
};

}  // namespace tarnwick
