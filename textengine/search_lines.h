// The search core: finds a text or a pattern in any list of lines with any options object.
// The buffer's search commands run it over the whole text or the selected text; the search
// panel runs it with options of its own to list the lines that contain a text.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/memo_types.h"
#include "textengine/search_options.h"

namespace tarnwick {

// The lines a search reads, in expanded form (tabs as spaces).
class TSearchLineSource {
public:
    virtual ~TSearchLineSource() = default;
    virtual int32_t Count() const = 0;
    // 0 <= index < Count(); the text stays valid until the next call.
    virtual std::string_view Line(int32_t index) = 0;
};

class TStringListLines : public TSearchLineSource {
public:
    explicit TStringListLines(const std::vector<std::string>& lines) : lines_(lines) {}
    int32_t Count() const override { return int32_t(lines_.size()); }
    std::string_view Line(int32_t index) override { return lines_[size_t(index)]; }

private:
    const std::vector<std::string>& lines_;
};

// Characters that end a word (whole-word searches).
using TDelimiterSet = std::bitset<256>;

// One search step. position holds the 0-based line and the 1-based column where the search
// starts: a forward search accepts matches starting at that column or later, a backward search
// matches starting at or before it. With options.FirstSearch set and an entire-scope origin the
// search starts at the first column of the first line (forward) or at the end of the last line
// (backward); FirstSearch is cleared either way. On success position is the match start and
// length its length. Whole words apply to plain text only. Throws ERegExprError for a bad pattern.
bool SearchLines(TSearchLineSource& lines, TSearchOptions& options, TPosition& position,
                 const TDelimiterSet& delimiters, int32_t& length);

// Capitals of single-byte text as the plain-text search compares it: ASCII and Latin-1 letters.
uint8_t SearchUpperCase(uint8_t c);

}  // namespace tarnwick
