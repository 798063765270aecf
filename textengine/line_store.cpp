#include "textengine/line_store.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "textengine/byte_stream.h"
#include "textengine/tab_stops.h"

namespace tarnwick {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const std::string kEmpty;

[[noreturn]] void LineTooLong(size_t line, const TLoadRules& rules) {
    throw ETextLimitError("Line " + std::to_string(line + 1) + " is longer than " +
                          std::to_string(rules.maxLineBytes) + " characters, the most a line can hold.");
}

// How many blanks [begin, end) starts with, sixteen bytes at a time: the bytes up to readable
// may be read.
size_t LeadingBlanks(const char* begin, const char* end, const char* readable) {
    const char* p = begin;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    for (; p < end && p + 16 <= readable; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(bytes, space), _mm_cmpeq_epi8(bytes, tab));
        const unsigned others = ~unsigned(_mm_movemask_epi8(blank)) & 0xFFFFu;
        if (others != 0)
            return std::min(size_t(end - begin), size_t(p - begin) + size_t(__builtin_ctz(others)));
    }
    p = std::min(p, end);
#endif
    while (p < end && IsBlank(*p))
        ++p;
    return size_t(p - begin);
}

}  // namespace

void TInternalStrings::BlockDeleter::operator()(char* p) const { std::free(p); }

TInternalStrings::TInternalStrings() = default;
TInternalStrings::TInternalStrings(size_t blockBytes)
    : blockBytes_(std::clamp<size_t>(blockBytes, 2, kBlockBytes)) {}
TInternalStrings::~TInternalStrings() = default;

std::string_view TInternalStrings::Text(int32_t line) const {
    const uint64_t t = index_.Text(line);
    const uint64_t location = t & kLocationMask;
    if (IsChunked(t))
        return Chunked(t).Flat();
    const size_t length = size_t((t & ~kFlagBits) >> kLengthShift);
    if (t & kOwnedBit) {
        // An empty line owns no bytes, yet its view points somewhere, as callers copy from it.
        const char* bytes = owned_[location].get();
        return {bytes != nullptr ? bytes : "", length};
    }
    const char* base = blocks_[location >> kOffsetBits].get();
    return {base + (location & kOffsetMask), length};
}

size_t TInternalStrings::TextLength(int32_t line) const {
    const uint64_t t = index_.Text(line);
    return IsChunked(t) ? Chunked(t).Size() : Text(line).size();
}

std::string_view TInternalStrings::TextPiece(int32_t line, size_t from) const {
    const uint64_t t = index_.Text(line);
    if (IsChunked(t))
        return Chunked(t).Piece(from);
    const std::string_view text = Text(line);
    return from < text.size() ? text.substr(from) : std::string_view();
}

void TInternalStrings::CopyText(int32_t line, size_t from, size_t count, std::string& out) const {
    const size_t length = TextLength(line);
    if (from >= length)
        return;
    count = std::min(count, length - from);
    while (count > 0) {
        const std::string_view piece = TextPiece(line, from);
        const size_t take = std::min(count, piece.size());
        out.append(piece.data(), take);
        from += take;
        count -= take;
    }
}

