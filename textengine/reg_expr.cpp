#include "reg_expr.h"

#include "reg_expr_compiler.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace tarnwick {

namespace {

constexpr int32_t kFail = -1;
constexpr int32_t kUnknown = -2;

// Lines longer than this cannot be addressed with 32-bit columns plus the line-end position.
constexpr size_t kLongestLine = INT32_MAX - 2;

// One 32-bit value per line position, allocated a page at a time on first write, so that a
// 10 MB line costs memory only where the matcher actually tried something.
class TPositionMemo {
public:
    void Reset(int32_t positions) {
        pageOf_.assign(size_t(positions) / kPage + 1, -1);
        usedPages_ = 0;
    }
    int32_t Get(int32_t position) const {
        const int32_t page = pageOf_[size_t(position) / kPage];
        return page < 0 ? kUnknown : pool_[size_t(page) * kPage + size_t(position) % kPage];
    }
    void Set(int32_t position, int32_t value) {
        int32_t& page = pageOf_[size_t(position) / kPage];
        if (page < 0) {
            page = usedPages_++;
            const size_t needed = size_t(usedPages_) * kPage;
            if (pool_.size() < needed)
                pool_.resize(needed);
            std::fill_n(pool_.begin() + ptrdiff_t(size_t(page) * kPage), kPage, kUnknown);
        }
        pool_[size_t(page) * kPage + size_t(position) % kPage] = value;
    }

private:
    static constexpr size_t kPage = 256;
    std::vector<int32_t> pageOf_;  // page slot -> page index in pool_, -1 when untouched
    std::vector<int32_t> pool_;
    int32_t usedPages_ = 0;
};

}  // namespace

ERegExprError::ERegExprError(std::string_view pattern, int32_t position)
    : std::runtime_error(std::string(pattern) + " is invalid mask at (" + std::to_string(position) + ")"),
      position_(position) {}

// Matching state of one TRegExpr: what the node list means for matching (which nodes start a
// repetition, which characters can start a match) and, per searched line, the backtracking
// stack and the remembered outcomes of repetitions.
//
// Positions are 0-based here; a line of n characters has positions 0..n, and n+1 after a
// consuming node took the line end. Outcomes are the position where the pattern (or, inside a
// repeated group, the group) ends, or kFail.
class TRegExpr::TMatcher {
public:
    TMatcher(const std::vector<TRegExprNode>& nodes, bool caseSensitive);
    bool Match(std::string_view line, int32_t& start, bool forward, int32_t& length);

private:
    struct TRepetition {
        int32_t first;    // the group start
        int32_t last;     // the group end
        bool oneOrMore;
        int32_t atom;     // the only consuming node when the group holds just one, else -1
    };
    // The outcome of walking straight through the nodes, or the repetition that decides it.
    struct TWalk {
        int32_t outcome;
        int32_t repetition;  // >= 0: the outcome is that of this repetition entered at `at`
        int32_t at;
    };
    // One repetition being decided. The stage says what the frame waits for.
    struct TFrame {
        int32_t repetition;
        int32_t from;    // position of the first repetition still to try
        int32_t at;      // simple repetitions: the end position being tried
        int32_t top;     // simple repetitions: the furthest end position
        uint8_t stage;
        bool satisfied;  // enough repetitions done to continue after the marker
    };

    void FindRepetitions();
    void FindFirstCharacters();
    bool Consume(const TRegExprNode& node, int32_t position) const;
    TWalk Walk(int32_t node, int32_t position) const;
    int32_t MatchAt(int32_t position);
    int32_t Decide(int32_t repetition, int32_t at);
    bool StepSimple(TFrame& frame, int32_t delivered, int32_t& outcome);
    bool StepGroup(TFrame& frame, int32_t delivered, int32_t& outcome);
    void PushFrame(int32_t repetition, int32_t at, bool satisfied);
    void RememberLoop(int32_t repetition, int32_t from, int32_t to, int32_t outcome);
    TPositionMemo& Loops(int32_t repetition);
    TPositionMemo& Elements(int32_t repetition);
    int32_t NextCandidate(int32_t position) const;
    int32_t PreviousCandidate(int32_t position) const;

    const std::vector<TRegExprNode>& nodes_;
    const bool caseSensitive_;
    const int32_t endNode_;
    std::vector<int32_t> repetitionAt_;  // per node: the repetition it starts, else -1
    std::vector<bool> endsRepeatedGroup_;
    std::vector<TRepetition> repetitions_;
    bool onlyLineEnd_ = false;           // the pattern $
    bool lineStartPattern_ = false;      // the patterns ^ and ^$, the only ones an empty line matches
    bool anchored_ = false;              // begins with ^: only position 0 can match
    std::bitset<256> firstChars_;        // characters a match can start with
    bool anyFirst_ = true;
    int32_t onlyFirst_ = -1;             // the one character a match starts with, if just one

