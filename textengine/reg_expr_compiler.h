// Compiling a TRegExpr pattern into its node list (used by TRegExpr only).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "textengine/reg_expr.h"

namespace tarnwick {

// Appends the nodes of pattern to nodes; throws ERegExprError for a bad pattern.
void CompileRegExpr(std::string_view pattern, bool caseSensitive, std::vector<TRegExprNode>& nodes);

}  // namespace tarnwick
