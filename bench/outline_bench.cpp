// The outline panel's rows over the netlist index of the loaded buffer: the index is built
// first (its own keys measure that), then the outline lays its rows out in idle slices as the
// editor does. outline_layout_ms is the sum of the slices, outline_slice_max_ms the longest one
// (the longest the host's input waits), outline_rows the rows laid out.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "bench/bench_steps.h"
#include "editor/abstract_text_module.h"
#include "editor/edif_outline.h"
#include "textengine/edif/edif_index.h"
#include "textengine/edif/edif_lines.h"
#include "textengine/memo_source.h"

namespace tarnwick::bench {

void RunOutline(BenchContext& ctx) {
    const TEdifBufferLines lines(*ctx.buffer);
    TEdifIndex index(lines);
    index.BuildAll();
    TEdifOutline outline(index);
    double totalMs = 0, longestMs = 0;
    int slices = 0;
    for (bool done = false; !done; ++slices) {
        const auto start = std::chrono::steady_clock::now();
        done = outline.Continue(start + TAbstractTextModule::kIdleSlice);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        totalMs += ms;
        longestMs = std::max(longestMs, ms);
    }
    ctx.report.Set("outline_layout_ms", totalMs);
    ctx.report.Set("outline_slice_max_ms", longestMs);
    ctx.report.Set("outline_rows", int64_t(outline.NodeCount()));
    std::fprintf(stderr, "outline: %d rows in %d slices, %.1f ms, longest slice %.2f ms\n",
                 outline.NodeCount(), slices, totalMs, longestMs);
}

}  // namespace tarnwick::bench
