#include "textengine/edif/edif_check.h"

#include <algorithm>
#include <functional>
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

class TEdifChecker::Pass {
public:
    explicit Pass(TEdifIndex::Impl& index)
        : index(index), cache(index), resolver(index, 0), scanner(index.lines, resolver), problems(&index) {
        index.viewCounts.clear();
        resolver.SetScanner(&scanner);
        resolver.SetSink(&problems);
        resolver.SetCache(&cache);
        scanner.Restart({0, 0});
    }
    TEdifIndex::Impl& index;
    TEdifScopeCache cache;
    TEdifResolver resolver;
    TEdifScanner scanner;
    ProblemCollector problems;
    bool scanned = false;
    int32_t nextScope = -1;  // the duplicate checks go scope by scope, -1 being the top
    std::vector<TEdifNamed> scratch;
};

TEdifChecker::TEdifChecker(TEdifIndex::Impl& index) : index_(index) {}
TEdifChecker::~TEdifChecker() = default;

void TEdifChecker::StartFull() { pass_ = std::make_unique<Pass>(index_); }

bool TEdifChecker::Run(std::chrono::steady_clock::time_point deadline, int64_t maxBytes) {
    if (!pass_)
        return true;
    Pass& p = *pass_;
    while (!p.scanned) {
        const int64_t before = p.scanner.BytesScanned();
        if (!p.scanner.Run(std::min<int64_t>(1 << 16, std::max<int64_t>(maxBytes, 1)))) {
            p.resolver.FinishAtEnd(p.scanner);
            unbalanced_ = p.scanner.Depth() > 0 || p.scanner.InString() || p.scanner.OverflowDepth() > 0;
            p.scanned = true;
            break;
        }
        maxBytes -= p.scanner.BytesScanned() - before;
        if (maxBytes <= 0 || std::chrono::steady_clock::now() >= deadline)
            return false;
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
