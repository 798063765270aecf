// Tab stop columns and the conversion between stored text (with tab characters) and the
// expanded form every column of the buffer counts in.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Raised by a tab stop list that is not strictly increasing and positive ("Invalid Tab Rack")
// or holds something that is not a number.
class ETabStopsError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Stop i is the i-th listed column; beyond the last the stops continue at the difference of
// the last two values, at the single value when there is one, or every 8 columns when the
// list is empty. A tab at column p extends to the first stop greater than p.
class TTabStops {
public:
    TTabStops() = default;
    // Throws ETabStopsError; the object is unchanged then.
    void Parse(std::string_view list);

    int32_t NextStop(int32_t column) const;
    // The last stop before column, or 0.
    int32_t PreviousStop(int32_t column) const;

    int32_t ExpandedLength(std::string_view stored) const;
    std::string Expand(std::string_view stored) const;
    // Expanded column at which the character at stored index begins (index past the end
    // continues one column per index).
    int32_t ColumnOf(std::string_view stored, int64_t index) const;
    struct Location {
        int64_t index;        // stored index of the character covering column (or past the end)
        int32_t startColumn;  // expanded column where that character begins
        bool insideTab;       // column lies inside a tab's expansion, after its first column
    };
    Location Locate(std::string_view stored, int32_t column) const;

private:
    std::vector<int32_t> stops_;
    int32_t interval_ = 8;
};

}  // namespace tarnwick
