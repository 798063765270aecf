// Editing commands bound to keys: caret and word movement, selection, typing, Enter,
// Backspace, Delete, Tab, bookmarks. Each runs in one change bracket, so undo takes it back
// as one step.
#include <algorithm>

#include "textengine/custom_memo_source.h"

namespace tarnwick {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Counts a running selection command for the lifetime of a scope, so that closing the
// bracket does not drop the selection the command just made.
class SelectionCommandScope {
public:
    explicit SelectionCommandScope(int32_t& counter) : counter_(counter) { ++counter_; }
    ~SelectionCommandScope() { --counter_; }
    SelectionCommandScope(const SelectionCommandScope&) = delete;
    SelectionCommandScope& operator=(const SelectionCommandScope&) = delete;

private:
    int32_t& counter_;
};

}  // namespace

// The line's length when it holds nothing but blanks.
int32_t TCustomMemoSource::FirstNonBlankColumn(int32_t line) const {
    if (line < 0 || line >= LineCount())
        return 0;
    const size_t at = store_.LeadingBlankCount(line);
    return at == store_.TextLength(line) ? LineLength(line) : ColumnOfIndex(line, int64_t(at));
}

// Where WordRight goes from column within the expanded text: past the rest of the word there,
// then past the delimiters after it; the line end when no word follows.
int32_t TCustomMemoSource::NextWordColumn(std::string_view text, int32_t column) const {
    const int32_t n = int32_t(text.size());
    int32_t col = column;
    while (col < n && !IsDelimiter(static_cast<unsigned char>(text[size_t(col)])))
        ++col;
    while (col < n && IsDelimiter(static_cast<unsigned char>(text[size_t(col)])))
        ++col;
    return col;
}

// ---- Caret commands --------------------------------------------------------------------

void TCustomMemoSource::CaretLeft() {
    TChangeBracket bracket(*this, ccCaretMove);
    if (caret_.CharPos == 0)
        return;
    if (options_.Has(soCursorOnTabs) || options_.Has(soCursorAlwaysOnTabs)) {
        const TTabStops::Location at = tabStops_.Locate(StoredLine(caret_.LinePos), caret_.CharPos - 1);
        if (at.index < int64_t(StoredLine(caret_.LinePos).size()) &&
            StoredLine(caret_.LinePos)[size_t(at.index)] == '\t') {
            ApplyCaretMove(0, at.startColumn - caret_.CharPos, true);
            return;
        }
    }
    ApplyCaretMove(0, -1, true);
}

void TCustomMemoSource::CaretRight() {
    TChangeBracket bracket(*this, ccCaretMove);
    const int32_t length = CaretLineLength();
    if (options_.Has(soLimitEOL) && caret_.CharPos >= length) {
        if (selType_ != stColumn && caret_.LinePos + 1 < LineCount())
            ApplyCaretMove(1, -caret_.CharPos, true);
        return;
    }
    if (options_.Has(soCursorOnTabs) || options_.Has(soCursorAlwaysOnTabs)) {
        const std::string_view text = StoredLine(caret_.LinePos);
        const TTabStops::Location at = tabStops_.Locate(text, caret_.CharPos);
        if (at.index < int64_t(text.size()) && text[size_t(at.index)] == '\t') {
            ApplyCaretMove(0, tabStops_.NextStop(at.startColumn) - caret_.CharPos, true);
            return;
        }
    }
    ApplyCaretMove(0, 1, true);
}

void TCustomMemoSource::CaretUp() { MoveCaret(-1, 0); }
void TCustomMemoSource::CaretDown() { MoveCaret(1, 0); }

void TCustomMemoSource::LineStart() { MoveCaret(0, -caret_.CharPos); }

void TCustomMemoSource::LineEnd() {
    TChangeBracket bracket(*this, ccCaretMove);
    std::string text = LineText(caret_.LinePos);
    if (!KeepTrailingBlanks())
        while (!text.empty() && IsBlank(text.back()))
            text.pop_back();
    ApplyCaretMove(0, int32_t(text.size()) - caret_.CharPos, true);
}

void TCustomMemoSource::TextStart() { SetCaret(0, 0); }

void TCustomMemoSource::TextEnd() {
    const int32_t last = std::max(LineCount() - 1, 0);
    SetCaret(LineLength(last), last);
}

