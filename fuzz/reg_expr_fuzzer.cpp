// Regular expressions: any pattern compiles or is refused with its position, and a compiled one
// searches any line. On short inputs every answer is checked against a reference below, which
// works out the set of ends reachable from each start over the compiled nodes, the slow way.
// Input: flags, start column, pattern, NUL, line.
#include <bitset>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "textengine/reg_expr.h"

namespace {

using namespace tarnwick;
using fuzz::TFuzzInput;

constexpr int32_t kLongestCheckedLine = 40;
using TPlaces = std::bitset<kLongestCheckedLine + 2>;  // positions 0..n+1

// The pattern as a tree: what each node sequence means, without the matcher's shortcuts.
struct TElement {
    enum TKind { Test, LineStart, LineEnd, Group, Star, Plus } kind = Test;
    const TRegExprNode* node = nullptr;
    std::vector<TElement> body;
};

std::vector<TElement> ParseSequence(const std::vector<TRegExprNode>& nodes, std::size_t& i) {
    std::vector<TElement> sequence;
    for (; i + 1 < nodes.size(); ++i) {
        const TRegExprNode& node = nodes[i];
        switch (node.Kind) {
            case rkChar:
            case rkAny:
            case rkClass:
                sequence.push_back({TElement::Test, &node, {}});
                break;
            case rkLineStart:
            case rkLineEnd:
                sequence.push_back(
                    {node.Kind == rkLineStart ? TElement::LineStart : TElement::LineEnd, nullptr, {}});
                break;
            case rkGroupStart: {
                TElement group{TElement::Group, nullptr, ParseSequence(nodes, ++i)};
                if (i + 1 < nodes.size() &&
                    (nodes[i + 1].Kind == rkZeroOrMore || nodes[i + 1].Kind == rkOneOrMore))
                    group.kind = nodes[++i].Kind == rkZeroOrMore ? TElement::Star : TElement::Plus;
                sequence.push_back(std::move(group));
                break;
            }
            case rkGroupEnd:
                return sequence;
            default:
                break;  // an escape marker: the character node after it is the test
        }
    }
    return sequence;
}

class TReference {
public:
    TReference(std::string_view line, bool caseSensitive) : line_(line), caseSensitive_(caseSensitive) {}

    TPlaces Ends(const std::vector<TElement>& sequence, TPlaces from) const {
        for (const TElement& e : sequence)
            from = Ends(e, from);
        return from;
    }

private:
    TPlaces Ends(const TElement& e, TPlaces from) const {
        const int32_t n = int32_t(line_.size());
        TPlaces to;
        switch (e.kind) {
            case TElement::Test:
                for (int32_t p = 0; p <= n; ++p)
                    if (from[std::size_t(p)] && Accepts(*e.node, p))
                        to.set(std::size_t(p) + 1);
                return to;
            case TElement::LineStart:
                to[0] = from[0];
                return to;
            case TElement::LineEnd:
                to[std::size_t(n)] = from[std::size_t(n)];
                return to;
            case TElement::Group:
                return Ends(e.body, from);
            case TElement::Plus:
                // The first repetition, like every other, must consume.
                for (int32_t p = 0; p <= n; ++p) {
                    if (!from[std::size_t(p)])
                        continue;
                    TPlaces one;
                    one.set(std::size_t(p));
                    to |= Ends(e.body, one).reset(std::size_t(p));
                }
                from = to;
                [[fallthrough]];
            case TElement::Star: {
                TPlaces reached = from, frontier = from;
                while (frontier.any()) {
                    frontier = Ends(e.body, frontier) & ~reached;
                    reached |= frontier;
                }
                return reached;
            }
        }
        return to;
    }

    // A byte of the line, or at its end a character 0 that a character test never takes.
    bool Accepts(const TRegExprNode& node, int32_t p) const {
        const bool atEnd = p == int32_t(line_.size());
        uint8_t c = atEnd ? 0 : uint8_t(line_[std::size_t(p)]);
        if (!caseSensitive_ && c >= 'a' && c <= 'z')
            c = uint8_t(c - 'a' + 'A');
        switch (node.Kind) {
            case rkChar:
                return !atEnd && c == node.Char;
            case rkAny:
                return true;
            case rkClass:
                return node.Set[c] != (node.Char == 1);
            default:
                return false;
        }
    }

    std::string_view line_;
    bool caseSensitive_;
};

// The search as the editor states it: starts inside the line only, searched in order from the
// given column; the pattern "$" matches just after the last character; an empty line matches
// only "^" and "^$".
void CheckAgainstReference(TRegExpr& expr, std::string_view line, int32_t start, bool forward) {
    const std::vector<TRegExprNode>& nodes = expr.Nodes();
    const int32_t n = int32_t(line.size());
    const std::string& pattern = expr.Pattern();
    if (n == 0 || pattern == "$")
        return;
    std::size_t i = 0;
    const std::vector<TElement> tree = ParseSequence(nodes, i);
    const TReference reference(line, expr.CaseSensitive());

    int32_t expectedStart = -1;
    TPlaces ends;
    const int32_t first = forward ? std::max(start, 1) - 1 : 0;
    const int32_t last = forward ? n - 1 : std::min(start, n) - 1;
    for (int32_t k = 0; k <= last - first && expectedStart < 0; ++k) {
        const int32_t p = forward ? first + k : last - k;
        TPlaces from;
        from.set(std::size_t(p));
        ends = reference.Ends(tree, from);
        if (ends.any())
            expectedStart = p;
    }

    int32_t foundStart = start, length = -1;
    const bool found = expr.Match(line, foundStart, forward, length);
    FUZZ_REQUIRE(found == (expectedStart >= 0));
    if (!found) {
        FUZZ_REQUIRE(foundStart == start && length == 0);
        return;
    }
    FUZZ_REQUIRE(foundStart == expectedStart + 1);
    const int32_t end = expectedStart + length;
    FUZZ_REQUIRE(length >= 0 && end <= n &&
                 (ends[std::size_t(end)] || (end == n && ends[std::size_t(n) + 1])));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TFuzzInput input(data, size);
    const uint8_t flags = input.Byte();
    const int32_t start = int32_t(int8_t(input.Byte()));
    const std::string pattern(input.Until('\0'));
    const std::string line(input.Rest());
    const bool caseSensitive = flags & 1, forward = flags & 2;

    std::unique_ptr<TRegExpr> expr;
    try {
        expr = std::make_unique<TRegExpr>(pattern, caseSensitive);
    } catch (const ERegExprError& error) {
        FUZZ_REQUIRE(error.Position() >= 1 && std::size_t(error.Position()) <= pattern.size() + 1);
        return 0;
    }
    if (line.size() <= std::size_t(kLongestCheckedLine) && pattern.size() <= 32) {
        CheckAgainstReference(*expr, line, start, forward);
        return 0;
    }
    int32_t at = start, length = 0;
    if (expr->Match(line, at, forward, length))
        FUZZ_REQUIRE(at >= 1 && length >= 0 && std::size_t(at - 1 + length) <= line.size());
    return 0;
}
