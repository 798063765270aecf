// A scan handler that resolves every reference form against the index's records as the form
// closes, and, given a sink, reports the problems it meets on the way: unbalanced
// parentheses, bad strings, references to nothing, ports joined twice, another edifVersion.
// While the records are still being made it notes the reference forms in a log instead, to be
// resolved from there once they are complete.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "textengine/edif/edif_index_impl.h"

namespace tarnwick {

class TEdifProblemSink {
public:
    virtual ~TEdifProblemSink() = default;
    // view: the view record whose text holds the place, -1 when none.
    virtual void Add(TEdifSeverity severity, TEdifPoint at, int32_t length, std::string message,
                     int32_t view) = 0;
};

// Children by name, per scope and kind, so that a check over a large netlist does not walk a
// library's cells for every reference. Valid while the records do not change.
class TEdifScopeCache {
public:
    explicit TEdifScopeCache(const TEdifIndex::Impl& index) : index_(index) {}
    TEdifScopeCache(const TEdifScopeCache&) = delete;  // lastNames_ points into its own map
    TEdifScopeCache& operator=(const TEdifScopeCache&) = delete;
    int32_t Find(int32_t scope, TEdifKind kind, std::string_view name);
    int32_t InstanceView(int32_t instance);
    void SetInstanceView(int32_t instance, int32_t view);

private:
    // Sorted by a hash of the name, equal hashes in document order: the first of a name is the
    // one meant. A lookup then compares integers and reads only the names whose hash matches.
    struct Named {
        size_t hash;
        int32_t record;
    };
    using Names = std::vector<Named>;
    const Names& NamesOf(int32_t scope, TEdifKind kind);  // the list is made on first use
    static constexpr int32_t kUnknown = -3;
    int32_t& ViewSlot(int32_t instance);  // the list is made on first use

    const TEdifIndex::Impl& index_;
    std::unordered_map<uint64_t, Names> scopes_;
    // The list last looked in: the references of one form mostly name one scope in a row.
    // Elements of the map stay where they are when it grows.
    uint64_t lastKey_ = 0;
    Names* lastNames_ = nullptr;
    std::vector<int32_t> instanceViews_;  // by record: the view of an instance, kUnknown until known
};

// The ports a joined form has named so far. Most nets join a few, which a short list holds
// without an allocation per port; a net of many moves to a hash set.
class TJoinedPorts {
public:
    void Clear();
    // False when the port of that instance (empty for the cell's own port) was named before.
    bool Insert(std::string_view port, std::string_view instance);

private:
    static constexpr size_t kListed = 16;
    std::vector<std::string> listed_;
    std::unordered_set<std::string> hashed_;
};

// One reference form, as it is when it closes.
struct TEdifReferenceForm {
    TEdifRefKind kind;
    std::string_view keyword;  // as written
    std::string_view name;
    TEdifPoint nameAt;
    int32_t nameLength;
    int32_t around;  // the innermost record around the form, -1 when none
    int32_t inner;   // what its inner reference named: -1 when it has none, -2 when that failed
};

// The reference forms of one reading of the text in the order they closed, and the other
// problems met on the way, so that the references can be resolved once every record is
// known, without reading the text again.
class TEdifReferenceLog : public TEdifProblemSink {
public:
    struct Entry {
        TEdifPoint nameAt;
        int32_t nameLength;
        int32_t around;
        int32_t inner;  // the entry of the inner reference, -1 when none
        TEdifRefKind kind;
        bool usualKeyword;       // spelled as EdifRefKindName gives it
        bool namesInstanceView;  // a viewRef right inside an instance, which is around
    };
    struct Problem {
        size_t before;  // the entries noted before it
        TEdifSeverity severity;
        TEdifPoint at;
        int32_t length;
        std::string message;
        int32_t view;
    };
    void Add(TEdifSeverity severity, TEdifPoint at, int32_t length, std::string message,
             int32_t view) override;
    // The index of the entry.
    int32_t Note(const Entry& entry, std::string_view keyword);
    std::string_view Keyword(size_t entry) const;