void TCustomMemoSource::WordRight() {
    TChangeBracket bracket(*this, ccCaretMove);
    const std::string text = LineText(caret_.LinePos);
    if (caret_.CharPos >= int32_t(text.size())) {
        if (caret_.LinePos + 1 < LineCount())
            ApplyCaretMove(1, -caret_.CharPos, true);
        return;
    }
    ApplyCaretMove(0, NextWordColumn(text, caret_.CharPos) - caret_.CharPos, true);
}

void TCustomMemoSource::WordLeft() {
    TChangeBracket bracket(*this, ccCaretMove);
    if (caret_.CharPos == 0) {
        if (caret_.LinePos > 0)
            ApplyCaretMove(-1, LineLength(caret_.LinePos - 1), true);
        return;
    }
    const std::string text = LineText(caret_.LinePos);
    int32_t col = std::min(caret_.CharPos, int32_t(text.size()));
    while (col > 0 && IsDelimiter(static_cast<unsigned char>(text[size_t(col - 1)])))
        --col;
    while (col > 0 && !IsDelimiter(static_cast<unsigned char>(text[size_t(col - 1)])))
        --col;
    ApplyCaretMove(0, col - caret_.CharPos, true);
}

void TCustomMemoSource::GotoBlockBegin() {
    if (HasSelection())
        SetCaret(selTopLeft_.Pos.CharPos, selTopLeft_.Pos.LinePos);
}

void TCustomMemoSource::GotoBlockEnd() {
    if (HasSelection())
        SetCaret(selBottomRight_.Pos.CharPos, selBottomRight_.Pos.LinePos);
}

// ---- Selection commands ----------------------------------------------------------------

// The named corner takes the caret; without a selection the block becomes a stream from the
// other corner as it was last marked, so that marking the begin, moving and marking the end
// selects what lies between (one corner alone is an empty block, which ends as none).
void TCustomMemoSource::MarkBlockCorner(TChangeCode code, bool topLeft) {
    TChangeBracket bracket(*this, code);
    SelectionCommandScope scope(selectionCommand_);
    if (selType_ == stNone)
        selType_ = FilterKind(stStream);
    (topLeft ? selTopLeft_ : selBottomRight_).Pos = caret_;
}

void TCustomMemoSource::MarkBlockBegin() { MarkBlockCorner(ccMarkBlockBegin, true); }
void TCustomMemoSource::MarkBlockEnd() { MarkBlockCorner(ccMarkBlockEnd, false); }

void TCustomMemoSource::SelectAll() {
    TChangeBracket bracket(*this, ccSelectAll);
    if (blockOption_ == bkNone)
        return;
    SelectionCommandScope scope(selectionCommand_);
    const int32_t last = std::max(LineCount() - 1, 0);
    const TPosition end{last, LineLength(last)};
    ApplyCaretMove(end.LinePos - caret_.LinePos, end.CharPos - caret_.CharPos, true);
    selTopLeft_.Pos = {};
    selBottomRight_.Pos = end;
    selType_ = stStream;
}

void TCustomMemoSource::SelectLine() {
    TChangeBracket bracket(*this, ccSelectLine);
    SelectionCommandScope scope(selectionCommand_);
    const TSelectionType kind = FilterKind(stStream);
    if (kind == stNone)
        return;
    selTopLeft_.Pos = {caret_.LinePos, 0};
    selBottomRight_.Pos = {caret_.LinePos + 1, 0};
    selType_ = kind;
}

void TCustomMemoSource::SelectWord() {
    TChangeBracket bracket(*this, ccSelectWord);
    SelectionCommandScope scope(selectionCommand_);
    const std::string text = LineText(caret_.LinePos);
    const std::string word = WordAtCaret();
    if (word.empty())
        return;
    auto isWord = [&](int32_t i) {
        return i >= 0 && i < int32_t(text.size()) &&
               !IsDelimiter(static_cast<unsigned char>(text[size_t(i)]));
    };
    int32_t at = isWord(caret_.CharPos) ? caret_.CharPos : caret_.CharPos - 1;
    while (isWord(at - 1))
        --at;
    const TSelectionType kind = FilterKind(stStream);
    ApplyCaretMove(0, at + int32_t(word.size()) - caret_.CharPos, true);
    if (kind == stNone)
        return;
    selTopLeft_.Pos = {caret_.LinePos, at};
    selBottomRight_.Pos = caret_;
    selType_ = kind;
}

