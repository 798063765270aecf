#include "line_store.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>

#include "byte_stream.h"

namespace tarnwick {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const std::string kEmpty;

}  // namespace

void TInternalStrings::BlockDeleter::operator()(char* p) const { std::free(p); }

TInternalStrings::TInternalStrings() = default;
TInternalStrings::~TInternalStrings() = default;

std::string_view TInternalStrings::Text(int32_t line) const {
    const uint64_t t = At(line).text;
    const uint64_t location = t & kLocationMask;
    if (t & kOwnedBit)
        return owned_[location];
    const size_t length = size_t((t & ~kFlagBits) >> kLengthShift);
    const char* base = blocks_[location >> kOffsetBits].get();
    return {base + (location & ((uint64_t(1) << kOffsetBits) - 1)), length};
}

uint64_t TInternalStrings::NewOwned(std::string text) {
    uint64_t index;
    if (!freeOwned_.empty()) {
        index = freeOwned_.back();
        freeOwned_.pop_back();
        owned_[index] = std::move(text);
    } else {
        index = owned_.size();
        owned_.push_back(std::move(text));
    }
    return kOwnedBit | index;
}

void TInternalStrings::Release(LineRecord& r) {
    if (r.text & kOwnedBit) {
        const uint64_t index = r.text & kLocationMask;
        std::string().swap(owned_[index]);
        freeOwned_.push_back(uint32_t(index));
    }
    if (r.extra != 0) {
        extras_[r.extra - 1] = LineExtra();
        freeExtras_.push_back(r.extra - 1);
    }
    r = LineRecord{};
}

void TInternalStrings::SetText(int32_t line, std::string_view text) {
    LineRecord& r = At(line);
    if (r.text & kOwnedBit) {
        owned_[r.text & kLocationMask].assign(text.data(), text.size());
    } else {
        const uint64_t flags = r.text & kReadOnlyBit;
        r.text = NewOwned(std::string(text)) | flags;
    }
    r.text &= ~kUpToDateBit;
}

void TInternalStrings::MoveGapTo(size_t line) {
    LineRecord* s = records_.data();
    const size_t gap = GapLength();
    if (line < gapBegin_)
        std::memmove(s + line + gap, s + line, (gapBegin_ - line) * sizeof(LineRecord));
    else if (line > gapBegin_)
        std::memmove(s + gapBegin_, s + gapEnd_, (line - gapBegin_) * sizeof(LineRecord));
    gapBegin_ = line;
    gapEnd_ = line + gap;
}

void TInternalStrings::EnsureGap(size_t needed) {
    if (GapLength() >= needed)
        return;
    const size_t capacity = records_.size();
    const size_t grown = capacity + std::max<size_t>({capacity / 2, 64, needed});
    std::vector<LineRecord> bigger(grown);
    const size_t tail = capacity - gapEnd_;
    std::copy(records_.begin(), records_.begin() + gapBegin_, bigger.begin());
    std::copy(records_.begin() + gapEnd_, records_.end(), bigger.end() - tail);
    records_.swap(bigger);
    gapEnd_ = grown - tail;
}

void TInternalStrings::Insert(int32_t line, std::string_view text) {
    assert(line >= 0 && line <= Count() && "TInternalStrings::Insert out of range");
    uint64_t owned = NewOwned(std::string(text));
    MoveGapTo(size_t(line));
    EnsureGap(1);
    records_[gapBegin_++] = LineRecord{owned, 0, 0};
}

void TInternalStrings::Delete(int32_t line) {
    assert(line >= 0 && line < Count() && "TInternalStrings::Delete out of range");
    MoveGapTo(size_t(line));
    Release(records_[gapEnd_]);
    ++gapEnd_;
}

void TInternalStrings::Clear() {
    std::vector<LineRecord>().swap(records_);
    gapBegin_ = gapEnd_ = 0;
    blocks_.clear();
    blockSizes_.clear();
    owned_.clear();
    freeOwned_.clear();
    extras_.clear();
    freeExtras_.clear();
}

void TInternalStrings::Swap(TInternalStrings& other) noexcept {
    records_.swap(other.records_);
    std::swap(gapBegin_, other.gapBegin_);
    std::swap(gapEnd_, other.gapEnd_);
    blocks_.swap(other.blocks_);
    blockSizes_.swap(other.blockSizes_);
    owned_.swap(other.owned_);
    freeOwned_.swap(other.freeOwned_);
    extras_.swap(other.extras_);
    freeExtras_.swap(other.freeExtras_);
}

TInternalStrings::LineExtra& TInternalStrings::MutableExtra(int32_t line) {
    LineRecord& r = At(line);
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
    const uint32_t e = At(line).extra;
    return e == 0 ? nullptr : &extras_[e - 1];
}

const std::string& TInternalStrings::Colours(int32_t line) const {
    const LineExtra* e = FindExtra(line);
    return e ? e->colours : kEmpty;
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
    for (LineRecord& r : records_)
        r.text &= ~kUpToDateBit;
    for (LineExtra& e : extras_) {
        if (!keepColours)
            std::string().swap(e.colours);
        std::fill(std::begin(e.highlighterData), std::end(e.highlighterData), 0);
    }
}

size_t TInternalStrings::BlockBytes() const {
    size_t total = records_.capacity() * sizeof(LineRecord);
    for (size_t s : blockSizes_)
        total += s;
    return total;
}

