// Problems a checker found in a text, for a view to mark: a gutter image on the line, a wavy
// line under the faulty name and the message as its hint. A view asks only about the lines
// it shows, and never for more than it draws; the counts cover every problem.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

enum class TProblemSeverity : uint8_t { Error, Warning };

struct TTextProblem {
    TProblemSeverity Severity = TProblemSeverity::Error;
    int32_t Line = 0;
    int32_t Column = 0;  // byte offset into the stored line
    int32_t Length = 1;  // bytes to underline
    std::string Message;
};

class TProblemSource {
public:
    virtual ~TProblemSource() = default;
    [[nodiscard]] virtual int64_t ProblemCount() const = 0;
    [[nodiscard]] virtual int64_t ErrorCount() const = 0;
    // The first problems of line by column, at most limit of them.
    [[nodiscard]] virtual std::vector<TTextProblem> ProblemsOnLine(int32_t line, size_t limit) const = 0;
};

// Problems given as a list (sorted here by line and column).
class TProblemList final : public TProblemSource {
public:
    TProblemList() = default;
    explicit TProblemList(std::vector<TTextProblem> problems);
    [[nodiscard]] int64_t ProblemCount() const override { return int64_t(problems_.size()); }
    [[nodiscard]] int64_t ErrorCount() const override { return errors_; }
    [[nodiscard]] std::vector<TTextProblem> ProblemsOnLine(int32_t line, size_t limit) const override;

private:
    std::vector<TTextProblem> problems_;
    int64_t errors_ = 0;
};

// "No problems", "1 problem (1 error)", "12 problems (10 errors)": the status bar's count.
std::string ProblemCountText(const TProblemSource& problems);

}  // namespace tarnwick