// ---- Typing ----------------------------------------------------------------------------

// A typed character or Enter replaces a selection of at least one line, unless blocks are
// persistent or another change is running around this command.
bool TCustomMemoSource::OverwriteBlocksApplies() const {
    if (!options_.Has(soOverwriteBlocks) || options_.Has(soPersistentBlocks) || changeDepth_ != 1)
        return false;
    if (selType_ == stNone)
        return false;
    const TPosition tl = selTopLeft_.Pos, br = selBottomRight_.Pos;
    if (selType_ == stStream)
        return br.LinePos > tl.LinePos || (br.LinePos == tl.LinePos && br.CharPos > tl.CharPos);
    return br.LinePos >= tl.LinePos && br.CharPos >= tl.CharPos;
}

void TCustomMemoSource::DropSelectionUnlessPersistent() {
    if (!options_.Has(soPersistentBlocks) && !options_.Has(soOverwriteBlocks))
        selType_ = stNone;
}

void TCustomMemoSource::TypeChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127)
        return;
    TChangeBracket bracket(*this, ccInsert);
    if (readOnly_ || LineReadOnly(caret_.LinePos))
        return;
    const TPosition savedTl = selTopLeft_.Pos, savedBr = selBottomRight_.Pos;
    if (OverwriteBlocksApplies())
        DeleteSelection();
    if (!InsertMode() && caret_.CharPos < CaretLineLength())
        DeleteChars(1);
    if (!InsertString(std::string_view(&c, 1)))
        return;
    ApplyCaretMove(0, 1, true);
    DropSelectionUnlessPersistent();
    if (options_.Has(soPersistentBlocks) && !InsertMode()) {
        selTopLeft_.Pos = savedTl;
        selBottomRight_.Pos = savedBr;
    }
}

// Whitespace that fills an indent on a new line.
std::string TCustomMemoSource::IndentFill(int32_t line, int32_t indent) const {
    if (indent <= 0)
        return {};
    if (options_.Has(soUseTabCharacter) && options_.Has(soUsePrevIndent)) {
        const std::string_view stored = StoredLine(line);
        const int64_t end = tabStops_.Locate(stored, indent).index;
        std::string fill(stored.substr(0, size_t(std::min<int64_t>(end, int64_t(stored.size())))));
        for (char& ch : fill)
            if (ch != '\t')
                ch = ' ';
        const int32_t width = tabStops_.ExpandedLength(fill);
        if (width < indent)
            fill.append(size_t(indent - width), ' ');
        return fill;
    }
    if (options_.Has(soUseTabCharacter) && options_.Has(soOptimalFill)) {
        std::string fill;
        int32_t column = 0;
        for (int32_t next = tabStops_.NextStop(column); next <= indent; next = tabStops_.NextStop(column)) {
            fill += '\t';
            column = next;
        }
        fill.append(size_t(indent - column), ' ');
        return fill;
    }
    return std::string(size_t(indent), ' ');
}

void TCustomMemoSource::NewLine() {
    TChangeBracket bracket(*this, ccNewLine);
    const bool autoIndent = options_.Has(soAutoIndent);
    if (!InsertMode()) {
        int32_t column = 0;
        if (autoIndent) {
            const bool lineHasText = FirstNonBlankColumn(caret_.LinePos) < CaretLineLength();
            column = lineHasText && caret_.CharPos <= FirstNonBlankColumn(caret_.LinePos)
                         ? caret_.CharPos
                         : FirstNonBlankColumn(caret_.LinePos + 1);
        }
        ApplyCaretMove(1, column - caret_.CharPos, true);
        return;
    }
    if (readOnly_ || LineReadOnly(caret_.LinePos))
        return;
    if (OverwriteBlocksApplies())
        DeleteSelection();
    const int32_t line = caret_.LinePos;
    if (line >= LineCount()) {
        ApplyCaretMove(1, -caret_.CharPos, true);
        return;
    }
    const int32_t firstNonBlank = FirstNonBlankColumn(line);
    const bool lineHasText = firstNonBlank < CaretLineLength();
    const int32_t caretColumn = caret_.CharPos;
    SplitLine();
    int32_t indent = 0;
    if (autoIndent) {
        if (lineHasText && caretColumn <= firstNonBlank) {
            indent = caretColumn;
        } else if (const int32_t above = store_.FindLineBefore(line + 1, TLineQuery::AnyText(), tabStops_);
                   above >= 0) {
            indent = FirstNonBlankColumn(above);
        }
    }
    ApplyCaretMove(1, -caret_.CharPos, true);
    if (indent > 0 && IsLineWritable(caret_.LinePos)) {
        InsertStored(IndentFill(line, indent), {});
        ApplyCaretMove(0, indent, true);
    }
}

