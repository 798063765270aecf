// View behaviours of an editor view, stored as a 32-bit set (bit n = value n).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace tarnwick {

enum TMemoOption : uint8_t {
    moDrawMargin = 0,
    moDrawGutter = 1,
    moThumbTracking = 2,
    moDblClickLine = 3,
    moColorSyntax = 4,
    moLineNumbers = 5,
    moOverwriteCaret = 6,
    moLeftIndent = 7,
    moDisableDrag = 8,
    moSelectOnlyText = 9,
    moLineNumbersOnGutter = 10,
    moNotePadCursorStyle = 11,
    moBreakWordAtMargin = 12,
    moDrawSpecialSymbols = 13,
    moDisableRightClickMove = 14,
    moColoredLineStyle = 15,
    moDisableInvertedSel = 16,
    moHideInvisibleLines = 17,
    moDrawLineBookmarks = 18,
    moShowScrollHint = 19,
    moUseReadOnlyColor = 20,
    moExtendedSel = 21,
    moCenterOnBookmark = 22,
    moTripleClick = 23,
    moLimitLineNumbers = 24,
};

class TMemoOptions {
public:
    constexpr TMemoOptions() = default;
    constexpr explicit TMemoOptions(uint32_t mask) : mask_(mask & kAllBits) {}
    constexpr TMemoOptions(std::initializer_list<TMemoOption> options) {
        for (TMemoOption o : options)
            mask_ |= 1u << o;
    }
    constexpr bool Has(TMemoOption o) const { return (mask_ >> o) & 1u; }
    constexpr TMemoOptions With(TMemoOption o) const { return TMemoOptions(mask_ | (1u << o)); }
    constexpr TMemoOptions Without(TMemoOption o) const { return TMemoOptions(mask_ & ~(1u << o)); }
    constexpr TMemoOptions Set(TMemoOption o, bool on) const { return on ? With(o) : Without(o); }
    constexpr uint32_t Mask() const { return mask_; }
    friend constexpr bool operator==(TMemoOptions, TMemoOptions) = default;

private:
    static constexpr uint32_t kAllBits = (1u << 25) - 1;
    uint32_t mask_ = 0;
};

inline constexpr TMemoOptions kDefaultMemoOptions{moThumbTracking, moColorSyntax};

}  // namespace tarnwick
