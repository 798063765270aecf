// What a printout of an editor view shows, as a 7-bit set (bit n = value n).
#pragma once

#include <cstdint>

#include "textengine/option_set.h"

namespace tarnwick {

// poPrintSel is chosen per printout and never stored with the preferences.
enum TDCPrintOption : uint8_t {
    poWrapLines,
    poInColor,
    poPrintSel,
    poPrintHeader,
    poLineNumbers,
    poPrintSyntax,
    poShowProgress,
};
using TDCPrintOptions = TOptionSet<TDCPrintOption, 7>;

}  // namespace tarnwick
