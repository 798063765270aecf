// Properties, the change bracket, views, positions, caret movement and selection.
#include <algorithm>
#include <cassert>

#include "textengine/custom_memo_source.h"
#include "textengine/external_strings.h"
#include "textengine/memo_source_options.h"

namespace tarnwick {

namespace {

// Insert (true) or overwrite (false), one flag for every buffer of the process.
bool gInsertMode = true;

}  // namespace

TMemoSourceOptions& TMemoSourceOptions::Shared() {
    static TMemoSourceOptions options;
    return options;
}

void TMemoSourceOptions::Changed() {
    for (TCustomMemoSource* b : buffers_)
        if (b->UseGlobalOptions())
            b->SetUseGlobalOptions(true);
}

TCustomMemoSource::TCustomMemoSource() : lines_(std::make_unique<TExternalStrings>(*this)) {
    tabStops_.Parse(tabStopsText_);
    SetDelimeters("");
    selTopLeft_.MovesAtInsertPoint = true;
    TMemoSourceOptions::Shared().buffers_.push_back(this);
}

TCustomMemoSource::~TCustomMemoSource() {
    std::erase(TMemoSourceOptions::Shared().buffers_, this);
    if (parser_ != nullptr)
        parser_->Unsubscribe(this);
}

// ---- Properties ------------------------------------------------------------------------

void TCustomMemoSource::SetOptions(TStringsOptions options) {
    const TStringsOptions old = options_;
    if (options.Has(soUseTabCharacter) && !old.Has(soUseTabCharacter))
        options = options.Without(soSmartTab);
    else if (options.Has(soSmartTab) && !old.Has(soSmartTab) && old.Has(soUseTabCharacter))
        options = options.Without(soUseTabCharacter);
    else if (options.Has(soSmartTab) && options.Has(soUseTabCharacter))
        options = options.Without(soSmartTab);
    options_ = options;
    if (old.Has(soBeyondFileEnd) && !options.Has(soBeyondFileEnd) && caret_.LinePos >= LineCount() &&
        caret_.LinePos > 0) {
        TChangeBracket bracket(*this, ccCaretMove);
        const int32_t last = std::max(LineCount() - 1, 0);
        caret_ = {last, LineLength(last)};
    }
}

void TCustomMemoSource::SetSyntaxParser(TSimpleParser* parser) {
    if (parser == parser_)
        return;
    if (parser_ != nullptr)
        parser_->Unsubscribe(this);
    parser_ = parser;
    if (parser_ != nullptr)
        parser_->Subscribe(this);
    TChangeBracket bracket(*this, ccNone);
    ResetHighlighting();
}

// A highlighter whose styles changed may cut the lines differently (a new scheme), so what was
// parsed with the old rules is parsed again as the lines are asked for.
void TCustomMemoSource::ParserStylesChanged(TSimpleParser&) {
    TChangeBracket bracket(*this, ccNone);
    AddStates(msRepaint);
    MarkChanged(0, std::max(LineCount() - 1, 0));
    ResetHighlighting();
}

void TCustomMemoSource::ParserDestroyed(TSimpleParser& parser) {
    if (&parser != parser_)
        return;
    parser_ = nullptr;
    TChangeBracket bracket(*this, ccNone);
    ResetHighlighting();
}

void TCustomMemoSource::SetTabStops(const std::string& stops) {
    TTabStops parsed;
    parsed.Parse(stops);  // throws before anything changes
    tabStops_ = parsed;
    tabStopsText_ = stops;
    lengths_.Reset();
    if (options_.Has(soUseTabCharacter)) {
        TChangeBracket bracket(*this, ccNone);
        MarkChanged(0, std::max(LineCount() - 1, 0));
        AddStates(msRepaint);
        ResetHighlighting();
    }
}

void TCustomMemoSource::SetDelimeters(const std::string& extra) {
    delimiters_ = extra;
    std::fill(std::begin(delimiterSet_), std::end(delimiterSet_), false);
    for (int c = 0; c <= 32; ++c)
        delimiterSet_[c] = true;
    for (unsigned char c : extra)
        delimiterSet_[c] = true;
}

void TCustomMemoSource::SetReadOnly(bool on) {
    if (on == readOnly_)
        return;
    TChangeBracket bracket(*this, ccReadOnly);
    readOnly_ = on;
    AddStates(msReadOnly);
}

void TCustomMemoSource::SetBlockOption(TBlockOption option) {
    TChangeBracket bracket(*this, ccSelectionKind);
    blockOption_ = option;
    if (selType_ == stNone)
        return;
    if (option == bkNone)
        selType_ = stNone;
    else if (option == bkBlockSel && selType_ == stStream)
        selType_ = stColumn;
    else if (option == bkStreamSel && selType_ == stColumn)
        selType_ = stStream;
    NormaliseSelection();
}

void TCustomMemoSource::SetUseGlobalOptions(bool on) {
    useGlobalOptions_ = on;
    if (!on)
        return;
    const TMemoSourceOptions& shared = TMemoSourceOptions::Shared();
    SetOptions(shared.Options);
    SetTabStops(shared.TabStops);
    SetDelimeters(shared.Delimeters);
    SetBlockIndent(shared.BlockIndent);
}

bool TCustomMemoSource::KeepTrailingBlanks() const {
    return useGlobalOptions_ && TMemoSourceOptions::Shared().KeepTrailingBlanks;
}

// ---- Text access -----------------------------------------------------------------------

std::string_view TCustomMemoSource::StoredLine(int32_t line) const {
    if (line < 0 || line >= LineCount())
        return {};
    return store_.Text(line);
}

std::string TCustomMemoSource::LineText(int32_t line) const { return tabStops_.Expand(StoredLine(line)); }

int32_t TCustomMemoSource::LineLength(int32_t line) const {
    if (line < 0 || line >= LineCount())
        return 0;
    if (!store_.MayHoldTab(line))
        return int32_t(std::min<size_t>(store_.TextLength(line), INT32_MAX));
    return tabStops_.ExpandedLength(store_.Text(line));
}

bool TCustomMemoSource::LineMayHoldTab(int32_t line) const {
    return line >= 0 && line < LineCount() && store_.MayHoldTab(line);
}

TTabStops::Location TCustomMemoSource::LocateColumn(int32_t line, int32_t column) const {
    if (!LineMayHoldTab(line))
        return {std::max(column, 0), std::max(column, 0), false};
    return tabStops_.Locate(store_.Text(line), column);
}

int32_t TCustomMemoSource::ColumnOfIndex(int32_t line, int64_t index) const {
    if (!LineMayHoldTab(line))
        return int32_t(std::min<int64_t>(index, INT32_MAX));
    return tabStops_.ColumnOf(store_.Text(line), index);
}

int32_t TCustomMemoSource::LongestLineLength() {
    if (!lengths_.IsBuilt()) {
        lengths_.Reset();
        for (int32_t i = 0; i < LineCount(); ++i)
            lengths_.Add(LineLength(i));
        lengths_.MarkBuilt();
    }
    return lengths_.Longest();
}

std::string TCustomMemoSource::Text() const {
    std::string text;
    for (int32_t i = 0; i < LineCount(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += store_.Text(i);
    }
    return text;
}

// ---- Change bracket and views ----------------------------------------------------------

void TCustomMemoSource::BeginChange(TChangeCode code) {
    if (changeDepth_++ > 0)
        return;
    states_ = 0;
    oldLineCount_ = LineCount();
    oldFoundRect_ = foundRect_;
    foundRect_ = TFoundRect{};
    changedFirst_ = kNoFirstLine;
    changedLast_ = kNoLastLine;
    firstRecordMark_ = true;
    changeCode_ = code;
    oldModified_ = modified_;
    prevSelTopLeft_ = selTopLeft_.Pos;
    prevSelBottomRight_ = selBottomRight_.Pos;
    prevSelType_ = selType_;
    prevCaret_ = caret_;
    bookmarkJump_ = false;
}

void TCustomMemoSource::BeginSafeChange(TChangeCode code) {
    BeginChange(code);
    if (changeDepth_ == 1) {
        safeChange_ = true;
        safeCaret_.Pos = caret_;
    }
}

void TCustomMemoSource::MarkChanged(int32_t firstLine, int32_t lastLine) {
    changedFirst_ = std::min(changedFirst_, firstLine);
    changedLast_ = std::max(changedLast_, lastLine);
}

void TCustomMemoSource::EndChange() {
    assert(changeDepth_ > 0 && "EndChange without BeginChange");
    if (--changeDepth_ > 0)
        return;
    if (safeChange_) {
        safeChange_ = false;
        caret_ = safeCaret_.Pos;
    }
    // However the caret got there, it never rests on a hidden line.
    if (!folds_.Empty() && folds_.Show(caret_.LinePos, caret_.LinePos))
        states_ |= msHiddenLines;
    if (caret_ != prevCaret_ || bookmarkJump_) {
        states_ |= msCaretMoved;
        MarkChanged(std::min(caret_.LinePos, prevCaret_.LinePos),
                    std::max(caret_.LinePos, prevCaret_.LinePos));
    }
    if (selType_ != stNone) {
        const TPosition tl = selTopLeft_.Pos, br = selBottomRight_.Pos;
        const bool empty = selType_ == stStream ? (br.LinePos < tl.LinePos ||
                                                   (br.LinePos == tl.LinePos && tl.CharPos >= br.CharPos))
                                                : (br.LinePos < tl.LinePos || br.CharPos < tl.CharPos);
        if (empty)
            selType_ = stNone;
    }
    if ((states_ & (msCaretMoved | msTextChanged)) && !(states_ & msUndoRedo))
        redoList_.Clear();
    if (selType_ != stNone && selType_ == prevSelType_ && selTopLeft_.Pos == prevSelTopLeft_ &&
        selBottomRight_.Pos == prevSelBottomRight_ && (states_ & msCaretMoved) &&
        !options_.Has(soPersistentBlocks) && selectionCommand_ == 0)
        selType_ = stNone;
    const bool selectionChanged =
        selType_ != prevSelType_ || (selType_ != stNone && (selTopLeft_.Pos != prevSelTopLeft_ ||
                                                            selBottomRight_.Pos != prevSelBottomRight_));
    if (selectionChanged) {
        states_ |= msRepaint;
        if (prevSelType_ != stNone)
            MarkChanged(prevSelTopLeft_.LinePos, prevSelBottomRight_.LinePos);
        if (selType_ != stNone)
            MarkChanged(selTopLeft_.Pos.LinePos, selBottomRight_.Pos.LinePos);
    }
    if (foundRect_ != oldFoundRect_) {
        states_ |= msFound;
        if (!oldFoundRect_.IsEmpty())
            MarkChanged(oldFoundRect_.LinePos, oldFoundRect_.LinePos);
        if (!foundRect_.IsEmpty())
            MarkChanged(foundRect_.LinePos, foundRect_.LinePos);
    }
    if (LineCount() != oldLineCount_)
        states_ |= msLineCount;
    if (states_ & msTextChanged) {
        if (states_ & msUndoRedo)
            RecomputeModified();
        else
            modified_ = true;
        if (changedFirst_ != kNoFirstLine)
            parsedUpTo_ = std::clamp(changedFirst_, 0, parsedUpTo_);
    }
    if (states_ & msHighlightReset)
        parsedUpTo_ = 0;
    if (modified_ != oldModified_)
        states_ |= msModified;
    if (states_ == 0)
        return;
    // Copy: a handler may add or remove views.
    const std::vector<ViewEntry> views = views_;
    for (const ViewEntry& v : views)
        v.handler(*this, changedFirst_, changedLast_);
}

void TCustomMemoSource::AddView(TMemoChangeHandler handler, const void* owner, bool initial) {
    TChangeBracket bracket(*this, ccAddView);
    views_.push_back({std::move(handler), owner});
    if (initial) {
        AddStates(msFullUpdate);
        MarkChanged(0, std::max(LineCount() - 1, 0));
    }
}

void TCustomMemoSource::RemoveView(const void* owner) {
    std::erase_if(views_, [owner](const ViewEntry& v) { return v.owner == owner; });
}

// ---- Positions -------------------------------------------------------------------------

void TCustomMemoSource::AddPosition(TMemoPosition* position) {
    if (std::find(positions_.begin(), positions_.end(), position) == positions_.end())
        positions_.push_back(position);
}

void TCustomMemoSource::RemovePosition(TMemoPosition* position) { std::erase(positions_, position); }

template <class F>
void TCustomMemoSource::ForEachPosition(F&& f) {
    f(selTopLeft_);
    f(selBottomRight_);
    if (safeChange_)
        f(safeCaret_);
    for (TMemoPosition* p : positions_)
        f(*p);
}

void TCustomMemoSource::AdjustPosition(TMemoPosition& p, TPosition proposed) {
    proposed.LinePos = std::max(proposed.LinePos, 0);
    proposed.CharPos = std::max(proposed.CharPos, 0);
    if (proposed == p.Pos)
        return;
    bool allowLine = true, allowChar = true;
    if (p.OnChange)
        p.OnChange(p, proposed, allowLine, allowChar);
    if (allowLine)
        p.Pos.LinePos = proposed.LinePos;
    if (allowChar)
        p.Pos.CharPos = proposed.CharPos;
}

void TCustomMemoSource::AdjustForInsert(int32_t line, int32_t column, int32_t count) {
    ForEachPosition([&](TMemoPosition& p) {
        if (p.Pos.LinePos == line &&
            (p.Pos.CharPos > column || (p.MovesAtInsertPoint && p.Pos.CharPos == column)))
            AdjustPosition(p, {line, p.Pos.CharPos + count});
    });
    bookmarks_.CharsInserted(line, column, count);
    AdjustFolds(line, line, line, 0);
}

void TCustomMemoSource::AdjustForDelete(int32_t line, int32_t column, int32_t count) {
    ForEachPosition([&](TMemoPosition& p) {
        if (p.Pos.LinePos == line && p.Pos.CharPos > column)
            AdjustPosition(p, {line, std::max(column, p.Pos.CharPos - count)});
    });
    bookmarks_.CharsDeleted(line, column, count);
    AdjustFolds(line, line, line, 0);
}

void TCustomMemoSource::AdjustForSplit(int32_t line, int32_t column) {
    ForEachPosition([&](TMemoPosition& p) {
        if (p.Pos.LinePos > line)
            AdjustPosition(p, {p.Pos.LinePos + 1, p.Pos.CharPos});
        else if (p.Pos.LinePos == line &&
                 (p.Pos.CharPos > column || (p.MovesAtInsertPoint && p.Pos.CharPos == column)))
            AdjustPosition(p, {line + 1, p.Pos.CharPos - column});
    });
    bookmarks_.LineSplit(line, column);
    AdjustFolds(line, line + 1, line + 1, 1);
}

void TCustomMemoSource::AdjustForJoin(int32_t line, int32_t column) {
    ForEachPosition([&](TMemoPosition& p) {
        if (p.Pos.LinePos == line + 1)
            AdjustPosition(p, {line, p.Pos.CharPos + column});
        else if (p.Pos.LinePos > line + 1)
            AdjustPosition(p, {p.Pos.LinePos - 1, p.Pos.CharPos});
        else if (p.Pos.LinePos == line && p.Pos.CharPos > column)
            AdjustPosition(p, {line, column});
    });
    bookmarks_.LinesJoined(line, column);
    AdjustFolds(line, line + 1, line + 2, -1);
}

void TCustomMemoSource::AdjustForLineInsert(int32_t line) {
    ForEachPosition([&](TMemoPosition& p) {
        if (p.Pos.LinePos >= line)
            AdjustPosition(p, {p.Pos.LinePos + 1, p.Pos.CharPos});
    });
    bookmarks_.LineInserted(line);
    AdjustFolds(line, line, line, 1);
}

void TCustomMemoSource::AdjustForLineDelete(int32_t line) {
    ForEachPosition([&](TMemoPosition& p) {
        if (p.Pos.LinePos > line)
            AdjustPosition(p, {p.Pos.LinePos - 1, p.Pos.CharPos});
        else if (p.Pos.LinePos == line)
            AdjustPosition(p, {line, 0});
    });
    bookmarks_.LineDeleted(line);
    AdjustFolds(line, line + 1, line + 1, -1);
}

// ---- Hidden lines ----------------------------------------------------------------------

void TCustomMemoSource::FoldLines(int32_t header, int32_t last) { FoldLines({TLineRange{header, last}}); }

// A caret in a new fold goes to its header, or the fold would open again at once.
void TCustomMemoSource::FoldLines(const std::vector<TLineRange>& ranges) {
    TChangeBracket bracket(*this, ccNone);
    for (const TLineRange& range : ranges) {
        const int32_t header = range.First, last = std::min(range.Last, LineCount() - 1);
        if (header < 0 || last <= header)
            continue;
        if (caret_.LinePos > header && caret_.LinePos <= last)
            ApplyCaretMove(int64_t(header) - caret_.LinePos, 0, true);
        if (folds_.Fold(header, last))
            states_ |= msHiddenLines;
    }
}

void TCustomMemoSource::UnfoldLines(int32_t first, int32_t last) {
    TChangeBracket bracket(*this, ccNone);
    if (folds_.Show(first, last))
        states_ |= msHiddenLines;
}

void TCustomMemoSource::UnfoldAll() {
    TChangeBracket bracket(*this, ccNone);
    if (!folds_.Empty())
        states_ |= msHiddenLines;
    folds_.Clear();
}

// Lines [first, last] are edited; lines from shiftFrom on move by delta afterwards.
void TCustomMemoSource::AdjustFolds(int32_t first, int32_t last, int32_t shiftFrom, int32_t delta) {
    if (folds_.Empty())
        return;
    if (folds_.Show(first, last))
        states_ |= msHiddenLines;
    folds_.Shift(shiftFrom, delta);
}

// ---- Caret -----------------------------------------------------------------------------

// Removes the trailing blanks of the line the caret leaves. The removal is recorded for undo
// (at the blanks, then back to the caret): later undo steps find the line as they left it.
void TCustomMemoSource::StripTrailingBlanks(int32_t line) {
    if (line < 0 || line >= LineCount() || KeepTrailingBlanks() || !IsLineWritable(line))
        return;
    const std::string_view text = store_.Text(line);
    size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    if (end == text.size())
        return;
    const TPosition saved = caret_;
    const int32_t keptColumn = tabStops_.ColumnOf(text, int64_t(end));
    TUndoBlock block(*this);
    Record(TUndoRecord::CaretMove(line - saved.LinePos, keptColumn - saved.CharPos));
    caret_ = {line, keptColumn};
    DeleteStored(int32_t(std::min<size_t>(text.size() - end, INT32_MAX)), nullptr);
    Record(TUndoRecord::CaretMove(saved.LinePos - line, saved.CharPos - keptColumn));
    caret_ = saved;
}

void TCustomMemoSource::ApplyCaretMove(int64_t dLine, int64_t dChar, bool record) {
    // In 64 bits: a move by any delta must not overflow.
    const auto clamped = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, 0, kMaxPosition)); };
    TPosition target{clamped(int64_t(caret_.LinePos) + dLine), clamped(int64_t(caret_.CharPos) + dChar)};
    if (!options_.Has(soBeyondFileEnd))
        target.LinePos = std::min(target.LinePos, std::max(LineCount() - 1, 0));
    if (options_.Has(soLimitEOL))
        target.CharPos = std::min(target.CharPos, LineLength(target.LinePos));
    if (options_.Has(soCursorAlwaysOnTabs)) {
        const TTabStops::Location at = LocateColumn(target.LinePos, target.CharPos);
        if (at.insideTab)
            target.CharPos = dChar < 0 ? at.startColumn : tabStops_.NextStop(at.startColumn);
    }
    if (target == caret_)
        return;
    // Undo and redo put back an earlier state; trimming there would change text the step
    // never touched and make the step irreversible.
    if (target.LinePos != caret_.LinePos && !(states_ & msUndoRedo))
        StripTrailingBlanks(caret_.LinePos);
    if (record)
        Record(TUndoRecord::CaretMove(target.LinePos - caret_.LinePos, target.CharPos - caret_.CharPos));
    caret_ = target;
}

