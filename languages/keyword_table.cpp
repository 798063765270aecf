#include "languages/keyword_table.h"

namespace tarnwick {

void TKeywordTable::Clear() {
    slots_.clear();
    pool_.clear();
    count_ = 0;
    maxLength_ = 0;
    firstChars_ = TCharSet();
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
    if (word.empty() || setOrdinal < 0 || Find(word.data(), word.size()) >= 0)
        return;
    if ((count_ + 1) * 2 > slots_.size())  // at most half full, so probes stay short
        Grow();
    const std::uint32_t hash = Hash(word.data(), word.size());
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].ordinal >= 0)
        i = (i + 1) & mask;
    slots_[i] = TSlot{hash, setOrdinal, static_cast<std::uint32_t>(pool_.size()),
                      static_cast<std::uint32_t>(word.size())};
    for (char c : word)
        pool_ += static_cast<char>(Key(c));
    ++count_;
    if (word.size() > maxLength_)
        maxLength_ = word.size();
    firstChars_.Add(Key(word.front()));
}

}  // namespace tarnwick
