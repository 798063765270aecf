#include "textengine/reg_expr.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "host/abi/ascii_text.h"
#include "textengine/reg_expr_automaton.h"
#include "textengine/reg_expr_backtracker.h"
#include "textengine/reg_expr_compiler.h"
#include "textengine/reg_expr_program.h"

namespace tarnwick {

namespace {

// Lines longer than this cannot be addressed with 32-bit columns plus the line-end position.
constexpr size_t kLongestLine = INT32_MAX - 2;

}  // namespace

ERegExprError::ERegExprError(std::string_view pattern, int32_t position)
    : std::runtime_error(std::string(pattern) + " is invalid mask at (" + std::to_string(position) + ")"),
      position_(position) {}

// Searching one line: the special cases of the patterns $, ^ and ^$, the positions worth
// trying, and which matcher tries them.
//
// Positions are 0-based here. Each candidate start is tried in search order, first by
// backtracking, which is quick for ordinary patterns. Once backtracking has spent about four
// times the line in steps, or would remember more places than a 32nd of the line, the
// candidates that remain go to the automaton, whose time per character is bounded. Once its runs
// too have done about four times the line in work, one backward pass finds the nearest start
// from which any match exists, and that start is matched alone. Memory stays within a few times
// the line.
class TRegExpr::TMatcher {
public:
    TMatcher(const std::vector<TRegExprNode>& nodes, bool caseSensitive);
    bool Match(std::string_view line, int32_t& start, bool forward, int32_t& length);

private:
    // Steps left for backtracking and for the automaton in one search.
    struct TBudget {
        int64_t backtrackSteps;
        int64_t automatonSteps;
        bool backtracking;
    };

    int32_t FindStart(int32_t first, int32_t last, bool forward, int32_t& end);
    int32_t TryAt(int32_t position, TBudget& budget);
    int32_t PreferredEnd(int32_t position);
    bool StartsWithPrefix(int32_t position) const;
    int32_t NextCandidate(int32_t position) const;
    int32_t PreviousCandidate(int32_t position) const;
    int64_t BacktrackingSteps() const { return 4 * (int64_t(line_.length) + 1) + 8192; }
    size_t MaxMarks() const { return size_t(line_.length) / 32 + 4096; }

    TRegExprAutomaton& Automaton();