void TCustomMemoSource::MoveCaret(int32_t dLine, int32_t dChar) {
    TChangeBracket bracket(*this, ccCaretMove);
    ApplyCaretMove(dLine, dChar, true);
}

void TCustomMemoSource::SetCaret(int32_t charPos, int32_t linePos) {
    TChangeBracket bracket(*this, ccCaretMove);
    ApplyCaretMove(int64_t(linePos) - caret_.LinePos, int64_t(charPos) - caret_.CharPos, true);
}

// ---- Selection -------------------------------------------------------------------------

TSelectionType TCustomMemoSource::FilterKind(TSelectionType kind) {
    switch (blockOption_) {
        case bkNone:
            kind = stNone;
            break;
        case bkStreamSel:
            kind = kind == stNone ? stNone : stStream;
            break;
        case bkBlockSel:
            kind = kind == stNone ? stNone : stColumn;
            break;
        case bkBoth:
            break;
    }
    if (OnGetSelectionType)
        OnGetSelectionType(*this, kind);
    return kind;
}

void TCustomMemoSource::NormaliseSelection() {
    TPosition& tl = selTopLeft_.Pos;
    TPosition& br = selBottomRight_.Pos;
    if (selType_ == stColumn) {
        if (br.LinePos < tl.LinePos)
            std::swap(tl.LinePos, br.LinePos);
        if (br.CharPos < tl.CharPos)
            std::swap(tl.CharPos, br.CharPos);
    } else if (br < tl) {
        std::swap(tl, br);
    }
}

