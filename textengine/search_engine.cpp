#include "textengine/search_engine.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <memory>

#include "host/abi/ascii_text.h"
#include "textengine/custom_memo_source.h"
#include "textengine/reg_expr.h"
#include "textengine/search_buffer_lines.h"
#include "textengine/search_lines.h"

namespace tarnwick {

namespace {

const char kInvalidBlock[] = "Tried to search marked block but it is invalid";
const char kCursorOutsideBlock[] = "Tried to search marked block from cursor but cursor is outside block";

// Message texts go through a label-style renderer where & marks an accelerator.
std::string DoubleAmpersands(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        out += c;
        if (c == '&')
            out += '&';
    }
    return out;
}

// One line of text, to search alone.
class TOneLine : public TSearchLineSource {
public:
    explicit TOneLine(std::string_view text) : text_(text) {}
    int32_t Count() const override { return 1; }
    std::string_view Line(int32_t) override { return text_; }

private:
    std::string_view text_;
};

}  // namespace

// The hourglass for the life of a scope; nested scopes (the searches of a replace-all) keep it on.
class TSearchEngine::TBusyScope {
public:
    explicit TBusyScope(TSearchEngine& engine) : engine_(engine) {
        TSearchDialogFactory* dialogs = engine_.source_.SearchDialogs();
        if (engine_.busyDepth_++ == 0 && dialogs)
            dialogs->SetBusy(true);
    }
    ~TBusyScope() {
        TSearchDialogFactory* dialogs = engine_.source_.SearchDialogs();
        if (--engine_.busyDepth_ == 0 && dialogs)
            dialogs->SetBusy(false);
    }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TSearchEngine& engine_;
};

// The text a search reads: every line, or the selected text with coordinates of its own (the
// first line of a stream selection starts at its left column, every line of a column
// selection at the left column). The selected text is read line by line as the search goes.
class TSearchEngine::TArea {
public:
    TArea(TCustomMemoSource& source, bool selection)
        : selection_(selection),
          kind_(source.SelectionType()),
          topLeft_(source.SelStart()),
          bottomRight_(source.SelEnd()) {
        if (selection_)
            lines_ = std::make_unique<TSelectionLines>(source);
        else
            lines_ = std::make_unique<TMemoSourceLines>(source);
    }

    TSearchLineSource& Lines() { return *lines_; }

    // A text position in area coordinates; positions before or after the selection go to its
    // start or its end.
    TPosition ToArea(TPosition text) {
        if (!selection_)
            return text;
        const bool before = kind_ == stStream ? text < topLeft_ : text.LinePos < topLeft_.LinePos;
        const bool after = kind_ == stStream ? bottomRight_ < text : text.LinePos > bottomRight_.LinePos;
        const int32_t count = lines_->Count();
        if (before || count == 0)
            return {0, 0};
        if (after)
            return {count - 1, int32_t(lines_->Line(count - 1).size())};
        const int32_t line = text.LinePos - topLeft_.LinePos;
        return {line, std::max(0, text.CharPos - OffsetOf(line))};
    }

    TPosition ToText(TPosition area) const {
        if (!selection_)
            return area;
        return {area.LinePos + topLeft_.LinePos, area.CharPos + OffsetOf(area.LinePos)};
    }

private:
    int32_t OffsetOf(int32_t line) const { return kind_ == stColumn || line == 0 ? topLeft_.CharPos : 0; }

    bool selection_;
    TSelectionType kind_;
    TPosition topLeft_;
    TPosition bottomRight_;
    std::unique_ptr<TSearchLineSource> lines_;
};

TSearchEngine::TSearchEngine(TCustomMemoSource& source, TSearchOptions& options)
    : source_(source), options_(options) {}

TSearchEngine::~TSearchEngine() { CloseReplaceBrackets(); }

bool TSearchEngine::FindNext(int32_t& length) {
    TFoundRect match;
    const bool found = FindMatch(match);
    length = found ? match.EndChar - match.StartChar : 0;
    return found;
}

