// Finding the bracket that matches the one under the caret, skipping brackets that the
// highlighter coloured as strings or comments (styles 1 and 2).
#pragma once

#include <optional>

#include "textengine/memo_types.h"

namespace tarnwick {

class TCustomMemoSource;

enum class TBracketDirection { Both, Forward, Backward };

// The bracket under the caret, or the one selected character: ( < [ { search forward, ) > ] }
// backward, counting nesting. Empty when there is no bracket there or no match. Costs the
// distance to the match, which a user command may spend.
std::optional<TPosition> FindMatchingBracket(TCustomMemoSource& source, TBracketDirection direction);

}  // namespace tarnwick
