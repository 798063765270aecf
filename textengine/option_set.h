// A set of options stored as a 32-bit mask, bit n standing for the option whose value is n.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace tarnwick {

template <class Option, unsigned BitCount>
class TOptionSet {
    static_assert(BitCount <= 32, "an option set is one 32-bit mask");

public:
    constexpr TOptionSet() = default;
    constexpr explicit TOptionSet(uint32_t mask) : mask_(mask & kAllBits) {}
    constexpr TOptionSet(std::initializer_list<Option> options) {
        for (Option o : options)
            mask_ |= 1u << o;
    }
    constexpr bool Has(Option o) const { return (mask_ >> o) & 1u; }
    constexpr TOptionSet With(Option o) const { return TOptionSet(mask_ | (1u << o)); }
    constexpr TOptionSet Without(Option o) const { return TOptionSet(mask_ & ~(1u << o)); }
    constexpr TOptionSet Set(Option o, bool on) const { return on ? With(o) : Without(o); }
    constexpr uint32_t Mask() const { return mask_; }
    friend constexpr bool operator==(TOptionSet, TOptionSet) = default;

private:
    static constexpr uint32_t kAllBits = BitCount == 32 ? ~0u : (1u << BitCount) - 1;
    uint32_t mask_ = 0;
};

}  // namespace tarnwick
