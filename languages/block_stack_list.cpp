#include "languages/block_stack_list.h"

namespace tarnwick {

void TBlockStackList::Reset() {
    entries_.assign(1, TBlockInfo{0, -1, -1});
    index_.clear();
}

int TBlockStackList::Push(int chain, int blockIndex, int delimiterIndex) {
    const auto [it, inserted] =
        index_.try_emplace(TKey{chain, blockIndex, delimiterIndex}, static_cast<int>(entries_.size()));
    if (inserted)
        entries_.push_back(TBlockInfo{blockIndex, delimiterIndex, chain});
    return it->second;
}

int TBlockStackList::Pop(int chain) const noexcept {
    if (chain < 0 || static_cast<std::size_t>(chain) >= entries_.size())
        return 0;
    const int below = entries_[static_cast<std::size_t>(chain)].next;
    return below < 0 ? chain : below;
}

}  // namespace tarnwick