std::string_view TInternalStrings::LoadedRun(int32_t first, int32_t last, std::string_view lineEnd,
                                             bool stopAtReadOnly, int32_t& count) const {
    count = 0;
    if (first > last || (index_.Text(first) & kOwnedBit))
        return {};
    const uint64_t location = index_.Text(first) & kLocationMask;
    const size_t block = size_t(location >> kOffsetBits);
    const char* base = blocks_[block].get();
    const size_t blockSize = blockSizes_[block];
    const size_t start = size_t(location & kOffsetMask);
    // A block whose lines all end alike needs few looks at its bytes: a record that starts
    // where the previous line and its line end stopped proves the line end between them.
    // Only the run's last line has no successor to prove it, so its line end is checked.
    const uint8_t wanted = lineEnd == "\n" ? kEndsLf : lineEnd == "\r\n" ? kEndsCrLf : kEndsCr;
    const bool checkBytes = blockLineEnds_[block] != wanted;
    auto endsWithLineEnd = [&](size_t at) {
        return at + lineEnd.size() <= blockSize && base[at] == lineEnd[0] &&
               (lineEnd.size() < 2 || base[at + 1] == lineEnd[1]);
    };
    const uint64_t stopBits = kOwnedBit | (stopAtReadOnly ? kReadOnlyBit : 0);
    size_t pos = start;
    size_t lastLineEnd = 0;
    int32_t line = first;
    for (; line <= last; ++line) {
        const uint64_t t = index_.Text(line);
        const uint64_t at = t & kLocationMask;
        if ((t & stopBits) || (at >> kOffsetBits) != block || (at & kOffsetMask) != pos)
            break;
        const size_t length = size_t((t & ~kFlagBits) >> kLengthShift);
        if (pos + length + lineEnd.size() > blockSize || (checkBytes && !endsWithLineEnd(pos + length)))
            break;
        lastLineEnd = pos + length;
        pos += length + lineEnd.size();
    }
    count = line - first;
    if (count > 0 && !checkBytes && !endsWithLineEnd(lastLineEnd)) {
        --count;
        pos = lastLineEnd - (size_t((index_.Text(first + count) & ~kFlagBits) >> kLengthShift));
    }
    return {base + start, pos - start};
}

// An owned line's bytes in an allocation of just their size; its length is in the record.
TInternalStrings::Block TInternalStrings::OwnedCopy(std::string_view text) {
    if (text.empty())
        return Block();
    char* bytes = static_cast<char*>(std::malloc(text.size()));
    if (bytes == nullptr)
        throw std::bad_alloc();
    std::memcpy(bytes, text.data(), text.size());
    return Block(bytes);
}

bool TInternalStrings::FitsOwned(size_t size) const {
    return size <= 4 * chunkBytes_ && size <= kMaxBlockLength;
}

uint64_t TInternalStrings::NewOwned(std::string_view text) {
    uint64_t index;
    if (!FitsOwned(text.size())) {
        auto line = std::make_unique<TChunkedLine>(text, chunkBytes_);
        if (!freeChunked_.empty()) {
            index = freeChunked_.back();
            freeChunked_.pop_back();
            chunked_[index] = std::move(line);
        } else {
            index = chunked_.size();
            chunked_.push_back(std::move(line));
        }
        return kOwnedBit | kChunkedBit | index;
    }
    if (!freeOwned_.empty()) {
        index = freeOwned_.back();
        freeOwned_.pop_back();
        owned_[index] = OwnedCopy(text);
    } else {
        index = owned_.size();
        owned_.push_back(OwnedCopy(text));
    }
    return kOwnedBit | index | uint64_t(text.size()) << kLengthShift;
}

void TInternalStrings::ReleaseText(LineRecord& r) {
    const uint64_t index = r.text & kLocationMask;
    if (IsChunked(r.text)) {
        chunked_[index].reset();
        freeChunked_.push_back(uint32_t(index));
    } else if (r.text & kOwnedBit) {
        owned_[index].reset();
        freeOwned_.push_back(uint32_t(index));
    }
    r.text &= kUpToDateBit | kReadOnlyBit;
}

// Gives the record text of its own, keeping its flags. text may be the line's own bytes, so
// they are copied before the old ones go.
void TInternalStrings::ReplaceText(LineRecord& r, std::string_view text) {
    const uint64_t flags = r.text & (kUpToDateBit | kReadOnlyBit);
    if ((r.text & kOwnedBit) && !IsChunked(r.text) && FitsOwned(text.size())) {
        owned_[r.text & kLocationMask] = OwnedCopy(text);
        r.text = (r.text & (kFlagBits | kLocationMask)) | uint64_t(text.size()) << kLengthShift;
        return;
    }
    const uint64_t fresh = NewOwned(text);
    ReleaseText(r);
    r.text = fresh | flags;
}

