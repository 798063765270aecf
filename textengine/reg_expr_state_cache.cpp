#include "textengine/reg_expr_state_cache.h"

#include <algorithm>

namespace tarnwick {

uint64_t TRegExprStateCache::Hash(std::span<const int32_t> list, bool flag) {
    uint64_t h = flag ? 0x9E3779B97F4A7C15ull : 0x6A09E667F3BCC909ull;
    for (const int32_t item : list) {
        h ^= uint32_t(item);
        h *= 0x100000001B3ull;
        h ^= h >> 29;
    }
    return h;
}

bool TRegExprStateCache::Equals(const TState& s, std::span<const int32_t> list, bool flag) const {
    return s.flag == flag && s.size == list.size() &&
           std::equal(list.begin(), list.end(), items_.begin() + s.begin);
}

size_t TRegExprStateCache::Bytes() const {
    return items_.size() * sizeof(int32_t) + states_.size() * sizeof(TState) +
           next_.size() * sizeof(int32_t) + slots_.size() * sizeof(int32_t);
}

void TRegExprStateCache::Grow() {
    slots_.assign(std::max<size_t>(64, slots_.size() * 2), kUnknown);
    const size_t mask = slots_.size() - 1;
    for (size_t id = 0; id < states_.size(); ++id) {
        size_t at = states_[id].hash & mask;
        while (slots_[at] != kUnknown)
            at = (at + 1) & mask;
        slots_[at] = int32_t(id);
    }
}

int32_t TRegExprStateCache::Intern(std::span<const int32_t> list, bool flag) {
    const uint64_t hash = Hash(list, flag);
    if (!slots_.empty()) {
        const size_t mask = slots_.size() - 1;
        for (size_t at = hash & mask; slots_[at] != kUnknown; at = (at + 1) & mask)
            if (const TState& s = states_[size_t(slots_[at])]; s.hash == hash && Equals(s, list, flag))
                return slots_[at];
    }
    const size_t added = (list.size() + size_t(classes_)) * sizeof(int32_t) + sizeof(TState);
    if (Bytes() + added > budgetBytes_)
        return kUnknown;
    const int32_t id = int32_t(states_.size());
    states_.push_back({uint32_t(items_.size()), uint32_t(list.size()), hash, flag});
    items_.insert(items_.end(), list.begin(), list.end());
    next_.resize(next_.size() + size_t(classes_), kUnknown);
    if (states_.size() * 2 > slots_.size()) {
        Grow();
    } else {
        const size_t mask = slots_.size() - 1;
        size_t at = hash & mask;
        while (slots_[at] != kUnknown)
            at = (at + 1) & mask;
        slots_[at] = id;
    }
    return id;
}

void TRegExprStateCache::Clear() {
    ++generation_;
    items_.clear();
    states_.clear();
    next_.clear();
    slots_.clear();
}

}  // namespace tarnwick
