// The records of a buffer's lines, kept in pages of consecutive lines. A page of lines as they
// were loaded keeps two bytes a line, where each line ends, and makes a line's record when it
// is asked for; the first change to one of its lines gives the page records of its own. So a
// file just loaded costs little more than its text, and the lines that edits and the
// highlighter touch cost a record each, as before.
//
// The pages sit in an array with a gap after the page whose line count changed last: a page
// before the gap knows its first line, one after it how many lines there are from its first
// to the end, so inserting and deleting lines touches only the pages between the place and
// the previous one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace tarnwick {

// One line. text: bit 63 set = the line owns its text, bits 0..35 index it (with bit 60 also
// set, as a chunked line); else bits 0..35 locate the line in the loaded blocks
// (block << kOffsetBits | offset). Bits 36..59 hold the length of any line but a chunked one.
// Bits 62 and 61 are the up-to-date and read-only flags.
struct TLineRecord {
    static constexpr uint64_t kOwnedBit = uint64_t(1) << 63;
    static constexpr uint64_t kUpToDateBit = uint64_t(1) << 62;
    static constexpr uint64_t kReadOnlyBit = uint64_t(1) << 61;
    static constexpr uint64_t kChunkedBit = uint64_t(1) << 60;
    static constexpr uint64_t kFlagBits = kOwnedBit | kUpToDateBit | kReadOnlyBit | kChunkedBit;
    static constexpr int kOffsetBits = 26;  // blocks of at most 64 MiB
    static constexpr int kLengthShift = 36;
    static constexpr uint64_t kLocationMask = (uint64_t(1) << kLengthShift) - 1;
    static constexpr uint64_t kOffsetMask = (uint64_t(1) << kOffsetBits) - 1;
    static constexpr uint64_t kMaxBlockLength = (uint64_t(1) << 24) - 1;

    static uint64_t Loaded(size_t block, size_t offset, size_t length) {
        return (uint64_t(block) << kOffsetBits | offset) | uint64_t(length) << kLengthShift;
    }

    uint64_t text = 0;
    uint32_t endState = 0;
    uint32_t extra = 0;  // 1-based index of the line's extras, 0 = none
};

class TLineIndex {
public:
    // Lines a loaded page holds at most; a page of records splits in two above twice this.
    static constexpr uint32_t kPageLines = 256;

    TLineIndex() = default;
    ~TLineIndex() { Clear(); }
    TLineIndex(const TLineIndex&) = delete;
    TLineIndex& operator=(const TLineIndex&) = delete;

    int32_t Count() const { return int32_t(lines_); }
    // Lines are mostly read in order and near each other, so the page found last is tried
    // first, inline; these run several times for each line an edit or a search touches.
    TLineRecord Get(int32_t line) const {
        uint32_t inPage;
        const Page& page = Locate(line, inPage);
        return Read(page, inPage);
    }
    // The record's text alone (without the up-to-date flag of a loaded line), for readers of
    // the text, which then leave the end states out of the cache.
    uint64_t Text(int32_t line) const {
        uint32_t inPage;
        const Page& page = Locate(line, inPage);
        return ReadText(page, inPage);
    }
    // The line's record to change; its page gets records of its own first.
    TLineRecord& Mutable(int32_t line) {
        const uint64_t inPage = uint64_t(int64_t(line) - cursorFirst_);
        if (inPage < cursorCount_ && cursorPage_->capacity != 0)
            return Records(*cursorPage_)[inPage];
        return MutableSlow(line);
    }
    // What the highlighter keeps per line, set without making records.
    void SetEndState(int32_t line, uint32_t state);
    void SetUpToDate(int32_t line, bool on);
    void ClearUpToDate();
    // Inserts before index line (line == Count() appends).
    void Insert(int32_t line, const TLineRecord& record);
    TLineRecord Remove(int32_t line);

    // Loading appends lines in order: one that lies in a loaded block with its line end of
    // lineEndBytes (0: none) right after it, or any other record.
    void AppendLoaded(size_t block, size_t offset, size_t length, int lineEndBytes);
    void Append(const TLineRecord& record);