// The last column before column on line where a word starts after a blank or at the line
// start; 0 when there is none. Expands only the part of the line before column.
int32_t TCustomMemoSource::LastWordStartBefore(int32_t line, int32_t column) const {
    const std::string_view stored = StoredLine(line);
    const int64_t end = std::min<int64_t>(tabStops_.Locate(stored, column).index + 1, int64_t(stored.size()));
    const std::string text = tabStops_.Expand(stored.substr(0, size_t(end)));
    int32_t target = 0;
    for (int32_t c = 0; c < column && c < int32_t(text.size()); ++c) {
        const bool startsWord = text[size_t(c)] != ' ' && (c == 0 || text[size_t(c - 1)] == ' ');
        if (startsWord)
            target = c;
    }
    return target;
}

void TCustomMemoSource::BackSpace() {
    TChangeBracket bracket(*this, ccBackSpace);
    if (readOnly_)
        return;
    if (OverwriteBlocksApplies()) {
        DeleteSelection();
        return;
    }
    const int32_t line = caret_.LinePos;
    const int32_t column = caret_.CharPos;
    if (line >= LineCount() || column > CaretLineLength()) {
        ApplyCaretMove(0, -1, true);
        return;
    }
    if (column == 0) {
        if (line > 0 && IsLineWritable(line) && IsLineWritable(line - 1)) {
            ApplyCaretMove(-1, LineLength(line - 1), true);
            JoinLines();
        }
        return;
    }
    if (!IsLineWritable(line))
        return;
    if (options_.Has(soBackUnindents) && column == FirstNonBlankColumn(line) && column < CaretLineLength()) {
        const int32_t above = store_.FindLineBefore(line, TLineQuery::TextBefore(column), tabStops_);
        const int32_t target = LastWordStartBefore(std::max(above, 0), column);
        ApplyCaretMove(0, target - column, true);
        ReplaceTabAt(line, target);
        const std::string_view stored = store_.Text(line);
        const int64_t from = tabStops_.Locate(stored, target).index;
        const int64_t to = tabStops_.Locate(stored, column).index;
        DeleteStored(int32_t(to - from), nullptr);
        return;
    }
    CaretLeft();
    DeleteChars(1);
}

void TCustomMemoSource::DeleteChar() {
    TChangeBracket bracket(*this, ccDeleteChars);
    if (readOnly_)
        return;
    if (OverwriteBlocksApplies()) {
        DeleteSelection();
        return;
    }
    if (caret_.CharPos >= CaretLineLength())
        JoinLines();
    else
        DeleteChars(1);
}

void TCustomMemoSource::DeleteLine() {
    TChangeBracket bracket(*this, ccDeleteLine);
    if (!IsLineWritable(caret_.LinePos))
        return;
    ApplyCaretMove(0, -caret_.CharPos, true);
    DeleteChars(int32_t(std::min<size_t>(store_.Text(caret_.LinePos).size(), INT32_MAX)));
    if (caret_.LinePos + 1 < LineCount())
        JoinLines();
}

void TCustomMemoSource::DeleteToLineEnd() {
    TChangeBracket bracket(*this, ccDeleteChars);
    if (IsLineWritable(caret_.LinePos))
        DeleteChars(int32_t(std::min<size_t>(store_.Text(caret_.LinePos).size(), INT32_MAX)));
}

