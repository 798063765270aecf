// The small pattern matcher behind regular-expression searches: literals, ".", classes "[...]"
// and "[^...]", "^", "$", groups in braces and the repetitions "*" and "+". There is no
// alternation, no optional element, no counted repetition and no capture.
//
// A pattern compiles once into a flat list of nodes; Match() then searches one line at a time,
// forward or backward from a 1-based start column. The line is treated as ending with a
// character 0 that a consuming node may take once, so "." and negated classes can match the
// line end itself (the reported length never counts it).
//
// Repetitions are greedy: the match found is the one a backtracking search reaches first,
// trying one more repetition before going on, retrying the newest choice first, and dropping a
// repetition that consumes nothing. Matching memory stays within a few times the line plus a
// little per pattern node, and time within a few passes over the line for the patterns met in
// practice (TMatcher in reg_expr.cpp says how).
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// A pattern that does not compile: "<pattern> is invalid mask at (<1-based position>)".
class ERegExprError : public std::runtime_error {
public:
    ERegExprError(std::string_view pattern, int32_t position);
    int32_t Position() const { return position_; }

private:
    int32_t position_;
};

enum TRegExprNodeKind : uint8_t {
    rkChar = 0,        // the character; character 0 on the last node marks the end of the pattern
    rkAny = 1,         // .
    rkClass = 2,       // [...]
    rkLineStart = 3,   // ^
    rkLineEnd = 4,     // $
    rkGroupStart = 5,  // {
    rkGroupEnd = 6,    // }
    rkEscape = 7,      // backslash before an escaped character
    rkOneOrMore = 8,   // +
    rkZeroOrMore = 9,  // *
};

struct TRegExprNode {
    int32_t EndOfRepetition = -1;  // set on the nodes of a repeated element: its last node
    TRegExprNodeKind Kind = rkChar;
    uint8_t Char = 0;      // the character (capitals when ignoring case); 1 = negated class
    std::bitset<256> Set;  // members of a class
};

class TRegExpr {
public:
    // Throws ERegExprError for a bad pattern.
    TRegExpr(std::string_view pattern, bool caseSensitive);
    ~TRegExpr();
    TRegExpr(const TRegExpr&) = delete;
    TRegExpr& operator=(const TRegExpr&) = delete;

    // Finds the first match whose 1-based start column is at or after start (forward) or at or
    // before it (backward). On success start becomes the match start and length the number of
    // characters matched (0 for an empty match); otherwise length is 0 and start is unchanged.
    bool Match(std::string_view line, int32_t& start, bool forward, int32_t& length);

    const std::string& Pattern() const { return pattern_; }
    bool CaseSensitive() const { return caseSensitive_; }
    const std::vector<TRegExprNode>& Nodes() const { return nodes_; }

private:
    class TMatcher;

    std::string pattern_;
    bool caseSensitive_;  // false: the ASCII letters compare as capitals, every other byte as it is
    std::vector<TRegExprNode> nodes_;
    std::unique_ptr<TMatcher> matcher_;  // matching state and caches, reused between lines
};

}  // namespace tarnwick