void TCustomMemoSource::ExtendSelection(TSelectionType kind, const std::function<void()>& move) {
    TChangeBracket bracket(*this, ccExtendSelection);
    ++selectionCommand_;
    kind = FilterKind(kind);
    const TPosition old = caret_;
    TPosition& tl = selTopLeft_.Pos;
    TPosition& br = selBottomRight_.Pos;
    const bool onCorner = selType_ == stStream ? (old == tl || old == br)
                          : selType_ == stColumn
                              ? ((old.LinePos == tl.LinePos || old.LinePos == br.LinePos) &&
                                 (old.CharPos == tl.CharPos || old.CharPos == br.CharPos))
                              : false;
    move();
    if (onCorner && selType_ == stStream) {
        (old == tl ? tl : br) = caret_;
    } else if (onCorner) {
        (old.LinePos == tl.LinePos ? tl.LinePos : br.LinePos) = caret_.LinePos;
        (old.CharPos == tl.CharPos ? tl.CharPos : br.CharPos) = caret_.CharPos;
    } else {
        tl = old;
        br = caret_;
        if (kind == stColumn) {
            tl = {std::min(old.LinePos, caret_.LinePos), std::min(old.CharPos, caret_.CharPos)};
            br = {std::max(old.LinePos, caret_.LinePos), std::max(old.CharPos, caret_.CharPos)};
        }
    }
    selType_ = kind;
    NormaliseSelection();
    --selectionCommand_;
}

