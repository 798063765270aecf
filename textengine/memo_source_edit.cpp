// The primitive edits: every text change of the buffer goes through these, and each records
// exactly what undo needs to restore the text byte for byte.
#include <algorithm>
#include <cassert>

#include "textengine/custom_memo_source.h"

namespace tarnwick {

namespace {

// Style bytes for inserted text: the given ones, else the style at the insertion point.
std::string StylesFor(const std::string& lineColours, size_t index, size_t count, std::string_view given) {
    if (given.size() == count)
        return std::string(given);
    char style = 0;
    if (index < lineColours.size())
        style = lineColours[index];
    else if (!lineColours.empty())
        style = lineColours.back();
    return std::string(count, style);
}

}  // namespace

// Typing far below the text or far past a line's end fills the gap with lines or spaces;
// a position from outside (a request, a bad number) must not fill gigabytes.
bool TCustomMemoSource::WithinFillLimits() const {
    constexpr int32_t kMaxFill = 1 << 24;
    return caret_.LinePos - LineCount() < kMaxFill && caret_.CharPos - LineLength(caret_.LinePos) < kMaxFill;
}

bool TCustomMemoSource::IsLineWritable(int32_t line) const {
    return !readOnly_ && line >= 0 && line < LineCount() && !store_.IsReadOnly(line);
}

void TCustomMemoSource::TextChangedAt(int32_t firstLine, int32_t lastLine) {
    states_ |= msTextChanged;
    MarkChanged(firstLine, lastLine);
}

void TCustomMemoSource::PutStoredLine(int32_t line, std::string text, std::string colours) {
    const bool keepColours = !colours.empty() && colours.size() == text.size();
    if (lengths_.IsBuilt()) {
        lengths_.Remove(tabStops_.ExpandedLength(store_.Text(line)));
        lengths_.Add(tabStops_.ExpandedLength(text));
    }
    store_.SetText(line, text);
    if (keepColours)
        store_.MutableColours(line) = std::move(colours);
    else if (!store_.Colours(line).empty())
        store_.MutableColours(line).clear();
}

void TCustomMemoSource::InsertIntoStoredLine(int32_t line, size_t at, std::string_view bytes,
                                             std::string_view styles) {
    if (bytes.empty())
        return;
    const size_t size = store_.TextLength(line);
    if (!store_.Colours(line).empty()) {
        std::string& colours = store_.MutableColours(line);
        if (colours.size() == size)
            colours.insert(at, StylesFor(colours, at, bytes.size(), styles));
        else
            colours.clear();
    }
    if (lengths_.IsBuilt())
        lengths_.Remove(LineLength(line));
    store_.InsertText(line, at, bytes);
    if (lengths_.IsBuilt())
        lengths_.Add(LineLength(line));
}

void TCustomMemoSource::EraseFromStoredLine(int32_t line, size_t at, size_t count) {
    if (count == 0)
        return;
    const size_t size = store_.TextLength(line);
    if (!store_.Colours(line).empty()) {
        std::string& colours = store_.MutableColours(line);
        if (colours.size() == size)
            colours.erase(at, count);
        else
            colours.clear();
    }
    if (lengths_.IsBuilt())
        lengths_.Remove(LineLength(line));
    store_.EraseText(line, at, count);
    if (lengths_.IsBuilt())
        lengths_.Add(LineLength(line));
}

void TCustomMemoSource::InsertStoredLine(int32_t line, std::string_view text) {
    if (lengths_.IsBuilt())
        lengths_.Add(tabStops_.ExpandedLength(text));
    store_.Insert(line, text);
}

void TCustomMemoSource::DeleteStoredLine(int32_t line) {
    if (lengths_.IsBuilt())
        lengths_.Remove(tabStops_.ExpandedLength(store_.Text(line)));
    store_.Delete(line);
}

// Appends empty lines until line exists, recorded as splits at the end of the last line so
// that undo removes them again.
void TCustomMemoSource::EnsureLineExists(int32_t line) {
    if (line < LineCount())
        return;
    if (LineCount() == 0) {
        InsertStoredLine(0, {});
        TextChangedAt(0, 0);
    }
    const int32_t missing = line - (LineCount() - 1);
    if (missing <= 0)
        return;
    const TPosition target = caret_;
    const int32_t last = LineCount() - 1;
    const TPosition end{last, LineLength(last)};
    TUndoBlock block(*this);
    Record(TUndoRecord::CaretMove(end.LinePos - target.LinePos, end.CharPos - target.CharPos));
    caret_ = end;
    for (int32_t i = 0; i < missing; ++i)
        SplitLine();
    Record(TUndoRecord::CaretMove(target.LinePos - end.LinePos, target.CharPos - end.CharPos));
    caret_ = target;
}

// Replaces the tab whose expansion holds column by spaces, recorded as delete and insert at
// the tab's start so that undo puts the tab character back.
void TCustomMemoSource::ReplaceTabAt(int32_t line, int32_t column) {
    if (line < 0 || line >= LineCount() || !store_.MayHoldTab(line))
        return;
    const std::string_view text = store_.Text(line);
    const TTabStops::Location at = tabStops_.Locate(text, column);
    if (!at.insideTab)
        return;
    const int32_t width = tabStops_.NextStop(at.startColumn) - at.startColumn;
    std::string colours = store_.Colours(line);
    std::string tabColour;
    if (size_t(at.index) < colours.size()) {
        tabColour = colours.substr(size_t(at.index), 1);
        colours.replace(size_t(at.index), 1, size_t(width), tabColour[0]);
    }
    std::string replaced(text);
    replaced.replace(size_t(at.index), 1, size_t(width), ' ');
    const TPosition saved = caret_;
    {
        TUndoBlock block(*this);
        Record(TUndoRecord::CaretMove(line - saved.LinePos, at.startColumn - saved.CharPos));
        Record(TUndoRecord::Deleted("\t", tabColour));
        Record(TUndoRecord::Inserted(width));
        Record(TUndoRecord::CaretMove(saved.LinePos - line, saved.CharPos - at.startColumn));
    }
    PutStoredLine(line, std::move(replaced), std::move(colours));
    TextChangedAt(line, line);
}

// Inserts stored text at the caret of an existing, writable line; pads with spaces when the
// caret stands beyond the line end.
void TCustomMemoSource::InsertStored(std::string_view s, std::string_view colours) {
    const int32_t line = caret_.LinePos;
    const int32_t column = caret_.CharPos;
    ReplaceTabAt(line, column);
    const int32_t length = LineLength(line);
    const int32_t padding = std::max(column - length, 0);
    const size_t index = padding > 0 ? store_.TextLength(line) : size_t(LocateColumn(line, column).index);
    std::string inserted(size_t(padding), ' ');
    inserted += s;
    if (inserted.empty())
        return;
    if (padding > 0)
        InsertIntoStoredLine(line, index, std::string_view(inserted).substr(0, size_t(padding)), {});
    InsertIntoStoredLine(line, index + size_t(padding), s, colours);
    const int32_t width = ColumnOfIndex(line, int64_t(index + inserted.size())) - column;
    if (padding == 0) {
        Record(TUndoRecord::Inserted(int32_t(inserted.size())));
    } else {
        TUndoBlock block(*this);
        Record(TUndoRecord::CaretMove(0, -padding));
        Record(TUndoRecord::Inserted(int32_t(inserted.size())));
        Record(TUndoRecord::CaretMove(0, padding));
    }
    AdjustForInsert(line, column, width);
    TextChangedAt(line, line);
}

bool TCustomMemoSource::InsertString(std::string_view s) {
    TChangeBracket bracket(*this, ccInsert);
    if (readOnly_ || !WithinFillLimits())
        return false;
    if (s.empty())
        return !LineReadOnly(caret_.LinePos);
    EnsureLineExists(caret_.LinePos);
    if (!IsLineWritable(caret_.LinePos))
        return false;
    InsertStored(s, {});
    return true;
}

// Deletes count stored characters at the caret and returns them (their styles in colours).
std::string TCustomMemoSource::DeleteStored(int32_t count, std::string* colours) {
    const int32_t line = caret_.LinePos;
    if (line >= LineCount())
        return {};
    const int32_t column = caret_.CharPos;
    ReplaceTabAt(line, column);
    const size_t size = store_.TextLength(line);
    const size_t index = size_t(LocateColumn(line, column).index);
    if (index >= size || count <= 0)
        return {};
    const size_t n = std::min(size_t(count), size - index);
    const int32_t width = ColumnOfIndex(line, int64_t(index + n)) - column;
    std::string deleted;
    store_.CopyText(line, index, n, deleted);
    const std::string& lineColours = store_.Colours(line);
    std::string deletedColours;
    if (lineColours.size() == size && !lineColours.empty())
        deletedColours = lineColours.substr(index, n);
    Record(TUndoRecord::Deleted(deleted, deletedColours));
    EraseFromStoredLine(line, index, n);
    AdjustForDelete(line, column, width);
    TextChangedAt(line, line);
    if (colours != nullptr)
        *colours = std::move(deletedColours);
    return deleted;
}

void TCustomMemoSource::DeleteChars(int32_t count) {
    TChangeBracket bracket(*this, ccDeleteChars);
    if (count <= 0 || !IsLineWritable(caret_.LinePos) || caret_.CharPos >= CaretLineLength())
        return;
    DeleteStored(count, nullptr);
}

void TCustomMemoSource::SplitLine() {
    TChangeBracket bracket(*this, ccSplitLine);
    const int32_t line = caret_.LinePos;
    if (!IsLineWritable(line))
        return;
    const int32_t length = CaretLineLength();
    const int32_t column = caret_.CharPos;
    if (column > length) {
        // Beyond the end: split at the line end, so undo joins without padding.
        const TPosition saved = caret_;
        TUndoBlock block(*this);
        Record(TUndoRecord::CaretMove(0, length - column));
        caret_.CharPos = length;
        SplitLine();
        Record(TUndoRecord::CaretMove(0, column - length));
        caret_ = saved;
        return;
    }
    ReplaceTabAt(line, column);
    const std::string_view text = store_.Text(line);
    const size_t index = size_t(tabStops_.Locate(text, column).index);
    std::string head(text.substr(0, index));
    std::string tail(text.substr(index));
    std::string colours = store_.Colours(line);
    std::string tailColours;
    if (colours.size() == text.size() && !colours.empty()) {
        tailColours = colours.substr(index);
        colours.resize(index);
    }
    const uint32_t endState = store_.EndState(line);
    Record(TUndoRecord::Split());
    PutStoredLine(line, std::move(head), std::move(colours));
    InsertStoredLine(line + 1, tail);
    store_.SetEndState(line + 1, endState);
    if (!tailColours.empty())
        store_.MutableColours(line + 1) = std::move(tailColours);
    AdjustForSplit(line, column);
    TextChangedAt(line, line + 1);
}

void TCustomMemoSource::JoinLines() {
    TChangeBracket bracket(*this, ccJoinLines);
    const int32_t line = caret_.LinePos;
    if (!IsLineWritable(line) || !IsLineWritable(line + 1) || caret_.CharPos < CaretLineLength() ||
        !WithinFillLimits())
        return;
    if (caret_.CharPos > CaretLineLength())
        InsertStored({}, {});  // pads up to the caret, recorded so undo removes the padding
    const int32_t column = caret_.CharPos;
    const std::string_view text = store_.Text(line);
    const std::string_view next = store_.Text(line + 1);
    std::string joined;
    joined.reserve(text.size() + next.size());
    joined.append(text).append(next);
    std::string colours;
    const std::string& c1 = store_.Colours(line);
    const std::string& c2 = store_.Colours(line + 1);
    if (c1.size() == text.size() && c2.size() == next.size() && !(c1.empty() && c2.empty()))
        colours = c1 + c2;
    const uint32_t endState = store_.EndState(line + 1);
    Record(TUndoRecord::Joined());
    PutStoredLine(line, std::move(joined), std::move(colours));
    store_.SetEndState(line, endState);
    DeleteStoredLine(line + 1);
    AdjustForJoin(line, column);
    TextChangedAt(line, line + 1);
}

void TCustomMemoSource::DeleteSelection() {
    TChangeBracket bracket(*this, ccDeleteChars);
    if (selType_ == stNone || readOnly_)
        return;
    const TPosition tl = selTopLeft_.Pos, br = selBottomRight_.Pos;
    const int32_t lastLine = std::min(br.LinePos, LineCount() - 1);
    for (int32_t l = tl.LinePos; l <= lastLine; ++l)
        if (store_.IsReadOnly(l))
            return;
    if (tl.LinePos >= LineCount()) {  // a kept selection below the text: nothing to delete
        SetCaret(tl.CharPos, tl.LinePos);
        selType_ = stNone;
        return;
    }
    if (selType_ == stColumn) {
        for (int32_t l = tl.LinePos; l <= lastLine; ++l) {
            SetCaret(tl.CharPos, l);
            const int32_t length = CaretLineLength();
            if (tl.CharPos < length) {
                ReplaceTabAt(l, std::min(br.CharPos + 1, length));
                ReplaceTabAt(l, tl.CharPos);
                const int64_t from = tabStops_.Locate(store_.Text(l), tl.CharPos).index;
                const int64_t to = tabStops_.Locate(store_.Text(l), br.CharPos + 1).index;
                DeleteStored(int32_t(std::min<int64_t>(to, int64_t(store_.Text(l).size())) - from), nullptr);
            }
        }
        SetCaret(tl.CharPos, tl.LinePos);
    } else {
        SetCaret(tl.CharPos, tl.LinePos);
        if (tl.LinePos == br.LinePos) {
            if (tl.CharPos < CaretLineLength()) {
                ReplaceTabAt(br.LinePos, br.CharPos);
                ReplaceTabAt(tl.LinePos, tl.CharPos);
                const std::string_view text = store_.Text(tl.LinePos);
                const int64_t from = tabStops_.Locate(text, tl.CharPos).index;
                const int64_t to =
                    std::min<int64_t>(tabStops_.Locate(text, br.CharPos).index, int64_t(text.size()));
                DeleteStored(int32_t(to - from), nullptr);
            }
        } else if (tl.LinePos < LineCount()) {
            DeleteStored(int32_t(store_.Text(tl.LinePos).size()), nullptr);
            for (int32_t l = tl.LinePos + 1; l <= lastLine; ++l) {
                if (l != br.LinePos) {
                    // A line wholly inside: join it, then delete what the join appended.
                    const size_t count = store_.Text(tl.LinePos + 1).size();
                    JoinLines();
                    DeleteStored(int32_t(std::min<size_t>(count, INT32_MAX)), nullptr);
                    continue;
                }
                // The last line: cut its head first, so joining keeps its remaining tabs at
                // the same stored indexes.
                ReplaceTabAt(tl.LinePos + 1, br.CharPos);
                const std::string_view text = store_.Text(tl.LinePos + 1);
                const int64_t count =
                    std::min<int64_t>(tabStops_.Locate(text, br.CharPos).index, int64_t(text.size()));
                const TPosition at = caret_;
                caret_ = {tl.LinePos + 1, 0};
                Record(TUndoRecord::CaretMove(1, -at.CharPos));
                DeleteStored(int32_t(count), nullptr);
                Record(TUndoRecord::CaretMove(-1, at.CharPos));
                caret_ = at;
                JoinLines();
            }
        }
    }
    selType_ = stNone;
}

// Inserts lines at the caret; the caret ends where it started.
TPosition TCustomMemoSource::InsertBlock(const std::vector<std::string>& lines, bool columnForm) {
    TChangeBracket bracket(*this, ccPaste);
    if (lines.empty() || readOnly_ || !WithinFillLimits())
        return caret_;
    const TPosition start = caret_;
    TPosition endOfBlock = caret_;
    if (columnForm) {
        for (size_t i = 0; i < lines.size(); ++i) {
            // The line first: the caret cannot go below the last line unless it exists.
            EnsureLineExists(start.LinePos + int32_t(i));
            SetCaret(start.CharPos, start.LinePos + int32_t(i));
            if (IsLineWritable(caret_.LinePos) && !lines[i].empty())
                InsertStored(lines[i], {});
        }
        const std::string_view last = store_.Text(caret_.LinePos);
        endOfBlock = {caret_.LinePos, tabStops_.ColumnOf(last, tabStops_.Locate(last, start.CharPos).index +
                                                                   int64_t(lines.back().size()))};
    } else {
        EnsureLineExists(start.LinePos);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!IsLineWritable(caret_.LinePos))
                break;
            if (!lines[i].empty())
                InsertStored(lines[i], {});
            const int32_t width =
                tabStops_.ColumnOf(store_.Text(caret_.LinePos),
                                   tabStops_.Locate(store_.Text(caret_.LinePos), caret_.CharPos).index +
                                       int64_t(lines[i].size())) -
                caret_.CharPos;
            if (i + 1 == lines.size()) {
                endOfBlock = {caret_.LinePos, caret_.CharPos + width};
                break;
            }
            Record(TUndoRecord::CaretMove(0, width));
            caret_.CharPos += width;
            SplitLine();
            Record(TUndoRecord::CaretMove(1, -caret_.CharPos));
            caret_ = {caret_.LinePos + 1, 0};
        }
    }
    const TPosition end = caret_;
    if (end != start) {
        Record(TUndoRecord::CaretMove(start.LinePos - end.LinePos, start.CharPos - end.CharPos));
        caret_ = start;
    }
    return endOfBlock;
}

}  // namespace tarnwick
