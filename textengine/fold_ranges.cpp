#include "textengine/fold_ranges.h"

#include <algorithm>

namespace tarnwick {

TFoldRanges::TFoldRanges(std::vector<TEntry> entries) {
    std::erase_if(entries,
                  [](const TEntry& e) { return e.Range.Last <= e.Range.First || e.Range.First < 0; });
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
        return a.Range.First != b.Range.First ? a.Range.First < b.Range.First : a.Range.Last > b.Range.Last;
    });
    entries_ = std::move(entries);
    parents_.assign(entries_.size(), -1);
    std::vector<int32_t> open;  // the chain of entries holding the current one
    for (size_t i = 0; i < entries_.size(); ++i) {
        while (!open.empty() && entries_[size_t(open.back())].Range.Last < entries_[i].Range.First)
            open.pop_back();
        parents_[i] = open.empty() ? -1 : open.back();
        open.push_back(int32_t(i));
    }
}

std::optional<TLineRange> TFoldRanges::RangeStartingAt(int32_t line) const {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), line,
                                     [](const TEntry& e, int32_t l) { return e.Range.First < l; });
    if (it == entries_.end() || it->Range.First != line)
        return std::nullopt;
    return it->Range;
}

// The last entry that starts above line is the innermost candidate; when it ended before line,
// one of its enclosing entries may still hold it.
std::optional<TLineRange> TFoldRanges::RangeAround(int32_t line) const {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), line,
                                     [](const TEntry& e, int32_t l) { return e.Range.First < l; });
    for (int32_t i = int32_t(it - entries_.begin()) - 1; i >= 0; i = parents_[size_t(i)])
        if (entries_[size_t(i)].Range.Last >= line)
            return entries_[size_t(i)].Range;
    return std::nullopt;
}

std::vector<TLineRange> TFoldRanges::CellRanges() const {
    std::vector<TLineRange> cells;
    for (const TEntry& e : entries_)
        if (e.IsCell)
            cells.push_back(e.Range);
    return cells;
}

}  // namespace tarnwick