TLineShape TInternalStrings::ShapeOf(int32_t line) const {
    const uint64_t t = index_.Text(line);
    if (!IsChunked(t))
        return TLineShape::Of(Text(line));
    const TChunkedLine& chunked = Chunked(t);
    const size_t blanks = LeadingBlankCount(line);
    TLineShape shape;
    shape.length = int32_t(std::min<size_t>(chunked.Size(), INT32_MAX));
    if (blanks < chunked.Size())
        shape.indent = int32_t(std::min<size_t>(blanks, INT32_MAX - 1));
    shape.tabs = chunked.HasTab();
    return shape;
}

size_t TInternalStrings::LeadingBlankCount(int32_t line) const {
    size_t blanks = 0;
    for (std::string_view piece = TextPiece(line, 0); !piece.empty(); piece = TextPiece(line, blanks)) {
        const size_t at = piece.find_first_not_of(" \t");
        blanks += at == std::string_view::npos ? piece.size() : at;
        if (at != std::string_view::npos)
            break;
    }
    return blanks;
}

bool TInternalStrings::MayHoldTab(int32_t line) const {
    const uint64_t t = index_.Text(line);
    if (IsChunked(t))
        return Chunked(t).HasTab();
    const std::string_view text = Text(line);
    return !text.empty() && std::memchr(text.data(), '\t', text.size()) != nullptr;
}

void TInternalStrings::InsertText(int32_t line, size_t at, std::string_view bytes) {
    LineRecord& r = index_.Mutable(line);
    assert(at <= TextLength(line) && "TInternalStrings::InsertText past the line end");
    if (IsChunked(r.text)) {
        Chunked(r.text).Insert(at, bytes);
    } else {
        std::string text(Text(line));
        text.insert(at, bytes);
        ReplaceText(r, text);
    }
    r.text &= ~kUpToDateBit;
    blockIndex_.Changed(line, ShapeOf(line));
    if (TLongLineParse* parse = LongLineParse(line))
        parse->Edited(at, 0, bytes.size());
}

void TInternalStrings::EraseText(int32_t line, size_t at, size_t count) {
    LineRecord& r = index_.Mutable(line);
    assert(at <= TextLength(line) && "TInternalStrings::EraseText past the line end");
    const size_t erased = std::min(count, TextLength(line) - at);
    if (IsChunked(r.text) &&
        Chunked(r.text).Size() - std::min(count, Chunked(r.text).Size() - at) > chunkBytes_) {
        Chunked(r.text).Erase(at, count);
    } else {
        std::string text;
        CopyText(line, 0, at, text);
        CopyText(line, at + count, SIZE_MAX, text);
        ReplaceText(r, text);
    }
    r.text &= ~kUpToDateBit;
    blockIndex_.Changed(line, ShapeOf(line));
    if (TLongLineParse* parse = LongLineParse(line))
        parse->Edited(at, erased, 0);
}

void TInternalStrings::Release(LineRecord& r) {
    ReleaseText(r);
    if (r.extra != 0) {
        extras_[r.extra - 1] = LineExtra();
        freeExtras_.push_back(r.extra - 1);
    }
    r = LineRecord{};
}

int32_t TInternalStrings::FindLineBefore(int32_t before, const TLineQuery& query,
                                         const TTabStops& tabStops) const {
    assert(blockIndex_.LineCount() == Count() && "a change of lines passed the run index by");
    return blockIndex_.FindBefore(
        before, query, [&](int32_t line) { return query.Matches(Text(line), tabStops); },
        [&](int32_t line) { return TLineShape::Of(Text(line)); });
}

void TInternalStrings::SetText(int32_t line, std::string_view text) {
    blockIndex_.Changed(line, TLineShape::Of(text));
    LineRecord& r = index_.Mutable(line);
    ReplaceText(r, text);
    r.text &= ~kUpToDateBit;
    DropLongLineParse(line);
}

void TInternalStrings::Insert(int32_t line, std::string_view text) {
    assert(line >= 0 && line <= Count() && "TInternalStrings::Insert out of range");
    blockIndex_.Inserted(line, TLineShape::Of(text));
    index_.Insert(line, LineRecord{NewOwned(text), 0, 0});
}

