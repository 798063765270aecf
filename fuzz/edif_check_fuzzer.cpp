// The EDIF index and its check over any bytes. The check that follows indexing works from what
// the indexing reading noted, and must find what a check that reads the text again finds; the
// index built in small slices must equal the one built at once; and the problems kept are in
// document order, never more than are counted.
// Input: the text.
#include <chrono>
#include <string>

#include "fuzz/fuzz_input.h"
#include "textengine/edif/edif_check.h"
#include "textengine/edif/edif_index.h"
#include "textengine/edif/edif_index_impl.h"
#include "textengine/edif/edif_lines.h"

namespace {

using namespace tarnwick;

std::string Dump(const TEdifIndex::Impl& index) {
    std::string out = std::to_string(index.problemCount) + " " + std::to_string(index.errorCount) + "\n";
    for (const TEdifProblem& p : index.problems)
        out += std::to_string(p.line) + ":" + std::to_string(p.column) + "+" + std::to_string(p.length) +
               " " + p.message + "\n";
    for (const TEdifViewCounts& v : index.viewCounts)
        out += std::to_string(v.view) + " " + std::to_string(v.counts.errors) + "/" +
               std::to_string(v.counts.warnings) + "\n";
    for (const TEdifRecord& r : index.records.items)
        out += std::to_string(r.headLine) + ":" + std::to_string(r.headColumn) + " " +
               std::to_string(r.parent) + " " + std::string(index.records.Name(r)) + "\n";
    return out;
}

void Build(TEdifIndex::Impl& index, int64_t sliceBytes) {
    while (!index.Step({std::chrono::hours(1), sliceBytes})) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const TEdifTextLines lines(std::string(reinterpret_cast<const char*>(data), size));

    TEdifIndex::Impl atOnce(lines);
    Build(atOnce, INT64_MAX);
    FUZZ_REQUIRE(atOnce.indexCurrent && atOnce.problemsCurrent);
    FUZZ_REQUIRE(atOnce.problemCount >= int64_t(atOnce.problems.size()));
    FUZZ_REQUIRE(atOnce.errorCount <= atOnce.problemCount);
    for (size_t i = 1; i < atOnce.problems.size(); ++i) {
        const TEdifProblem& a = atOnce.problems[i - 1];
        const TEdifProblem& b = atOnce.problems[i];
        FUZZ_REQUIRE(a.line < b.line || (a.line == b.line && a.column <= b.column));
    }
    const std::string noted = Dump(atOnce);

    TEdifIndex::Impl sliced(lines);
    Build(sliced, 64);
    FUZZ_REQUIRE(Dump(sliced) == noted);

    TEdifChecker again(atOnce);
    again.StartFull();
    while (!again.Run(std::chrono::steady_clock::now() + std::chrono::hours(1), INT64_MAX)) {
    }
    FUZZ_REQUIRE(Dump(atOnce) == noted);
    return 0;
}
