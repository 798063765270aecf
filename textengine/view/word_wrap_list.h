// The rows of a word-wrapped view. Only lines cut into more than one row have an entry, kept
// sorted by line with the prefix sums of their extra rows, so mapping between rows and lines is
// a binary search over the wrapped lines, never a walk over the text.
//
// Invariant: entries_ is sorted by line, every entry has at least one break, and
// extraBefore_[k] is the number of breaks of entries_[0, k) (extraBefore_ has one more item).
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string_view>
#include <vector>

namespace tarnwick {

// One display row: a piece [StartColumn, EndColumn) of a line's expanded text.
struct TLineInfo {
    int32_t Line = 0;
    int32_t Index = 0;  // 0 for the line's first row
    int32_t StartColumn = 0;
    int32_t EndColumn = std::numeric_limits<int32_t>::max();  // max for the line's last row
    [[nodiscard]] bool IsLastRow() const { return EndColumn == std::numeric_limits<int32_t>::max(); }
};

class TWordWrapList {
public:
    void Clear();
    // The columns at which rows 1.. of line start; empty when the line fits in one row.
    void SetBreaks(int32_t line, std::vector<int32_t> breaks);
    // Drops the entries of lines first..last.
    void EraseLines(int32_t first, int32_t last);
    // Lines at and after from move by delta (lines were inserted or deleted before them).
    void ShiftLines(int32_t from, int32_t delta);

    [[nodiscard]] int32_t ExtraRows() const { return extraBefore_.back(); }
    [[nodiscard]] int32_t RowOfLine(int32_t line) const;
    [[nodiscard]] int32_t RowsOfLine(int32_t line) const;
    [[nodiscard]] TLineInfo RowAt(int32_t row) const;
    // The row of line that shows column (a column on a break belongs to the later row).
    [[nodiscard]] TLineInfo RowOfColumn(int32_t line, int32_t column) const;
    [[nodiscard]] bool Empty() const { return entries_.empty(); }

private:
    struct Entry {
        int32_t line;
        std::vector<int32_t> breaks;
    };
    std::size_t LowerBound(int32_t line) const;
    TLineInfo Info(const Entry& e, int32_t index) const;
    void Reindex();

    std::vector<Entry> entries_;
    std::vector<int32_t> extraBefore_{0};
};

// Cuts one expanded line into rows of at most widthPx pixels: each row ends after the last
// delimiter that fits, or at the last character that fits when there is none; every row holds
// at least one character. Returns the start columns of rows 1...
std::vector<int32_t> WrapLine(std::string_view text, int32_t widthPx,
                              const std::function<int32_t(unsigned char)>& charWidthPx,
                              const std::function<bool(unsigned char)>& isDelimiter);

}  // namespace tarnwick