    // A deque, so that a log of millions never holds two copies while it grows.
    std::deque<Entry> entries;
    std::vector<Problem> problems;
    bool unbalanced = false;  // parentheses or a string left open at the end

private:
    std::vector<std::pair<size_t, std::string>> unusualKeywords_;  // by entry, in order
};

class TEdifResolver : public TEdifScanHandler {
public:
    // The scan starts at the head of record firstRecord (or at the top of the text with 0).
    TEdifResolver(const TEdifIndex::Impl& index, int32_t firstRecord);
    void SetScanner(TEdifScanner* scanner) { scanner_ = scanner; }
    void SetSink(TEdifProblemSink* sink) { sink_ = sink; }
    void SetCache(TEdifScopeCache* cache) { cache_ = cache; }
    // With a log the reference forms are noted in it, not resolved, and the problems go there
    // too: for a reading of the text while its records are being made.
    void SetLog(TEdifReferenceLog* log) {
        log_ = log;
        sink_ = log;
    }
    // Without it a portRef through an instanceRef is not resolved (the scan that finds an
    // instance's view uses this, so it never scans another instance).
    void SetResolvePortsThroughInstances(bool on) { portsThroughInstances_ = on; }
    std::function<void(const TEdifResolved&)> onResolved;
    // The view an instance's own viewRef names, seen while scanning it.
    std::function<void(int32_t instance, int32_t view)> onInstanceView;

    // Reports the forms and the string still open at the end of the text.
    void FinishAtEnd(const TEdifScanner& scanner);

    void Opened(TEdifFrame& frame, int32_t depth) override;
    void Atom(TEdifFrame& frame, std::string_view text, TEdifPoint at) override;
    void Closed(TEdifFrame& frame, int32_t depth, TEdifPoint closeAt) override;
    void StrayClose(TEdifPoint at) override;
    void StringProblem(TEdifStringProblem problem, TEdifPoint at, int32_t length) override;

    // The target's record, reporting a reference to nothing; -2 when an inner one failed.
    int32_t ResolveReference(const TEdifReferenceForm& ref);

private:
    int32_t RecordFor(const TEdifFrame& frame);
    // The innermost record of the forms open below depth, or around the scan's start.
    int32_t Around(int32_t depth) const;
    int32_t ViewHere() const;
    int32_t Resolve(const TEdifReferenceForm& ref, int32_t& scope);
    std::string NothingIn(TEdifRefKind kind, int32_t scope) const;
    int32_t Find(int32_t scope, TEdifKind kind, std::string_view name);
    void Report(TEdifSeverity severity, TEdifPoint at, int32_t length, std::string message, int32_t view);
    void CheckJoined(TEdifFrame& portRef, int32_t depth);

    const TEdifIndex::Impl& index_;
    TEdifScanner* scanner_ = nullptr;
    bool sawIndentedChild_ = false;
    TEdifProblemSink* sink_ = nullptr;
    TEdifScopeCache* cache_ = nullptr;
    TEdifReferenceLog* log_ = nullptr;
    bool portsThroughInstances_ = true;
    int32_t nextRecord_;
    std::vector<int32_t> enclosing_;    // the records around the starting one, outermost first
    std::vector<TJoinedPorts> joined_;  // per open joined form; those past openJoined_ are kept for reuse
    size_t openJoined_ = 0;
    // The first form whose indentation says it should have closed before a line: the likely
    // culprit when forms are left open at the end.
    bool haveSuspect_ = false;
    TEdifPoint suspectAt_;
    std::string suspectWhat_;
    // The first top form's end, and whether another form followed it.
    bool topEnded_ = false;
    bool topEndedEarly_ = false;
    TEdifPoint topEnd_;
    std::string topWhat_;
};

// "cell `alu`", "the interface of cell `alu`", ...
std::string EdifScopeName(const TEdifIndex::Impl& index, int32_t record);

}  // namespace tarnwick
