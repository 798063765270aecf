// The checks over an index: they resolve every reference against the index's records and
// collect the problems in document order. After indexing they work from what the indexing
// reading noted; a check without one reads the text again.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "textengine/edif/edif_index_impl.h"
#include "textengine/edif/edif_resolver.h"

namespace tarnwick {

// The handler of the indexing reading when the index checks: it makes the records and notes
// the reference forms and the problems of the reading beside them.
class TEdifNotingBuilder : public TEdifScanHandler {
public:
    TEdifNotingBuilder(TEdifIndex::Impl& index, TEdifRecordBuilder& builder);
    void SetScanner(TEdifScanner* scanner) { resolver_.SetScanner(scanner); }
    // At the end of the text, once the builder has finished: what a check needs.
    std::unique_ptr<TEdifReferenceLog> Finish(const TEdifScanner& scanner);

    void Opened(TEdifFrame& frame, int32_t depth) override;
    void Named(TEdifFrame& frame, int32_t depth) override;
    void Atom(TEdifFrame& frame, std::string_view text, TEdifPoint at) override;
    void Closed(TEdifFrame& frame, int32_t depth, TEdifPoint closeAt) override;
    void StrayClose(TEdifPoint at) override;
    void StringProblem(TEdifStringProblem problem, TEdifPoint at, int32_t length) override;

private:
    TEdifRecordBuilder& builder_;
    std::unique_ptr<TEdifReferenceLog> log_;
    TEdifResolver resolver_;
};

class TEdifChecker {
public:
    explicit TEdifChecker(TEdifIndex::Impl& index);
    ~TEdifChecker();
    // Starts a check of the whole text, replacing the index's problems when it ends: from the
    // log of the reading that made the current records, or, without one, by reading the text.
    void StartFull(std::unique_ptr<TEdifReferenceLog> log = nullptr);
    // Goes on with the check until the deadline or the byte budget; true once it is done.
    bool Run(std::chrono::steady_clock::time_point deadline, int64_t maxBytes);
    // Checks one record again at once and puts its problems in place of the old ones there
    // (the record ended at oldEnd before an edit that added lineDelta lines inside it). False
    // when that cannot give the same answer as a full check; the caller starts one then.
    // With old, the record is a view and old its problem counts before the edit.
    bool RecheckRecord(int32_t record, TEdifPoint oldEnd, int32_t lineDelta, const TEdifCounts* old);

private:
    class Pass;
    bool unbalanced_ = false;  // the last full check met parentheses or a string left open
    TEdifIndex::Impl& index_;
    std::unique_ptr<Pass> pass_;
};

}  // namespace tarnwick