void TCustomMemoSource::SetSelection(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    TChangeBracket bracket(*this, ccSetSelection);
    ++selectionCommand_;
    const auto clamped = [](int32_t v) { return std::clamp(v, 0, kMaxPosition); };
    selTopLeft_.Pos = {clamped(top), clamped(left)};
    selBottomRight_.Pos = {clamped(bottom), clamped(right)};
    --selectionCommand_;
}

void TCustomMemoSource::SetSelectionKind(TSelectionType kind) {
    TChangeBracket bracket(*this, ccSelectionKind);
    ++selectionCommand_;
    selType_ = FilterKind(kind);
    NormaliseSelection();
    --selectionCommand_;
}

std::vector<std::string> TCustomMemoSource::SelectionLines() const {
    std::vector<std::string> out;
    if (selType_ == stNone)
        return out;
    for (int32_t line = selTopLeft_.Pos.LinePos; line <= selBottomRight_.Pos.LinePos; ++line)
        out.push_back(SelectionLine(line));
    return out;
}

std::string TCustomMemoSource::SelectionLine(int32_t line) const {
    const TPosition tl = selTopLeft_.Pos, br = selBottomRight_.Pos;
    if (selType_ == stNone || line < tl.LinePos || line > br.LinePos)
        return {};
    // A line without tabs is its own expansion: only the part taken is copied.
    std::string expanded;
    const std::string_view text = LineMayHoldTab(line) ? (expanded = LineText(line)) : StoredLine(line);
    // [from, to), padded with spaces; padding stops a bounded way past the line end, so
    // a selection from a bad position cannot fill memory.
    auto slice = [&](int32_t from, int32_t to) {
        constexpr int32_t kMaxPadding = 1 << 16;
        to = std::min(to, std::max(from, int32_t(text.size())) + kMaxPadding);
        std::string s = from < int32_t(text.size())
                            ? std::string(text.substr(size_t(from), size_t(std::max(to - from, 0))))
                            : std::string();
        if (int32_t(s.size()) < to - from)
            s.append(size_t(to - from) - s.size(), ' ');
        return s;
    };
    if (selType_ == stColumn)
        return slice(tl.CharPos, br.CharPos + 1);
    if (tl.LinePos == br.LinePos)
        return slice(tl.CharPos, br.CharPos);
    if (line == tl.LinePos)
        return tl.CharPos < int32_t(text.size()) ? std::string(text.substr(size_t(tl.CharPos)))
                                                 : std::string();
    if (line == br.LinePos)
        return std::string(text.substr(0, size_t(std::min<int32_t>(br.CharPos, int32_t(text.size())))));
    return std::string(text);
}