    std::string_view line_;
    int32_t length_ = 0;
    bool memoReady_ = false;
    std::vector<TPositionMemo> memo_;    // per repetition: loop outcomes, then group ends
    std::vector<TFrame> stack_;
};

TRegExpr::TMatcher::TMatcher(const std::vector<TRegExprNode>& nodes, bool caseSensitive)
    : nodes_(nodes), caseSensitive_(caseSensitive), endNode_(int32_t(nodes.size()) - 1) {
    FindRepetitions();
    FindFirstCharacters();
    const auto kindAt = [&](int32_t i) { return nodes_[size_t(i)].Kind; };
    onlyLineEnd_ = endNode_ == 1 && kindAt(0) == rkLineEnd;
    lineStartPattern_ = (endNode_ == 1 && kindAt(0) == rkLineStart) ||
                        (endNode_ == 2 && kindAt(0) == rkLineStart && kindAt(1) == rkLineEnd);
    memo_.resize(repetitions_.size() * 2);
}

// A group start whose end of repetition is its own closing brace starts a repetition; the other
// nodes of a repeated group carry the index too, but only to mark them as inside it.
void TRegExpr::TMatcher::FindRepetitions() {
    repetitionAt_.assign(nodes_.size(), -1);
    endsRepeatedGroup_.assign(nodes_.size(), false);
    std::vector<int32_t> open;
    for (int32_t i = 0; i < endNode_; ++i) {
        const TRegExprNode& node = nodes_[size_t(i)];
        if (node.Kind == rkGroupStart) {
            open.push_back(i);
            continue;
        }
        if (node.Kind != rkGroupEnd || open.empty())
            continue;
        const int32_t first = open.back();
        open.pop_back();
        if (nodes_[size_t(first)].EndOfRepetition != i)
            continue;
        int32_t atom = -1;
        int32_t consuming = 0;
        bool plain = i - first <= 3;  // at most { \ c }
        for (int32_t j = first + 1; plain && j < i; ++j) {
            const TRegExprNodeKind kind = nodes_[size_t(j)].Kind;
            if (kind == rkChar || kind == rkAny || kind == rkClass) {
                ++consuming;
                atom = j;
            } else if (kind != rkEscape) {
                plain = false;
            }
        }
        repetitionAt_[size_t(first)] = int32_t(repetitions_.size());
        endsRepeatedGroup_[size_t(i)] = true;
        repetitions_.push_back({first, i, nodes_[size_t(i) + 1].Kind == rkOneOrMore,
                                plain && consuming == 1 ? atom : -1});
    }
}

// Lets the line scan skip positions that cannot start a match (memchr for a single character).
void TRegExpr::TMatcher::FindFirstCharacters() {
    for (int32_t i = 0; i < endNode_; ++i) {
        if (repetitionAt_[size_t(i)] >= 0)
            return;
        const TRegExprNode& node = nodes_[size_t(i)];
        switch (node.Kind) {
        case rkLineStart:
            anchored_ = true;
            return;
        case rkChar:
            firstChars_.set(node.Char);
            if (!caseSensitive_ && node.Char >= 'A' && node.Char <= 'Z')
                firstChars_.set(node.Char + ('a' - 'A'));
            anyFirst_ = false;
            if (firstChars_.count() == 1)
                onlyFirst_ = node.Char;
            return;
        case rkClass:
            // A character is tested by its capital when ignoring case; the set holds capitals.
            firstChars_ = node.Set;
            if (!caseSensitive_)
                for (int c = 'a'; c <= 'z'; ++c)
                    firstChars_[size_t(c)] = node.Set[size_t(c) - ('a' - 'A')];
            if (node.Char == 1)
                firstChars_.flip();
            anyFirst_ = firstChars_.all();
            return;
        case rkAny:
        case rkLineEnd:
            return;
        default:
            break;  // groups and escape markers match nothing
        }
    }
}

bool TRegExpr::TMatcher::Consume(const TRegExprNode& node, int32_t position) const {
    if (position > length_)
        return false;  // the line end has been taken already
    const bool atEnd = position == length_;
    uint8_t c = atEnd ? 0 : uint8_t(line_[size_t(position)]);
    if (!caseSensitive_)
        c = RegExprUpper(c);
    switch (node.Kind) {
    case rkChar:
        return !atEnd && c == node.Char;  // a NUL in the pattern matches a NUL byte, not the line end
    case rkAny:
        return true;
    case rkClass:
        return node.Set[c] != (node.Char == 1);
    default:
        return false;
    }
}

