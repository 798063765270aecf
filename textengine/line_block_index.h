// Bounds on the lines of each run of about a thousand consecutive lines, so that finding the
// nearest earlier line of some shape (longer than a column, or with text starting before one)
// reads only the runs that may hold it: the keys that align with an earlier line cost the same
// deep in a large file, and below a long stretch of blank or short lines, as at its top.
//
// The bounds are conservative: an edit only widens them, and removing a line keeps them. A
// search that reads a whole run and finds nothing sets that run's bounds to the exact values,
// so the next search with the same question skips it.
#pragma once

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "textengine/tab_stops.h"

namespace tarnwick {

// What the bounds keep of one stored line.
struct TLineShape {
    static constexpr int32_t kNoText = INT32_MAX;

    // mayHoldTab false: the caller knows the line holds no tab character.
    static TLineShape Of(std::string_view stored, bool mayHoldTab = true) {
        size_t blanks = 0;
        while (blanks < stored.size() && (stored[blanks] == ' ' || stored[blanks] == '\t'))
            ++blanks;
        return From(stored, blanks, mayHoldTab);
    }
    // blanks: the number of blanks the line starts with, counted by the caller.
    static TLineShape From(std::string_view stored, size_t blanks, bool mayHoldTab) {
        TLineShape shape;
        shape.length = int32_t(std::min<size_t>(stored.size(), INT32_MAX));
        if (blanks < stored.size())
            shape.indent = int32_t(std::min<size_t>(blanks, INT32_MAX - 1));
        shape.tabs =
            mayHoldTab && !stored.empty() && std::memchr(stored.data(), '\t', stored.size()) != nullptr;
        return shape;
    }

    int32_t length = 0;        // stored characters; the expanded length is larger only with tabs
    int32_t indent = kNoText;  // blanks before the first other character; not above its column
    bool tabs = false;
};

// The line a search looks for; both conditions must hold.
struct TLineQuery {
    static TLineQuery LongerThan(int32_t column) { return {column, std::nullopt}; }
    static TLineQuery TextBefore(int32_t column) { return {-1, column}; }
    static TLineQuery AnyText() { return TextBefore(INT32_MAX); }

    int32_t longerThan = -1;            // expanded length greater than this
    std::optional<int32_t> textBefore;  // a character other than a blank starts before this column

    bool Matches(std::string_view stored, const TTabStops& tabStops) const {
        if (int64_t(stored.size()) <= longerThan) {
            // Only tabs make the expanded line longer than the stored one.
            if (stored.empty() || std::memchr(stored.data(), '\t', stored.size()) == nullptr ||
                tabStops.ExpandedLength(stored) <= longerThan)
                return false;
        }
        if (!textBefore)
            return true;
        const size_t at = stored.find_first_not_of(" \t");
        if (at == std::string_view::npos || int64_t(at) >= *textBefore)
            return false;
        return tabStops.ColumnOf(stored, int64_t(at)) < *textBefore;
    }
};

class TLineBlockIndex {
public:
    static constexpr int32_t kBlockLines = 1024;

    int32_t LineCount() const { return lines_; }

    void Clear() {
        blocks_.clear();
        lines_ = 0;
        cursor_ = {};
    }
    void Swap(TLineBlockIndex& other) noexcept {
        blocks_.swap(other.blocks_);
        std::swap(lines_, other.lines_);
        std::swap(cursor_, other.cursor_);
    }

    // A line after the last one, as loading adds them.
    void Append(const TLineShape& shape) {
        if (blocks_.empty() || blocks_.back().lines >= kBlockLines)
            blocks_.push_back({});
        blocks_.back().Widen(shape);
        ++blocks_.back().lines;
        ++lines_;
    }

