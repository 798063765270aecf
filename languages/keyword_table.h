#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "char_set.h"

namespace tarnwick {

// The keywords of one block: each word maps to the first enabled keyword set that holds it, so
// one probe answers "which set decides this word's style". Open addressing over a string pool
// keeps a lookup to one hash and usually one comparison, whatever the number of keywords.
class TKeywordTable {
public:
    void Clear();
    // Keeps the first set a word was added with.
    void Add(std::string_view word, int setOrdinal);
    // The set ordinal of a word (already folded the way the words were), or -1.
    [[nodiscard]] int Find(std::string_view word) const noexcept { return Find(word, Hash(word)); }
    // The same with the word's hash, computed by the caller while it folded the word.
    [[nodiscard]] int Find(std::string_view word, std::uint32_t hash) const noexcept;

    static constexpr std::uint32_t kHashSeed = 2166136261u;
    static std::uint32_t HashStep(std::uint32_t hash, char c) noexcept {
        return (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    static std::uint32_t Hash(std::string_view word) noexcept {
        std::uint32_t hash = kHashSeed;
        for (char c : word)
            hash = HashStep(hash, c);
        return hash;
    }

    [[nodiscard]] bool MayStartWith(unsigned char c) const noexcept { return firstChars_.Contains(c); }
    [[nodiscard]] std::size_t MaxLength() const noexcept { return maxLength_; }
    [[nodiscard]] bool Empty() const noexcept { return count_ == 0; }

private:
    struct TSlot {
        std::uint32_t hash = 0;
        std::int32_t ordinal = -1;  // -1: empty slot
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };

    [[nodiscard]] std::size_t SlotOf(std::string_view word, std::uint32_t hash) const noexcept;
    void Grow();

    std::vector<TSlot> slots_;
    std::string pool_;
    std::size_t count_ = 0;
    std::size_t maxLength_ = 0;
    TCharSet firstChars_;
};

}  // namespace tarnwick
