// The node list of a TRegExpr rewritten as a graph of instructions for matching (used by
// TRegExpr only).
//
// A repetition becomes a Split whose preferred way is one more repetition and whose other way
// goes on after the marker, so that taking the preferred way first visits the ways through the
// pattern in the order of a backtracking search. A repetition must consume something: whoever
// follows the graph drops a way that comes back to a Split at the position where it last passed
// it. A "+" whose group can match nothing needs more: its first repetition enters through a copy
// of the group's beginning that keeps only the ways that consume.
#pragma once

#include <bitset>
#include <cstdint>
#include <string_view>
#include <vector>

#include "host/abi/ascii_text.h"
#include "textengine/reg_expr.h"

namespace tarnwick {

enum class TRegExprOp : uint8_t {
    Consume,    // the test of node `node` on one character, then next
    Split,      // next first, then alt
    LineStart,  // next, only at the start of the line
    LineEnd,    // next, only at the end of the line
    Match,      // the pattern ends here
};

// What a consuming instruction reads at a position: a byte, the line end (which a dot or a
// negated class may take once), or nothing past that.
constexpr int32_t kRegExprLineEnd = 256;
constexpr int32_t kRegExprPastEnd = 257;

// What a run from a start answers instead of the end of a match.
constexpr int32_t kRegExprFail = -1;        // no match starts there
constexpr int32_t kRegExprOverBudget = -2;  // the run stopped before it knew

// What the anchors see at a position.
struct TRegExprPlace {
    bool lineStart;
    bool lineEnd;
};

// The line being matched; positions run from 0 to its length, and one further after the line
// end has been taken.
struct TRegExprLine {
    std::string_view text;
    int32_t length = 0;

    int32_t SymbolAt(int32_t position) const {
        if (position < length)
            return uint8_t(text[size_t(position)]);
        return position == length ? kRegExprLineEnd : kRegExprPastEnd;
    }
    TRegExprPlace PlaceAt(int32_t position) const { return {position == 0, position == length}; }
};

struct TRegExprInstruction {
    TRegExprOp op = TRegExprOp::Match;
    int32_t next = -1;                   // -1: the way fails
    int32_t alt = -1;                    // Split only
    int32_t singleAtom = -1;             // Split: the Consume it repeats when its group is just that
    const TRegExprNode* test = nullptr;  // Consume: the node whose test applies
};

class TRegExprProgram {
public:
    // nodes must outlive the program.
    TRegExprProgram(const std::vector<TRegExprNode>& nodes, bool caseSensitive);

    // The first instruction, or -1 for a pattern that can never match.
    int32_t Start() const { return start_; }
    const std::vector<TRegExprInstruction>& Instructions() const { return instructions_; }
    const TRegExprInstruction& operator[](int32_t i) const { return instructions_[size_t(i)]; }
    int32_t Size() const { return int32_t(instructions_.size()); }

    // Whether the consuming instruction accepts symbol (a byte, kRegExprLineEnd or
    // kRegExprPastEnd).
    bool Accepts(int32_t instruction, int32_t symbol) const {
        return Accepts(instructions_[size_t(instruction)], symbol);
    }
    bool Accepts(const TRegExprInstruction& consume, int32_t symbol) const {
        const TRegExprNode& node = *consume.test;
        if (symbol == kRegExprPastEnd)
            return false;  // the line end has been taken already
        const bool atEnd = symbol == kRegExprLineEnd;
        const uint8_t c = atEnd ? 0 : caseSensitive_ ? uint8_t(symbol) : ascii::ToUpper(uint8_t(symbol));
        switch (node.Kind) {
            case rkChar:
                return !atEnd && c == node.Char;  // a NUL in the pattern matches a NUL byte, not the line end
            case rkAny:
                return true;
            case rkClass:
                return node.Set[c] != (node.Char == 1);
            default:
                return false;
        }
    }
    // The bytes a consuming instruction accepts.
    std::bitset<256> AcceptedBytes(int32_t instruction) const;

private:
    const bool caseSensitive_;
    std::vector<TRegExprInstruction> instructions_;
    int32_t start_ = -1;
};

}  // namespace tarnwick
