#include "textengine/reg_expr_automaton.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr int32_t kUnknown = TRegExprStateCache::kUnknown;
constexpr int32_t kMatchHere = -2;

}  // namespace

TRegExprAutomaton::TRegExprAutomaton(const TRegExprProgram& program, size_t cacheBytes)
    : program_(program), cacheBytes_(cacheBytes), visited_(size_t(program.Size()), 0) {
    NewStamp();
    insideStartMatches_ = AddWays(program_.Start(), {false, false}, insideStart_);
    if (!insideStartMatches_)
        for (const int32_t t : insideStart_)
            insideFirstBytes_ |= program_.AcceptedBytes(t);
}

void TRegExprAutomaton::NewSearch() {
    forwardOff_ = backwardOff_ = false;
    if (forwardCache_) {
        forwardCache_->ResetCounts();
        backwardCache_->ResetCounts();
    }
}

void TRegExprAutomaton::NewStamp() {
    if (++stamp_ == 0) {
        std::fill(visited_.begin(), visited_.end(), 0);
        std::fill(member_.begin(), member_.end(), 0);
        stamp_ = 1;
    }
}

// Follows the ways from `from` that consume nothing, preferred first, entering no instruction
// twice under the current stamp. visit(i) sees every instruction entered and answers whether to
// go on past it (for Consume and Match there is nothing past), to skip what lies past it, or to
// stop; returns the instruction it stopped at, or -1.
template <class Visit>
int32_t TRegExprAutomaton::WalkWays(int32_t from, TRegExprPlace place, const Visit& visit) {
    work_.clear();
    work_.push_back(from);
    while (!work_.empty()) {
        const int32_t i = work_.back();
        work_.pop_back();
        if (i < 0 || visited_[size_t(i)] == stamp_)
            continue;
        visited_[size_t(i)] = stamp_;
        const TRegExprInstruction& in = program_[i];
        const TWalk answer = visit(i, in);
        if (answer == TWalk::Stop)
            return i;
        if (answer == TWalk::Skip)
            continue;
        if (in.op == TRegExprOp::Split) {
            work_.push_back(in.alt);
            work_.push_back(in.next);
        } else if ((in.op == TRegExprOp::LineStart && place.lineStart) ||
                   (in.op == TRegExprOp::LineEnd && place.lineEnd)) {
            work_.push_back(in.next);
        }
    }
    return -1;
}

// Appends every consuming instruction the ways from `from` reach to out, preferred first.
// Returns true on reaching Match, which ends the walk: the ways not taken yet are all less
// preferred than that match.
bool TRegExprAutomaton::AddWays(int32_t from, TRegExprPlace place, std::vector<int32_t>& out) {
    return WalkWays(from, place, [&](int32_t i, const TRegExprInstruction& in) {
               if (in.op == TRegExprOp::Match)
                   return TWalk::Stop;
               if (in.op == TRegExprOp::Consume)
                   out.push_back(i);
               return TWalk::On;
           }) >= 0;
}

// The ways waiting in threads read symbol; out gets the ways after it, at a position that looks
// like place. Returns true when one of them ends in a match there.
bool TRegExprAutomaton::StepForward(std::span<const int32_t> threads, int32_t symbol, TRegExprPlace place,
                                    std::vector<int32_t>& out) {
    NewStamp();
    out.clear();
    for (const int32_t t : threads)
        if (program_.Accepts(t, symbol) && AddWays(program_[t].next, place, out))
            return true;
    return false;
}

