#include "textengine/view/match_bracket.h"

#include <string>

#include "textengine/custom_memo_source.h"

namespace tarnwick {

namespace {

constexpr char kOpening[] = "(<[{";
constexpr char kClosing[] = ")>]}";

bool IsSkippedStyle(char style) { return style == 1 || style == 2; }

// The position the command starts from: the single selected character, else the caret.
TPosition StartPosition(const TCustomMemoSource& source) {
    if (source.SelectionType() == stStream) {
        const TPosition a = source.SelStart(), b = source.SelEnd();
        if (a.LinePos == b.LinePos && b.CharPos == a.CharPos + 1)
            return a;
    }
    return source.Caret();
}

class TBracketScan {
public:
    TBracketScan(TCustomMemoSource& source, int32_t line) : source_(source) { Load(line); }

    char CharAt(int32_t column) const {
        return column >= 0 && column < int32_t(text_.size()) ? text_[size_t(column)] : '\0';
    }
    bool Skipped(int32_t column) const {
        return column >= 0 && column < int32_t(styles_.size()) && IsSkippedStyle(styles_[size_t(column)]);
    }
    int32_t Length() const { return int32_t(text_.size()); }
    void Load(int32_t line) {
        text_ = source_.LineText(line);
        styles_ = source_.LineColors(line);
    }

private:
    TCustomMemoSource& source_;
    std::string text_;
    std::string styles_;
};

}  // namespace

std::optional<TPosition> FindMatchingBracket(TCustomMemoSource& source, TBracketDirection direction) {
    const TPosition start = StartPosition(source);
    if (start.LinePos < 0 || start.LinePos >= source.LineCount())
        return std::nullopt;
    TBracketScan scan(source, start.LinePos);
    const char c = scan.CharAt(start.CharPos);
    if (c == '\0')
        return std::nullopt;
    const std::string opening = kOpening, closing = kClosing;
    const size_t open = opening.find(c), close = closing.find(c);
    const bool forward = open != std::string::npos;
    if ((!forward && close == std::string::npos) || (forward && direction == TBracketDirection::Backward) ||
        (!forward && direction == TBracketDirection::Forward))
        return std::nullopt;
    const char self = c, other = forward ? closing[open] : opening[close];
    int32_t depth = 0;
    int32_t line = start.LinePos, column = start.CharPos;
    for (;;) {
        const char here = scan.CharAt(column);
        if ((here == self || here == other) && !scan.Skipped(column)) {
            depth += here == self ? 1 : -1;
            if (depth == 0)
                return TPosition{line, column};
        }
        if (forward) {
            ++column;
            while (column >= scan.Length()) {
                if (++line >= source.LineCount())
                    return std::nullopt;
                scan.Load(line);
                column = 0;
            }
        } else {
            while (--column < 0) {
                if (--line < 0)
                    return std::nullopt;
                scan.Load(line);
                column = scan.Length();
            }
        }
    }
}

}  // namespace tarnwick
