// The lines of one buffer. Loaded text stays in a few large blocks that the line index
// (TLineIndex) points into; a line that is edited gets a copy of its own, or, when it is long,
// a chain of chunks (TChunkedLine) that InsertText and EraseText change in place.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/chunked_line.h"
#include "textengine/line_block_index.h"
#include "textengine/line_index.h"
#include "textengine/long_line_parse.h"

namespace tarnwick {

class TByteStream;
class TTabStops;

// How loading turns bytes into lines.
struct TLoadRules {
    bool keepTabs = false;  // else each tab becomes spacesInTab spaces
    int32_t spacesInTab = 8;
    bool keepTrailingBlanks = false;  // else trailing spaces and tabs are dropped
    // The most a document holds, as positions are 32-bit numbers; beyond them loading stops
    // with ETextLimitError. Tests set small ones.
    size_t maxLineBytes = size_t(INT32_MAX);
    size_t maxLines = size_t(INT32_MAX) - 1;
};

class TInternalStrings {
public:
    TInternalStrings();
    // Loads into blocks of blockBytes (at most 64 MiB); small blocks let tests reach the
    // paths where lines meet block edges.
    explicit TInternalStrings(size_t blockBytes);
    // The chunk size of long lines stored from now on: a line of more than four chunks is
    // stored in chunks, one that shrinks to a chunk or less in one string again. Small chunks
    // let tests reach the chunk edges.
    void SetChunkBytes(size_t chunkBytes) { chunkBytes_ = std::max<size_t>(chunkBytes, 1); }
    ~TInternalStrings();
    TInternalStrings(const TInternalStrings&) = delete;
    TInternalStrings& operator=(const TInternalStrings&) = delete;

    int32_t Count() const { return index_.Count(); }
    // The stored line (tabs kept). Valid until this line or the store changes.
    std::string_view Text(int32_t line) const;
    // Readers of part of a line: its stored length, and its bytes from `from` on as far as
    // they lie in one piece of storage (empty at or past the end). Walking the pieces costs
    // what is read, where Text() may first have to assemble a long line.
    size_t TextLength(int32_t line) const;
    std::string_view TextPiece(int32_t line, size_t from) const;
    // Appends the line's bytes [from, from + count), clipped to the line, to out.
    void CopyText(int32_t line, size_t from, size_t count, std::string& out) const;
    void SetText(int32_t line, std::string_view text);
    // Edits of part of a line, at the cost of the change for a long line. at <= TextLength.
    void InsertText(int32_t line, size_t at, std::string_view bytes);
    void EraseText(int32_t line, size_t at, size_t count);
    // False when the line certainly holds no tab character (then stored index and expanded
    // column agree). Costs at most a short line's length.
    bool MayHoldTab(int32_t line) const;
    // How many blanks (spaces, tabs) the line starts with, read piece by piece.
    size_t LeadingBlankCount(int32_t line) const;
    // Inserts a line before index line (line == Count() appends).
    void Insert(int32_t line, std::string_view text);
    void Delete(int32_t line);
    void Clear();

    void Swap(TInternalStrings& other) noexcept;
    // Replaces everything with the lines of a stream; see TLoadRules. Throws EStreamError.
    void Load(TByteStream& stream, const TLoadRules& rules);

    // The bytes of lines first.. as they lie in a loaded block, each followed by lineEnd, up
    // to line last at most; count says how many lines the view covers (0 when line first was
    // edited). Lets saving write unedited text without copying it line by line.
    std::string_view LoadedRun(int32_t first, int32_t last, std::string_view lineEnd, bool stopAtReadOnly,
                               int32_t& count) const;

    // The nearest line before `before` that query describes, columns counted with tabStops;
    // -1 when there is none. Reads only runs of lines whose bounds admit it, so the cost does
    // not grow with the distance to that line in the common case.
    int32_t FindLineBefore(int32_t before, const TLineQuery& query, const TTabStops& tabStops) const;

    // Highlighting and decoration per line. End states and being up to date cost a line as
    // loaded no record of its own.
    uint32_t EndState(int32_t line) const { return index_.Get(line).endState; }
    void SetEndState(int32_t line, uint32_t state) { index_.SetEndState(line, state); }
    bool IsUpToDate(int32_t line) const { return index_.Get(line).text & kUpToDateBit; }
    void SetUpToDate(int32_t line, bool on) { index_.SetUpToDate(line, on); }
    bool IsReadOnly(int32_t line) const { return index_.Text(line) & kReadOnlyBit; }
    void SetReadOnly(int32_t line, bool on) { SetFlag(line, kReadOnlyBit, on); }
    // The highlighter's style byte per stored character; empty until the line is parsed.
    const std::string& Colours(int32_t line) const;
    std::string& MutableColours(int32_t line) { return MutableExtra(line).colours; }
    uint16_t GutterMarks(int32_t line) const;
    void SetGutterMarks(int32_t line, uint16_t marks) { MutableExtra(line).gutterMarks = marks; }
    uint8_t LineStyle(int32_t line) const;
    void SetLineStyle(int32_t line, uint8_t style) { MutableExtra(line).lineStyle = style; }
    intptr_t Object(int32_t line) const;
    void SetObject(int32_t line, intptr_t object) { MutableExtra(line).object = object; }
    // The kept parse of a long line that is highlighted piece by piece (null: none). Edits of
    // the line tell it what they changed; replacing the line's text drops it.
    TLongLineParse* LongLineParse(int32_t line) const;
    TLongLineParse& MutableLongLineParse(int32_t line);
    void DropLongLineParse(int32_t line);
    uint32_t HighlighterData(int32_t line, int index) const;
    void SetHighlighterData(int32_t line, int index, uint32_t value);

