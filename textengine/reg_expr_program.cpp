#include "textengine/reg_expr_program.h"

#include <algorithm>
#include <cassert>

namespace tarnwick {

namespace {

// Builds the instructions right to left, so that every instruction is made knowing what
// follows it. Explicit stacks instead of recursion: groups may nest as deep as the pattern is
// long.
class TProgramBuilder {
public:
    TProgramBuilder(const std::vector<TRegExprNode>& nodes, std::vector<TRegExprInstruction>& out)
        : nodes_(nodes), out_(out) {}

    int32_t Build() {
        entryOf_.assign(nodes_.size(), -1);  // read by "+" groups before any element may have set it
        int32_t cont = Add(TRegExprOp::Match, -1);
        for (int32_t i = int32_t(nodes_.size()) - 2; i >= 0; --i) {
            const TRegExprNode& node = nodes_[size_t(i)];
            switch (node.Kind) {
                case rkChar:
                case rkAny:
                case rkClass:
                    cont = Add(TRegExprOp::Consume, cont);
                    out_[size_t(cont)].test = &node;
                    Enter(i, cont, false);
                    break;
                case rkLineStart:
                case rkLineEnd:
                    cont = Add(node.Kind == rkLineStart ? TRegExprOp::LineStart : TRegExprOp::LineEnd, cont);
                    Enter(i, cont, true);
                    break;
                case rkZeroOrMore:
                case rkOneOrMore:
                    assert(i > 0 && nodes_[size_t(i) - 1].Kind == rkGroupEnd && "marker after a group");
                    cont = Add(TRegExprOp::Split, -1, cont);  // the end of each repetition
                    groups_.push_back({cont, node.Kind == rkOneOrMore, true});
                    --i;  // its group end
                    break;
                case rkGroupEnd:
                    groups_.push_back({-1, false, true});
                    break;
                case rkGroupStart:
                    cont = CloseGroup(i, cont);
                    break;
                default:
                    break;  // escape markers match nothing
            }
        }
        return cont;
    }

private:
    struct TOpenGroup {
        int32_t split;  // -1: a plain group
        bool oneOrMore;
        bool canBeEmpty;
    };

    int32_t Add(TRegExprOp op, int32_t next, int32_t alt = -1) {
        out_.push_back({op, next, alt});
        return int32_t(out_.size()) - 1;
    }

    // Notes where the element at node i starts, for the first repetition of a "+" to look up,
    // and whether the group around it can still match nothing.
    void Enter(int32_t i, int32_t entry, bool canBeEmpty) {
        if (!groups_.empty() && !canBeEmpty)
            groups_.back().canBeEmpty = false;
        entryOf_[size_t(i)] = entry;
    }

    // bodyEntry is where the group's first element starts (the split itself for an empty group).
    int32_t CloseGroup(int32_t start, int32_t bodyEntry) {
        const TOpenGroup group = groups_.back();
        groups_.pop_back();
        if (group.split < 0) {
            if (!groups_.empty() && !group.canBeEmpty)
                groups_.back().canBeEmpty = false;
            return bodyEntry;
        }
        TRegExprInstruction& split = out_[size_t(group.split)];
        split.next = bodyEntry;
        // A body that can never match (-1, such as an empty group under "+") has no instruction.
        if (bodyEntry >= 0 && out_[size_t(bodyEntry)].op == TRegExprOp::Consume &&
            out_[size_t(bodyEntry)].next == group.split)
            split.singleAtom = bodyEntry;
        int32_t entry = group.split;
        if (group.oneOrMore)
            entry = group.canBeEmpty ? FirstRepetition(start) : bodyEntry;
        Enter(start, entry, !group.oneOrMore);
        return entry;
    }

    // The entrance of the first repetition of the "+" group starting at node `start` that keeps
    // only the ways that consume, in the same order: elements that can match nothing are copied
    // (an anchor, or a "*" as a choice between its first repetition, itself restricted the same
    // way, and going on without it) until the first element that always consumes, which
    // continues in the group itself. Plain groups are looked through.
    int32_t FirstRepetition(int32_t start) {
        struct TTask {
            int32_t node;
            int32_t end;   // the group end of the sequence
            int32_t from;  // the instruction whose way leads here, -1 for the entrance
            bool alt;
        };
        int32_t entrance = -1;
        std::vector<TTask> tasks{{start + 1, nodes_[size_t(start)].EndOfRepetition, -1, false}};
        while (!tasks.empty()) {
            TTask task = tasks.back();
            tasks.pop_back();
            int32_t& k = task.node;
            // Past escape markers and the braces of plain groups.
            while (k < task.end && entryOf_[size_t(k)] < 0)
                ++k;
            int32_t target = -1;  // nothing consumed and nothing left: the way fails
            if (k < task.end) {
                const TRegExprNode& node = nodes_[size_t(k)];
                const int32_t close = node.EndOfRepetition;
                if (node.Kind == rkLineStart || node.Kind == rkLineEnd) {
                    target = Add(out_[size_t(entryOf_[size_t(k)])].op, -1);
                    tasks.push_back({k + 1, task.end, target, false});
                } else if (node.Kind == rkGroupStart && nodes_[size_t(close) + 1].Kind == rkZeroOrMore) {
                    target = Add(TRegExprOp::Split, -1);
                    tasks.push_back({k + 1, close, target, false});
                    tasks.push_back({close + 2, task.end, target, true});
                } else {
                    target = entryOf_[size_t(k)];  // a character test or a "+": it consumes
                }
            }
            if (task.from < 0)
                entrance = target;
            else if (task.alt)
                out_[size_t(task.from)].alt = target;
            else
                out_[size_t(task.from)].next = target;
        }
        return entrance;
    }

    const std::vector<TRegExprNode>& nodes_;
    std::vector<TRegExprInstruction>& out_;
    std::vector<TOpenGroup> groups_;  // the open groups, innermost last
    std::vector<int32_t> entryOf_;    // per node: where the element it begins starts, else -1
};

}  // namespace

TRegExprProgram::TRegExprProgram(const std::vector<TRegExprNode>& nodes, bool caseSensitive)
    : caseSensitive_(caseSensitive) {
    instructions_.reserve(nodes.size() + 1);
    start_ = TProgramBuilder(nodes, instructions_).Build();
}

std::bitset<256> TRegExprProgram::AcceptedBytes(int32_t instruction) const {
    const TRegExprNode& node = *instructions_[size_t(instruction)].test;
    std::bitset<256> bytes;
    switch (node.Kind) {
        case rkAny:
            bytes.set();
            break;
        case rkChar:
            bytes.set(node.Char);
            if (!caseSensitive_)
                bytes.set(ascii::ToLower(node.Char));
            break;
        case rkClass:
            // Without case sensitivity a byte is tested by its capital; the set holds capitals.
            bytes = node.Set;
            if (!caseSensitive_)
                for (int c = 'a'; c <= 'z'; ++c)
                    bytes[size_t(c)] = node.Set[ascii::ToUpper(uint8_t(c))];
            if (node.Char == 1)
                bytes.flip();
            break;
        default:
            break;
    }
    return bytes;
}

}  // namespace tarnwick
