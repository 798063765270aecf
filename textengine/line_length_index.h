// How many lines have each expanded length, so the longest length is known at once and stays
// right as lines change: a change costs O(1) except when the last line of the longest length
// goes, which looks down to the next length in use.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace tarnwick {

class TLineLengthIndex {
public:
    bool IsBuilt() const { return built_; }
    // Starts counting afresh (after a load or a change of tab stops).
    void Reset() {
        counts_.assign(kDirect, 0);
        long_.clear();
        longest_ = 0;
        built_ = false;
    }
    void MarkBuilt() { built_ = true; }

    void Add(int32_t length) {
        if (length < kDirect)
            ++counts_[size_t(length)];
        else
            ++long_[length];
        longest_ = std::max(longest_, length);
    }
    void Remove(int32_t length) {
        if (length < kDirect) {
            if (counts_[size_t(length)] > 0)
                --counts_[size_t(length)];
        } else if (auto it = long_.find(length); it != long_.end() && --it->second == 0) {
            long_.erase(it);
        }
        if (length == longest_ && Count(length) == 0)
            longest_ = FindLongest();
    }
    int32_t Longest() const { return longest_; }

private:
    static constexpr int32_t kDirect = 4096;
    uint32_t Count(int32_t length) const {
        if (length < kDirect)
            return counts_[size_t(length)];
        const auto it = long_.find(length);
        return it == long_.end() ? 0 : it->second;
    }
    int32_t FindLongest() const {
        if (!long_.empty())
            return long_.rbegin()->first;
        for (int32_t l = std::min(longest_, kDirect - 1); l > 0; --l)
            if (counts_[size_t(l)] > 0)
                return l;
        return 0;
    }

    std::vector<uint32_t> counts_ = std::vector<uint32_t>(kDirect, 0);
    std::map<int32_t, uint32_t> long_;
    int32_t longest_ = 0;
    bool built_ = false;
};

}  // namespace tarnwick