// From the kept instructions that can reach Match from the next position (alive, sorted), the
// kept instructions that can reach it from this position, which reads symbol and looks like
// place; sorted into out. Returns true when the start is one of them.
bool TRegExprAutomaton::StepBackward(std::span<const int32_t> alive, int32_t symbol, TRegExprPlace place,
                                     std::vector<int32_t>& out) {
    NewStamp();
    for (const int32_t i : alive)
        member_[size_t(i)] = stamp_;
    out.clear();
    work_.clear();
    const auto reach = [&](int32_t i) {
        visited_[size_t(i)] = stamp_;
        work_.push_back(i);
        if (kept_[size_t(i)])
            out.push_back(i);
    };
    reach(matchInstruction_);
    for (const int32_t c : consuming_) {
        const int32_t after = program_[c].next;
        if (after >= 0 && member_[size_t(after)] == stamp_ && program_.Accepts(c, symbol))
            reach(c);
    }
    while (!work_.empty()) {
        const int32_t i = work_.back();
        work_.pop_back();
        for (int32_t k = predecessorBegin_[size_t(i)]; k < predecessorBegin_[size_t(i) + 1]; ++k) {
            const int32_t before = predecessors_[size_t(k)];
            if (visited_[size_t(before)] == stamp_)
                continue;
            const TRegExprOp op = program_[before].op;
            if ((op == TRegExprOp::LineStart && !place.lineStart) ||
                (op == TRegExprOp::LineEnd && !place.lineEnd))
                continue;
            reach(before);
        }
    }
    std::sort(out.begin(), out.end());
    return visited_[size_t(program_.Start())] == stamp_;
}

void TRegExprAutomaton::BuildPredecessors() {
    const size_t size = size_t(program_.Size());
    member_.assign(size, 0);
    kept_.assign(size, false);
    kept_[size_t(program_.Start())] = true;
    std::vector<int32_t> begin(size + 1, 0);
    const auto forEachEdge = [&](auto&& visit) {
        for (int32_t i = 0; i < int32_t(size); ++i) {
            const TRegExprInstruction& in = program_[i];
            if (in.op == TRegExprOp::Consume || in.op == TRegExprOp::Match)
                continue;
            for (const int32_t to : {in.next, in.op == TRegExprOp::Split ? in.alt : -1})
                if (to >= 0)
                    visit(i, to);
        }
    };
    for (int32_t i = 0; i < int32_t(size); ++i) {
        const TRegExprInstruction& in = program_[i];
        if (in.op == TRegExprOp::Match)
            matchInstruction_ = i;
        if (in.op == TRegExprOp::Consume) {
            consuming_.push_back(i);
            if (in.next >= 0)
                kept_[size_t(in.next)] = true;
        }
    }
    forEachEdge([&](int32_t, int32_t to) { ++begin[size_t(to) + 1]; });
    for (size_t i = 0; i < size; ++i)
        begin[i + 1] += begin[i];
    predecessorBegin_ = begin;
    predecessors_.resize(size_t(begin[size]));
    forEachEdge([&](int32_t from, int32_t to) { predecessors_[size_t(begin[size_t(to)]++)] = from; });
}

// Bytes that no consuming instruction tells apart share a class, so the cache tables stay small.
void TRegExprAutomaton::BuildCaches() {
    classOf_.fill(0);
    int32_t classes = 1;
    std::vector<int32_t> renumber;
    for (int32_t i = 0; i < program_.Size(); ++i) {
        if (program_[i].op != TRegExprOp::Consume)
            continue;
        const std::bitset<256> bytes = program_.AcceptedBytes(i);
        renumber.assign(size_t(classes) * 2, -1);
        int32_t split = 0;
        for (size_t b = 0; b < 256; ++b) {
            int32_t& to = renumber[size_t(classOf_[b]) * 2 + (bytes[b] ? 1 : 0)];
            if (to < 0)
                to = split++;
            classOf_[b] = to;
        }
        classes = split;
    }
    forwardCache_ = std::make_unique<TRegExprStateCache>(classes, cacheBytes_);
    backwardCache_ = std::make_unique<TRegExprStateCache>(classes, cacheBytes_);
}

bool TRegExprAutomaton::UseCache(bool forward) {
    if (!forwardCache_ && steps_ >= kStepsBeforeCaching)
        BuildCaches();
    return forwardCache_ && !(forward ? forwardOff_ : backwardOff_);
}

