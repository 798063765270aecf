// The checks over an index: they rescan the text resolving every reference against the
// index's records and collect the problems in document order.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "textengine/edif/edif_index_impl.h"

namespace tarnwick {

class TEdifChecker {
public:
    explicit TEdifChecker(TEdifIndex::Impl& index);
    ~TEdifChecker();
    // Starts a check of the whole text, replacing the index's problems when it ends.
    void StartFull();
    // Goes on with the check until the deadline or the byte budget; true once it is done.
    bool Run(std::chrono::steady_clock::time_point deadline, int64_t maxBytes);
    // Checks one record again at once and puts its problems in place of the old ones there
    // (the record ended at oldEnd before an edit that added lineDelta lines inside it). False
    // when that cannot give the same answer as a full check; the caller starts one then.
    bool RecheckRecord(int32_t record, TEdifPoint oldEnd, int32_t lineDelta);

private:
    class Pass;
    bool unbalanced_ = false;  // the last full check met parentheses or a string left open
    TEdifIndex::Impl& index_;
    std::unique_ptr<Pass> pass_;
};

}  // namespace tarnwick
