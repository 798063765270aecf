#include "languages/char_set.h"

namespace tarnwick {

TCharSet TCharSet::FromSetString(std::string_view text) {
    TCharSet set;
    unsigned char last = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '-' && i + 1 < text.size()) {
            // A range runs from the last character added; one that runs backwards adds nothing.
            const auto to = static_cast<unsigned char>(text[++i]);
            if (to >= last)
                set.AddRange(last, to);
            continue;
        }
        if (c == '\\' && i + 1 < text.size()) {
            last = static_cast<unsigned char>(text[++i]);
            set.Add(last);
            continue;
        }
        set.Add(c);
        last = c;
    }
    return set;
}

TCharSet TCharSet::Range(unsigned char first, unsigned char last) {
    TCharSet set;
    set.AddRange(first, last);
    return set;
}

void TCharSet::AddRange(unsigned char first, unsigned char last) noexcept {
    for (unsigned c = first; c <= last; ++c)
        Add(static_cast<unsigned char>(c));
}

void TCharSet::AddChars(std::string_view chars) noexcept {
    for (char c : chars)
        Add(static_cast<unsigned char>(c));
}

void TCharSet::AddSet(const TCharSet& other) noexcept {
    for (std::size_t i = 0; i < bits_.size(); ++i)
        bits_[i] |= other.bits_[i];
}

void TCharSet::RemoveSet(const TCharSet& other) noexcept {
    for (std::size_t i = 0; i < bits_.size(); ++i)
        bits_[i] &= ~other.bits_[i];
}

bool TCharSet::IsEmpty() const noexcept { return (bits_[0] | bits_[1] | bits_[2] | bits_[3]) == 0; }

std::string TCharSet::ToSetString() const {
    std::string text;
    unsigned c = 0;
    while (c < 256) {
        if (!Contains(static_cast<unsigned char>(c))) {
            ++c;
            continue;
        }
        unsigned end = c;
        while (end + 1 < 256 && Contains(static_cast<unsigned char>(end + 1)))
            ++end;
        if (c == '\\' || c == '-')
            text += '\\';
        text += static_cast<char>(c);
        if (end > c) {
            text += '-';
            text += static_cast<char>(end);
        }
        c = end + 1;
    }
    return text;
}

}  // namespace tarnwick