// ---- Loading -------------------------------------------------------------------------------

// Reads the stream into blocks that each end after a line end (except the last), so no line
// and no CR LF pair straddles two blocks. A block grows only for a line longer than itself.
void TInternalStrings::ReadBlocks(TByteStream& stream) {
    std::string carry;
    while (true) {
        const int64_t hint = stream.RemainingHint();
        size_t capacity = kBlockBytes;
        if (hint >= 0)
            capacity = std::clamp<size_t>(carry.size() + size_t(hint) + 1, carry.size() + 1, kBlockBytes);
        capacity = std::max(capacity, carry.size() + 1);
        char* block = static_cast<char*>(std::malloc(capacity));
        if (block == nullptr)
            throw std::bad_alloc();
        Block owner(block);
        std::memcpy(block, carry.data(), carry.size());
        size_t filled = carry.size();
        std::string().swap(carry);
        bool atEnd = false;
        while (!atEnd) {
            while (filled < capacity) {
                const int64_t got = stream.Read(block + filled, int64_t(capacity - filled));
                if (got < 0)
                    throw EStreamError("Cannot read the text stream");
                if (got == 0) {
                    atEnd = true;
                    break;
                }
                filled += size_t(got);
            }
            if (atEnd)
                break;
            // Full: cut after the last line end that cannot be the CR of a CR LF pair.
            size_t searchEnd = filled - (block[filled - 1] == '\r' ? 1 : 0);
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
            capacity *= 2;
            char* bigger = static_cast<char*>(std::realloc(owner.get(), capacity));
            if (bigger == nullptr)
                throw std::bad_alloc();
            (void)owner.release();
            owner.reset(bigger);
            block = bigger;
        }
        if (filled < capacity && filled > 0) {
            if (char* shrunk = static_cast<char*>(std::realloc(owner.get(), filled))) {
                (void)owner.release();
                owner.reset(shrunk);
            }
        }
        if (filled > 0) {
            blocks_.push_back(std::move(owner));
            blockSizes_.push_back(filled);
        }
        if (atEnd && carry.empty())
            return;
    }
}

// Lines in the loaded blocks: every LF, every CR not followed by LF, and a last line that
// ends without a line end.
size_t TInternalStrings::CountLines() const {
    size_t lines = 0;
    for (size_t b = 0; b < blocks_.size(); ++b) {
        const char* p = blocks_[b].get();
        const char* end = p + blockSizes_[b];
        for (const char* q = p; (q = static_cast<const char*>(std::memchr(q, '\n', end - q))); ++q)
            ++lines;
        for (const char* q = p; (q = static_cast<const char*>(std::memchr(q, '\r', end - q))); ++q)
            if (q + 1 == end || q[1] != '\n')
                ++lines;
    }
    if (!blocks_.empty()) {
        const char last = blocks_.back().get()[blockSizes_.back() - 1];
        if (last != '\n' && last != '\r')
            ++lines;
    }
    return lines;
}

uint64_t TInternalStrings::RecordFor(size_t block, const char* begin, const char* end,
                                     const TLoadRules& rules) {
    if (!rules.keepTrailingBlanks)
        while (end > begin && IsBlank(end[-1]))
            --end;
    const size_t length = size_t(end - begin);
    const bool convertTabs = !rules.keepTabs && length > 0 && std::memchr(begin, '\t', length);
    const size_t offset = size_t(begin - blocks_[block].get());
    if (!convertTabs && length <= kMaxBlockLength && offset < kBlockBytes)
        return (uint64_t(block) << kOffsetBits | offset) | uint64_t(length) << kLengthShift;
    if (!convertTabs)
        return NewOwned(std::string(begin, end));
    std::string converted;
    converted.reserve(length + 16);
    for (const char* p = begin; p < end; ++p) {
        if (*p == '\t')
            converted.append(size_t(rules.spacesInTab), ' ');
        else
            converted.push_back(*p);
    }
    return NewOwned(std::move(converted));
}

void TInternalStrings::SplitBlock(size_t block, const TLoadRules& rules) {
    const char* p = blocks_[block].get();
    const char* end = p + blockSizes_[block];
    const bool hasCr = std::memchr(p, '\r', blockSizes_[block]) != nullptr;
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* lineEnd = nl ? nl : end;
        const char* next = nl ? nl + 1 : end;
        if (hasCr) {
            if (const char* cr = static_cast<const char*>(std::memchr(p, '\r', size_t(lineEnd - p)))) {
                lineEnd = cr;
                next = cr + 1 < end && cr[1] == '\n' ? cr + 2 : cr + 1;
            }
        }
        records_[gapBegin_++] = LineRecord{RecordFor(block, p, lineEnd, rules), 0, 0};
        p = next;
    }
}

void TInternalStrings::Load(TByteStream& stream, const TLoadRules& rules) {
    Clear();
    ReadBlocks(stream);
    const size_t lines = CountLines();
    // A small gap at the end, so the first insertions after loading do not reallocate.
    records_.resize(lines + std::max<size_t>(64, lines / 64));
    gapBegin_ = 0;
    gapEnd_ = records_.size();
    for (size_t b = 0; b < blocks_.size(); ++b)
        SplitBlock(b, rules);
    assert(gapBegin_ == lines && "TInternalStrings::Load counted lines differently");
}

}  // namespace tarnwick
