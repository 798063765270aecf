#include "textengine/edif/edif_check.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>

#include "textengine/edif/edif_resolver.h"

namespace tarnwick {

namespace {

bool Before(const TEdifProblem& a, const TEdifProblem& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
}
TEdifPoint At(const TEdifProblem& p) { return {p.line, p.column}; }

// Problems as they are found, keeping the first kMaxKeptProblems in document order and
// counting all of them; with records, also per view.
class ProblemCollector : public TEdifProblemSink {
public:
    explicit ProblemCollector(TEdifIndex::Impl* counted = nullptr) : counted_(counted) {}
    void Add(TEdifSeverity severity, TEdifPoint at, int32_t length, std::string message,
             int32_t view) override {
        ++count;
        const bool error = severity == TEdifSeverity::Error;
        errors += error;
        if (counted_ && view >= 0) {
            TEdifCounts& counts = counted_->CountsFor(view);
            uint16_t& n = error ? counts.errors : counts.warnings;
            if (n != TEdifCounts::kSaturated)
                ++n;
        }
        kept.push_back({severity, at.line, at.column, length, std::move(message)});
        if (kept.size() >= 2 * TEdifIndex::kMaxKeptProblems)
            Trim();
    }
    void Trim() {
        std::stable_sort(kept.begin(), kept.end(), Before);
        if (kept.size() > TEdifIndex::kMaxKeptProblems)
            kept.resize(TEdifIndex::kMaxKeptProblems);
    }
    std::vector<TEdifProblem> kept;
    int64_t count = 0;
    int64_t errors = 0;

private:
    TEdifIndex::Impl* counted_;  // where the problems are counted per view
};

// A named child of a scope, by its kind and a hash of its name.
struct TEdifNamed {
    uint64_t key;
    int32_t record;
};

// Two children of one scope with one kind and name: the later one is reported. The children
// are sorted by kind and a hash of the name first, so most comparisons read no name.
void CheckDuplicates(const TEdifIndex::Impl& index, int32_t scope, TEdifProblemSink& sink,
                     std::vector<TEdifNamed>& scratch) {
    const TEdifRecords& records = index.records;
    scratch.clear();
    for (int32_t c = index.FirstChild(scope); c >= 0; c = index.NextSibling(c)) {
        const TEdifRecord& r = records.items[size_t(c)];
        if (r.nameLength > 0) {
            const uint64_t hash = std::hash<std::string_view>{}(records.Name(r));
            scratch.push_back({(uint64_t(r.kind) << 56) | (hash >> 8), c});
        }
    }
    if (scratch.size() < 2)
        return;
    // Equal names stay in document order, so the first of a run is the original.
    std::sort(scratch.begin(), scratch.end(), [&](const TEdifNamed& a, const TEdifNamed& b) {
        if (a.key != b.key)
            return a.key < b.key;
        const int order = records.Name(a.record).compare(records.Name(b.record));
        return order != 0 ? order < 0 : a.record < b.record;
    });
    const auto same = [&](const TEdifNamed& a, const TEdifNamed& b) {
        return a.key == b.key && records.Name(a.record) == records.Name(b.record);
    };
    for (size_t i = 1; i < scratch.size(); ++i) {
        if (!same(scratch[i - 1], scratch[i]))
            continue;
        // The first of a run stays the one named: find it.
        size_t j = i - 1;
        while (j > 0 && same(scratch[j - 1], scratch[i]))
            --j;
        const TEdifRecord& original = records.items[size_t(scratch[j].record)];
        const TEdifRecord& again = records.items[size_t(scratch[i].record)];
        sink.Add(TEdifSeverity::Error, again.NameAt(), int32_t(again.nameLength),
                 std::string(EdifKindName(again.kind)) + " `" + std::string(records.Name(again)) +
                     "` is defined twice in " + EdifScopeName(index, scope) + " (first on line " +
                     std::to_string(original.NameAt().line + 1) + ")",
                 index.EnclosingOfKind(scratch[i].record, TEdifKind::View));
    }
}

}  // namespace

TEdifNotingBuilder::TEdifNotingBuilder(TEdifIndex::Impl& index, TEdifRecordBuilder& builder)
    : builder_(builder), log_(std::make_unique<TEdifReferenceLog>()), resolver_(index, 0) {
    resolver_.SetLog(log_.get());
}

// The builder goes first: the resolver takes the records it gives the frames.
void TEdifNotingBuilder::Opened(TEdifFrame& frame, int32_t depth) {
    builder_.Opened(frame, depth);
    resolver_.Opened(frame, depth);
}
void TEdifNotingBuilder::Named(TEdifFrame& frame, int32_t depth) { builder_.Named(frame, depth); }
void TEdifNotingBuilder::Atom(TEdifFrame& frame, std::string_view text, TEdifPoint at) {
    resolver_.Atom(frame, text, at);
}
void TEdifNotingBuilder::Closed(TEdifFrame& frame, int32_t depth, TEdifPoint closeAt) {
    builder_.Closed(frame, depth, closeAt);
    resolver_.Closed(frame, depth, closeAt);
}
void TEdifNotingBuilder::StrayClose(TEdifPoint at) { resolver_.StrayClose(at); }
void TEdifNotingBuilder::StringProblem(TEdifStringProblem problem, TEdifPoint at, int32_t length) {
    resolver_.StringProblem(problem, at, length);
}

std::unique_ptr<TEdifReferenceLog> TEdifNotingBuilder::Finish(const TEdifScanner& scanner) {
    resolver_.FinishAtEnd(scanner);
    log_->unbalanced = scanner.LeftOpen();
    return std::move(log_);
}

class TEdifChecker::Pass {
public:
    Pass(TEdifIndex::Impl& index, std::unique_ptr<TEdifReferenceLog> noted)
        : index(index), cache(index), resolver(index, 0), problems(&index), log(std::move(noted)) {
        index.viewCounts.clear();
        resolver.SetSink(&problems);
        resolver.SetCache(&cache);
        if (!log) {
            scanner.emplace(index.lines, resolver);
            resolver.SetScanner(&*scanner);
            scanner->Restart({0, 0});
        }
    }
    // Each resolves until done (true) or out of time or bytes; unbalanced is set when done.
    bool ResolveByReading(std::chrono::steady_clock::time_point deadline, int64_t maxBytes, bool& unbalanced);
    bool ResolveNoted(std::chrono::steady_clock::time_point deadline, int64_t maxBytes, bool& unbalanced);

