// Matching by following every way through a TRegExprProgram at once, one character at a time
// (used by TRegExpr only). Memory depends on the program alone, but for the 4 bytes a position
// of FollowPreferred, and time on the line length times the program size at worst; the sets of
// ways met are kept in bounded caches, so a long line on which they repeat costs a table lookup
// per character.
//
// A forward run keeps the consuming instructions waiting for the next character in preference
// order, each once: a later way reaching an instruction already held could only repeat what
// the earlier, preferred way does from there. When a way reaches Match, the ways after it are
// dropped; the last match seen when no way is left is the one a backtracking search would find
// first.
//
// A backward pass reads the line from its end and keeps, per position, the instructions from
// which Match can be reached; it tells from which starts any match exists at all, and guides a
// single walk forward along the preferred way of a start known to match.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "textengine/reg_expr_program.h"
#include "textengine/reg_expr_state_cache.h"

namespace tarnwick {

class TRegExprAutomaton {
public:
    static constexpr size_t kCacheBytes = size_t(4) << 20;  // for each direction

    explicit TRegExprAutomaton(const TRegExprProgram& program, size_t cacheBytes = kCacheBytes);

    // How a match can begin at a position inside the line (neither its start nor its end):
    // with an empty match at once, or with one of these bytes. Neither: only at the line start.
    bool InsideStartMatches() const { return insideStartMatches_; }
    const std::bitset<256>& InsideFirstBytes() const { return insideFirstBytes_; }

    // Call before each search: caches that did not pay off in one search are tried again.
    void NewSearch();
    // The end of the preferred match that starts at position, or kRegExprFail;
    // kRegExprOverBudget once the budget, which runs of one search share, is spent: a character
    // costs 1 where its step is cached, else the number of ways it advances.
    int32_t Run(const TRegExprLine& line, int32_t position, int64_t* budget);
    // The same for a position known to begin a match, in time linear in the line even where the
    // ways never repeat: a backward pass keeps every position's state (4 bytes a position), then
    // a single way is followed forward, taking at each position the first way in preference
    // order that can still reach Match. kRegExprOverBudget when those states do not all fit the
    // cache.
    int32_t FollowPreferred(const TRegExprLine& line, int32_t position);
    // The position in [first, last] nearest to the beginning of the search (the lowest forward,
    // the highest backward) from which a match exists, or kRegExprFail. Reads from the line end
    // down to first.
    int32_t NearestStart(const TRegExprLine& line, int32_t first, int32_t last, bool forward);

private:
    enum class TWalk { On, Skip, Stop };

    void NewStamp();
    template <class Visit>
    int32_t WalkWays(int32_t from, TRegExprPlace place, const Visit& visit);
    bool AddWays(int32_t from, TRegExprPlace place, std::vector<int32_t>& out);
    bool StepForward(std::span<const int32_t> threads, int32_t symbol, TRegExprPlace place,
                     std::vector<int32_t>& out);
    bool StepBackward(std::span<const int32_t> alive, int32_t symbol, TRegExprPlace place,
                      std::vector<int32_t>& out);
    void BuildPredecessors();
    bool UseCache(bool forward);
    TRegExprStateCache& Cache(bool forward) { return forward ? *forwardCache_ : *backwardCache_; }
    void BuildCaches();
    int32_t CachedStep(bool forward, int32_t state, int32_t symbol, bool& flag);
    int32_t InternOrRestart(bool forward, std::span<const int32_t> list, bool flag);
    int32_t InsideStartState();
    template <class Alive>
    int32_t FirstLiveWay(int32_t from, const TRegExprLine& line, int32_t p, const Alive& alive);
    bool Continue(int32_t& state, const TRegExprLine& line, int32_t at, int32_t symbol, bool flag,
                  bool forward);

    const TRegExprProgram& program_;
    const size_t cacheBytes_;

    std::vector<int32_t> insideStart_;
    bool insideStartMatches_ = false;
    std::bitset<256> insideFirstBytes_;
    // insideStart_ in the forward cache, while the cache is of that generation.
    int32_t insideStartState_ = -1;
    uint32_t insideStartGeneration_ = 0;

    // Work space, sized by the program; an entry equal to stamp_ is marked.
    std::vector<uint32_t> visited_;
    std::vector<uint32_t> member_;
    uint32_t stamp_ = 0;
    std::vector<int32_t> work_;
    std::vector<int32_t> current_;
    std::vector<int32_t> next_;

    // For backward passes, built on first need: the predecessors of the instructions that
    // consume nothing, the consuming instructions, and the instructions a pass keeps (the start
    // and what follows a consuming instruction).
    std::vector<int32_t> predecessorBegin_;
    std::vector<int32_t> predecessors_;
    std::vector<int32_t> consuming_;
    std::vector<bool> kept_;
    int32_t matchInstruction_ = -1;

    // Built once the automaton has taken kStepsBeforeCaching steps: a short search is cheaper
    // without.
    static constexpr int64_t kStepsBeforeCaching = 4096;
    std::array<int32_t, 256> classOf_{};
    std::unique_ptr<TRegExprStateCache> forwardCache_;
    std::unique_ptr<TRegExprStateCache> backwardCache_;
    int64_t steps_ = 0;
    int64_t stepCost_ = 0;  // of the last step, for budgets
    // For the rest of this search a direction does without its cache: its states did not repeat.
    bool forwardOff_ = false;
    bool backwardOff_ = false;
};

}  // namespace tarnwick
