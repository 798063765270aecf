#include "keyword_table.h"

#include <cstring>

namespace tarnwick {

void TKeywordTable::Clear() {
    slots_.clear();
    pool_.clear();
    count_ = 0;
    maxLength_ = 0;
    firstChars_ = TCharSet();
}

// The slot holding the word, or the empty slot where it would go.
std::size_t TKeywordTable::SlotOf(std::string_view word, std::uint32_t hash) const noexcept {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    for (;;) {
        const TSlot& slot = slots_[i];
        if (slot.ordinal < 0)
            return i;
        if (slot.hash == hash && slot.length == word.size() &&
            std::memcmp(pool_.data() + slot.offset, word.data(), word.size()) == 0)
            return i;
        i = (i + 1) & mask;
    }
}

void TKeywordTable::Grow() {
    std::vector<TSlot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, TSlot{});
    const std::size_t mask = slots_.size() - 1;
    for (const TSlot& slot : old) {
        if (slot.ordinal < 0)
            continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].ordinal >= 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

void TKeywordTable::Add(std::string_view word, int setOrdinal) {
    if (word.empty() || setOrdinal < 0)
        return;
    if ((count_ + 1) * 2 > slots_.size())  // at most half full, so probes stay short
        Grow();
    const std::uint32_t hash = Hash(word);
    TSlot& slot = slots_[SlotOf(word, hash)];
    if (slot.ordinal >= 0)
        return;
    slot = TSlot{hash, setOrdinal, static_cast<std::uint32_t>(pool_.size()),
                 static_cast<std::uint32_t>(word.size())};
    pool_.append(word);
    ++count_;
    if (word.size() > maxLength_)
        maxLength_ = word.size();
    firstChars_.Add(static_cast<unsigned char>(word.front()));
}

int TKeywordTable::Find(std::string_view word, std::uint32_t hash) const noexcept {
    if (count_ == 0 || word.empty() || word.size() > maxLength_ ||
        !firstChars_.Contains(static_cast<unsigned char>(word.front())))
        return -1;
    return slots_[SlotOf(word, hash)].ordinal;
}

}  // namespace tarnwick
