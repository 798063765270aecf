#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

// A set of the 256 byte values. Membership is one shift and mask, so the highlighter can test
// every character of a line against it without branching on ranges.
class TCharSet {
public:
    TCharSet() = default;
    // Builds a set from ranges written as "A-Z_a-z" in the scheme files' set-string notation.
    static TCharSet FromSetString(std::string_view text);
    static TCharSet Range(unsigned char first, unsigned char last);

    [[nodiscard]] bool Contains(unsigned char c) const noexcept { return (bits_[c >> 6] >> (c & 63)) & 1u; }
    void Add(unsigned char c) noexcept { bits_[c >> 6] |= std::uint64_t{1} << (c & 63); }
    void AddRange(unsigned char first, unsigned char last) noexcept;
    void AddChars(std::string_view chars) noexcept;
    void AddSet(const TCharSet& other) noexcept;
    void RemoveSet(const TCharSet& other) noexcept;
    [[nodiscard]] bool IsEmpty() const noexcept;

    // Runs of consecutive members as "first-last", a lone member as itself; "\" and "-"
    // are escaped with "\" where they start a run.
    [[nodiscard]] std::string ToSetString() const;

    friend bool operator==(const TCharSet&, const TCharSet&) = default;

private:
    std::array<std::uint64_t, 4> bits_{};
};

}  // namespace tarnwick
