// What an editor view folds and marks, read from an EDIF index: its forms of more than one
// line and its problems. Both ask the index only about the lines a view shows or the caret's.
#pragma once

#include "textengine/edif/edif_index.h"
#include "textengine/fold_ranges.h"
#include "textengine/text_problems.h"

namespace tarnwick {

class TEdifFoldSource final : public TFoldRangeSource {
public:
    explicit TEdifFoldSource(const TEdifIndex& index) : index_(index) {}
    [[nodiscard]] std::optional<TLineRange> RangeStartingAt(int32_t line) const override;
    [[nodiscard]] std::optional<TLineRange> RangeAround(int32_t line) const override;
    // Every cell of more than one line; a walk over the definitions.
    [[nodiscard]] std::vector<TLineRange> CellRanges() const override;

private:
    const TEdifIndex& index_;
};

class TEdifProblemSource final : public TProblemSource {
public:
    explicit TEdifProblemSource(const TEdifIndex& index) : index_(index) {}
    [[nodiscard]] int64_t ProblemCount() const override { return index_.ProblemCount(); }
    [[nodiscard]] int64_t ErrorCount() const override { return index_.ErrorCount(); }
    [[nodiscard]] std::vector<TTextProblem> ProblemsOnLine(int32_t line, size_t limit) const override;

private:
    const TEdifIndex& index_;
};

}  // namespace tarnwick
