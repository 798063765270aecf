#include "textengine/edif/edif_check.h"

namespace tarnwick {

class TEdifChecker::Pass {};

TEdifChecker::TEdifChecker(TEdifIndex::Impl& index) : index_(index) {}
TEdifChecker::~TEdifChecker() = default;

void TEdifChecker::StartFull() {
    index_.problems.clear();
    index_.problemCount = index_.errorCount = 0;
}

bool TEdifChecker::Run(std::chrono::steady_clock::time_point, int64_t) { return true; }

bool TEdifChecker::RecheckRecord(int32_t) { return true; }

}  // namespace tarnwick