    const TRegExprProgram program_;
    TRegExprBacktracker backtracker_;
    std::unique_ptr<TRegExprAutomaton> automaton_;  // made on first need
    bool onlyLineEnd_ = false;                      // the pattern $
    bool lineStartPattern_ = false;  // the patterns ^ and ^$, the only ones an empty line matches
    bool startsInside_ = false;      // false: a match can begin only at the line start
    bool anyFirst_ = true;           // any byte can begin a match inside the line
    std::bitset<256> firstChars_;
    int32_t onlyFirst_ = -1;  // the one byte a match inside the line begins with, if just one
    std::string prefix_;      // the characters every match begins with (capitals if folded)
    bool caseSensitive_;
    TRegExprLine line_;
};

TRegExpr::TMatcher::TMatcher(const std::vector<TRegExprNode>& nodes, bool caseSensitive)
    : program_(nodes, caseSensitive), backtracker_(program_), caseSensitive_(caseSensitive) {
    for (int32_t i = program_.Start();
         i >= 0 && program_[i].op == TRegExprOp::Consume && program_[i].test->Kind == rkChar;
         i = program_[i].next)
        prefix_ += char(program_[i].test->Char);
    const int32_t endNode = int32_t(nodes.size()) - 1;
    const auto kindAt = [&](int32_t i) { return nodes[size_t(i)].Kind; };
    onlyLineEnd_ = endNode == 1 && kindAt(0) == rkLineEnd;
    lineStartPattern_ = (endNode == 1 && kindAt(0) == rkLineStart) ||
                        (endNode == 2 && kindAt(0) == rkLineStart && kindAt(1) == rkLineEnd);
    const int32_t first = program_.Start();
    if (first >= 0 && program_[first].op == TRegExprOp::Consume) {
        firstChars_ = program_.AcceptedBytes(first);  // the common case, without the automaton
    } else if (Automaton().InsideStartMatches()) {
        startsInside_ = true;
        return;
    } else {
        firstChars_ = Automaton().InsideFirstBytes();
    }
    startsInside_ = firstChars_.any();
    anyFirst_ = firstChars_.all();
    if (firstChars_.count() == 1)
        for (int c = 0; c < 256; ++c)
            if (firstChars_[size_t(c)])
                onlyFirst_ = c;
}

TRegExprAutomaton& TRegExpr::TMatcher::Automaton() {
    if (!automaton_)
        automaton_ = std::make_unique<TRegExprAutomaton>(program_);
    return *automaton_;
}

// A quick test of the characters every match begins with, which rules out most candidates
// before a matcher runs.
bool TRegExpr::TMatcher::StartsWithPrefix(int32_t position) const {
    if (size_t(line_.length - position) < prefix_.size())
        return false;
    const char* at = line_.text.data() + position;
    for (size_t k = 0; k < prefix_.size(); ++k) {
        const uint8_t c = uint8_t(at[k]);
        if ((caseSensitive_ ? c : ascii::ToUpper(c)) != uint8_t(prefix_[k]))
            return false;
    }
    return true;
}

// The first position from `position` on (at least 1) whose byte can begin a match; the line
// length when there is none.
int32_t TRegExpr::TMatcher::NextCandidate(int32_t position) const {
    const std::string_view text = line_.text;
    if (onlyFirst_ >= 0) {
        const void* hit = std::memchr(text.data() + position, onlyFirst_, size_t(line_.length - position));
        return hit ? int32_t(static_cast<const char*>(hit) - text.data()) : line_.length;
    }
    if (!anyFirst_)
        while (position < line_.length && !firstChars_[uint8_t(text[size_t(position)])])
            ++position;
    return position;
}

// The last position from `position` down to 1 whose byte can begin a match; 0 when there is none
// (the line start is always tried: the anchors see it differently).
int32_t TRegExpr::TMatcher::PreviousCandidate(int32_t position) const {
    const std::string_view text = line_.text;
    if (onlyFirst_ >= 0) {
        const void* hit = ::memrchr(text.data() + 1, onlyFirst_, size_t(position));
        return hit ? int32_t(static_cast<const char*>(hit) - text.data()) : 0;
    }
    if (!anyFirst_)
        while (position > 0 && !firstChars_[uint8_t(text[size_t(position)])])
            --position;
    return position;
}

// The first start in [first, last], in search order, from which a match exists; end becomes
// the end of its preferred match.
int32_t TRegExpr::TMatcher::FindStart(int32_t first, int32_t last, bool forward, int32_t& end) {
    TBudget budget{BacktrackingSteps(), 4 * (int64_t(line_.length) + 1) + 65536, true};
    int32_t result = kRegExprFail;
    int32_t p = forward ? first : last;
    if (forward) {
        for (; p <= last; ++p) {
            if (p > 0 && (p = NextCandidate(p)) > last)
                return kRegExprFail;
            if ((result = TryAt(p, budget)) != kRegExprFail)
                break;
        }
    } else {
        for (; p >= first; --p) {
            if (p > 0)
                p = PreviousCandidate(p);
            if ((result = TryAt(p, budget)) != kRegExprFail)
                break;
        }
    }
    if (result >= 0) {
        end = result;
        return p;
    }
    if (result == kRegExprFail)
        return kRegExprFail;
    const int32_t nearest = Automaton().NearestStart(line_, forward ? p : first, forward ? last : p, forward);
    if (nearest >= 0)
        end = PreferredEnd(nearest);
    return nearest;
}

// Backtracking while its budget lasts, then the automaton while its budget lasts.
int32_t TRegExpr::TMatcher::TryAt(int32_t position, TBudget& budget) {
    if (!StartsWithPrefix(position))
        return kRegExprFail;
    if (budget.backtracking) {
        const int32_t result = backtracker_.Run(line_, position, budget.backtrackSteps, MaxMarks());
        if (result != kRegExprOverBudget)
            return result;
        budget.backtracking = false;
    }
    return Automaton().Run(line_, position, &budget.automatonSteps);
}

// For a position known to begin a match.
int32_t TRegExpr::TMatcher::PreferredEnd(int32_t position) {
    int64_t budget = BacktrackingSteps();
    if (const int32_t end = backtracker_.Run(line_, position, budget, MaxMarks()); end != kRegExprOverBudget)
        return end;
    if (const int32_t end = Automaton().FollowPreferred(line_, position); end != kRegExprOverBudget)
        return end;
    return Automaton().Run(line_, position, nullptr);
}

bool TRegExpr::TMatcher::Match(std::string_view line, int32_t& start, bool forward, int32_t& length) {
    length = 0;
    if (line.size() > kLongestLine)
        return false;
    const int32_t n = int32_t(line.size());
    if (onlyLineEnd_) {
        // Only at the column after the last character.
        if (forward ? start > n + 1 : start < n)
            return false;
        start = n + 1;
        return true;
    }
    if (n == 0) {
        if (!lineStartPattern_ || (forward && start > 1))
            return false;
        start = 1;
        return true;
    }
    if (program_.Start() < 0)
        return false;
    const int32_t first = forward ? std::max(start, 1) - 1 : 0;
    int32_t last = forward ? n - 1 : std::min(start, n) - 1;
    if (!startsInside_)
        last = std::min(last, 0);
    if (first > last)
        return false;
    line_ = {line, n};
    if (automaton_)
        automaton_->NewSearch();
    int32_t end = kRegExprFail;
    const int32_t found = FindStart(first, last, forward, end);
    if (found < 0)
        return false;
    start = found + 1;
    length = std::min(end, n) - found;
    return true;
}

TRegExpr::TRegExpr(std::string_view pattern, bool caseSensitive)
    : pattern_(pattern), caseSensitive_(caseSensitive) {
    CompileRegExpr(pattern_, caseSensitive_, nodes_);
    matcher_ = std::make_unique<TMatcher>(nodes_, caseSensitive_);
}

TRegExpr::~TRegExpr() = default;

bool TRegExpr::Match(std::string_view line, int32_t& start, bool forward, int32_t& length) {
    return matcher_->Match(line, start, forward, length);
}

}  // namespace tarnwick