void TCustomMemoSource::DeleteToLineStart() {
    TChangeBracket bracket(*this, ccDeleteToLineStart);
    const int32_t line = caret_.LinePos;
    if (!IsLineWritable(line) || caret_.CharPos == 0)
        return;
    const int32_t column = std::min(caret_.CharPos, CaretLineLength());
    ReplaceTabAt(line, column);
    const int64_t to = tabStops_.Locate(store_.Text(line), column).index;
    ApplyCaretMove(0, -caret_.CharPos, true);
    DeleteStored(int32_t(to), nullptr);
}

// Before the last non-blank character the word at the caret goes (a delimiter is a word of
// its own) with one blank after it, or the blanks up to the next word; at or past the end of
// the line's text the blanks after the caret go and the next line is joined.
void TCustomMemoSource::DeleteWordRight() {
    TChangeBracket bracket(*this, ccDeleteWordRight);
    const int32_t line = caret_.LinePos;
    if (!IsLineWritable(line))
        return;
    const SavedSelection saved = SaveSelection();
    const std::string text = LineText(line);
    const int32_t n = int32_t(text.size());
    const size_t lastNonBlank = text.find_last_not_of(' ');
    const int32_t column = caret_.CharPos;
    if (lastNonBlank != std::string::npos && column <= int32_t(lastNonBlank)) {
        auto delim = [&](int32_t i) { return IsDelimiter(static_cast<unsigned char>(text[size_t(i)])); };
        int32_t end = column;
        if (text[size_t(column)] == ' ') {
            while (text[size_t(end)] == ' ')
                ++end;
        } else {
            if (delim(column))
                ++end;
            else
                while (end < n && !delim(end))
                    ++end;
            if (end < n && text[size_t(end)] == ' ')
                ++end;
        }
        ReplaceTabAt(line, end);
        ReplaceTabAt(line, column);
        const std::string_view stored = store_.Text(line);
        DeleteStored(int32_t(tabStops_.Locate(stored, end).index - tabStops_.Locate(stored, column).index),
                     nullptr);
    } else if (line + 1 < LineCount()) {
        if (column < n)
            DeleteChars(int32_t(std::min<size_t>(store_.Text(line).size(), INT32_MAX)));
        JoinLines();
    }
    RestoreSelection(saved);
}

void TCustomMemoSource::DeleteWordLeft() {
    TChangeBracket bracket(*this, ccDeleteWordLeft);
    if (!IsLineWritable(caret_.LinePos))
        return;
    const SavedSelection saved = SaveSelection();
    const TPosition end = caret_;
    WordLeft();
    selTopLeft_.Pos = caret_;
    selBottomRight_.Pos = end;
    selType_ = stStream;
    DeleteSelection();
    RestoreSelection({saved.topLeft, saved.bottomRight, caret_, saved.type});
}

TCustomMemoSource::SavedSelection TCustomMemoSource::SaveSelection() const {
    return {selTopLeft_.Pos, selBottomRight_.Pos, caret_, selType_};
}

void TCustomMemoSource::RestoreSelection(const SavedSelection& s) {
    selTopLeft_.Pos = s.topLeft;
    selBottomRight_.Pos = s.bottomRight;
    selType_ = s.type;
}

// ---- Tab -------------------------------------------------------------------------------

// The column Tab moves to from column on line: plainStop, or with soSmartTab the indent or the
// next word start of the nearest earlier line longer than column.
int32_t TCustomMemoSource::TabTarget(int32_t line, int32_t column, int32_t plainStop) const {
    if (!options_.Has(soSmartTab))
        return plainStop;
    const int32_t above =
        store_.FindLineBefore(std::min(line, LineCount()), TLineQuery::LongerThan(column), tabStops_);
    if (above < 0)
        return plainStop;
    const int32_t indent = FirstNonBlankColumn(above);
    if (indent > column)
        return indent;
    return NextWordColumn(LineText(above), column);
}

// The first stop at or after column; column 0 is never a stop.
int32_t TCustomMemoSource::StopAtOrAfter(int32_t column) const {
    return column <= 0 ? tabStops_.NextStop(0) : tabStops_.NextStop(column - 1);
}

std::string TCustomMemoSource::TabString(int32_t fromColumn, int32_t toColumn) const {
    if (options_.Has(soUseTabCharacter))
        return "\t";
    return std::string(size_t(std::max(toColumn - fromColumn, 0)), ' ');
}

