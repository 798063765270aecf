// Undo and redo: recording primitive changes, replaying them backwards, the undo limit and
// the save point that decides the modified flag.
#include <algorithm>

#include "textengine/custom_memo_source.h"

namespace tarnwick {

void TCustomMemoSource::Record(TUndoRecord record) {
    if (!allowUndo_)
        return;
    record.FirstOfChange = firstRecordMark_;
    firstRecordMark_ = false;
    record.ChangeCode = uint8_t(changeCode_);
    record.InBlock = undoBlock_ > 0;
    if (!recordingRedo_ && undoLimit_ > 0)
        TrimUndo();
    TUndoList& list = recordingRedo_ ? redoList_ : undoList_;
    // Consecutive caret moves of one change undo as one move: a replace-all writes three
    // records per match instead of five.
    if (record.Kind == ukCaretMove && !record.FirstOfChange && !list.Empty()) {
        TUndoRecord& last = list.Last();
        if (last.Kind == ukCaretMove && last.InBlock == record.InBlock &&
            last.ChangeCode == record.ChangeCode) {
            last.Value1 += record.Value1;
            last.Value2 += record.Value2;
            return;
        }
    }
    list.Add(std::move(record));
}

// Drops the oldest records, cutting only between two changes, once the list holds more than
// UndoLimit + 100 records.
void TCustomMemoSource::TrimUndo() {
    const int64_t count = int64_t(undoList_.Count());
    if (undoLimit_ <= 0 || count <= int64_t(undoLimit_) + 100)
        return;
    const TUndoList::Trimmed trimmed = undoList_.RemoveThroughCut(count - undoLimit_ - 1);
    if (trimmed.records == 0)
        return;
    savePoint_ -= trimmed.records;
    if (savePoint_ < 0) {
        // A saved text already out of reach stays so; otherwise real records that led away
        // from it are gone.
        savePoint_ = -1;
        saveModified_ = saveModified_ || trimmed.real;
    }
}

void TCustomMemoSource::SetUndoLimit(int32_t limit) {
    undoLimit_ = std::max(limit, 0);
    TrimUndo();
}

void TCustomMemoSource::SetAllowUndo(bool on) {
    allowUndo_ = on;
    if (!on)
        ClearUndo();
}

void TCustomMemoSource::ClearUndo() {
    undoList_.Clear();
    redoList_.Clear();
    savePoint_ = -1;
    saveModified_ = false;
}

void TCustomMemoSource::BeginUndoBlock() { ++undoBlock_; }

void TCustomMemoSource::EndUndoBlock() {
    if (undoBlock_ > 0 && --undoBlock_ == 0 && allowUndo_)
        Record(TUndoRecord::CaretMove(0, 0));  // outside the block: closes the group
}

void TCustomMemoSource::ApplyRecord(const TUndoRecord& r) {
    switch (r.Kind) {
        case ukCaretMove: {
            // Replayed exactly, lines and columns: the records before this one were written at
            // the positions the moves reached, so a move cut short at the last line (one that
            // went past it under soBeyondFileEnd) would make them undo at the wrong place,
            // leaving typed text behind or deleting other text.
            const TStringsOptions saved = options_;
            options_ = options_.With(soBeyondFileEnd).Without(soLimitEOL).Without(soCursorAlwaysOnTabs);
            MoveCaret(-r.Value1, -r.Value2);
            options_ = saved;
            break;
        }
        case ukInsert:
            DeleteChars(r.Value1);
            break;
        case ukSplitLine:
            JoinLines();
            break;
        case ukJoinLines:
            SplitLine();
            break;
        case ukDelete:
            if (IsLineWritable(caret_.LinePos))
                InsertStored(r.Text(), parser_ != nullptr ? r.Colours() : std::string_view());
            break;
        case ukColours:
            if (parser_ != nullptr && r.Value1 >= 0 && r.Value1 < LineCount()) {
                std::string& colours = store_.MutableColours(r.Value1);
                const size_t pos = std::min(size_t(std::max(r.Value2, 0)), colours.size());
                const size_t n = std::min(r.Colours().size(), colours.size() - pos);
                Record(TUndoRecord::ColoursChanged(r.Value1, r.Value2,
                                                   std::string_view(colours).substr(pos, n)));
                colours.replace(pos, n, r.Colours().substr(0, n));
                store_.SetUpToDate(r.Value1, false);
                AddStates(msRepaint);
                MarkChanged(r.Value1, r.Value1);
            }
            break;
    }
}

// One undo step from list; the inverse records go to the other list.
void TCustomMemoSource::RunUndo(TUndoList& list) {
    if (list.Empty() || readOnly_)
        return;
    const bool undoing = &list == &undoList_;
    recordingRedo_ = undoing;
    const TChangeCode code = TChangeCode(list.Last().ChangeCode);
    BeginChange(code);
    states_ |= msUndoRedo;
    const bool group = options_.Has(soGroupUndo);
    while (!list.Empty()) {
        if (list.Last().ChangeCode != code && !list.Last().InBlock)
            break;
        const TUndoRecord r = std::move(list.Last());  // the slot is cleared on removal
        ApplyRecord(r);
        if (undoing && int64_t(list.Count()) == savePoint_ + 1) {
            savePoint_ = -1;
            saveModified_ = true;
        }
        list.RemoveLast();
        // A command's records end at its first one; a block ends where the records before
        // it are outside any block, so two block commands in a row stay two steps.
        const bool startOfStep = !r.InBlock || list.Empty() || !list.Last().InBlock;
        if (r.FirstOfChange && startOfStep && !group)
            break;
    }
    selType_ = stNone;
    if (modified_)
        RecomputeModified();
    EndChange();
    recordingRedo_ = false;
}

void TCustomMemoSource::Undo() { RunUndo(undoList_); }

void TCustomMemoSource::Redo() { RunUndo(redoList_); }

void TCustomMemoSource::SetModified(bool modified) {
    TChangeBracket bracket(*this, ccSetModified);
    modified_ = modified;
    if (!modified) {
        savePoint_ = undoList_.NewestRealIndex();
        saveModified_ = false;
    }
}

void TCustomMemoSource::RecomputeModified() {
    modified_ = saveModified_ || undoList_.HasRealAbove(savePoint_);
}

}  // namespace tarnwick
