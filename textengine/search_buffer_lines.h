// A buffer's lines as the search core reads them: expanded, without copying lines that hold
// no tab character; and the selected text read the same way, one line at a time, so a search
// in a selection costs no more than the lines it reads.
#pragma once

#include <algorithm>
#include <string>

#include "textengine/custom_memo_source.h"
#include "textengine/search_lines.h"

namespace tarnwick {

class TMemoSourceLines : public TSearchLineSource {
public:
    explicit TMemoSourceLines(const TCustomMemoSource& source) : source_(source) {}
    int32_t Count() const override { return source_.LineCount(); }
    std::string_view Line(int32_t index) override {
        if (!source_.LineMayHoldTab(index))
            return source_.StoredLine(index);
        expanded_ = source_.LineText(index);
        return expanded_;
    }

private:
    const TCustomMemoSource& source_;
    std::string expanded_;
};

// Line i is the selected part of text line top + i. The middle lines of a stream selection
// are whole, so they are read like the buffer's own lines.
class TSelectionLines : public TSearchLineSource {
public:
    explicit TSelectionLines(const TCustomMemoSource& source)
        : source_(source),
          whole_(source),
          top_(source.SelStart().LinePos),
          bottom_(source.SelEnd().LinePos),
          stream_(source.SelectionType() == stStream) {}
    int32_t Count() const override { return source_.HasSelection() ? std::max(bottom_ - top_ + 1, 0) : 0; }
    std::string_view Line(int32_t index) override {
        const int32_t line = top_ + index;
        if (stream_ && line > top_ && line < bottom_)
            return whole_.Line(line);
        // The text does not change while this reader lives: a part asked for again is kept.
        if (line != partLine_) {
            part_ = source_.SelectionLine(line);
            partLine_ = line;
        }
        return part_;
    }

private:
    const TCustomMemoSource& source_;
    TMemoSourceLines whole_;
    int32_t top_;
    int32_t bottom_;
    bool stream_;
    std::string part_;
    int32_t partLine_ = -1;  // the line part_ was read from
};

}  // namespace tarnwick