TRegExpr::TMatcher::TWalk TRegExpr::TMatcher::Walk(int32_t node, int32_t position) const {
    for (int32_t i = node;; ++i) {
        if (i == endNode_ || endsRepeatedGroup_[size_t(i)])
            return {position, -1, 0};
        if (repetitionAt_[size_t(i)] >= 0)
            return {kUnknown, repetitionAt_[size_t(i)], position};
        const TRegExprNode& n = nodes_[size_t(i)];
        switch (n.Kind) {
        case rkChar:
        case rkAny:
        case rkClass:
            if (!Consume(n, position))
                return {kFail, -1, 0};
            ++position;
            break;
        case rkLineStart:
            if (position != 0)
                return {kFail, -1, 0};
            break;
        case rkLineEnd:
            if (position != length_)
                return {kFail, -1, 0};
            break;
        default:
            break;
        }
    }
}

TPositionMemo& TRegExpr::TMatcher::Loops(int32_t repetition) {
    if (!memoReady_) {
        for (TPositionMemo& memo : memo_)
            memo.Reset(length_ + 2);
        memoReady_ = true;
    }
    return memo_[size_t(repetition) * 2];
}

TPositionMemo& TRegExpr::TMatcher::Elements(int32_t repetition) {
    Loops(repetition);
    return memo_[size_t(repetition) * 2 + 1];
}

void TRegExpr::TMatcher::RememberLoop(int32_t repetition, int32_t from, int32_t to, int32_t outcome) {
    TPositionMemo& loops = Loops(repetition);
    for (int32_t p = from; p <= to; ++p)
        loops.Set(p, outcome);
}

int32_t TRegExpr::TMatcher::MatchAt(int32_t position) {
    const TWalk walk = Walk(0, position);
    return walk.repetition < 0 ? walk.outcome : Decide(walk.repetition, walk.at);
}

void TRegExpr::TMatcher::PushFrame(int32_t repetition, int32_t at, bool satisfied) {
    stack_.push_back({repetition, at, 0, 0, 0, satisfied});
}

// Decides a repetition entered with no repetition done, without recursion: a repetition that
// needs the outcome of another one pushes a frame for it and waits for its outcome.
int32_t TRegExpr::TMatcher::Decide(int32_t repetition, int32_t at) {
    stack_.clear();
    PushFrame(repetition, at, !repetitions_[size_t(repetition)].oneOrMore);
    int32_t delivered = kUnknown;
    for (;;) {
        TFrame& frame = stack_.back();
        int32_t outcome = kUnknown;
        const bool done = repetitions_[size_t(frame.repetition)].atom >= 0
                              ? StepSimple(frame, delivered, outcome)
                              : StepGroup(frame, delivered, outcome);
        delivered = kUnknown;
        if (!done)
            continue;  // a frame was pushed on top
        stack_.pop_back();
        if (stack_.empty())
            return outcome;
        delivered = outcome;
    }
}

// A repeated single character test: the run of characters it accepts is found in one scan, then
// the rest of the pattern is tried after each run length, longest first. Every start inside a
// run shares the run's end, so the outcome is remembered for all of them.
bool TRegExpr::TMatcher::StepSimple(TFrame& frame, int32_t delivered, int32_t& outcome) {
    const TRepetition& rep = repetitions_[size_t(frame.repetition)];
    const TRegExprNode& atom = nodes_[size_t(rep.atom)];
    TPositionMemo& loops = Loops(frame.repetition);
    if (frame.stage == 0) {
        if (!frame.satisfied) {
            if (!Consume(atom, frame.from)) {
                outcome = kFail;
                return true;
            }
            ++frame.from;
            frame.satisfied = true;
        }
        if (const int32_t known = loops.Get(frame.from); known != kUnknown) {
            outcome = known;
            return true;
        }
        int32_t top = frame.from;
        while (Consume(atom, top)) {
            const int32_t known = loops.Get(top + 1);
            if (known == kFail)
                break;  // every longer run fails as well
            if (known >= 0) {
                RememberLoop(frame.repetition, frame.from, top, known);
                outcome = known;
                return true;
            }
            ++top;
        }
        frame.top = frame.at = top;
        frame.stage = 1;
    } else if (delivered >= 0) {
        RememberLoop(frame.repetition, frame.from, frame.at, delivered);
        RememberLoop(frame.repetition, frame.at + 1, frame.top, kFail);
        outcome = delivered;
        return true;
    } else {
        --frame.at;
    }
    for (; frame.at >= frame.from; --frame.at) {
        const TWalk rest = Walk(rep.last + 2, frame.at);
        if (rest.repetition >= 0) {
            PushFrame(rest.repetition, rest.at, !repetitions_[size_t(rest.repetition)].oneOrMore);
            return false;
        }
        if (rest.outcome >= 0) {
            RememberLoop(frame.repetition, frame.from, frame.at, rest.outcome);
            RememberLoop(frame.repetition, frame.at + 1, frame.top, kFail);
            outcome = rest.outcome;
            return true;
        }
    }
    RememberLoop(frame.repetition, frame.from, frame.top, kFail);
    outcome = kFail;
    return true;
}

