#include "textengine/edif/edif_view_sources.h"

#include <algorithm>

namespace tarnwick {

// The index answers by first line, outer before inner.
std::optional<TLineRange> TEdifFoldSource::RangeStartingAt(int32_t line) const {
    for (const TEdifFoldRange& r : index_.FoldRanges(line, line))
        if (r.firstLine == line)
            return TLineRange{r.firstLine, r.lastLine};
    return std::nullopt;
}

std::optional<TLineRange> TEdifFoldSource::RangeAround(int32_t line) const {
    std::optional<TLineRange> innermost;
    for (const TEdifFoldRange& r : index_.FoldRanges(line, line))
        if (r.firstLine < line && r.lastLine >= line)
            innermost = TLineRange{r.firstLine, r.lastLine};
    return innermost;
}

std::vector<TLineRange> TEdifFoldSource::CellRanges() const {
    std::vector<TLineRange> cells;
    if (!index_.IsIndexCurrent())
        return cells;
    const int32_t count = index_.DefinitionCount();
    for (int32_t i = 0; i < count; ++i) {
        const TEdifDefinition d = index_.Definition(i);
        if (d.kind == TEdifKind::Cell && d.closed && d.end.line > d.head.line)
            cells.push_back({d.head.line, d.end.line});
    }
    return cells;
}

std::vector<TTextProblem> TEdifProblemSource::ProblemsOnLine(int32_t line, size_t limit) const {
    const std::vector<TEdifProblem>& kept = index_.Problems();
    auto it = std::lower_bound(kept.begin(), kept.end(), line,
                               [](const TEdifProblem& p, int32_t l) { return p.line < l; });
    std::vector<TTextProblem> found;
    for (; it != kept.end() && it->line == line && found.size() < limit; ++it) {
        const TProblemSeverity severity =
            it->severity == TEdifSeverity::Error ? TProblemSeverity::Error : TProblemSeverity::Warning;
        found.push_back({severity, it->line, it->column, it->length, it->message});
    }
    return found;
}

}  // namespace tarnwick