    TEdifIndex::Impl& index;
    TEdifScopeCache cache;
    TEdifResolver resolver;
    ProblemCollector problems;
    std::unique_ptr<TEdifReferenceLog> log;
    std::optional<TEdifScanner> scanner;  // without a log
    bool resolved = false;
    int32_t nextScope = -1;  // the duplicate checks go scope by scope, -1 being the top
    std::vector<TEdifNamed> scratch;

private:
    void TakeNotedProblems(size_t entriesDone);
    size_t nextEntry_ = 0;
    size_t nextProblem_ = 0;
    std::vector<int32_t> targets_;  // by entry, once resolved
    std::string line_;              // the scratch of a line read for a name
};

bool TEdifChecker::Pass::ResolveByReading(std::chrono::steady_clock::time_point deadline, int64_t maxBytes,
                                          bool& unbalanced) {
    for (;;) {
        const int64_t before = scanner->BytesScanned();
        if (!scanner->Run(std::min<int64_t>(1 << 16, std::max<int64_t>(maxBytes, 1)))) {
            resolver.FinishAtEnd(*scanner);
            unbalanced = scanner->LeftOpen();
            return true;
        }
        maxBytes -= scanner->BytesScanned() - before;
        if (maxBytes <= 0 || std::chrono::steady_clock::now() >= deadline)
            return false;
    }
}

// The problems the reading met before the first entriesDone references, in their place
// among those of the references, as a reading that resolved at once would have reported them.
void TEdifChecker::Pass::TakeNotedProblems(size_t entriesDone) {
    for (; nextProblem_ < log->problems.size() && log->problems[nextProblem_].before <= entriesDone;
         ++nextProblem_) {
        TEdifReferenceLog::Problem& p = log->problems[nextProblem_];
        problems.Add(p.severity, p.at, p.length, std::move(p.message), p.view);
    }
}

bool TEdifChecker::Pass::ResolveNoted(std::chrono::steady_clock::time_point deadline, int64_t maxBytes,
                                      bool& unbalanced) {
    // About what a reference form takes of the text, to spend the byte budget by.
    constexpr int64_t kBytesPerReference = 32;
    const std::deque<TEdifReferenceLog::Entry>& entries = log->entries;
    targets_.resize(entries.size());
    while (nextEntry_ < entries.size()) {
        TakeNotedProblems(nextEntry_);
        const TEdifReferenceLog::Entry& e = entries[nextEntry_];
        const std::string_view line = index.lines.Line(e.nameAt.line, line_);
        const size_t column = std::min(size_t(e.nameAt.column), line.size());
        const int32_t inner = e.inner < 0                      ? -1
                              : targets_[size_t(e.inner)] >= 0 ? targets_[size_t(e.inner)]
                                                               : -2;
        const int32_t target = resolver.ResolveReference({e.kind, log->Keyword(nextEntry_),
                                                          line.substr(column, size_t(e.nameLength)), e.nameAt,
                                                          e.nameLength, e.around, inner});
        if (e.namesInstanceView)
            cache.SetInstanceView(e.around, target);
        targets_[nextEntry_++] = target;
        maxBytes -= kBytesPerReference;
        if ((nextEntry_ & 0xFFF) == 0 && (maxBytes <= 0 || std::chrono::steady_clock::now() >= deadline))
            return false;
    }
    TakeNotedProblems(entries.size());
    unbalanced = log->unbalanced;
    log.reset();
    targets_ = {};
    return true;
}

TEdifChecker::TEdifChecker(TEdifIndex::Impl& index) : index_(index) {}
TEdifChecker::~TEdifChecker() = default;

void TEdifChecker::StartFull(std::unique_ptr<TEdifReferenceLog> log) {
    pass_ = std::make_unique<Pass>(index_, std::move(log));
}

bool TEdifChecker::Run(std::chrono::steady_clock::time_point deadline, int64_t maxBytes) {
    if (!pass_)
        return true;
    Pass& p = *pass_;
    if (!p.resolved) {
        if (!(p.log ? p.ResolveNoted(deadline, maxBytes, unbalanced_)
                    : p.ResolveByReading(deadline, maxBytes, unbalanced_)))
            return false;
        p.resolved = true;
    }
    const int32_t count = int32_t(index_.records.items.size());
    while (p.nextScope < count) {
        CheckDuplicates(index_, p.nextScope, p.problems, p.scratch);
        ++p.nextScope;
        if ((p.nextScope & 0xFFF) == 0 && std::chrono::steady_clock::now() >= deadline)
            return false;
    }
    p.problems.Trim();
    // A stray ')' also counts as unbalanced for later rechecks.
    for (const TEdifProblem& problem : p.problems.kept)
        if (problem.message.rfind("')'", 0) == 0)
            unbalanced_ = true;
    index_.problems = std::move(p.problems.kept);
    index_.problemCount = p.problems.count;
    index_.errorCount = p.problems.errors;
    pass_.reset();
    return true;
}

bool TEdifChecker::RecheckRecord(int32_t record, TEdifPoint oldEnd, int32_t lineDelta,
                                 const TEdifCounts* old) {
    if (pass_ || unbalanced_ || record < 0)
        return false;
    std::vector<TEdifProblem>& problems = index_.problems;
    const bool truncated = index_.problemCount > int64_t(problems.size());
    // Without counts of its own the region's old problems are known only when all are kept.
    if (!old && truncated)
        return false;
    if (old && (old->errors == TEdifCounts::kSaturated || old->warnings == TEdifCounts::kSaturated))
        return false;
    TEdifRecord& rec = index_.records.items[size_t(record)];
    const TEdifPoint head = rec.Head();
    const TEdifPoint newEnd = rec.End();

    ProblemCollector fresh(old ? nullptr : &index_);
    TEdifResolver resolver(index_, record);
    resolver.SetSink(&fresh);
    TEdifScanner scanner(index_.lines, resolver);
    resolver.SetScanner(&scanner);
    scanner.SetStopWhenEmpty(true);
    scanner.Restart(head);
    while (scanner.Run(1 << 16)) {
    }
    std::vector<TEdifNamed> scratch;
    ProblemCollector siblings;
    CheckDuplicates(index_, rec.parent, siblings, scratch);
    for (TEdifProblem& p : siblings.kept)
        if (head <= At(p) && At(p) <= newEnd)
            fresh.Add(p.severity, At(p), p.length, std::move(p.message),
                      old ? -1 : index_.EnclosingOfKind(record, TEdifKind::View));
    for (int32_t scope = record; scope < rec.subtreeEnd; ++scope)
        CheckDuplicates(index_, scope, fresh, scratch);
    fresh.Trim();
    if (fresh.count > int64_t(fresh.kept.size()))
        return false;

    auto first = std::lower_bound(problems.begin(), problems.end(), head,
                                  [](const TEdifProblem& p, const TEdifPoint& at) { return At(p) < at; });
    auto last = std::upper_bound(first, problems.end(), oldEnd,
                                 [](const TEdifPoint& at, const TEdifProblem& p) { return at < At(p); });
    if (old) {
        index_.problemCount -= old->errors + old->warnings;
        index_.errorCount -= old->errors;
    } else {
        for (auto it = first; it != last; ++it) {
            --index_.problemCount;
            index_.errorCount -= it->severity == TEdifSeverity::Error;
        }
    }
    for (auto it = last; it != problems.end(); ++it)
        it->line += lineDelta;
    // Past the last kept problem the region's problems are not kept either.
    const bool shown = !truncated || last != problems.end();
    const size_t insertAt = size_t(first - problems.begin());
    problems.erase(first, last);
    index_.problemCount += fresh.count;
    index_.errorCount += fresh.errors;
    if (old) {
        const auto saturate = [](int64_t n) {
            return uint16_t(std::min<int64_t>(n, TEdifCounts::kSaturated));
        };
        index_.CountsFor(record) = {saturate(fresh.errors), saturate(fresh.count - fresh.errors)};
    }
    if (shown)
        problems.insert(problems.begin() + std::ptrdiff_t(insertAt), fresh.kept.begin(), fresh.kept.end());
    if (problems.size() > TEdifIndex::kMaxKeptProblems)
        problems.resize(TEdifIndex::kMaxKeptProblems);
    return true;
}

}  // namespace tarnwick
