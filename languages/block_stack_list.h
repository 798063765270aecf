#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tarnwick {

// One interned chain of nested blocks: the innermost block, the delimiter entry that opened
// it, and the chain it was opened in.
struct TBlockInfo {
    int blockIndex = 0;
    int delimiterIndex = -1;
    int next = -1;
};

// Every distinct stack of open blocks is stored once, so the stack a line ends in is a single
// index, and two lines that end inside the same nesting carry the same number. Entry 0 is the
// root alone.
class TBlockStackList {
public:
    TBlockStackList() { Reset(); }

    void Reset();
    // The chain made of (block, delimiter) on top of `chain`, created on first use.
    int Push(int chain, int blockIndex, int delimiterIndex);
    // The chain below the top of `chain`; the root stays where it is.
    [[nodiscard]] int Pop(int chain) const noexcept;

    [[nodiscard]] std::size_t Size() const noexcept { return entries_.size(); }
    [[nodiscard]] const TBlockInfo& operator[](std::size_t i) const noexcept { return entries_[i]; }

private:
    struct TKey {
        int chain, blockIndex, delimiterIndex;
        friend bool operator==(const TKey&, const TKey&) = default;
    };
    struct TKeyHash {
        std::size_t operator()(const TKey& k) const noexcept {
            return (static_cast<std::size_t>(static_cast<unsigned>(k.chain)) * 0x9E3779B97F4A7C15ull) ^
                   (static_cast<std::size_t>(static_cast<unsigned>(k.blockIndex)) << 20) ^
                   static_cast<unsigned>(k.delimiterIndex);
        }
    };

    std::vector<TBlockInfo> entries_;
    std::unordered_map<TKey, int, TKeyHash> index_;
};

}  // namespace tarnwick
