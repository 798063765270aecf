#include "textengine/bookmark_list.h"

#include <algorithm>

namespace tarnwick {

std::optional<TPosition> TMemoBookMarkList::Find(int32_t number) const {
    for (const TMemoBookMark& b : items_)
        if (b.Number == number)
            return TPosition{b.LinePos, b.CharPos};
    return std::nullopt;
}

void TMemoBookMarkList::Set(int32_t number, TPosition pos) {
    if (!IsValidNumber(number))
        return;
    Remove(number);
    items_.push_back({pos.CharPos, pos.LinePos, number});
    Sort();
}

void TMemoBookMarkList::Remove(int32_t number) {
    std::erase_if(items_, [number](const TMemoBookMark& b) { return b.Number == number; });
}

void TMemoBookMarkList::Sort() {
    std::sort(items_.begin(), items_.end(), [](const TMemoBookMark& a, const TMemoBookMark& b) {
        if (a.LinePos != b.LinePos)
            return a.LinePos < b.LinePos;
        return a.CharPos != b.CharPos ? a.CharPos < b.CharPos : a.Number < b.Number;
    });
}

void TMemoBookMarkList::CharsInserted(int32_t line, int32_t column, int32_t count) {
    for (TMemoBookMark& b : items_)
        if (b.LinePos == line && b.CharPos >= column)
            b.CharPos += count;
}

void TMemoBookMarkList::CharsDeleted(int32_t line, int32_t column, int32_t count) {
    for (TMemoBookMark& b : items_)
        if (b.LinePos == line && b.CharPos > column)
            b.CharPos = std::max(column, b.CharPos - count);
}

void TMemoBookMarkList::LineSplit(int32_t line, int32_t column) {
    for (TMemoBookMark& b : items_) {
        if (b.LinePos > line) {
            ++b.LinePos;
        } else if (b.LinePos == line && b.CharPos > column) {
            ++b.LinePos;
            b.CharPos -= column;
        }
    }
}

void TMemoBookMarkList::LinesJoined(int32_t line, int32_t column) {
    for (TMemoBookMark& b : items_) {
        if (b.LinePos == line + 1) {
            b.LinePos = line;
            b.CharPos += column;
        } else if (b.LinePos > line + 1) {
            --b.LinePos;
        }
    }
    Sort();
}

void TMemoBookMarkList::LineInserted(int32_t line) {
    for (TMemoBookMark& b : items_)
        if (b.LinePos >= line)
            ++b.LinePos;
}

void TMemoBookMarkList::LineDeleted(int32_t line) {
    for (TMemoBookMark& b : items_)
        if (b.LinePos > line)
            --b.LinePos;
    Sort();
}

}  // namespace tarnwick
