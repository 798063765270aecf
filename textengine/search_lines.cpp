#include "textengine/search_lines.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "host/abi/ascii_text.h"
#include "textengine/reg_expr.h"

namespace tarnwick {

namespace {

constexpr int32_t kLineEnd = INT32_MAX;  // a start column meaning "the end of the line"

// One load per byte in the comparison loop.
constexpr std::array<uint8_t, 256> kCapitals = [] {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[size_t(c)] = uint8_t(latin1::ToUpper(char(c)));
    return table;
}();

std::string_view WithoutTrailingBlanks(std::string_view line) {
    const size_t last = line.find_last_not_of(" \t");
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

// Finds one text in lines, comparing capitals unless the case must match.
class TPlainFinder {
public:
    TPlainFinder(std::string_view text, bool caseSensitive) : text_(text), caseSensitive_(caseSensitive) {
        if (caseSensitive_ || text_.empty())
            return;
        for (char& c : text_)
            c = char(kCapitals[uint8_t(c)]);
        const char first = text_[0];
        firstCases_[firstCount_++] = first;
        if (latin1::ToLower(first) != first)  // a capital letter: its small one too
            firstCases_[firstCount_++] = latin1::ToLower(first);
    }
    int32_t Length() const { return int32_t(text_.size()); }

    // The first occurrence starting at or after from, or -1.
    int32_t Next(std::string_view line, int32_t from) const {
        if (caseSensitive_) {
            const size_t at = line.find(text_, size_t(from));
            return at == std::string_view::npos ? -1 : int32_t(at);
        }
        // Candidates are the places of either case of the first character, each found with
        // memchr, taken in order.
        const int32_t last = int32_t(line.size()) - Length();
        int32_t next[2] = {INT32_MAX, INT32_MAX};
        for (int i = 0; i < firstCount_; ++i)
            next[i] = Find(line, firstCases_[i], from);
        for (;;) {
            const int i = next[1] < next[0] ? 1 : 0;
            const int32_t at = next[i];
            if (at > last)
                return -1;
            if (EqualsAt(line, at))
                return at;
            next[i] = Find(line, firstCases_[i], at + 1);
        }
    }

    // The last occurrence starting at or before from, or -1.
    int32_t Previous(std::string_view line, int32_t from) const {
        if (caseSensitive_) {
            const size_t at = line.rfind(text_, size_t(from));
            return at == std::string_view::npos ? -1 : int32_t(at);
        }
        for (int32_t at = std::min(from, int32_t(line.size()) - Length()); at >= 0; --at)
            if (EqualsAt(line, at))
                return at;
        return -1;
    }

private:
    static int32_t Find(std::string_view line, char c, int32_t from) {
        if (from >= int32_t(line.size()))
            return INT32_MAX;
        const void* hit = std::memchr(line.data() + from, c, line.size() - size_t(from));
        return hit ? int32_t(static_cast<const char*>(hit) - line.data()) : INT32_MAX;
    }
    bool EqualsAt(std::string_view line, int32_t at) const {
        for (int32_t i = 0; i < Length(); ++i)
            if (kCapitals[uint8_t(line[size_t(at + i)])] != uint8_t(text_[size_t(i)]))
                return false;
        return true;
    }

    std::string text_;
    bool caseSensitive_;
    char firstCases_[2] = {};  // the bytes whose capital is the text's first character
    int firstCount_ = 0;
};

// The word around an occurrence: [Start, End) runs over the non-delimiters touching it.
struct TWordSpan {
    int32_t Start;
    int32_t End;
};

TWordSpan WordAround(std::string_view line, int32_t at, const TDelimiterSet& delimiters) {
    TWordSpan word{at, at};
    while (word.Start > 0 && !delimiters[uint8_t(line[size_t(word.Start) - 1])])
        --word.Start;
    while (word.End < int32_t(line.size()) && !delimiters[uint8_t(line[size_t(word.End)])])
        ++word.End;
    return word;
}

// Plain text: forward, every line after the first from its first column; backward, without
// trailing blanks, every line before the first from its end. A whole-word search that lands
// inside a longer word goes on past that word.
class TPlainSearch {
public:
    TPlainSearch(const TSearchOptions& options, const TDelimiterSet& delimiters)
        : finder_(options.TextToFind, options.CaseSensitive),
          wholeWords_(options.WholeWordsOnly),
          delimiters_(delimiters) {}

    int32_t Forward(std::string_view line, int32_t column) const {
        for (int32_t from = std::max(column, 1) - 1;;) {
            const int32_t at = finder_.Next(line, from);
            if (at < 0 || !wholeWords_)
                return at;
            const TWordSpan word = WordAround(line, at, delimiters_);
            if (IsWholeWord(word, at))
                return at;
            from = std::max(word.End, at + 1);
        }
    }

    int32_t Backward(std::string_view line, int32_t column) const {
        line = WithoutTrailingBlanks(line);
        for (int32_t from = std::min<int64_t>(column, int64_t(line.size())) - 1; from >= 0;) {
            const int32_t at = finder_.Previous(line, from);
            if (at < 0 || !wholeWords_)
                return at;
            const TWordSpan word = WordAround(line, at, delimiters_);
            if (IsWholeWord(word, at))
                return at;
            from = std::min(word.Start, at) - 1;
        }
        return -1;
    }

    int32_t Length() const { return finder_.Length(); }

private:
    bool IsWholeWord(const TWordSpan& word, int32_t at) const {
        return word.Start == at && word.End - word.Start == finder_.Length();
    }

    TPlainFinder finder_;
    bool wholeWords_;
    const TDelimiterSet& delimiters_;
};

bool SearchPlain(TSearchLineSource& lines, const TSearchOptions& options, TPosition& position,
                 const TDelimiterSet& delimiters, int32_t& length) {
    const TPlainSearch search(options, delimiters);
    const int32_t count = lines.Count();
    if (options.Direction == sdForward) {
        for (int32_t line = std::max(position.LinePos, 0),
                     column = position.LinePos < 0 ? 1 : position.CharPos;
             line < count; ++line, column = 1) {
            if (const int32_t at = search.Forward(lines.Line(line), column); at >= 0) {
                position = {line, at + 1};
                length = search.Length();
                return true;
            }
        }
        return false;
    }
    for (int32_t line = std::min(position.LinePos, count - 1),
                 column = position.LinePos >= count ? kLineEnd : position.CharPos;
         line >= 0; --line, column = kLineEnd) {
        if (const int32_t at = search.Backward(lines.Line(line), column); at >= 0) {
            position = {line, at + 1};
            length = search.Length();
            return true;
        }
    }
    return false;
}

// A pattern: for ^, $ and ^$ the start first moves one column in the search direction, and a
// forward search skips an empty match exactly at its start, so repeated searches move on. A
// search that starts at the beginning or end of the scope takes matches there.
bool SearchPattern(TSearchLineSource& lines, const TSearchOptions& options, TPosition& position,
                   bool fromScopeEdge, int32_t& length) {
    TRegExpr pattern(options.TextToFind, options.CaseSensitive);
    const bool forward = options.Direction == sdForward;
    const std::string& text = options.TextToFind;
    int32_t startColumn = position.CharPos;
    if (!fromScopeEdge && (text == "^" || text == "$" || text == "^$"))
        startColumn = forward ? (startColumn == kLineEnd ? kLineEnd : startColumn + 1) : startColumn - 1;
    const int32_t count = lines.Count();
    if (forward) {
        const int32_t startLine = position.LinePos;
        for (int32_t line = std::max(startLine, 0), column = startLine < 0 ? 1 : startColumn; line < count;
             ++line, column = 1) {
            const std::string_view lineText = lines.Line(line);
            for (int32_t start = column;;) {
                int32_t found = start;
                if (!pattern.Match(lineText, found, true, length))
                    break;
                if (length == 0 && !fromScopeEdge && line == startLine && found == startColumn) {
                    start = found + 1;  // the same empty match again: move on by one column
                    continue;
                }
                position = {line, found};
                return true;
            }
        }
        return false;
    }
    for (int32_t line = std::min(position.LinePos, count - 1),
                 column = position.LinePos >= count ? kLineEnd : startColumn;
         line >= 0; --line, column = kLineEnd) {
        int32_t found = column;
        if (pattern.Match(WithoutTrailingBlanks(lines.Line(line)), found, false, length)) {
            position = {line, found};
            return true;
        }
    }
    return false;
}

}  // namespace

uint8_t SearchUpperCase(uint8_t c) { return kCapitals[c]; }

bool SearchLines(TSearchLineSource& lines, TSearchOptions& options, TPosition& position,
                 const TDelimiterSet& delimiters, int32_t& length) {
    length = 0;
    const bool fromScopeEdge = options.FirstSearch && options.Origin == soEntireScope;
    if (fromScopeEdge)
        position = options.Direction == sdForward ? TPosition{0, 1} : TPosition{lines.Count() - 1, kLineEnd};
    options.FirstSearch = false;
    if (lines.Count() == 0 || options.TextToFind.empty())
        return false;
    TPosition found = position;
    const bool ok = options.RegularExpr ? SearchPattern(lines, options, found, fromScopeEdge, length)
                                        : SearchPlain(lines, options, found, delimiters, length);
    if (ok)
        position = found;
    else
        length = 0;
    return ok;
}

}  // namespace tarnwick