bool TSearchEngine::FindMatch(TFoundRect& match) {
    const bool inSelection = options_.Scope == ssSelectedText;
    if (inSelection && !source_.HasSelection()) {
        if (options_.FirstSearch)
            Report(kInvalidBlock, true);
        return false;
    }
    if (options_.WholeWordsOnly && !options_.RegularExpr && ContainsDelimiter(options_.TextToFind))
        options_.WholeWordsOnly = false;

    TChangeBracket bracket(source_, ccSearch);
    if (inSelection && options_.FirstSearch && options_.Origin == soFromCursor && !CaretInsideSelection()) {
        Report(kCursorOutsideBlock, true);
        return false;
    }
    const bool forward = options_.Direction == sdForward;
    const bool select = source_.HasOption(soSelectFoundText) && !inSelection;
    if (TakeLineMatch(match)) {
        ShowMatch(match, select, forward);
        return true;
    }
    TArea area(source_, inSelection);
    // 1-based start: forward takes a match at the caret, backward only one before it.
    TPosition position = area.ToArea(source_.Caret());
    if (forward)
        ++position.CharPos;
    TDelimiterSet delimiters;
    if (options_.WholeWordsOnly)
        for (int c = 0; c < 256; ++c)
            delimiters[size_t(c)] = source_.IsDelimiter(uint8_t(c));

    bool found = false;
    int32_t length = 0;
    try {
        TBusyScope busy(*this);
        found = SearchLines(area.Lines(), options_, position, delimiters, length);
    } catch (const ERegExprError& e) {
        Report(e.what(), false);
        return false;
    }
    if (!found) {
        if (options_.ShowNotFound)
            Report("Search string '" + DoubleAmpersands(options_.TextToFind) + "' not found", false);
        return false;
    }

    const TPosition start = area.ToText({position.LinePos, position.CharPos - 1});
    match = {start.LinePos, start.CharPos, start.CharPos + length};
    if (MayKeepLineMatches(match, inSelection))
        KeepLineMatches(match, area, {position.LinePos, position.CharPos - 1 + length});
    ShowMatch(match, select, forward);
    return true;
}

void TSearchEngine::ShowMatch(const TFoundRect& match, bool select, bool forward) {
    source_.SetFoundRect(match);
    if (select) {
        source_.SetSelection(match.StartChar, match.LinePos, match.EndChar, match.LinePos);
        source_.SetSelectionKind(stStream);
    }
    source_.SetCaret(forward ? match.EndChar : match.StartChar, match.LinePos);
}

// Shorter lines are read again, as every search reads them: that costs little, and keeps one
// way of finding for all but the lines where it does not. Of a selection only a stream one:
// its edges move with the text edited inside it, where a column selection's stay put.
bool TSearchEngine::MayKeepLineMatches(const TFoundRect& first, bool inSelection) const {
    constexpr int32_t kLongLine = 4096;
    // The stored length first: it costs nothing, and most lines stop there.
    return replacingAll_ && !options_.PromptOnReplace && options_.Direction == sdForward &&
           !options_.RegularExpr && !options_.WholeWordsOnly &&
           (!inSelection || source_.SelectionType() == stStream) &&
           source_.Store().TextLength(first.LinePos) >= kLongLine &&
           options_.ReplaceWith.find('\t') == std::string::npos && !source_.LineMayHoldTab(first.LinePos) &&
           !source_.LineReadOnly(first.LinePos);
}

// after: the first match's end in the area's coordinates.
void TSearchEngine::KeepLineMatches(const TFoundRect& first, TArea& area, TPosition after) {
    lineMatches_ = {};
    TOneLine line(area.Lines().Line(after.LinePos));  // no tab: its columns are its indexes
    TSearchOptions probe = options_;
    probe.FirstSearch = false;
    const TDelimiterSet noDelimiters{};
    for (int32_t from = after.CharPos;;) {
        TPosition position{0, from + 1};
        int32_t length = 0;
        if (!SearchLines(line, probe, position, noDelimiters, length) || length <= 0)
            break;
        lineMatches_.starts.push_back(area.ToText({after.LinePos, position.CharPos - 1}).CharPos);
        from = position.CharPos - 1 + length;
    }
    if (lineMatches_.starts.empty())
        return;
    lineMatches_.line = first.LinePos;
    lineMatches_.length = first.EndChar - first.StartChar;
}

bool TSearchEngine::TakeLineMatch(TFoundRect& match) {
    TLineMatches& kept = lineMatches_;
    if (kept.next >= kept.starts.size())
        return false;
    const int64_t start = int64_t(kept.starts[kept.next++]) + kept.shift;
    match = {kept.line, int32_t(start), int32_t(start + kept.length)};
    if (kept.next == kept.starts.size())
        kept = {};
    return true;
}

