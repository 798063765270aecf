// The index's state, shared by the files that build, update, look up and check it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "textengine/edif/edif_index.h"
#include "textengine/edif/edif_scanner.h"

namespace tarnwick {

// One structural form, in document order (which is the order of heads). Indexes count in the
// same array: the forms inside record i are [i + 1, subtreeEnd).
struct TEdifRecord {
    int32_t headLine = 0;
    int32_t headColumn = 0;
    int32_t nameColumn = 0;
    int32_t endLine = 0;
    int32_t endColumn = 0;
    int32_t parent = -1;
    int32_t subtreeEnd = 0;
    uint32_t nameOffset = 0;  // into the name pool
    uint32_t nameLength = 0;
    uint16_t nameLineDelta = 0;  // the name's line counted from the head's
    TEdifKind kind = TEdifKind::Edif;
    uint8_t flags = 0;

    static constexpr uint8_t kRenamed = 1, kArray = 2, kClosed = 4;
    TEdifPoint Head() const { return {headLine, headColumn}; }
    TEdifPoint NameAt() const { return {headLine + nameLineDelta, nameColumn}; }
    // A name more lines below its head than the delta holds is taken as standing at the head.
    void SetNameAt(TEdifPoint at) {
        const int64_t delta = int64_t(at.line) - headLine;
        const bool near = delta >= 0 && delta <= UINT16_MAX;
        nameLineDelta = near ? uint16_t(delta) : 0;
        nameColumn = near ? at.column : headColumn;
    }
    TEdifPoint End() const { return {endLine, endColumn}; }
    bool Holds(TEdifPoint at) const { return Head() <= at && at <= End(); }
};
// A netlist has a record for every port, instance and net: their size is most of the index's.
static_assert(sizeof(TEdifRecord) == 40);

// Records and their names; the pool only grows until Compact drops the names no record uses.
struct TEdifRecords {
    std::vector<TEdifRecord> items;
    std::string names;

    std::string_view Name(const TEdifRecord& r) const {
        return std::string_view(names).substr(r.nameOffset, r.nameLength);
    }
    std::string_view Name(int32_t i) const { return Name(items[size_t(i)]); }
    void Clear() {
        items.clear();
        names.clear();
    }
    size_t Bytes() const { return items.capacity() * sizeof(TEdifRecord) + names.capacity(); }
    void Compact();
};

// Appends a record for every structural form the scanner opens.
class TEdifRecordBuilder : public TEdifScanHandler {
public:
    // Records get indexes from firstIndex on; the outermost ones get parent as parent.
    TEdifRecordBuilder(TEdifRecords& out, int32_t firstIndex, int32_t parent);
    void Opened(TEdifFrame& frame, int32_t depth) override;
    void Named(TEdifFrame& frame, int32_t depth) override;
    void Closed(TEdifFrame& frame, int32_t depth, TEdifPoint closeAt) override;
    // Gives the forms still open at the end of the text that end.
    void FinishOpen(TEdifPoint endOfText);

private:
    TEdifRecord& At(int32_t index) { return out_.items[size_t(index - firstIndex_)]; }
    TEdifRecords& out_;
    int32_t firstIndex_;
    int32_t parent_;
    std::vector<int32_t> open_;
};

// The problems inside one view, so that a recheck of the view knows how many it replaces even
// when they are past the kept ones. kSaturated means too many to count here.
struct TEdifCounts {
    uint16_t errors = 0;
    uint16_t warnings = 0;
    static constexpr uint16_t kSaturated = 0xFFFF;
};
struct TEdifViewCounts {
    int32_t view = -1;
    TEdifCounts counts;
};

// What a resolving scan found for one reference form.
struct TEdifResolved {
    TEdifRefKind kind;
    TEdifPoint nameAt;
    int32_t nameLength;
    int32_t target;  // record index, -1 when it names nothing, -2 when an inner one failed
};

class TEdifChecker;
class TEdifNotingBuilder;
class TEdifReferenceLog;
class TEdifScopeCache;

class TEdifIndex::Impl {
public:
    explicit Impl(const TEdifLines& lines);
    ~Impl();

    // Structure (edif_index.cpp)
    const TEdifLines& lines;
    TEdifRecords records;
    bool checking = true;

    void Reset();
    bool Step(const TEdifBudget& budget);
    void Update(int32_t firstLine, int32_t lastLine, int32_t lineDelta);
    bool indexCurrent = false;
    bool problemsCurrent = false;

    int32_t FirstChild(int32_t parent) const;
    int32_t NextSibling(int32_t index) const;
    int32_t InnermostAt(TEdifPoint at) const;
    TEdifDefinition Definition(int32_t index) const;

    // Resolution (edif_resolve.cpp)
    int32_t FindChild(int32_t scope, TEdifKind kind, std::string_view name) const;
    int32_t FindLibrary(std::string_view name) const;
    // With a cache the names of each scope are looked up in it instead of walked.
    int32_t FindInstance(int32_t view, std::string_view name, TEdifScopeCache* cache = nullptr) const;
    int32_t FindPort(int32_t view, std::string_view name, TEdifScopeCache* cache = nullptr) const;
    // The view an instance's viewRef names, by a scan of the instance; -1 when none.
    int32_t InstanceView(int32_t instance) const;
    // Scans a stretch of text resolving every reference in it; from the head of a record to
    // its end.
    void ResolveRecord(int32_t record, const std::function<void(const TEdifResolved&)>& found) const;
    int32_t EnclosingOfKind(int32_t record, TEdifKind kind) const;

    // Problems (edif_check.cpp)
    std::vector<TEdifProblem> problems;
    // By view record, for the views that have problems.
    std::vector<TEdifViewCounts> viewCounts;
    TEdifCounts CountsOf(int32_t view) const;
    TEdifCounts& CountsFor(int32_t view);  // adds the view when it has none yet
    int64_t problemCount = 0;
    int64_t errorCount = 0;

private:
    enum class Phase { Indexing, Checking, Done };
    void StartIndexing();
    void FinishIndexing();
    // With the log of the reading that made the records, when there is one.
    void StartChecking(std::unique_ptr<TEdifReferenceLog> noted = nullptr);
    // True when the record read as before around the edit; namesChanged when names of
    // definitions in it changed, outsideView when such a name can be referred to from outside
    // its view.
    bool RescanRecord(int32_t record, int32_t lineDelta, bool& namesChanged, bool& outsideView);
    void Recheck(int32_t record, int32_t view, uint16_t oldErrors, uint16_t oldWarnings, int32_t lineDelta);
    void SpliceRecords(int32_t record, TEdifRecords& fresh, int32_t lineDelta);

    Phase phase_ = Phase::Indexing;
    std::unique_ptr<TEdifRecordBuilder> builder_;
    std::unique_ptr<TEdifNotingBuilder> noter_;  // while indexing for a check
    std::unique_ptr<TEdifScanner> scanner_;
    std::unique_ptr<TEdifChecker> checker_;
    size_t garbageNames_ = 0;
};

}  // namespace tarnwick