void TInternalStrings::Delete(int32_t line) {
    assert(line >= 0 && line < Count() && "TInternalStrings::Delete out of range");
    blockIndex_.Deleted(line);
    LineRecord removed = index_.Remove(line);
    Release(removed);
}

void TInternalStrings::Clear() {
    index_.Clear();
    blocks_.clear();
    blockSizes_.clear();
    blockLineEnds_.clear();
    owned_.clear();
    freeOwned_.clear();
    chunked_.clear();
    freeChunked_.clear();
    extras_.clear();
    freeExtras_.clear();
    blockIndex_.Clear();
}

void TInternalStrings::Swap(TInternalStrings& other) noexcept {
    index_.Swap(other.index_);
    blocks_.swap(other.blocks_);
    blockSizes_.swap(other.blockSizes_);
    blockLineEnds_.swap(other.blockLineEnds_);
    owned_.swap(other.owned_);
    freeOwned_.swap(other.freeOwned_);
    chunked_.swap(other.chunked_);
    freeChunked_.swap(other.freeChunked_);
    extras_.swap(other.extras_);
    freeExtras_.swap(other.freeExtras_);
    blockIndex_.Swap(other.blockIndex_);
}

TInternalStrings::LineExtra& TInternalStrings::MutableExtra(int32_t line) {
    LineRecord& r = index_.Mutable(line);
    if (r.extra == 0) {
        if (!freeExtras_.empty()) {
            r.extra = freeExtras_.back() + 1;
            freeExtras_.pop_back();
        } else {
            extras_.emplace_back();
            r.extra = uint32_t(extras_.size());
        }
    }
    return extras_[r.extra - 1];
}

const TInternalStrings::LineExtra* TInternalStrings::FindExtra(int32_t line) const {
    const uint32_t e = index_.Get(line).extra;
    return e == 0 ? nullptr : &extras_[e - 1];
}

const std::string& TInternalStrings::Colours(int32_t line) const {
    const LineExtra* e = FindExtra(line);
    return e ? e->colours : kEmpty;
}

TLongLineParse* TInternalStrings::LongLineParse(int32_t line) const {
    const LineExtra* e = FindExtra(line);
    return e ? e->longParse.get() : nullptr;
}

TLongLineParse& TInternalStrings::MutableLongLineParse(int32_t line) {
    LineExtra& e = MutableExtra(line);
    if (!e.longParse)
        e.longParse = std::make_unique<TLongLineParse>();
    return *e.longParse;
}

void TInternalStrings::DropLongLineParse(int32_t line) {
    if (index_.Get(line).extra != 0)
        MutableExtra(line).longParse.reset();
}

uint16_t TInternalStrings::GutterMarks(int32_t line) const {
    const LineExtra* e = FindExtra(line);
    return e ? e->gutterMarks : 0;
}

uint8_t TInternalStrings::LineStyle(int32_t line) const {
    const LineExtra* e = FindExtra(line);
    return e ? e->lineStyle : 0;
}

intptr_t TInternalStrings::Object(int32_t line) const {
    const LineExtra* e = FindExtra(line);
    return e ? e->object : 0;
}

uint32_t TInternalStrings::HighlighterData(int32_t line, int index) const {
    const LineExtra* e = FindExtra(line);
    return e && index >= 0 && index < 3 ? e->highlighterData[index] : 0;
}

void TInternalStrings::SetHighlighterData(int32_t line, int index, uint32_t value) {
    if (index >= 0 && index < 3)
        MutableExtra(line).highlighterData[index] = value;
}

void TInternalStrings::ResetHighlighting(bool keepColours) {
    index_.ClearUpToDate();
    for (LineExtra& e : extras_) {
        if (!keepColours)
            std::string().swap(e.colours);
        e.longParse.reset();
        std::fill(std::begin(e.highlighterData), std::end(e.highlighterData), 0);
    }
}

// ---- Loading -------------------------------------------------------------------------------

