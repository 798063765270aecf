// A growable array of fixed-size records with the growth and shrink rule the undo list relies
// on: when full it grows to the larger of the needed count and twice the capacity (at least 32
// records); after removing the last record, below a quarter of the capacity it halves.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <utility>
#include <vector>

namespace tarnwick {

template <class Record>
class TRecordList {
public:
    size_t Count() const { return items_.size(); }
    size_t Capacity() const { return capacity_; }
    bool Empty() const { return items_.empty(); }
    Record& operator[](size_t i) {
        assert(i < items_.size() && "TRecordList index out of range");
        return items_[i];
    }
    const Record& operator[](size_t i) const {
        assert(i < items_.size() && "TRecordList index out of range");
        return items_[i];
    }
    Record& Last() { return (*this)[items_.size() - 1]; }

    void Add(Record r) {
        if (items_.size() == capacity_)
            Reallocate(std::max<size_t>({items_.size() + 1, capacity_ * 2, 32}));
        items_.push_back(std::move(r));
    }
    void RemoveLast() {
        assert(!items_.empty() && "TRecordList::RemoveLast on an empty list");
        items_.pop_back();
        if (capacity_ > 32 && items_.size() < capacity_ / 4)
            Reallocate(capacity_ / 2);
    }
    // Removes the oldest count records.
    void RemoveFirst(size_t count) {
        count = std::min(count, items_.size());
        items_.erase(items_.begin(), items_.begin() + std::ptrdiff_t(count));
    }
    void Clear() {
        std::vector<Record>().swap(items_);
        capacity_ = 0;
    }

private:
    void Reallocate(size_t capacity) {
        std::vector<Record> moved;
        moved.reserve(capacity);
        std::move(items_.begin(), items_.end(), std::back_inserter(moved));
        items_.swap(moved);
        capacity_ = capacity;
    }

    std::vector<Record> items_;
    size_t capacity_ = 0;
};

}  // namespace tarnwick
