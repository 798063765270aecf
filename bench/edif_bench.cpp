// The EDIF index over the loaded buffer: indexing and checking the whole text, a one-character
// edit in a net name in the middle of the file (rescan, then recheck), and go to definition.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_steps.h"
#include "textengine/edif/edif_index.h"

namespace tarnwick::bench {

namespace {

// The place of the first "(portRef " name at or after line, for go to definition.
TEdifPoint PortRefAfter(const TMemoSource& buffer, int32_t line) {
    for (int32_t l = line; l < buffer.LineCount(); ++l) {
        const std::string_view text = buffer.StoredLine(l);
        const size_t at = text.find("(portRef ");
        if (at != std::string_view::npos)
            return {l, int32_t(at + 9)};
    }
    return {0, 0};
}

int32_t NetLineAfter(const TMemoSource& buffer, int32_t line) {
    for (int32_t l = line; l < buffer.LineCount(); ++l)
        if (buffer.StoredLine(l).find("(net net") != std::string_view::npos)
            return l;
    return line;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

void RunEdifIndex(BenchContext& ctx) {
    TMemoSource& buffer = *ctx.buffer;
    TEdifBufferLines lines(buffer);
    TEdifIndex index(lines);
    index.SetChecking(false);
    const double indexMs = BestOfMs(2, [&] {
        index.Reset();
        index.BuildAll();
    });
    ctx.report.Set("edif_index_ms", indexMs);
    ctx.report.Set("edif_index_bytes", int64_t(index.MemoryBytes()));

    TEdifIndex checked(lines);
    const double allMs = BestOfMs(2, [&] {
        checked.Reset();
        checked.BuildAll();
    });
    ctx.report.Set("edif_check_ms", std::max(0.0, allMs - indexMs));

    // One character typed into a net name and taken out again, at a few places.
    std::vector<double> reindex, recheck, gotoDef;
    int64_t checksum = 0;
    for (int i = 1; i <= 5; ++i) {
        const int32_t line = NetLineAfter(buffer, int32_t(int64_t(buffer.LineCount()) * i / 6));
        for (const bool insert : {true, false}) {
            buffer.SetCaret(int32_t(buffer.StoredLine(line).find("(net net") + 8), line);
            if (insert)
                buffer.TypeChar('7');
            else
                buffer.DeleteChar();
            reindex.push_back(TimeMs([&] {
                index.Update(line, line, 0);
                while (!index.IsIndexCurrent())
                    index.Step();
            }));
            recheck.push_back(TimeMs([&] {
                checked.Update(line, line, 0);
                while (!checked.AreProblemsCurrent())
                    checked.Step();
            }));
        }
        const TEdifPoint at = PortRefAfter(buffer, line);
        gotoDef.push_back(TimeMs([&] { checksum += checked.DefinitionAt(at); }));
    }
    ctx.report.Set("edif_reindex_after_edit_ms", Median(reindex));
    ctx.report.Set("edif_check_after_edit_ms", Median(recheck));
    ctx.report.Set("goto_definition_ms", Median(gotoDef));
    std::fprintf(stderr, "edif: %d definitions, %lld problems (check %lld)\n", index.DefinitionCount(),
                 static_cast<long long>(checked.ProblemCount()), static_cast<long long>(checksum));
}

}  // namespace tarnwick::bench