// Reads the stream into blocks that each end after a line end (except the last), so no line
// and no CR LF pair straddles two blocks. A block grows only for a line longer than itself.
// It is read a piece at a time, and the lines of each piece are split off while its bytes
// are still in the cache; lines that a piece leaves unfinished wait for the next.
void TInternalStrings::ReadBlocks(TByteStream& stream, const TLoadRules& rules) {
    constexpr size_t kReadPiece = size_t(1) << 18;
    std::string carry;
    while (true) {
        const int64_t hint = stream.RemainingHint();
        size_t capacity = blockBytes_;
        if (hint >= 0)
            capacity = std::min<size_t>(carry.size() + size_t(hint) + 1, blockBytes_);
        capacity = std::max(capacity, carry.size() + 1);
        char* block = static_cast<char*>(std::malloc(capacity));
        if (block == nullptr)
            throw std::bad_alloc();
        const size_t index = blocks_.size();
        blocks_.emplace_back(block);
        blockSizes_.push_back(0);
        blockLineEnds_.push_back(0);
        std::memcpy(block, carry.data(), carry.size());
        size_t filled = carry.size();
        size_t split = 0;  // lines before this are split off
        std::string().swap(carry);
        bool atEnd = false;
        while (!atEnd) {
            while (filled < capacity) {
                const int64_t got =
                    stream.Read(block + filled, int64_t(std::min(capacity - filled, kReadPiece)));
                if (got < 0)
                    throw EStreamError("Cannot read the text stream");
                if (got == 0) {
                    atEnd = true;
                    break;
                }
                // After the last LF of what was read, a line starts for certain. Only the new
                // bytes are searched, so a line longer than many pieces costs no more.
                const char* lf = static_cast<const char*>(memrchr(block + filled, '\n', size_t(got)));
                filled += size_t(got);
                if (lf != nullptr) {
                    blockSizes_[index] = filled;
                    const size_t to = size_t(lf - block) + 1;
                    SplitLines(index, split, to, rules);
                    split = to;
                }
            }
            if (atEnd)
                break;
            // Full: cut after the last line end that cannot be the CR of a CR LF pair.
            const size_t searchEnd = filled - (block[filled - 1] == '\r' ? 1 : 0);
            const char* nl = static_cast<const char*>(memrchr(block, '\n', searchEnd));
            const size_t from = nl ? size_t(nl - block) + 1 : 0;
            const char* cr = static_cast<const char*>(memrchr(block + from, '\r', searchEnd - from));
            const char* cut = cr ? cr : nl;
            if (cut != nullptr) {
                carry.assign(cut + 1, size_t(block + filled - (cut + 1)));
                filled = size_t(cut - block) + 1;
                break;
            }
            // One line fills the whole block: make room for the rest of it.
            if (filled > rules.maxLineBytes + 2)  // a CR LF may follow the longest line allowed
                LineTooLong(size_t(index_.Count()), rules);
            capacity *= 2;
            char* bigger = static_cast<char*>(std::realloc(block, capacity));
            if (bigger == nullptr)
                throw std::bad_alloc();
            (void)blocks_[index].release();
            blocks_[index].reset(bigger);
            block = bigger;
        }
        if (filled > 0 && filled < capacity) {
            if (char* shrunk = static_cast<char*>(std::realloc(block, filled))) {
                (void)blocks_[index].release();
                blocks_[index].reset(shrunk);
            }
        }
        blockSizes_[index] = filled;
        if (filled > 0) {
            SplitLines(index, split, filled, rules);
        } else {
            blocks_.pop_back();
            blockSizes_.pop_back();
            blockLineEnds_.pop_back();
        }
        if (atEnd && carry.empty())
            return;
    }
}

