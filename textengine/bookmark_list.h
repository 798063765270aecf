// Bookmarks 1 to 10 of a buffer, kept sorted by line, then column, then number; at most one
// record per number. Edits shift them like the other positions of the buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "textengine/memo_types.h"

namespace tarnwick {

struct TMemoBookMark {
    int32_t CharPos = 0;
    int32_t LinePos = 0;
    int32_t Number = 0;
    friend bool operator==(const TMemoBookMark&, const TMemoBookMark&) = default;
};

class TMemoBookMarkList {
public:
    static bool IsValidNumber(int32_t n) { return n >= 1 && n <= 10; }

    const std::vector<TMemoBookMark>& Items() const { return items_; }
    std::optional<TPosition> Find(int32_t number) const;
    // Sets number at pos, replacing an older record of the same number.
    void Set(int32_t number, TPosition pos);
    void Remove(int32_t number);
    void Clear() { items_.clear(); }

    // Adjustments that follow the edits of the buffer.
    void CharsInserted(int32_t line, int32_t column, int32_t count);
    void CharsDeleted(int32_t line, int32_t column, int32_t count);
    void LineSplit(int32_t line, int32_t column);
    void LinesJoined(int32_t line, int32_t column);
    void LineInserted(int32_t line);
    void LineDeleted(int32_t line);

private:
    void Sort();
    std::vector<TMemoBookMark> items_;
};

}  // namespace tarnwick
