#include "textengine/view/word_wrap_list.h"

#include <algorithm>

namespace tarnwick {

void TWordWrapList::Clear() {
    entries_.clear();
    extraBefore_.assign(1, 0);
}

std::size_t TWordWrapList::LowerBound(int32_t line) const {
    return std::size_t(std::lower_bound(entries_.begin(), entries_.end(), line,
                                        [](const Entry& e, int32_t l) { return e.line < l; }) -
                       entries_.begin());
}

void TWordWrapList::Reindex() {
    extraBefore_.resize(entries_.size() + 1);
    extraBefore_[0] = 0;
    for (std::size_t k = 0; k < entries_.size(); ++k)
        extraBefore_[k + 1] = extraBefore_[k] + int32_t(entries_[k].breaks.size());
}

void TWordWrapList::SetBreaks(int32_t line, std::vector<int32_t> breaks) {
    const std::size_t k = LowerBound(line);
    const bool present = k < entries_.size() && entries_[k].line == line;
    if (breaks.empty()) {
        if (!present)
            return;
        entries_.erase(entries_.begin() + std::ptrdiff_t(k));
    } else if (present) {
        const bool sameCount = entries_[k].breaks.size() == breaks.size();
        entries_[k].breaks = std::move(breaks);
        if (sameCount)
            return;
    } else if (k == entries_.size()) {
        // Appending, as a full re-wrap does line by line: no reindex needed.
        extraBefore_.push_back(extraBefore_.back() + int32_t(breaks.size()));
        entries_.push_back(Entry{line, std::move(breaks)});
        return;
    } else {
        entries_.insert(entries_.begin() + std::ptrdiff_t(k), Entry{line, std::move(breaks)});
    }
    Reindex();
}

void TWordWrapList::EraseLines(int32_t first, int32_t last) {
    const std::size_t from = LowerBound(first);
    const std::size_t to = LowerBound(last < std::numeric_limits<int32_t>::max() ? last + 1 : last);
    if (from >= to)
        return;
    entries_.erase(entries_.begin() + std::ptrdiff_t(from), entries_.begin() + std::ptrdiff_t(to));
    Reindex();
}

void TWordWrapList::ShiftLines(int32_t from, int32_t delta) {
    for (std::size_t k = LowerBound(from); k < entries_.size(); ++k)
        entries_[k].line += delta;
}

int32_t TWordWrapList::RowOfLine(int32_t line) const { return line + extraBefore_[LowerBound(line)]; }

int32_t TWordWrapList::RowsOfLine(int32_t line) const {
    const std::size_t k = LowerBound(line);
    return k < entries_.size() && entries_[k].line == line ? int32_t(entries_[k].breaks.size()) + 1 : 1;
}

TLineInfo TWordWrapList::Info(const Entry& e, int32_t index) const {
    TLineInfo info;
    info.Line = e.line;
    info.Index = index;
    info.StartColumn = index == 0 ? 0 : e.breaks[std::size_t(index - 1)];
    if (std::size_t(index) < e.breaks.size())
        info.EndColumn = e.breaks[std::size_t(index)];
    return info;
}

TLineInfo TWordWrapList::RowAt(int32_t row) const {
    // The last wrapped line whose first row is at or before row.
    std::size_t lo = 0, hi = entries_.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (entries_[mid].line + extraBefore_[mid] <= row)
            lo = mid + 1;
        else
            hi = mid;
    }
    TLineInfo info;
    if (lo == 0) {
        info.Line = row;
        return info;
    }
    const std::size_t k = lo - 1;
    const int32_t firstRow = entries_[k].line + extraBefore_[k];
    const int32_t rows = int32_t(entries_[k].breaks.size()) + 1;
    if (row < firstRow + rows)
        return Info(entries_[k], row - firstRow);
    info.Line = row - extraBefore_[k + 1];
    return info;
}

TLineInfo TWordWrapList::RowOfColumn(int32_t line, int32_t column) const {
    const std::size_t k = LowerBound(line);
    if (k >= entries_.size() || entries_[k].line != line) {
        TLineInfo info;
        info.Line = line;
        return info;
    }
    const std::vector<int32_t>& b = entries_[k].breaks;
    const int32_t index = int32_t(std::upper_bound(b.begin(), b.end(), column) - b.begin());
    return Info(entries_[k], index);
}

std::vector<int32_t> WrapLine(std::string_view text, int32_t widthPx,
                              const std::function<int32_t(unsigned char)>& charWidthPx,
                              const std::function<bool(unsigned char)>& isDelimiter) {
    std::vector<int32_t> breaks;
    const std::size_t n = text.size();
    std::size_t start = 0;
    while (start < n) {
        std::size_t fit = start;
        int64_t used = 0;
        while (fit < n) {
            const int32_t w = charWidthPx(static_cast<unsigned char>(text[fit]));
            if (fit > start && used + w > widthPx)
                break;
            used += w;
            ++fit;
        }
        if (fit >= n)
            break;
        std::size_t end = fit;
        for (std::size_t k = fit; k-- > start;) {
            if (isDelimiter(static_cast<unsigned char>(text[k]))) {
                end = k + 1;
                break;
            }
        }
        breaks.push_back(int32_t(end));
        start = end;
    }
    return breaks;
}

}  // namespace tarnwick
