#include "textengine/line_index.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace tarnwick {

namespace {

void* Allocate(size_t bytes) {
    void* p = std::malloc(std::max<size_t>(bytes, 1));
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void* Reallocate(void* p, size_t bytes) {
    void* grown = std::realloc(p, std::max<size_t>(bytes, 1));
    if (grown == nullptr)
        throw std::bad_alloc();
    return grown;
}

// A loaded page spans at most this many bytes, so each line's end fits two bytes.
constexpr size_t kMaxLoadedSpan = UINT16_MAX;

}  // namespace

size_t TLineIndex::PageOf(int32_t line, uint32_t& inPage) const {
    assert(line >= 0 && size_t(line) < lines_ && "TLineIndex: line out of range");
    const size_t pages = PageCount();
    for (size_t p : {cursor_, cursor_ + 1}) {
        if (p >= pages)
            break;
        const int64_t first = First(p);
        if (line >= first && line - first < At(p).count) {
            inPage = uint32_t(line - first);
            return SetCursor(p);
        }
    }
    // The last page starting at or before line; first lines rise with the page index.
    size_t low = 0, high = pages;
    while (high - low > 1) {
        const size_t mid = low + (high - low) / 2;
        (First(mid) <= line ? low : high) = mid;
    }
    inPage = uint32_t(line - First(low));
    return SetCursor(low);
}

size_t TLineIndex::SetCursor(size_t p) const {
    cursor_ = p;
    cursorPage_ = &At(p);
    cursorFirst_ = First(p);
    cursorCount_ = cursorPage_->count;
    return p;
}

TLineRecord& TLineIndex::MutableSlow(int32_t line) {
    uint32_t inPage;
    Page& page = At(PageOf(line, inPage));
    MakeRecords(page);
    return Records(page)[inPage];
}

TLineIndex::Page& TLineIndex::HighlightedPage(int32_t line, uint32_t& inPage) {
    Page& page = At(PageOf(line, inPage));
    if (page.capacity == 0 && !page.highlighted) {
        page.data = Reallocate(page.data, kHighlightedBytes);
        std::memset(static_cast<char*>(page.data) + kEndsBytes, 0, kHighlightedBytes - kEndsBytes);
        page.highlighted = true;
    }
    return page;
}

void TLineIndex::SetEndState(int32_t line, uint32_t state) {
    if (Get(line).endState == state)
        return;
    uint32_t inPage;
    Page& page = HighlightedPage(line, inPage);
    (page.capacity != 0 ? Records(page)[inPage].endState : EndStates(page)[inPage]) = state;
}

void TLineIndex::SetUpToDate(int32_t line, bool on) {
    if (bool(Get(line).text & TLineRecord::kUpToDateBit) == on)
        return;
    uint32_t inPage;
    Page& page = HighlightedPage(line, inPage);
    if (page.capacity != 0) {
        uint64_t& text = Records(page)[inPage].text;
        text = on ? text | TLineRecord::kUpToDateBit : text & ~TLineRecord::kUpToDateBit;
        return;
    }
    uint8_t& bits = UpToDateBits(page)[inPage / 8];
    const uint8_t bit = uint8_t(1u << (inPage % 8));
    bits = on ? bits | bit : bits & uint8_t(~bit);
}

void TLineIndex::ClearUpToDate() {
    for (size_t p = 0; p < PageCount(); ++p) {
        Page& page = At(p);
        if (page.capacity != 0) {
            for (uint32_t i = 0; i < page.count; ++i)
                Records(page)[i].text &= ~TLineRecord::kUpToDateBit;
        } else if (page.highlighted) {
            std::memset(UpToDateBits(page), 0, kPageLines / 8);
        }
    }
}

void TLineIndex::MakeRecords(Page& page) {
    if (page.capacity != 0)
        return;
    auto* records = static_cast<TLineRecord*>(Allocate(page.count * sizeof(TLineRecord)));
    for (uint32_t i = 0; i < page.count; ++i)
        records[i] = Read(page, i);
    std::free(page.data);
    page.data = records;
    page.capacity = std::max<uint32_t>(page.count, 1);
    page.highlighted = false;
}

void TLineIndex::Reserve(Page& page, uint32_t records) {
    if (records <= page.capacity)
        return;
    const uint32_t capacity = std::max({records, page.capacity + page.capacity / 2, uint32_t(16)});
    page.data = Reallocate(page.data, capacity * sizeof(TLineRecord));
    page.capacity = capacity;
}

// Pages that cross the gap change how they count their first line.
void TLineIndex::MoveGapTo(size_t p) {
    if (p != gapBegin_)
        ForgetCursor();
    while (gapBegin_ > p) {
        Page page = pages_[--gapBegin_];
        page.key = int32_t(int64_t(lines_) - page.key);
        pages_[--gapEnd_] = page;
    }
    while (gapBegin_ < p) {
        Page page = pages_[gapEnd_++];
        page.key = int32_t(int64_t(lines_) - page.key);
        pages_[gapBegin_++] = page;
    }
}

void TLineIndex::EnsureGap() {
    if (GapLength() > 0)
        return;
    ForgetCursor();
    const size_t grown = std::max<size_t>(size_ * 2, 16);
    const size_t tail = size_ - gapEnd_;
    pages_ = static_cast<Page*>(Reallocate(pages_, grown * sizeof(Page)));
    std::memmove(pages_ + grown - tail, pages_ + gapEnd_, tail * sizeof(Page));
    gapEnd_ = grown - tail;
    size_ = grown;
}

TLineIndex::Page& TLineIndex::AppendPage(uint32_t capacity) {
    assert(gapEnd_ == size_ && "TLineIndex: appending a page away from the end");
    EnsureGap();
    Page& page = pages_[gapBegin_++];
    page = Page{0, capacity, 0, nullptr, int32_t(lines_), 0, false};
    page.data = Allocate(capacity != 0 ? capacity * sizeof(TLineRecord) : kEndsBytes);
    return page;
}

// The page just before the gap gives its upper half to a new page after it.
void TLineIndex::SplitLastBeforeGap() {
    EnsureGap();
    ForgetCursor();
    Page& page = pages_[gapBegin_ - 1];
    const uint32_t moved = page.count - kPageLines;
    Page upper{moved, std::max(moved, uint32_t(16)), 0, nullptr, int32_t(page.key + int32_t(kPageLines)), 0,
               false};
    upper.data = Allocate(upper.capacity * sizeof(TLineRecord));
    std::memcpy(upper.data, Records(page) + kPageLines, moved * sizeof(TLineRecord));
    page.count = kPageLines;
    pages_[gapBegin_++] = upper;
}

void TLineIndex::Insert(int32_t line, const TLineRecord& record) {
    assert(line >= 0 && size_t(line) <= lines_ && "TLineIndex::Insert out of range");
    if (PageCount() == 0) {
        MoveGapTo(0);
        AppendPage(16);
    }
    size_t p;
    uint32_t inPage;
    if (size_t(line) == lines_) {
        p = PageCount() - 1;
        inPage = At(p).count;
    } else {
        p = PageOf(line, inPage);
    }
    // At the start of a page the line may as well end the page before, when that one holds
    // records already: a loaded page then stays as it is.
    if (inPage == 0 && p > 0 && At(p - 1).capacity != 0) {
        --p;
        inPage = At(p).count;
    }
    // Lines after this page keep their distance to the end, so only the page itself changes.
    MoveGapTo(p + 1);
    Page& page = At(p);
    MakeRecords(page);
    Reserve(page, page.count + 1);
    TLineRecord* records = Records(page);
    std::memmove(records + inPage + 1, records + inPage, (page.count - inPage) * sizeof(TLineRecord));
    records[inPage] = record;
    ++page.count;
    ++lines_;
    ForgetCursor();
    if (page.count > 2 * kPageLines)
        SplitLastBeforeGap();
}

TLineRecord TLineIndex::Remove(int32_t line) {
    uint32_t inPage;
    const size_t p = PageOf(line, inPage);
    MoveGapTo(p + 1);
    Page& page = At(p);
    MakeRecords(page);
    TLineRecord* records = Records(page);
    const TLineRecord removed = records[inPage];
    std::memmove(records + inPage, records + inPage + 1, (page.count - inPage - 1) * sizeof(TLineRecord));
    --page.count;
    --lines_;
    ForgetCursor();
    if (page.count == 0) {
        std::free(page.data);
        --gapBegin_;
    } else if (page.capacity > 64 && page.count < page.capacity / 4) {
        page.capacity /= 2;
        page.data = Reallocate(page.data, page.capacity * sizeof(TLineRecord));
    }
    return removed;
}

void TLineIndex::AppendLoaded(size_t block, size_t offset, size_t length, int lineEndBytes) {
    MoveGapTo(PageCount());
    const int lineEndBefore = std::exchange(lastLineEndBytes_, lineEndBytes);
    if (PageCount() > 0) {
        Page& last = At(PageCount() - 1);
        const uint64_t firstOffset = last.firstText & TLineRecord::kOffsetMask;
        const size_t start =
            last.capacity == 0 ? size_t(Ends(last)[last.count - 1]) + size_t(lineEndBefore) : 0;
        const bool sameLineEnds = last.count == 1 || lineEndBefore == last.lineEndBytes;
        if (last.capacity == 0 && last.count < kPageLines && sameLineEnds && lineEndBefore != 0 &&
            (last.firstText >> TLineRecord::kOffsetBits) == block && offset == firstOffset + start &&
            start + length <= kMaxLoadedSpan) {
            Ends(last)[last.count++] = uint16_t(start + length);
            last.lineEndBytes = uint8_t(lineEndBefore);
            ++lines_;
            return;
        }
    }
    if (length > kMaxLoadedSpan) {
        Append(TLineRecord{TLineRecord::Loaded(block, offset, length), 0, 0});
        return;
    }
    Page& page = AppendPage(0);
    page.firstText = TLineRecord::Loaded(block, offset, 0);
    Ends(page)[0] = uint16_t(length);
    page.count = 1;
    ++lines_;
}

void TLineIndex::Append(const TLineRecord& record) {
    MoveGapTo(PageCount());
    lastLineEndBytes_ = 0;
    Page* last = PageCount() > 0 ? &At(PageCount() - 1) : nullptr;
    if (last == nullptr || last->capacity == 0 || last->count >= kPageLines)
        last = &AppendPage(kPageLines);
    Reserve(*last, last->count + 1);
    Records(*last)[last->count++] = record;
    ++lines_;
}

void TLineIndex::Clear() {
    for (size_t p = 0; p < PageCount(); ++p)
        std::free(At(p).data);
    std::free(pages_);
    pages_ = nullptr;
    size_ = gapBegin_ = gapEnd_ = lines_ = 0;
    lastLineEndBytes_ = 0;
    cursor_ = 0;
    ForgetCursor();
}

void TLineIndex::Swap(TLineIndex& other) noexcept {
    std::swap(pages_, other.pages_);
    std::swap(size_, other.size_);
    std::swap(gapBegin_, other.gapBegin_);
    std::swap(gapEnd_, other.gapEnd_);
    std::swap(lines_, other.lines_);
    std::swap(lastLineEndBytes_, other.lastLineEndBytes_);
    std::swap(cursor_, other.cursor_);
    ForgetCursor();
    other.ForgetCursor();
}

}  // namespace tarnwick
