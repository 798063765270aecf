// Matching by trying one way through a TRegExprProgram at a time, keeping the choices not taken
// on a stack and returning to the newest when a way fails (used by TRegExpr only). Fast for the
// patterns people type, but the number of ways can grow without bound, so a run stops once it
// has spent its budget of steps or would remember too much at once.
#pragma once

#include <cstdint>
#include <vector>

#include "textengine/reg_expr_program.h"

namespace tarnwick {

class TRegExprBacktracker {
public:
    explicit TRegExprBacktracker(const TRegExprProgram& program);

    // The end of the preferred match that starts at position, or kRegExprFail;
    // kRegExprOverBudget when the run would take more than budget steps (which it spends) or
    // remember more than maxMarks places on its way (each choice is one of them).
    int32_t Run(const TRegExprLine& line, int32_t position, int64_t& budget, size_t maxMarks);

private:
    // A way not taken: go on at instruction from position. For a repeated single character
    // (runFrom >= 0) the choice is to stop one repetition earlier, down to runFrom.
    struct TChoice {
        int32_t instruction;
        int32_t position;
        int32_t runFrom;
        uint32_t undoMark;  // the entries of undo_ that belong to the way before the choice
    };
    struct TUndo {
        int32_t split;
        int32_t position;
    };

    int32_t Finish(int32_t result);
    bool EnterSplit(int32_t& instruction, int32_t& position, const TRegExprLine& line, int64_t& budget);
    bool Backtrack(int32_t& instruction, int32_t& position);
    void Unwind(size_t mark);

    const TRegExprProgram& program_;
    // Per Split: the position where the current way last passed it, -1 when it did not. Coming
    // back at the same position means a repetition consumed nothing, and that way fails.
    std::vector<int32_t> passedAt_;
    std::vector<TChoice> choices_;
    std::vector<TUndo> undo_;  // earlier values of passedAt_, newest last
};

}  // namespace tarnwick