    void Inserted(int32_t line, const TLineShape& shape) {
        assert(line >= 0 && line <= lines_ && "TLineBlockIndex::Inserted out of range");
        if (lines_ == 0) {
            blocks_.assign(1, {});
            cursor_ = {};
        } else {
            MoveCursorTo(std::min(line, lines_ - 1));  // a new last line joins the last run
        }
        Block& block = blocks_[cursor_.block];
        block.Widen(shape);
        ++block.lines;
        ++lines_;
        if (block.lines > 2 * kBlockLines) {
            // Both halves keep the bounds of the whole, which hold for each of them.
            Block upper = block;
            upper.lines = block.lines / 2;
            block.lines -= upper.lines;
            blocks_.insert(blocks_.begin() + std::ptrdiff_t(cursor_.block + 1), upper);
        }
    }

    void Changed(int32_t line, const TLineShape& shape) {
        MoveCursorTo(line);
        blocks_[cursor_.block].Widen(shape);
    }

    void Deleted(int32_t line) {
        MoveCursorTo(line);
        --lines_;
        if (--blocks_[cursor_.block].lines > 0)
            return;
        blocks_.erase(blocks_.begin() + std::ptrdiff_t(cursor_.block));
        if (cursor_.block == blocks_.size() && cursor_.block > 0) {
            --cursor_.block;
            cursor_.first -= blocks_[cursor_.block].lines;
        }
    }

    // The nearest line before `before` that matches(line) accepts, reading only runs whose
    // bounds admit query; shapeOf(line) gives the exact shape when a run's bounds are reset.
    // -1 when there is none. Costs O(runs passed + lines read).
    template <class Matches, class ShapeOf>
    int32_t FindBefore(int32_t before, const TLineQuery& query, Matches&& matches, ShapeOf&& shapeOf) {
        before = std::min(before, lines_);
        if (before <= 0)
            return -1;
        MoveCursorTo(before - 1);
        size_t b = cursor_.block;
        int32_t first = cursor_.first;
        int32_t last = before - 1;
        while (true) {
            Block& block = blocks_[b];
            if (block.MayHold(query)) {
                for (int32_t line = last; line >= first; --line)
                    if (matches(line))
                        return line;
                if (last == first + block.lines - 1)
                    block.SetExact(first, shapeOf);
            }
            if (b == 0)
                return -1;
            --b;
            first -= blocks_[b].lines;
            last = first + blocks_[b].lines - 1;
        }
    }

private:
    struct Block {
        int32_t lines = 0;
        int32_t longest = 0;                   // no stored line is longer
        int32_t indent = TLineShape::kNoText;  // no line with text has fewer leading blanks
        bool tabs = false;                     // a line may hold a tab: expanded lengths unknown

        void Widen(const TLineShape& s) {
            longest = std::max(longest, s.length);
            indent = std::min(indent, s.indent);
            tabs = tabs || s.tabs;
        }
        // The stored leading blanks never exceed the expanded column of the first other
        // character, and the stored length bounds the expanded one when there is no tab.
        bool MayHold(const TLineQuery& q) const {
            if (!tabs && longest <= q.longerThan)
                return false;
            return !q.textBefore || indent < *q.textBefore;
        }
        template <class ShapeOf>
        void SetExact(int32_t first, ShapeOf& shapeOf) {
            Block exact;
            exact.lines = lines;
            for (int32_t line = first; line < first + lines; ++line)
                exact.Widen(shapeOf(line));
            *this = exact;
        }
    };
    // The run that holds line `first`, which is its first line.
    struct Cursor {
        size_t block = 0;
        int32_t first = 0;
    };

    // Runs near the last one used are found in a few steps, as edits and searches stay near.
    void MoveCursorTo(int32_t line) {
        assert(line >= 0 && line < lines_ && "TLineBlockIndex line out of range");
        while (line < cursor_.first) {
            --cursor_.block;
            cursor_.first -= blocks_[cursor_.block].lines;
        }
        while (line >= cursor_.first + blocks_[cursor_.block].lines) {
            cursor_.first += blocks_[cursor_.block].lines;
            ++cursor_.block;
        }
    }

    std::vector<Block> blocks_;
    int32_t lines_ = 0;
    Cursor cursor_;
};

}  // namespace tarnwick
