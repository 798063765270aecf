// View behaviours of an editor view, stored as a 32-bit set (bit n = value n).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "textengine/option_set.h"

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

using TMemoOptions = TOptionSet<TMemoOption, 25>;

inline constexpr TMemoOptions kDefaultMemoOptions{moThumbTracking, moColorSyntax};

}  // namespace tarnwick