    // Every line not up to date, colour strings cleared (kept with keepColours), kept parses
    // dropped, highlighter data zeroed. O(lines).
    void ResetHighlighting(bool keepColours);

private:
    using LineRecord = TLineRecord;
    struct LineExtra {
        std::string colours;
        std::unique_ptr<TLongLineParse> longParse;
        intptr_t object = 0;
        uint32_t highlighterData[3] = {0, 0, 0};
        uint16_t gutterMarks = 0;
        uint8_t lineStyle = 0;
    };
    struct BlockDeleter {
        void operator()(char* p) const;
    };
    using Block = std::unique_ptr<char, BlockDeleter>;

    static constexpr uint64_t kOwnedBit = TLineRecord::kOwnedBit;
    static constexpr uint64_t kUpToDateBit = TLineRecord::kUpToDateBit;
    static constexpr uint64_t kReadOnlyBit = TLineRecord::kReadOnlyBit;
    static constexpr uint64_t kChunkedBit = TLineRecord::kChunkedBit;
    static constexpr uint64_t kFlagBits = TLineRecord::kFlagBits;
    static constexpr int kOffsetBits = TLineRecord::kOffsetBits;
    static constexpr int kLengthShift = TLineRecord::kLengthShift;
    static constexpr uint64_t kLocationMask = TLineRecord::kLocationMask;
    static constexpr uint64_t kOffsetMask = TLineRecord::kOffsetMask;
    static constexpr uint64_t kMaxBlockLength = TLineRecord::kMaxBlockLength;
    static constexpr size_t kBlockBytes = size_t(1) << kOffsetBits;
    static constexpr size_t kChunkBytes = size_t(1) << 14;

    void SetFlag(int32_t line, uint64_t flag, bool on) {
        if (bool(index_.Get(line).text & flag) != on) {
            uint64_t& text = index_.Mutable(line).text;
            text = on ? text | flag : text & ~flag;
        }
    }
    static Block OwnedCopy(std::string_view text);
    bool FitsOwned(size_t size) const;
    uint64_t NewOwned(std::string_view text);
    bool IsChunked(uint64_t text) const {
        return (text & (kOwnedBit | kChunkedBit)) == (kOwnedBit | kChunkedBit);
    }
    TChunkedLine& Chunked(uint64_t text) const { return *chunked_[text & kLocationMask]; }
    void ReleaseText(LineRecord& r);
    void ReplaceText(LineRecord& r, std::string_view text);
    TLineShape ShapeOf(int32_t line) const;
    void Release(LineRecord& r);
    LineExtra& MutableExtra(int32_t line);
    const LineExtra* FindExtra(int32_t line) const;

    void ReadBlocks(TByteStream& stream, const TLoadRules& rules);
    void SplitLines(size_t block, size_t from, size_t to, const TLoadRules& rules);
    // begin..rawEnd: the line's bytes before its line end of lineEndBytes, trailing blanks
    // included.
    void AppendRecord(uint64_t text, const TLineShape& shape, const TLoadRules& rules, const char* begin,
                      const char* rawEnd, int lineEndBytes);
    uint64_t RecordFor(size_t block, const char* begin, const char* end, const TLoadRules& rules,
                       bool mayHoldTab, TLineShape& shape);

    TLineIndex index_;
    size_t blockBytes_ = kBlockBytes;
    size_t chunkBytes_ = kChunkBytes;
    std::vector<Block> blocks_;
    std::vector<size_t> blockSizes_;
    // Which line ends each block holds (kEnds* bits).
    static constexpr uint8_t kEndsLf = 1, kEndsCrLf = 2, kEndsCr = 4;
    std::vector<uint8_t> blockLineEnds_;
    std::vector<Block> owned_;
    std::vector<uint32_t> freeOwned_;
    std::vector<std::unique_ptr<TChunkedLine>> chunked_;
    std::vector<uint32_t> freeChunked_;
    std::vector<LineExtra> extras_;
    std::vector<uint32_t> freeExtras_;
    // Searches tighten its bounds and move its cursor; what it answers stays the same.
    mutable TLineBlockIndex blockIndex_;
};

}  // namespace tarnwick