// A full cache starts again empty; if it filled up with states that were hardly met twice,
// caching costs more than it saves, and the rest of this search does without. kUnknown when the
// list does not fit even an empty cache.
int32_t TRegExprAutomaton::InternOrRestart(bool forward, std::span<const int32_t> list, bool flag) {
    TRegExprStateCache& cache = Cache(forward);
    if (const int32_t id = cache.Intern(list, flag); id != kUnknown)
        return id;
    bool& off = forward ? forwardOff_ : backwardOff_;
    off = !cache.PaysOff();
    cache.ResetCounts();
    cache.Clear();
    const int32_t id = cache.Intern(list, flag);
    if (id == kUnknown)
        off = true;
    return id;
}

// A step between two positions inside the line, where the anchors see nothing. kUnknown when
// the state reached cannot be stored; next_ and flag then hold it.
int32_t TRegExprAutomaton::CachedStep(bool forward, int32_t state, int32_t symbol, bool& flag) {
    TRegExprStateCache& cache = Cache(forward);
    const int32_t byteClass = classOf_[size_t(symbol)];
    if (const int32_t known = cache.Next(state, byteClass); known != kUnknown) {
        cache.CountHit();
        stepCost_ = 1;
        flag = cache.Flag(known);
        return known;
    }
    cache.CountMiss();
    stepCost_ += int64_t(forward ? cache.List(state).size() : consuming_.size());
    flag = forward ? StepForward(cache.List(state), symbol, {false, false}, next_)
                   : StepBackward(cache.List(state), symbol, {false, false}, next_);
    const int32_t id = cache.Intern(next_, flag);
    if (id == kUnknown)
        return InternOrRestart(forward, next_, flag);
    cache.SetNext(state, byteClass, id);
    return id;
}

// One step of a forward run (place: the position after the symbol) or a backward pass (place:
// the position of the symbol). The ways are current_ or, while state is not kUnknown, the cached
// state; returns the step's flag (forward: a match; backward: the start can reach Match).
bool TRegExprAutomaton::Continue(int32_t& state, const TRegExprLine& line, int32_t at, int32_t symbol,
                                 bool flag, bool forward) {
    ++steps_;
    stepCost_ = 1;
    const TRegExprPlace place = line.PlaceAt(at);
    const bool inside = !place.lineStart && !place.lineEnd && symbol < kRegExprLineEnd;
    if (inside && UseCache(forward)) {
        if (state == kUnknown)
            state = InternOrRestart(forward, current_, flag);
        if (state != kUnknown) {
            bool reached = false;
            state = CachedStep(forward, state, symbol, reached);
            if (state == kUnknown)
                std::swap(current_, next_);
            return reached;
        }
    }
    if (state != kUnknown) {
        const std::span<const int32_t> list = Cache(forward).List(state);
        current_.assign(list.begin(), list.end());
        state = kUnknown;
    }
    stepCost_ += int64_t(forward ? current_.size() : consuming_.size());
    const bool result =
        forward ? StepForward(current_, symbol, place, next_) : StepBackward(current_, symbol, place, next_);
    std::swap(current_, next_);
    return result;
}

// Runs from inside the line all begin with the same ways; once cached, they are not copied or
// looked up again for every start.
int32_t TRegExprAutomaton::InsideStartState() {
    if (!UseCache(true))
        return kUnknown;
    if (insideStartState_ == kUnknown || insideStartGeneration_ != forwardCache_->Generation()) {
        insideStartState_ = InternOrRestart(true, insideStart_, false);
        insideStartGeneration_ = forwardCache_->Generation();
    }
    return insideStartState_;
}

int32_t TRegExprAutomaton::Run(const TRegExprLine& line, int32_t position, int64_t* budget) {
    current_.clear();
    bool matched = insideStartMatches_;
    int32_t state = kUnknown;
    if (position == 0 || position >= line.length) {
        NewStamp();
        matched = AddWays(program_.Start(), line.PlaceAt(position), current_);
    } else if ((state = InsideStartState()) == kUnknown) {
        current_ = insideStart_;
    }
    int32_t end = matched ? position : kRegExprFail;
    for (int32_t q = position; q <= line.length; ++q) {
        if (state != kUnknown ? forwardCache_->List(state).empty() : current_.empty())
            break;
        if (Continue(state, line, q + 1, line.SymbolAt(q), false, true))
            end = q + 1;
        if (budget && (*budget -= stepCost_) < 0)
            return kRegExprOverBudget;
    }
    return end;
}

