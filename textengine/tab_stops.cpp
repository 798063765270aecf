#include "textengine/tab_stops.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "host/abi/ascii_text.h"

namespace tarnwick {

namespace {

int32_t ParseInteger(std::string_view text) {
    const std::string_view t = ascii::Trim(text, ascii::IsSpaceOrTab);
    int64_t value = 0;
    const char* end = t.data() + t.size();
    const char* first = t.data();
    if (!t.empty() && t.front() == '+')
        ++first;
    const auto [ptr, ec] = std::from_chars(first, end, value);
    if (t.empty() || ec != std::errc() || ptr != end || value > INT32_MAX || value < INT32_MIN)
        throw ETabStopsError("'" + std::string(t) + "' is not a valid integer value");
    return int32_t(value);
}

}  // namespace

void TTabStops::Parse(std::string_view list) {
    std::vector<int32_t> stops;
    if (!ascii::Trim(list, ascii::IsSpaceOrTab).empty()) {
        size_t start = 0;
        while (true) {
            const size_t comma = list.find(',', start);
            const int32_t value = ParseInteger(list.substr(start, comma - start));
            if (value <= 0 || (!stops.empty() && value <= stops.back()))
                throw ETabStopsError("Invalid Tab Rack");
            stops.push_back(value);
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
    }
    int32_t interval = 8;
    if (stops.size() == 1)
        interval = stops[0];
    else if (stops.size() > 1)
        interval = stops[stops.size() - 1] - stops[stops.size() - 2];
    stops_ = std::move(stops);
    interval_ = interval;
}

int32_t TTabStops::NextStop(int32_t column) const {
    const auto it = std::upper_bound(stops_.begin(), stops_.end(), column);
    if (it != stops_.end())
        return *it;
    const int32_t last = stops_.empty() ? 0 : stops_.back();
    if (column < last)
        return last;
    const int64_t next = last + (int64_t(column - last) / interval_ + 1) * interval_;
    return int32_t(std::min<int64_t>(next, INT32_MAX));
}

int32_t TTabStops::PreviousStop(int32_t column) const {
    if (column <= 0)
        return 0;
    int32_t stop = 0;
    while (true) {
        const int32_t next = NextStop(stop);
        if (next >= column || next <= stop)
            return stop;
        stop = next;
        if (!stops_.empty() && stop >= stops_.back()) {
            // Regular interval from here on: jump instead of stepping.
            const int32_t steps = (column - 1 - stop) / interval_;
            return stop + steps * interval_;
        }
    }
}

int32_t TTabStops::ExpandedLength(std::string_view stored) const {
    return ColumnOf(stored, int64_t(stored.size()));
}

int32_t TTabStops::ColumnOf(std::string_view stored, int64_t index) const {
    const int64_t limit = std::min<int64_t>(index, int64_t(stored.size()));
    const char* p = stored.data();
    const void* tab = limit > 0 && p != nullptr ? std::memchr(p, '\t', size_t(limit)) : nullptr;
    if (tab == nullptr)
        return int32_t(std::min<int64_t>(index, INT32_MAX));
    int64_t column = static_cast<const char*>(tab) - p;
    for (int64_t i = column; i < limit; ++i)
        column = p[i] == '\t' ? NextStop(int32_t(std::min<int64_t>(column, INT32_MAX))) : column + 1;
    return int32_t(std::min<int64_t>(column + (index - limit), INT32_MAX));
}

TTabStops::Location TTabStops::Locate(std::string_view stored, int32_t column) const {
    if (column <= 0)
        return {0, 0, false};
    const char* p = stored.data();
    const size_t n = stored.size();
    if (n == 0)
        return {column, column, false};
    const void* tab = std::memchr(p, '\t', std::min<size_t>(n, size_t(column)));
    if (tab == nullptr)
        return {column, column, false};
    int64_t i = static_cast<const char*>(tab) - p;
    int32_t col = int32_t(i);
    for (; size_t(i) < n; ++i) {
        const int32_t next = p[i] == '\t' ? NextStop(col) : col + 1;
        if (column < next)
            return {i, col, column > col};
        col = next;
    }
    return {i + (column - col), column, false};
}

std::string TTabStops::Expand(std::string_view stored) const {
    if (stored.find('\t') == std::string_view::npos)
        return std::string(stored);
    std::string out;
    out.reserve(stored.size() + 16);
    for (char c : stored) {
        if (c == '\t')
            out.append(size_t(NextStop(int32_t(out.size())) - int32_t(out.size())), ' ');
        else
            out.push_back(c);
    }
    return out;
}

}  // namespace tarnwick