uint64_t TInternalStrings::RecordFor(size_t block, const char* begin, const char* end,
                                     const TLoadRules& rules, bool mayHoldTab, TLineShape& shape) {
    if (!rules.keepTrailingBlanks)
        while (end > begin && IsBlank(end[-1]))
            --end;
    const size_t length = size_t(end - begin);
    if (length > rules.maxLineBytes)
        LineTooLong(size_t(index_.Count()), rules);
    const bool convertTabs = mayHoldTab && !rules.keepTabs && length > 0 && std::memchr(begin, '\t', length);
    const size_t offset = size_t(begin - blocks_[block].get());
    if (!convertTabs) {
        // Tabs stay only when they are kept.
        const char* readable = blocks_[block].get() + blockSizes_[block];
        shape = TLineShape::From({begin, length}, LeadingBlanks(begin, end, readable),
                                 mayHoldTab && rules.keepTabs);
        if (length <= kMaxBlockLength && offset < kBlockBytes)
            return (uint64_t(block) << kOffsetBits | offset) | uint64_t(length) << kLengthShift;
        return NewOwned({begin, length});
    }
    std::string converted;
    converted.reserve(length + 16);
    for (const char* p = begin; p < end; ++p) {
        if (*p == '\t')
            converted.append(size_t(rules.spacesInTab), ' ');
        else
            converted.push_back(*p);
    }
    if (converted.size() > rules.maxLineBytes)
        LineTooLong(size_t(index_.Count()), rules);
    shape = TLineShape::Of(converted, false);
    return NewOwned(converted);
}

void TInternalStrings::AppendRecord(uint64_t text, const TLineShape& shape, const TLoadRules& rules,
                                    const char* begin, const char* rawEnd, int lineEndBytes) {
    if (size_t(index_.Count()) >= rules.maxLines)
        throw ETextLimitError("The text has more than " + std::to_string(rules.maxLines) +
                              " lines, the most a document can hold.");
    const size_t length = size_t((text & ~kFlagBits) >> kLengthShift);
    if (!(text & kOwnedBit) && length == size_t(rawEnd - begin))
        index_.AppendLoaded(size_t((text & kLocationMask) >> kOffsetBits), size_t(text & kOffsetMask), length,
                            lineEndBytes);
    else
        index_.Append(LineRecord{text, 0, 0});
    blockIndex_.Append(shape);
}

// Appends a record per line of the block's bytes [from, to): lines end at LF, CR LF or a lone
// CR; the last line of the text may end without a line end.
void TInternalStrings::SplitLines(size_t block, size_t from, size_t to, const TLoadRules& rules) {
    const char* const begin = blocks_[block].get() + from;
    const char* const end = blocks_[block].get() + to;
    const char* p = begin;
    uint8_t& lineEnds = blockLineEnds_[block];
#if defined(__SSE2__)
    // Sixteen bytes at a time: one record per LF bit of the mask. Tabs are noted per line so
    // only lines holding one are searched again; the first CR hands over to the general loop.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i tab = _mm_set1_epi8('\t');
    bool lineHasTab = false;
    const char* chunk = begin;
    for (; chunk + 16 <= end; chunk += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)) != 0)
            break;
        unsigned tabs = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
        for (unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf))); mask != 0;
             mask &= mask - 1) {
            const unsigned bit = unsigned(__builtin_ctz(mask));
            const unsigned before = (1u << bit) - 1;
            const char* nl = chunk + bit;
            TLineShape shape;
            AppendRecord(RecordFor(block, p, nl, rules, lineHasTab || (tabs & before) != 0, shape), shape,
                         rules, p, nl, 1);
            lineEnds |= kEndsLf;
            tabs &= ~before;
            lineHasTab = false;
            p = nl + 1;
        }
        lineHasTab = lineHasTab || tabs != 0;
    }
#endif
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* lineEnd = nl ? nl : end;
        const char* next = nl ? nl + 1 : end;
        if (const char* c = static_cast<const char*>(std::memchr(p, '\r', size_t(lineEnd - p)))) {
            lineEnd = c;
            next = c + 1 < end && c[1] == '\n' ? c + 2 : c + 1;
            lineEnds |= next == c + 2 ? kEndsCrLf : kEndsCr;
        } else if (nl != nullptr) {
            lineEnds |= kEndsLf;
        }
        TLineShape shape;
        AppendRecord(RecordFor(block, p, lineEnd, rules, true, shape), shape, rules, p, lineEnd,
                     int(next - lineEnd));
        p = next;
    }
}

void TInternalStrings::Load(TByteStream& stream, const TLoadRules& rules) {
    Clear();
    ReadBlocks(stream, rules);
}

}  // namespace tarnwick