// A repeated group: one more repetition of the group (its first match) when it consumes
// something and the repetitions after it succeed, else the rest of the pattern from here.
bool TRegExpr::TMatcher::StepGroup(TFrame& frame, int32_t delivered, int32_t& outcome) {
    enum : uint8_t { kStart, kAwaitGroup, kAwaitMore, kAwaitRest };
    const TRepetition& rep = repetitions_[size_t(frame.repetition)];
    const int32_t repetition = frame.repetition;
    const int32_t from = frame.from;
    const bool satisfied = frame.satisfied;
    const auto finish = [&](int32_t result) {
        if (satisfied)
            Loops(repetition).Set(from, result);
        outcome = result;
        return true;
    };
    const auto tryRest = [&]() {
        if (!satisfied)
            return finish(kFail);
        const TWalk rest = Walk(rep.last + 2, from);
        if (rest.repetition < 0)
            return finish(rest.outcome);
        stack_[stack_.size() - 1].stage = kAwaitRest;
        PushFrame(rest.repetition, rest.at, !repetitions_[size_t(rest.repetition)].oneOrMore);
        return false;
    };
    const auto afterGroup = [&](int32_t groupEnd) {
        if (groupEnd < 0 || groupEnd == from)
            return tryRest();
        stack_[stack_.size() - 1].stage = kAwaitMore;
        PushFrame(repetition, groupEnd, true);
        return false;
    };

    switch (frame.stage) {
    case kStart: {
        if (satisfied)
            if (const int32_t known = Loops(repetition).Get(from); known != kUnknown)
                return finish(known);
        if (const int32_t known = Elements(repetition).Get(from); known != kUnknown)
            return afterGroup(known);
        const TWalk group = Walk(rep.first + 1, from);
        if (group.repetition < 0) {
            Elements(repetition).Set(from, group.outcome);
            return afterGroup(group.outcome);
        }
        frame.stage = kAwaitGroup;
        PushFrame(group.repetition, group.at, !repetitions_[size_t(group.repetition)].oneOrMore);
        return false;
    }
    case kAwaitGroup:
        Elements(repetition).Set(from, delivered);
        return afterGroup(delivered);
    case kAwaitMore:
        return delivered >= 0 ? finish(delivered) : tryRest();
    default:
        return finish(delivered);
    }
}

int32_t TRegExpr::TMatcher::NextCandidate(int32_t position) const {
    if (onlyFirst_ >= 0) {
        const void* hit = std::memchr(line_.data() + position, onlyFirst_, size_t(length_ - position));
        return hit ? int32_t(static_cast<const char*>(hit) - line_.data()) : length_;
    }
    if (!anyFirst_)
        while (position < length_ && !firstChars_[uint8_t(line_[size_t(position)])])
            ++position;
    return position;
}

int32_t TRegExpr::TMatcher::PreviousCandidate(int32_t position) const {
    if (onlyFirst_ >= 0) {
        const void* hit = ::memrchr(line_.data(), onlyFirst_, size_t(position) + 1);
        return hit ? int32_t(static_cast<const char*>(hit) - line_.data()) : -1;
    }
    if (!anyFirst_)
        while (position >= 0 && !firstChars_[uint8_t(line_[size_t(position)])])
            --position;
    return position;
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
    line_ = line;
    length_ = n;
    memoReady_ = false;
    const auto found = [&](int32_t position, int32_t end) {
        start = position + 1;
        length = std::min(end, n) - position;
        return true;
    };
    if (forward) {
        const int32_t last = anchored_ ? 0 : n - 1;
        for (int32_t p = std::max(start, 1) - 1; p <= last; ++p) {
            p = NextCandidate(p);
            if (p > last)
                break;
            if (const int32_t end = MatchAt(p); end >= 0)
                return found(p, end);
        }
    } else {
        int32_t p = std::min(start, n) - 1;
        if (anchored_)
            p = std::min(p, 0);
        for (; p >= 0; --p) {
            p = PreviousCandidate(p);
            if (p < 0)
                break;
            if (const int32_t end = MatchAt(p); end >= 0)
                return found(p, end);
        }
    }
    return false;
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