int32_t TRegExprAutomaton::NearestStart(const TRegExprLine& line, int32_t first, int32_t last, bool forward) {
    if (program_.Start() < 0)
        return kRegExprFail;
    if (predecessorBegin_.empty())
        BuildPredecessors();
    // Past the line end nothing consumes: only the ways that consume nothing reach Match.
    bool startAlive = StepBackward({}, kRegExprPastEnd, line.PlaceAt(line.length + 1), current_);
    int32_t state = kUnknown;
    int32_t found = kRegExprFail;
    for (int32_t q = line.length; q >= first; --q) {
        startAlive = Continue(state, line, q, line.SymbolAt(q), startAlive, false);
        if (startAlive && q <= last) {
            found = q;
            if (!forward)
                break;
        }
    }
    return found;
}

int32_t TRegExprAutomaton::FollowPreferred(const TRegExprLine& line, int32_t position) {
    if (program_.Start() < 0)
        return kRegExprFail;
    if (predecessorBegin_.empty())
        BuildPredecessors();
    if (!backwardCache_)
        BuildCaches();
    TRegExprStateCache& cache = *backwardCache_;
    cache.Clear();  // all of this pass's states must fit at once
    const uint32_t generation = cache.Generation();
    std::vector<int32_t> aliveAt(size_t(line.length + 2 - position), kUnknown);
    bool startAlive = StepBackward({}, kRegExprPastEnd, line.PlaceAt(line.length + 1), current_);
    int32_t state = kUnknown;
    for (int32_t q = line.length + 1; q >= position; --q) {
        if (q <= line.length)
            startAlive = Continue(state, line, q, line.SymbolAt(q), startAlive, false);
        if (state == kUnknown)
            state = InternOrRestart(false, current_, startAlive);
        if (state == kUnknown || cache.Generation() != generation)
            return kRegExprOverBudget;
        aliveAt[size_t(q - position)] = state;
    }
    const auto alive = [&](int32_t instruction, int32_t at) {
        const std::span<const int32_t> list = cache.List(aliveAt[size_t(at - position)]);
        return std::binary_search(list.begin(), list.end(), instruction);
    };
    int32_t i = program_.Start();
    for (int32_t p = position; i >= 0; ++p) {
        if ((i = FirstLiveWay(i, line, p, alive)) == kMatchHere)
            return p;
        if (i >= 0)
            i = program_[i].next;
    }
    return kRegExprFail;  // no way reached Match after all
}

// From `from` at position p, the first instruction in preference order that is Match
// (kMatchHere) or a consuming instruction whose way can still reach Match; -1 for none.
// alive(instruction, position) answers for the kept instructions.
template <class Alive>
int32_t TRegExprAutomaton::FirstLiveWay(int32_t from, const TRegExprLine& line, int32_t p,
                                        const Alive& alive) {
    NewStamp();
    const int32_t symbol = line.SymbolAt(p);
    const int32_t found = WalkWays(from, line.PlaceAt(p), [&](int32_t i, const TRegExprInstruction& in) {
        if (kept_[size_t(i)] && !alive(i, p))
            return TWalk::Skip;  // nothing from here reaches Match
        if (in.op == TRegExprOp::Match)
            return TWalk::Stop;
        if (in.op == TRegExprOp::Consume && in.next >= 0 && program_.Accepts(in, symbol) &&
            alive(in.next, p + 1))
            return TWalk::Stop;
        return TWalk::On;
    });
    return found >= 0 && program_[found].op == TRegExprOp::Match ? kMatchHere : found;
}

}  // namespace tarnwick
