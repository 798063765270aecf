#include "textengine/text_problems.h"

#include <algorithm>

namespace tarnwick {

TProblemList::TProblemList(std::vector<TTextProblem> problems) : problems_(std::move(problems)) {
    std::stable_sort(problems_.begin(), problems_.end(), [](const TTextProblem& a, const TTextProblem& b) {
        return a.Line != b.Line ? a.Line < b.Line : a.Column < b.Column;
    });
    errors_ = std::count_if(problems_.begin(), problems_.end(),
                            [](const TTextProblem& p) { return p.Severity == TProblemSeverity::Error; });
}

std::vector<TTextProblem> TProblemList::ProblemsOnLine(int32_t line, size_t limit) const {
    auto it = std::lower_bound(problems_.begin(), problems_.end(), line,
                               [](const TTextProblem& p, int32_t l) { return p.Line < l; });
    std::vector<TTextProblem> found;
    for (; it != problems_.end() && it->Line == line && found.size() < limit; ++it)
        found.push_back(*it);
    return found;
}

std::string ProblemCountText(const TProblemSource& problems) {
    const int64_t count = problems.ProblemCount();
    if (count == 0)
        return "No problems";
    const int64_t errors = problems.ErrorCount();
    return std::to_string(count) + (count == 1 ? " problem (" : " problems (") + std::to_string(errors) +
           (errors == 1 ? " error)" : " errors)");
}

}  // namespace tarnwick