bool TSearchEngine::Replace() {
    if (source_.ReadOnly())
        return false;
    source_.SetReplaceCount(0);
    if (source_.OnBeforeSearch)
        source_.OnBeforeSearch(source_, 1);
    if (options_.ReplaceAll)
        return ReplaceAll();
    TReplaceAnswer answer = raYes;
    const bool replaced = ReplaceOne(answer);
    options_.ShowNotFound = false;
    if (answer == raAll)
        return ReplaceAll() || replaced;
    return replaced;
}

// Without prompting every replacement happens inside one bracket, so the views hear once and
// one undo step takes them all back. Only a replace that finds nothing at all says "not found".
bool TSearchEngine::ReplaceAll() {
    std::unique_ptr<TBusyScope> busy;
    if (!options_.PromptOnReplace) {
        OpenReplaceBracket();
        busy = std::make_unique<TBusyScope>(*this);
    }
    replacingAll_ = true;
    lineMatches_ = {};
    bool any = false;
    TReplaceAnswer answer = raYes;
    for (;;) {
        const bool more = ReplaceOne(answer);
        options_.ShowNotFound = false;
        if (!more)
            break;
        any = true;
    }
    replacingAll_ = false;
    lineMatches_ = {};
    busy.reset();
    CloseReplaceBrackets();
    return any;
}

// Finds the next match and, unless the user says otherwise, replaces it. False when nothing was
// found or the user cancelled; true after a refusal, so a replace-all goes on.
bool TSearchEngine::ReplaceOne(TReplaceAnswer& answer) {
    TFoundRect match;
    if (!FindMatch(match))
        return false;
    answer = raYes;
    if (options_.PromptOnReplace && source_.SearchDialogs())
        answer = source_.SearchDialogs()->AskReplace("Replace this occurence of '" +
                                                     DoubleAmpersands(options_.TextToFind) + "'?");
    if (answer == raCancel)
        return false;
    if (answer == raNo)
        return true;
    if (answer == raAll) {
        options_.PromptOnReplace = false;
        options_.ReplaceAll = true;
        OpenReplaceBracket();
    }
    // A line that may not change keeps its match; the caret, already past it, moves on.
    if (source_.LineReadOnly(match.LinePos))
        return true;
    ReplaceMatch(match);
    if (match.LinePos == lineMatches_.line)
        lineMatches_.shift += int64_t(options_.ReplaceWith.size()) - (match.EndChar - match.StartChar);
    source_.SetReplaceCount(source_.ReplaceCount() + 1);
    return true;
}

// The match is in expanded columns, and a stored tab may cover several of them. A tab that an
// edge of the match cuts through goes whole, and its columns outside the match come back as
// spaces around the replacement, so exactly the matched text is replaced whatever tabs it
// spans, and the caret never has to stand inside a tab. A forward search goes on after the
// replacement, a backward one before it.
void TSearchEngine::ReplaceMatch(const TFoundRect& match) {
    TChangeBracket bracket(source_, ccReplace);
    const TTabStops& tabs = source_.TabRack();
    const int32_t line = match.LinePos;
    const TTabStops::Location first = source_.LocateColumn(line, match.StartChar);
    const TTabStops::Location last = source_.LocateColumn(line, match.EndChar);
    const int32_t editStart = first.startColumn;
    const int64_t count = last.index - first.index + (last.insideTab ? 1 : 0);
    const int32_t spacesBefore = match.StartChar - editStart;
    const int32_t spacesAfter = last.insideTab ? tabs.NextStop(last.startColumn) - match.EndChar : 0;
    const std::string& with = options_.ReplaceWith;

    source_.SetCaret(editStart, match.LinePos);
    source_.DeleteChars(int32_t(std::min<int64_t>(count, INT32_MAX)));
    source_.InsertString(std::string(size_t(spacesBefore), ' ') + with +
                         std::string(size_t(spacesAfter), ' '));
    if (options_.Direction == sdBackward) {
        source_.SetCaret(match.StartChar, match.LinePos);
        return;
    }
    const int64_t end = source_.LocateColumn(line, editStart).index + spacesBefore + int64_t(with.size());
    source_.SetCaret(source_.ColumnOfIndex(line, end), line);
}

