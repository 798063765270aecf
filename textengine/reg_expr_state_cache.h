// Matching states met during a search, each stored once with the state each byte class leads
// to, so that a long line whose states repeat costs one table lookup per character (used by
// TRegExpr only). A state is a list of instruction indices plus a flag; what they mean is the
// user's. The cache holds at most its budget of bytes; a full cache is cleared by its user.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tarnwick {

class TRegExprStateCache {
public:
    static constexpr int32_t kUnknown = -1;

    TRegExprStateCache(int32_t classes, size_t budgetBytes) : classes_(classes), budgetBytes_(budgetBytes) {}

    // The id of the state, or kUnknown when storing it would pass the budget.
    int32_t Intern(std::span<const int32_t> list, bool flag);
    // Forgets every state; ids from before belong to an older generation.
    void Clear();
    uint32_t Generation() const { return generation_; }

    // Steps found against steps computed since the last reset: a cache that fills up with
    // states hardly met twice costs more than it saves.
    void CountHit() { ++hits_; }
    void CountMiss() { ++misses_; }
    bool PaysOff() const { return hits_ >= misses_; }
    void ResetCounts() { hits_ = misses_ = 0; }

    std::span<const int32_t> List(int32_t id) const {
        const TState& s = states_[size_t(id)];
        return {items_.data() + s.begin, s.size};
    }
    bool Flag(int32_t id) const { return states_[size_t(id)].flag; }
    int32_t Next(int32_t id, int32_t byteClass) const {
        return next_[size_t(id) * size_t(classes_) + size_t(byteClass)];
    }
    void SetNext(int32_t id, int32_t byteClass, int32_t to) {
        next_[size_t(id) * size_t(classes_) + size_t(byteClass)] = to;
    }

private:
    struct TState {
        uint32_t begin;
        uint32_t size;
        uint64_t hash;
        bool flag;
    };

    static uint64_t Hash(std::span<const int32_t> list, bool flag);
    bool Equals(const TState& s, std::span<const int32_t> list, bool flag) const;
    size_t Bytes() const;
    void Grow();

    const int32_t classes_;
    const size_t budgetBytes_;
    std::vector<int32_t> items_;  // the lists one after another
    std::vector<TState> states_;
    std::vector<int32_t> next_;   // per state and byte class: the next state, or kUnknown
    std::vector<int32_t> slots_;  // open addressing over states_, kUnknown where free
    uint32_t generation_ = 0;
    int64_t hits_ = 0;
    int64_t misses_ = 0;
};

}  // namespace tarnwick
