// A position that a buffer keeps consistent under edits (selection corners, view anchors).
// The owner registers it with TCustomMemoSource::AddPosition and removes it before it dies.
#pragma once

#include <functional>

#include "textengine/memo_types.h"

namespace tarnwick {

class TMemoPosition {
public:
    // Called with the adjusted value before it is applied; clearing allowLine or allowChar
    // vetoes that part of the adjustment.
    using ChangeHandler = std::function<void(TMemoPosition& position, const TPosition& proposed,
                                             bool& allowLine, bool& allowChar)>;

    TPosition Pos;
    // Moves with text inserted exactly at its column (the selection's top-left corner), so
    // text typed at either edge of a selection lands outside it.
    bool MovesAtInsertPoint = false;
    ChangeHandler OnChange;
};

}  // namespace tarnwick
