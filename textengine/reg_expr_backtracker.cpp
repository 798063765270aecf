#include "textengine/reg_expr_backtracker.h"

namespace tarnwick {

TRegExprBacktracker::TRegExprBacktracker(const TRegExprProgram& program)
    : program_(program), passedAt_(size_t(program.Size()), -1) {}

int32_t TRegExprBacktracker::Run(const TRegExprLine& line, int32_t position, int64_t& budget,
                                 size_t maxMarks) {
    const std::vector<TRegExprInstruction>& code = program_.Instructions();
    int32_t i = program_.Start();
    int32_t p = position;
    for (;;) {
        if (--budget < 0)
            return Finish(kRegExprOverBudget);
        bool ok = false;
        if (i >= 0) {
            const TRegExprInstruction& in = code[size_t(i)];
            switch (in.op) {
                case TRegExprOp::Consume:
                    ok = program_.Accepts(in, line.SymbolAt(p));
                    p += ok;
                    i = in.next;
                    break;
                case TRegExprOp::LineStart:
                    ok = p == 0;
                    i = in.next;
                    break;
                case TRegExprOp::LineEnd:
                    ok = p == line.length;
                    i = in.next;
                    break;
                case TRegExprOp::Split:
                    ok = EnterSplit(i, p, line, budget);
                    if (undo_.size() > maxMarks)
                        return Finish(kRegExprOverBudget);
                    break;
                case TRegExprOp::Match:
                    return Finish(p);
            }
        }
        if (!ok && !Backtrack(i, p))
            return Finish(kRegExprFail);
    }
}

int32_t TRegExprBacktracker::Finish(int32_t result) {
    if (!choices_.empty() || !undo_.empty()) {
        Unwind(0);
        choices_.clear();
    }
    if (result == kRegExprOverBudget) {
        // Whoever matches instead needs the memory more.
        choices_ = {};
        undo_ = {};
    }
    return result;
}

// Prefers one more repetition and keeps going on after it as the choice. A repeated single
// character takes its whole run at once and keeps the shorter runs as one choice.
bool TRegExprBacktracker::EnterSplit(int32_t& instruction, int32_t& position, const TRegExprLine& line,
                                     int64_t& budget) {
    const int32_t split = instruction;
    if (passedAt_[size_t(split)] == position)
        return false;
    undo_.push_back({split, passedAt_[size_t(split)]});
    const TRegExprInstruction& in = program_[split];
    if (const int32_t atom = in.singleAtom; atom >= 0) {
        int32_t top = position;
        while (program_.Accepts(atom, line.SymbolAt(top)))
            ++top;
        budget -= top - position;
        if (top > position)
            choices_.push_back({split, top, position, uint32_t(undo_.size())});
        passedAt_[size_t(split)] = top;
        instruction = in.alt;
        position = top;
        return true;
    }
    passedAt_[size_t(split)] = position;
    choices_.push_back({in.alt, position, -1, uint32_t(undo_.size())});
    instruction = in.next;
    return true;
}

bool TRegExprBacktracker::Backtrack(int32_t& instruction, int32_t& position) {
    while (!choices_.empty()) {
        TChoice& choice = choices_.back();
        Unwind(choice.undoMark);
        if (choice.runFrom < 0) {
            instruction = choice.instruction;
            position = choice.position;
            choices_.pop_back();
            return true;
        }
        if (choice.position > choice.runFrom) {
            position = --choice.position;
            passedAt_[size_t(choice.instruction)] = position;
            instruction = program_[choice.instruction].alt;
            return true;
        }
        choices_.pop_back();
    }
    return false;
}

void TRegExprBacktracker::Unwind(size_t mark) {
    while (undo_.size() > mark) {
        passedAt_[size_t(undo_.back().split)] = undo_.back().position;
        undo_.pop_back();
    }
}

}  // namespace tarnwick
