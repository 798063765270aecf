// Highlighting on demand: lines are parsed when a view asks for their colours, from the first
// stale line on, and an edit re-parses only until a line's end state matches the stored one.
#include <algorithm>

#include "custom_memo_source.h"

namespace tarnwick {

namespace {

constexpr int32_t kParseAhead = 100;

}  // namespace

void TCustomMemoSource::ResetHighlighting() {
    store_.ResetHighlighting(parser_ != nullptr);
    parsedUpTo_ = 0;
    repaintAfter_ = -1;
    AddStates(msHighlightReset);
}

// Line i is up to date when its styles and end state were computed from its current text,
// starting from the end state stored for line i-1. A changed end state therefore makes the
// next line stale.
void TCustomMemoSource::ParseRange(int32_t first, int32_t last) {
    std::string text;
    for (int32_t i = first; i <= last; ++i) {
        if (store_.IsUpToDate(i))
            continue;
        if (parser_ == nullptr) {
            store_.SetUpToDate(i, true);
            AfterParseLine(i);
            continue;
        }
        const uint32_t start = i == 0 ? parser_->DefaultState() : store_.EndState(i - 1);
        const uint32_t oldEnd = store_.EndState(i);
        text.assign(store_.Text(i));  // the parser may call back into the buffer
        std::string& styles = store_.MutableColours(i);
        parser_->InitStyles(i, text, styles);
        if (styles.size() != text.size())
            styles.resize(text.size(), '\0');
        parser_->SetLinePos(i);
        const uint32_t end = parser_->ParseLine(text, start, store_.MutableColours(i));
        store_.MutableColours(i).resize(text.size(), '\0');
        store_.SetEndState(i, end);
        store_.SetUpToDate(i, true);
        AfterParseLine(i);
        if (end != oldEnd) {
            if (i + 1 < LineCount())
                store_.SetUpToDate(i + 1, false);
            repaintAfter_ = std::max(repaintAfter_, i);
        }
    }
}

std::string TCustomMemoSource::LineColors(int32_t line) {
    if (line < 0 || line >= LineCount())
        return {};
    // At or after the parsed-up-to line a line may be marked up to date and still wait for
    // an earlier line whose end state is about to change.
    if (!store_.IsUpToDate(line) || line >= parsedUpTo_) {
        const int32_t first = std::min(parsedUpTo_, line);
        const int32_t ahead = line >= parsedUpTo_ ? kParseAhead : 0;
        const int32_t last = int32_t(std::min<int64_t>(int64_t(line) + ahead, LineCount() - 1));
        ParseRange(first, last);
        parsedUpTo_ = std::max(parsedUpTo_, last + 1);
    }
    const std::string_view text = store_.Text(line);
    const std::string& colours = store_.Colours(line);
    std::string expanded;
    expanded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char style = i < colours.size() ? colours[i] : '\0';
        if (text[i] == '\t') {
            const int32_t column = int32_t(expanded.size());
            expanded.append(size_t(tabStops_.NextStop(column) - column), style);
        } else {
            expanded.push_back(style);
        }
    }
    return expanded;
}

}  // namespace tarnwick
