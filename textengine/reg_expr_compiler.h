// Compiling a TRegExpr pattern into its node list (used by TRegExpr only).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "textengine/reg_expr.h"

namespace tarnwick {

// Capitals as patterns compare them when ignoring case: the ASCII letters only.
inline uint8_t RegExprUpper(uint8_t c) { return c >= 'a' && c <= 'z' ? uint8_t(c - ('a' - 'A')) : c; }

// Appends the nodes of pattern to nodes; throws ERegExprError for a bad pattern.
void CompileRegExpr(std::string_view pattern, bool caseSensitive, std::vector<TRegExprNode>& nodes);

}  // namespace tarnwick