void TSearchEngine::OpenReplaceBracket() {
    source_.BeginChange(ccReplace);
    ++openBrackets_;
}

void TSearchEngine::CloseReplaceBrackets() {
    for (; openBrackets_ > 0; --openBrackets_)
        source_.EndChange();
}

void TSearchEngine::SearchFirst() {
    options_.FirstSearch = true;
    options_.InReplace = false;
    options_.ShowNotFound = true;
    if (source_.OnBeforeSearch)
        source_.OnBeforeSearch(source_, 0);
    int32_t length = 0;
    FindNext(length);
}

void TSearchEngine::ReplaceFirst() {
    options_.FirstSearch = true;
    options_.InReplace = true;
    options_.ShowNotFound = true;
    Replace();
}

void TSearchEngine::SearchAgain() {
    options_.ShowNotFound = true;
    if (!source_.HasSelection())
        options_.Scope = ssGlobal;
    if (options_.FirstSearch)
        return;  // the dialog's own search has not started yet
    if (options_.InReplace) {
        Replace();
        return;
    }
    if (source_.OnBeforeSearch)
        source_.OnBeforeSearch(source_, 0);
    int32_t length = 0;
    FindNext(length);
}

void TSearchEngine::ReplaceAgain() { ReplaceFirst(); }

void TSearchEngine::PrepareDialog() {
    if (source_.HasOption(soFindTextAtCursor))
        options_.TextToFind = source_.WordAtCaret();
    options_.Scope = source_.HasSelection() && CaretInsideSelection() ? ssSelectedText : ssGlobal;
}

void TSearchEngine::FindDialog() {
    PrepareDialog();
    if (ShowDialog(source_.CreateFindDialog()) == TModalResult::Ok)
        SearchFirst();
}

void TSearchEngine::ReplaceDialog() {
    if (source_.ReadOnly())
        return;
    PrepareDialog();
    const TModalResult result = ShowDialog(source_.CreateReplaceDialog());
    if (result == TModalResult::Ok || result == TModalResult::All)
        ReplaceFirst();
}

TModalResult TSearchEngine::ShowDialog(std::unique_ptr<TSearchOptionsDialog> dialog) {
    if (!dialog)
        return TModalResult::None;
    if (source_.OnCreateDialog)
        source_.OnCreateDialog(source_, *dialog);
    return dialog->ShowModal();
}

bool TSearchEngine::GotoLineDialog() {
    TSearchDialogFactory* dialogs = source_.SearchDialogs();
    if (!dialogs)
        return false;
    TInputBoxRequest request{"Go to line Number",
                             "&Enter new line number:", std::to_string(int64_t(source_.Caret().LinePos) + 1)};
    if (!dialogs->InputBox(request))
        return false;
    const std::string& text = request.Value;
    const std::string_view number = ascii::Trim(text, ascii::IsSpace);
    int32_t line = 0;
    const char* begin = number.data();
    const char* end = number.data() + number.size();
    if (begin < end && *begin == '+')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, line);
    if (error != std::errc() || stop != end || begin == end)
        throw ESearchError("'" + text + "' is not a valid integer value");
    source_.SetCaret(0, line > INT32_MIN ? line - 1 : line);
    return true;
}

bool TSearchEngine::CaretInsideSelection() const {
    const TPosition caret = source_.Caret();
    const TPosition topLeft = source_.SelStart();
    const TPosition bottomRight = source_.SelEnd();
    if (source_.SelectionType() == stColumn)
        return caret.LinePos >= topLeft.LinePos && caret.LinePos <= bottomRight.LinePos &&
               caret.CharPos >= topLeft.CharPos && caret.CharPos <= bottomRight.CharPos;
    return topLeft <= caret && caret <= bottomRight;
}

bool TSearchEngine::ContainsDelimiter(const std::string& text) const {
    for (const char c : text)
        if (source_.IsDelimiter(uint8_t(c)))
            return true;
    return false;
}

void TSearchEngine::Report(const std::string& message, bool blockError) {
    bool handled = false;
    if (source_.OnSearchException)
        source_.OnSearchException(source_, message, handled);
    if (handled)
        return;
    if (blockError)
        throw ESearchError(message);
    if (TSearchDialogFactory* dialogs = source_.SearchDialogs())
        dialogs->ShowInformation(message);
}

}  // namespace tarnwick