// ---- Words and line decoration ---------------------------------------------------------

std::string TCustomMemoSource::WordAt(int32_t charPos, int32_t linePos) const {
    const std::string text = LineText(linePos);
    const int32_t n = int32_t(text.size());
    auto isWord = [&](int32_t i) {
        return i >= 0 && i < n && !IsDelimiter(static_cast<unsigned char>(text[size_t(i)]));
    };
    int32_t at = charPos;
    if (!isWord(at)) {
        if (!isWord(at - 1))
            return {};
        --at;
    }
    int32_t begin = at, end = at;
    while (isWord(begin - 1))
        --begin;
    while (isWord(end))
        ++end;
    return text.substr(size_t(begin), size_t(end - begin));
}

std::string TCustomMemoSource::WordAtCaret() const { return WordAt(caret_.CharPos, caret_.LinePos); }

void TCustomMemoSource::SetLineMark(int32_t line, int image, bool on) {
    if (line < 0 || line >= LineCount() || image < 0 || image > 15)
        return;
    TChangeBracket bracket(*this, ccLineMark);
    const uint16_t marks = store_.GutterMarks(line);
    const uint16_t bit = uint16_t(1u << image);
    store_.SetGutterMarks(line, on ? marks | bit : marks & ~bit);
    AddStates(msRepaint);
    MarkChanged(line, line);
}

