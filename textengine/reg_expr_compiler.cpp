#include "textengine/reg_expr_compiler.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "host/abi/ascii_text.h"

namespace tarnwick {

namespace {

// The characters that a backslash inside a class takes literally.
bool IsClassEscape(char c) { return c != 0 && std::strchr("$*+.[]^{}-", c) != nullptr; }

// Turns the pattern into nodes, left to right. The last element (what a following * or +
// repeats) is a single character test, which gets wrapped in a group first, or a closed group.
class TPatternCompiler {
public:
    TPatternCompiler(std::string_view pattern, bool caseSensitive, std::vector<TRegExprNode>& nodes)
        : pattern_(pattern), caseSensitive_(caseSensitive), nodes_(nodes) {}

    void Run() {
        std::vector<int32_t> openGroups;
        for (size_t i = 0; i < pattern_.size(); ++i) {
            const uint8_t c = uint8_t(pattern_[i]);
            switch (c) {
                case '^':
                    Add(rkLineStart);
                    last_ = TLast::None;
                    break;
                case '$':
                    Add(rkLineEnd);
                    last_ = TLast::None;
                    break;
                case '.':
                    Single(Add(rkAny));
                    break;
                case '\\': {
                    if (i + 1 == pattern_.size())
                        Fail(i + 1);
                    const uint8_t escaped = Fold(uint8_t(pattern_[++i]));
                    Single(Add(rkEscape, escaped));
                    Add(rkChar, escaped);
                    break;
                }
                case '{':
                    openGroups.push_back(Add(rkGroupStart));
                    last_ = TLast::None;
                    break;
                case '}':
                    if (openGroups.empty())
                        Fail(i + 1);
                    Add(rkGroupEnd);
                    lastStart_ = openGroups.back();
                    openGroups.pop_back();
                    last_ = TLast::Group;
                    break;
                case '[': {
                    const int32_t index = int32_t(nodes_.size());
                    nodes_.push_back(Class(i));
                    Single(index);
                    break;
                }
                case '*':
                case '+':
                    if (last_ == TLast::None)
                        Fail(i + 1);  // nothing to repeat: start, ^, $, { or another repetition
                    Repeat(c == '*' ? rkZeroOrMore : rkOneOrMore);
                    break;
                default:
                    Single(Add(rkChar, Fold(c)));
            }
        }
        if (!openGroups.empty())
            Fail(pattern_.size() + 1);
        Add(rkChar, 0);
    }

private:
    enum class TLast { None, Single, Group };

    [[noreturn]] void Fail(size_t position) const {
        throw ERegExprError(pattern_, int32_t(std::min<size_t>(position, INT32_MAX)));
    }
    uint8_t Fold(uint8_t c) const { return caseSensitive_ ? c : ascii::ToUpper(c); }
    int32_t Add(TRegExprNodeKind kind, uint8_t c = 0) {
        nodes_.push_back({-1, kind, c, {}});
        return int32_t(nodes_.size()) - 1;
    }
    void Single(int32_t first) {
        lastStart_ = first;
        last_ = TLast::Single;
    }

    void Repeat(TRegExprNodeKind marker) {
        if (last_ == TLast::Single) {
            nodes_.insert(nodes_.begin() + lastStart_, TRegExprNode{-1, rkGroupStart, 0, {}});
            Add(rkGroupEnd);
        }
        const int32_t lastNode = int32_t(nodes_.size()) - 1;
        for (int32_t j = lastStart_; j <= lastNode; ++j) {
            int32_t& end = nodes_[size_t(j)].EndOfRepetition;
            if (end < 0)
                end = lastNode;
            else
                j = end;  // an inner repeated element: all its nodes are set already
        }
        Add(marker);
        last_ = TLast::None;
    }

    // [...] or [^...] starting at pattern_[i]; leaves i on the closing bracket.
    TRegExprNode Class(size_t& i) const {
        TRegExprNode node{-1, rkClass, 0, {}};
        const size_t end = pattern_.size();
        size_t j = i + 1;
        if (j < end && pattern_[j] == '^') {
            node.Char = 1;
            ++j;
        }
        const auto member = [&](size_t& k) {
            if (pattern_[k] == '\\' && k + 1 < end && IsClassEscape(pattern_[k + 1]))
                ++k;
            return uint8_t(pattern_[k++]);
        };
        bool empty = true;
        bool havePrevious = false;
        uint8_t previous = 0;
        for (;;) {
            if (j >= end)
                Fail(end + 1);
            const char c = pattern_[j];
            if (c == ']')
                break;
            empty = false;
            if (c == '-' && !havePrevious)
                Fail(j + 1);
            if (c == '-' && (j + 1 >= end || pattern_[j + 1] != ']')) {
                if (++j >= end)
                    Fail(end + 1);
                const uint8_t high = member(j);
                for (int x = Fold(previous); x <= Fold(high); ++x)
                    node.Set.set(size_t(x));
                previous = high;
                continue;
            }
            previous = member(j);  // a - just before ] is a member too
            havePrevious = true;
            node.Set.set(Fold(previous));
        }
        if (empty)
            Fail(j + 1);
        i = j;
        return node;
    }

    std::string_view pattern_;
    bool caseSensitive_;
    std::vector<TRegExprNode>& nodes_;
    TLast last_ = TLast::None;
    int32_t lastStart_ = -1;
};

}  // namespace

void CompileRegExpr(std::string_view pattern, bool caseSensitive, std::vector<TRegExprNode>& nodes) {
    TPatternCompiler(pattern, caseSensitive, nodes).Run();
}

}  // namespace tarnwick
