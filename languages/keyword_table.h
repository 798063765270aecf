#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "host/abi/ascii_text.h"
#include "languages/char_set.h"

namespace tarnwick {

// The keywords of one block: each word maps to the first enabled keyword set that holds it, so
// one probe answers "which set decides this word's style". Open addressing over a string pool
// keeps a lookup to one hash and usually one comparison, whatever the number of keywords.
// A table that ignores case holds its words in lower case and folds the text while comparing,
// so a lookup never copies the candidate.
class TKeywordTable {
public:
    explicit TKeywordTable(bool ignoreCase = false) : ignoreCase_(ignoreCase) {}

    void Clear();
    // Keeps the first set a word was added with.
    void Add(std::string_view word, int setOrdinal);
    // The set ordinal of the word at text (length bytes), or -1.
    [[nodiscard]] int Find(const char* text, std::size_t length) const noexcept {
        if (count_ == 0 || length == 0 || length > maxLength_ || !firstChars_.Contains(Key(text[0])))
            return -1;
        const std::uint32_t hash = Hash(text, length);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const TSlot& slot = slots_[i];
            if (slot.ordinal < 0)
                return -1;
            if (slot.hash == hash && slot.length == length && Equal(pool_.data() + slot.offset, text, length))
                return slot.ordinal;
        }
    }

private:
    struct TSlot {
        std::uint32_t hash = 0;
        std::int32_t ordinal = -1;  // -1: empty slot
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };

    unsigned char Key(char c) const noexcept {
        return static_cast<unsigned char>(ignoreCase_ ? ascii::ToLower(c) : c);
    }
    // Length and three characters: cheap to compute for every identifier of a line, and the
    // comparison settles the rare collision.
    std::uint32_t Hash(const char* text, std::size_t length) const noexcept {
        std::uint32_t h = static_cast<std::uint32_t>(length) * 0x9E3779B1u;
        h ^= Key(text[0]) | (Key(text[length - 1]) << 8) | (Key(text[length / 2]) << 16);
        h *= 0x85EBCA6Bu;
        return h ^ (h >> 15);
    }
    bool Equal(const char* stored, const char* text, std::size_t length) const noexcept {
        if (!ignoreCase_)
            return std::memcmp(stored, text, length) == 0;
        for (std::size_t i = 0; i < length; ++i)
            if (static_cast<unsigned char>(stored[i]) != Key(text[i]))
                return false;
        return true;
    }
    void Grow();

    bool ignoreCase_;
    std::vector<TSlot> slots_;
    std::string pool_;
    std::size_t count_ = 0;
    std::size_t maxLength_ = 0;
    TCharSet firstChars_;
};

}  // namespace tarnwick
