// The undo (and redo) records of a buffer. Each primitive change of the buffer writes one
// record; undoing a record replays its inverse, which the buffer records into the other list.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "textengine/record_list.h"

namespace tarnwick {

enum TUndoKind : uint8_t {
    ukCaretMove = 0,  // Value1: line delta, Value2: column delta
    ukInsert = 1,     // Value1: characters inserted
    ukSplitLine = 2,
    ukJoinLines = 3,
    ukDelete = 4,   // Text: the deleted stored text, Colours: its style bytes
    ukColours = 5,  // Value1: line, Value2: position, Colours: the replaced segment
};

// The text and colours a record keeps, in one allocation: [text size][colours size][text]
// [colours], nothing at all when both are empty. Keeps a record at 24 bytes, where two
// strings would make it 80, so a replace-all of millions of matches stays small.
class TUndoBytes {
public:
    TUndoBytes() = default;
    TUndoBytes(std::string_view text, std::string_view colours) {
        if (text.empty() && colours.empty())
            return;
        data_ = static_cast<char*>(std::malloc(kHeader + text.size() + colours.size()));
        if (data_ == nullptr)
            throw std::bad_alloc();
        const uint32_t sizes[2] = {uint32_t(text.size()), uint32_t(colours.size())};
        std::memcpy(data_, sizes, kHeader);
        std::memcpy(data_ + kHeader, text.data(), text.size());
        std::memcpy(data_ + kHeader + text.size(), colours.data(), colours.size());
    }
    TUndoBytes(const TUndoBytes& other) : TUndoBytes(other.Text(), other.Colours()) {}
    TUndoBytes(TUndoBytes&& other) noexcept : data_(std::exchange(other.data_, nullptr)) {}
    TUndoBytes& operator=(TUndoBytes other) noexcept {
        std::swap(data_, other.data_);
        return *this;
    }
    ~TUndoBytes() { std::free(data_); }

    std::string_view Text() const {
        return data_ ? std::string_view(data_ + kHeader, Size(0)) : std::string_view();
    }
    std::string_view Colours() const {
        return data_ ? std::string_view(data_ + kHeader + Size(0), Size(1)) : std::string_view();
    }

private:
    static constexpr size_t kHeader = 2 * sizeof(uint32_t);
    uint32_t Size(int which) const {
        uint32_t size;
        std::memcpy(&size, data_ + which * sizeof(uint32_t), sizeof size);
        return size;
    }

    char* data_ = nullptr;
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
    TUndoBytes Bytes;

    std::string_view Text() const { return Bytes.Text(); }
    std::string_view Colours() const { return Bytes.Colours(); }

    static TUndoRecord CaretMove(int32_t dLine, int32_t dChar) { return Make(ukCaretMove, dLine, dChar); }
    static TUndoRecord Inserted(int32_t count) { return Make(ukInsert, count, 0); }
    static TUndoRecord Split() { return Make(ukSplitLine, 0, 0); }
    static TUndoRecord Joined() { return Make(ukJoinLines, 0, 0); }
    static TUndoRecord Deleted(std::string_view text, std::string_view colours) {
        TUndoRecord r = Make(ukDelete, 0, 0);
        r.Bytes = TUndoBytes(text, colours);
        return r;
    }
    static TUndoRecord ColoursChanged(int32_t line, int32_t position, std::string_view old) {
        TUndoRecord r = Make(ukColours, line, position);
        r.Bytes = TUndoBytes({}, old);
        return r;
    }

    // Caret moves and colour changes do not change the text the user saves.
    bool IsReal() const { return Kind != ukCaretMove && Kind != ukColours; }
};

static_assert(sizeof(TUndoRecord) <= 24, "undo records of a replace-all add up");

// The records' kinds and flags never change once added (only a caret move's deltas may grow),
// which the search for the place to trim relies on.
class TUndoList : private TRecordList<TUndoRecord> {
    using Base = TRecordList<TUndoRecord>;

public:
    using Base::Capacity;
    using Base::Count;
    using Base::Empty;
    using Base::Last;
    const TUndoRecord& operator[](size_t i) const { return Base::operator[](i); }

    void Add(TUndoRecord r) { Base::Add(std::move(r)); }
    void RemoveLast() {
        Base::RemoveLast();
        // A cut after the new last record depends on the record that comes next. Index 0 is
        // never a cut, so the count of known indexes stays at least 0 however short the list.
        checkedCuts_ = std::max<int64_t>(0, std::min<int64_t>(checkedCuts_, int64_t(Count()) - 2));
    }
    void Clear() {
        Base::Clear();
        checkedCuts_ = 0;
    }

    struct Trimmed {
        int64_t records = 0;
        bool real = false;  // a real record was among them
    };
    // Removes the oldest records up to the newest place at or below index `from`, and above 0,
    // where the list may be cut: a record not in a block whose next record is the first of its
    // change. Nothing when there is no such place. Indexes 1..checkedCuts_ are known to be no
    // such place, so each index is looked at once however often the list is trimmed: O(1) per
    // record added, plus the records removed.
    Trimmed RemoveThroughCut(int64_t from) {
        from = std::min(from, int64_t(Count()) - 2);
        int64_t cut = from;
        while (cut > checkedCuts_ &&
               ((*this)[size_t(cut)].InBlock || !(*this)[size_t(cut + 1)].FirstOfChange))
            --cut;
        if (cut <= checkedCuts_) {
            checkedCuts_ = std::max(checkedCuts_, from);
            return {};
        }
        Trimmed trimmed{cut + 1, false};
        for (int64_t i = 0; i <= cut && !trimmed.real; ++i)
            trimmed.real = (*this)[size_t(i)].IsReal();
        Base::RemoveFirst(size_t(cut + 1));
        checkedCuts_ = std::max<int64_t>(0, from - (cut + 1));  // (cut, from] held no place to cut
        return trimmed;
    }

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

private:
    int64_t checkedCuts_ = 0;
};

}  // namespace tarnwick
