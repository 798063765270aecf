// A growable array of fixed-size records with the growth and shrink rule the undo list relies
// on: when full it grows to the larger of the needed count and twice the capacity (at least 32
// records); after removing the last record, below a quarter of the capacity it halves.
//
// The records sit in fixed blocks that never move, so a list of millions of records (a
// replace-all and its undo) grows and shrinks without copying them, and removing the oldest
// records costs only what is removed; the capacity is the bookkeeping of the rule above.
//
// Invariant: record i lies at slot head_ + i of the blocks, head_ < kBlock.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace tarnwick {

template <class Record>
class TRecordList {
public:
    size_t Count() const { return count_; }
    size_t Capacity() const { return capacity_; }
    bool Empty() const { return count_ == 0; }
    Record& operator[](size_t i) {
        assert(i < count_ && "TRecordList index out of range");
        return Slot(head_ + i);
    }
    const Record& operator[](size_t i) const {
        assert(i < count_ && "TRecordList index out of range");
        return blocks_[(head_ + i) / kBlock][(head_ + i) % kBlock];
    }
    Record& Last() { return (*this)[count_ - 1]; }
    const Record& Last() const { return (*this)[count_ - 1]; }

    void Add(Record r) {
        if (count_ == capacity_)
            capacity_ = std::max<size_t>({count_ + 1, capacity_ * 2, 32});
        if (head_ + count_ == blocks_.size() * kBlock)
            blocks_.push_back(std::make_unique<Record[]>(kBlock));
        Slot(head_ + count_) = std::move(r);
        ++count_;
    }
    void RemoveLast() {
        assert(count_ > 0 && "TRecordList::RemoveLast on an empty list");
        --count_;
        Slot(head_ + count_) = Record();
        // One empty block stays as a spare, so adding and removing at a block edge does not
        // allocate every time.
        while (blocks_.size() * kBlock >= head_ + count_ + 2 * kBlock)
            blocks_.pop_back();
        if (capacity_ > 32 && count_ < capacity_ / 4)
            capacity_ /= 2;
    }
    // Removes the oldest count records.
    void RemoveFirst(size_t count) {
        count = std::min(count, count_);
        for (size_t i = 0; i < count; ++i)
            Slot(head_ + i) = Record();
        head_ += count;
        count_ -= count;
        // Block pointers only: a few per trim of thousands of records.
        blocks_.erase(blocks_.begin(), blocks_.begin() + std::ptrdiff_t(head_ / kBlock));
        head_ %= kBlock;
    }
    void Clear() {
        blocks_.clear();
        head_ = 0;
        count_ = 0;
        capacity_ = 0;
    }

private:
    static constexpr size_t kBlock = 4096;

    Record& Slot(size_t slot) { return blocks_[slot / kBlock][slot % kBlock]; }

    std::vector<std::unique_ptr<Record[]>> blocks_;
    size_t head_ = 0;
    size_t count_ = 0;
    size_t capacity_ = 0;
};

}  // namespace tarnwick
