// The undo (and redo) records of a buffer. Each primitive change of the buffer writes one
// record; undoing a record replays its inverse, which the buffer records into the other list.
#pragma once

#include <cstdint>
#include <string>

#include "record_list.h"

namespace tarnwick {

enum TUndoKind : uint8_t {
    ukCaretMove = 0,  // Value1: line delta, Value2: column delta
    ukInsert = 1,     // Value1: characters inserted
    ukSplitLine = 2,
    ukJoinLines = 3,
    ukDelete = 4,   // Text: the deleted stored text, Colours: its style bytes
    ukColours = 5,  // Value1: line, Value2: position, Colours: the replaced segment
};

struct TUndoRecord {
    static TUndoRecord Make(TUndoKind kind, int32_t value1, int32_t value2) {
        TUndoRecord r;
        r.Kind = kind;
        r.Value1 = value1;
        r.Value2 = value2;
        return r;
    }
    TUndoKind Kind = ukCaretMove;
    bool FirstOfChange = false;
    uint8_t ChangeCode = 0;
    bool InBlock = false;
    int32_t Value1 = 0;
    int32_t Value2 = 0;
    std::string Text;
    std::string Colours;

    static TUndoRecord CaretMove(int32_t dLine, int32_t dChar) { return Make(ukCaretMove, dLine, dChar); }
    static TUndoRecord Inserted(int32_t count) { return Make(ukInsert, count, 0); }
    static TUndoRecord Split() { return Make(ukSplitLine, 0, 0); }
    static TUndoRecord Joined() { return Make(ukJoinLines, 0, 0); }
    static TUndoRecord Deleted(std::string text, std::string colours) {
        TUndoRecord r = Make(ukDelete, 0, 0);
        r.Text = std::move(text);
        r.Colours = std::move(colours);
        return r;
    }
    static TUndoRecord ColoursChanged(int32_t line, int32_t position, std::string old) {
        TUndoRecord r = Make(ukColours, line, position);
        r.Colours = std::move(old);
        return r;
    }

    // Caret moves and colour changes do not change the text the user saves.
    bool IsReal() const { return Kind != ukCaretMove && Kind != ukColours; }
};

class TUndoList : public TRecordList<TUndoRecord> {
public:
    // Index of the newest real record, or -1.
    int64_t NewestRealIndex() const {
        for (size_t i = Count(); i-- > 0;)
            if ((*this)[i].IsReal())
                return int64_t(i);
        return -1;
    }
    // True when a real record lies above index savePoint (newest first, so usually at once).
    bool HasRealAbove(int64_t savePoint) const {
        for (size_t i = Count(); i-- > 0 && int64_t(i) > savePoint;)
            if ((*this)[i].IsReal())
                return true;
        return false;
    }
};

}  // namespace tarnwick