    void Clear();
    void Swap(TLineIndex& other) noexcept;

private:
    struct Page {
        uint32_t count;
        uint32_t capacity;   // records a page of records has room for; 0 for a loaded page
        uint64_t firstText;  // loaded page: the text of an empty line where its first line starts
        // loaded page: uint16_t ends[kPageLines], relative to firstText; with highlighting
        // then uint32_t endStates[kPageLines] and kPageLines bits of being up to date
        void* data;
        int32_t key;           // before the gap its first line, after it the lines from there on
        uint8_t lineEndBytes;  // loaded page: the line end after each of its lines but the last
        bool highlighted;      // loaded page: holds end states and up-to-date bits
    };
    static constexpr size_t kEndsBytes = kPageLines * sizeof(uint16_t);
    static constexpr size_t kHighlightedBytes = kEndsBytes + kPageLines * sizeof(uint32_t) + kPageLines / 8;

    static TLineRecord* Records(const Page& page) { return static_cast<TLineRecord*>(page.data); }
    static uint16_t* Ends(const Page& page) { return static_cast<uint16_t*>(page.data); }
    static uint32_t* EndStates(const Page& page) {
        return reinterpret_cast<uint32_t*>(static_cast<char*>(page.data) + kEndsBytes);
    }
    static uint8_t* UpToDateBits(const Page& page) {
        return static_cast<uint8_t*>(page.data) + kEndsBytes + kPageLines * sizeof(uint32_t);
    }
    static uint64_t ReadText(const Page& page, uint32_t inPage) {
        if (page.capacity != 0)
            return Records(page)[inPage].text;
        const uint16_t* ends = Ends(page);
        const uint32_t start = inPage == 0 ? 0 : uint32_t(ends[inPage - 1]) + page.lineEndBytes;
        return page.firstText + start + (uint64_t(ends[inPage] - start) << TLineRecord::kLengthShift);
    }
    static TLineRecord Read(const Page& page, uint32_t inPage) {
        if (page.capacity != 0)
            return Records(page)[inPage];
        TLineRecord r;
        r.text = ReadText(page, inPage);
        if (page.highlighted) {
            r.endState = EndStates(page)[inPage];
            if (UpToDateBits(page)[inPage / 8] >> (inPage % 8) & 1)
                r.text |= TLineRecord::kUpToDateBit;
        }
        return r;
    }
    TLineRecord& MutableSlow(int32_t line);
    // The page of line, and where in it; a loaded one gets room for highlighting.
    Page& HighlightedPage(int32_t line, uint32_t& inPage);

    size_t PageCount() const { return size_ - GapLength(); }
    size_t GapLength() const { return gapEnd_ - gapBegin_; }
    Page& At(size_t p) { return pages_[p < gapBegin_ ? p : p + GapLength()]; }
    const Page& At(size_t p) const { return pages_[p < gapBegin_ ? p : p + GapLength()]; }
    int64_t First(size_t p) const { return p < gapBegin_ ? At(p).key : int64_t(lines_) - At(p).key; }
    const Page& Locate(int32_t line, uint32_t& inPage) const {
        const uint64_t in = uint64_t(int64_t(line) - cursorFirst_);
        if (in < cursorCount_) {
            inPage = uint32_t(in);
            return *cursorPage_;
        }
        return At(PageOf(line, inPage));
    }
    // The page holding line (< Count()), and where in it; it becomes the cursor.
    size_t PageOf(int32_t line, uint32_t& inPage) const;
    size_t SetCursor(size_t p) const;
    // Whenever pages move or change their line counts.
    void ForgetCursor() { cursorCount_ = 0; }
    void MakeRecords(Page& page);
    void Reserve(Page& page, uint32_t records);
    void MoveGapTo(size_t p);
    void EnsureGap();
    // Adds an empty page at the end; the gap must be there.
    Page& AppendPage(uint32_t capacity);
    void SplitLastBeforeGap();

    Page* pages_ = nullptr;
    size_t size_ = 0;  // slots, gap included
    size_t gapBegin_ = 0;
    size_t gapEnd_ = 0;
    size_t lines_ = 0;
    int lastLineEndBytes_ = 0;  // loading: the line end after the last line appended
    // The page found last: its index, where it is and its lines.
    mutable size_t cursor_ = 0;
    mutable const Page* cursorPage_ = nullptr;
    mutable int64_t cursorFirst_ = 0;
    mutable uint64_t cursorCount_ = 0;
};

}  // namespace tarnwick
