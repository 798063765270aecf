// Highlighting on demand: lines are parsed when a view asks for their colours, from the first
// stale line on, and an edit re-parses only until a line's end state matches the stored one.
#include <algorithm>

#include "textengine/custom_memo_source.h"

namespace tarnwick {

namespace {

constexpr int32_t kParseAhead = 100;
// How far past the parsed-up-to line a line may lie and still be parsed at once for a repaint:
// a fraction of a millisecond of ordinary lines.
constexpr int32_t kReachLines = 2000;
// Lines parsed between two looks at the clock while catching up.
constexpr int32_t kCatchUpBatch = 256;
// Lines before a catch-up target that keep their style bytes: a screenful and then some.
constexpr int32_t kKeptBeforeTarget = 256;
// Lines from this length on keep parse points instead of style bytes, when the highlighter
// can resume inside a line: an edit then re-parses a few kilobytes, not the line.
constexpr size_t kPiecewiseLineBytes = 64 * 1024;

}  // namespace

void TCustomMemoSource::ResetHighlighting() {
    store_.ResetHighlighting(parser_ != nullptr);
    parsedUpTo_ = 0;
    repaintAfter_ = -1;
    AddStates(msHighlightReset);
}

// Line i is up to date when its end state was computed from its current text, starting from
// the end state stored for line i-1. A changed end state therefore makes the next line stale.
// Style bytes are kept only from line keepFrom on: the lines before it are parsed for their
// end states alone, so catching up over millions of lines stores nothing per line but the
// state. A line that is up to date without style bytes gets them again from its start state.
void TCustomMemoSource::ParseRange(int32_t first, int32_t last, int32_t keepFrom) {
    std::string text;
    std::string scratch;
    for (int32_t i = first; i <= last; ++i) {
        if (store_.IsUpToDate(i))
            continue;
        if (parser_ == nullptr) {
            store_.SetUpToDate(i, true);
            AfterParseLine(i);
            continue;
        }
        const uint32_t oldEnd = store_.EndState(i);
        const uint32_t end = ParseLineStyles(i, text, i >= keepFrom ? nullptr : &scratch);
        store_.SetUpToDate(i, true);
        AfterParseLine(i);
        if (end != oldEnd) {
            if (i + 1 < LineCount())
                store_.SetUpToDate(i + 1, false);
            repaintAfter_ = std::max(repaintAfter_, i);
        }
    }
}

// Parses line i from the end state of the line before; the style bytes go to the line, or
// to scratch (and the line's old ones are dropped). Stores and returns the end state.
uint32_t TCustomMemoSource::ParseLineStyles(int32_t i, std::string& text, std::string* scratch) {
    const uint32_t start = i == 0 ? parser_->DefaultState() : store_.EndState(i - 1);
    if (ParsesInPieces(i)) {
        if (!store_.Colours(i).empty())
            std::string().swap(store_.MutableColours(i));
        parser_->SetLinePos(i);
        std::string* styles = i == wholeLine_.line ? wholeLine_.styles : nullptr;
        const uint32_t end = store_.MutableLongLineParse(i).Update(*parser_, store_, i, start, styles);
        store_.SetEndState(i, end);
        return end;
    }
    store_.DropLongLineParse(i);
    text.assign(store_.Text(i));  // the parser may call back into the buffer
    if (scratch != nullptr && !store_.Colours(i).empty())
        std::string().swap(store_.MutableColours(i));
    std::string& styles = scratch != nullptr ? *scratch : store_.MutableColours(i);
    parser_->InitStyles(i, text, styles);
    styles.resize(text.size(), '\0');
    parser_->SetLinePos(i);
    // A parser may reach the line's colours through the buffer; parse into a local copy.
    std::string parsed = std::move(styles);
    const uint32_t end = parser_->ParseLine(text, start, parsed);
    parsed.resize(text.size(), '\0');
    (scratch != nullptr ? *scratch : store_.MutableColours(i)) = std::move(parsed);
    store_.SetEndState(i, end);
    return end;
}

bool TCustomMemoSource::ColoursWithinReach(int32_t line) const {
    if (parser_ == nullptr || line < parsedUpTo_)
        return true;
    return int64_t(line) - parsedUpTo_ < kReachLines;
}

bool TCustomMemoSource::CatchUpHighlighting(int32_t target, std::chrono::steady_clock::time_point deadline) {
    target = std::min(target, LineCount() - 1);
    const int32_t keepFrom = std::max(target - kKeptBeforeTarget, 0);
    while (!ColoursWithinReach(target)) {
        const int32_t last = std::min(parsedUpTo_ + kCatchUpBatch - 1, target);
        ParseRange(parsedUpTo_, last, keepFrom);
        parsedUpTo_ = last + 1;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return ColoursWithinReach(target);
}

void TCustomMemoSource::UpdateColours(int32_t line) {
    if (line < 0 || line >= LineCount())
        return;
    // At or after the parsed-up-to line a line may be marked up to date and still wait for
    // an earlier line whose end state is about to change.
    if (!store_.IsUpToDate(line) || line >= parsedUpTo_) {
        const int32_t first = std::min(parsedUpTo_, line);
        const int32_t ahead = line >= parsedUpTo_ ? kParseAhead : 0;
        const int32_t last = int32_t(std::min<int64_t>(int64_t(line) + ahead, LineCount() - 1));
        ParseRange(first, last, line);
        parsedUpTo_ = std::max(parsedUpTo_, last + 1);
    }
    const size_t length = store_.TextLength(line);
    if (parser_ != nullptr && length > 0 && !ParsesInPieces(line) && store_.Colours(line).size() != length) {
        std::string textCopy;
        ParseLineStyles(line, textCopy, nullptr);
    }
}

bool TCustomMemoSource::ParsesInPieces(int32_t line) const {
    return parser_ != nullptr && store_.TextLength(line) >= kPiecewiseLineBytes && parser_->ParsesInWindows();
}

std::string TCustomMemoSource::StoredColours(int32_t line, size_t from, size_t count) {
    if (line < 0 || line >= LineCount() || parser_ == nullptr)
        return std::string(count, '\0');
    UpdateColours(line);
    if (const TLongLineParse* parse = store_.LongLineParse(line); parse != nullptr && ParsesInPieces(line)) {
        parser_->SetLinePos(line);
        std::string styles = parse->Styles(*parser_, store_, line, from, count);
        styles.resize(count, '\0');
        return styles;
    }
    const std::string& colours = store_.Colours(line);
    std::string styles = from < colours.size() ? colours.substr(from, count) : std::string();
    styles.resize(count, '\0');
    return styles;
}

std::string TCustomMemoSource::LineColors(int32_t line) {
    if (line < 0 || line >= LineCount())
        return {};
    const size_t length = store_.TextLength(line);
    std::string colours;
    if (ParsesInPieces(line)) {
        // A long line parsed whole on the way hands its styles over, saving a second parse.
        struct TRequest {
            TWholeLineRequest& slot;
            ~TRequest() { slot = {}; }
        } request{wholeLine_};
        wholeLine_ = {line, &colours};
        UpdateColours(line);
    }
    if (colours.size() != length)
        colours = StoredColours(line, 0, length);
    if (!LineMayHoldTab(line))
        return colours;  // one style per column already
    const std::string_view current = store_.Text(line);
    std::string expanded;
    expanded.reserve(current.size());
    for (size_t i = 0; i < current.size(); ++i) {
        const char style = i < colours.size() ? colours[i] : '\0';
        if (current[i] == '\t') {
            const int32_t column = int32_t(expanded.size());
            expanded.append(size_t(tabStops_.NextStop(column) - column), style);
        } else {
            expanded.push_back(style);
        }
    }
    return expanded;
}

}  // namespace tarnwick