bool TCustomMemoSource::LineMarked(int32_t line, int image) const {
    if (line < 0 || line >= LineCount() || image < 0 || image > 15)
        return false;
    return (store_.GutterMarks(line) >> image) & 1u;
}

void TCustomMemoSource::SetLineStyle(int32_t line, uint8_t style) {
    if (line < 0 || line >= LineCount())
        return;
    TChangeBracket bracket(*this, ccLineStyle);
    store_.SetLineStyle(line, style);
    AddStates(msRepaint);
    MarkChanged(line, line);
}

uint8_t TCustomMemoSource::LineStyle(int32_t line) const {
    return line < 0 || line >= LineCount() ? 0 : store_.LineStyle(line);
}

bool TCustomMemoSource::LineReadOnly(int32_t line) const {
    return line >= 0 && line < LineCount() && store_.IsReadOnly(line);
}

void TCustomMemoSource::SetLineReadOnly(int32_t line, bool on) {
    if (line >= 0 && line < LineCount())
        store_.SetReadOnly(line, on);
}

// ---- Insert and overwrite --------------------------------------------------------------

bool TCustomMemoSource::InsertMode() { return gInsertMode; }

void TCustomMemoSource::SetInsertModeFlag(bool insert) {
    TChangeBracket bracket(*this, ccInsertMode);
    if (gInsertMode == insert)
        return;
    gInsertMode = insert;
    AddStates(msInsertMode);
}

void TCustomMemoSource::SetInsertMode() { SetInsertModeFlag(true); }
void TCustomMemoSource::SetOverwriteMode() { SetInsertModeFlag(false); }
void TCustomMemoSource::ToggleInsertMode() { SetInsertModeFlag(!gInsertMode); }

}  // namespace tarnwick