void TCustomMemoSource::TabKey() {
    TChangeBracket bracket(*this, ccTabKey);
    TUndoBlock block(*this);
    const bool multiLine = selType_ != stNone && selBottomRight_.Pos.LinePos > selTopLeft_.Pos.LinePos;
    if (multiLine) {
        const int32_t left = selType_ == stColumn ? selTopLeft_.Pos.CharPos : 0;
        const std::string tab =
            TabString(left, TabTarget(selTopLeft_.Pos.LinePos, left, tabStops_.NextStop(left)));
        TransformSelectedLines(ccTabKey, [&](std::string line) { return line.empty() ? line : tab + line; });
        return;
    }
    if (selType_ != stNone && IsLineWritable(caret_.LinePos))
        DeleteSelection();
    const int32_t target = TabTarget(caret_.LinePos, caret_.CharPos, tabStops_.NextStop(caret_.CharPos));
    if (!InsertMode() || readOnly_ || LineReadOnly(caret_.LinePos)) {
        ApplyCaretMove(0, target - caret_.CharPos, true);
    } else {
        const std::string tab = TabString(caret_.CharPos, target);
        if (InsertString(tab)) {
            // The caret stands at the inserted text, which starts a character after insertion.
            const std::string_view text = StoredLine(caret_.LinePos);
            const int64_t index = tabStops_.Locate(text, caret_.CharPos).index;
            const int32_t end = tabStops_.ColumnOf(text, index + int64_t(tab.size()));
            ApplyCaretMove(0, end - caret_.CharPos, true);
        }
    }
}

void TCustomMemoSource::BackTab() {
    TChangeBracket bracket(*this, ccTabKey);
    const bool multiLine = selType_ != stNone && selBottomRight_.Pos.LinePos > selTopLeft_.Pos.LinePos;
    if (multiLine) {
        const int32_t left = selType_ == stColumn ? selTopLeft_.Pos.CharPos : 0;
        const int32_t width = TabTarget(selTopLeft_.Pos.LinePos, left, StopAtOrAfter(left)) - left;
        TransformSelectedLines(ccTabKey, [&](std::string line) {
            int32_t n = 0;
            while (n < width && n < int32_t(line.size()) && line[size_t(n)] == ' ')
                ++n;
            return line.substr(size_t(n));
        });
        return;
    }
    ApplyCaretMove(0, tabStops_.PreviousStop(caret_.CharPos) - caret_.CharPos, true);
}

// ---- Bookmarks -------------------------------------------------------------------------

void TCustomMemoSource::ToggleBookmark(int32_t number) {
    const std::optional<TPosition> old = bookmarks_.Find(number);
    if (old && old->LinePos == caret_.LinePos)
        ClearBookmark(number);
    else
        SetBookmark(number);
}

void TCustomMemoSource::SetBookmark(int32_t number) {
    if (!TMemoBookMarkList::IsValidNumber(number))
        return;
    TChangeBracket bracket(*this, ccSetBookmark);
    if (const std::optional<TPosition> old = bookmarks_.Find(number))
        MarkChanged(old->LinePos, old->LinePos);
    bookmarks_.Set(number, caret_);
    MarkChanged(caret_.LinePos, caret_.LinePos);
    AddStates(msRepaint);
}

void TCustomMemoSource::ClearBookmark(int32_t number) {
    const std::optional<TPosition> old = bookmarks_.Find(number);
    if (!old)
        return;
    TChangeBracket bracket(*this, ccClearBookmark);
    bookmarks_.Remove(number);
    MarkChanged(old->LinePos, old->LinePos);
    AddStates(msRepaint);
}

void TCustomMemoSource::GotoBookmark(int32_t number) {
    const std::optional<TPosition> pos = bookmarks_.Find(number);
    if (!pos)
        return;
    TChangeBracket bracket(*this, ccCaretMove);
    bookmarkJump_ = true;
    ApplyCaretMove(pos->LinePos - caret_.LinePos, pos->CharPos - caret_.CharPos, true);
}

bool TCustomMemoSource::BookmarkPos(int32_t number, TPosition& pos) const {
    const std::optional<TPosition> found = bookmarks_.Find(number);
    if (found)
        pos = *found;
    return found.has_value();
}

}  // namespace tarnwick
