// Loading a file into the buffer and saving it back.
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "bench/bench_steps.h"
#include "bench/file_stream.h"

namespace tarnwick::bench {

void RunLoadAndSave(BenchContext& ctx) {
    // Fresh buffers for the timed runs, each gone before the next, so only one text is held.
    double loadMs = 1e300;
    for (int run = 0; run < 3; ++run) {
        TMemoSource buffer;
        FileStream in(ctx.file, FileStream::kRead);
        loadMs = std::min(loadMs, TimeMs([&] { buffer.LoadFromStream(in); }));
    }
    ctx.buffer = std::make_unique<TMemoSource>();
    // The output files are Unix files; keep their line ends.
    ctx.buffer->SetOutFormat(ofUnix);
    {
        FileStream in(ctx.file, FileStream::kRead);
        ctx.buffer->LoadFromStream(in);
    }
    ctx.report.Set("load_ms", loadMs);
    ctx.report.Set("rss_after_load_bytes", CurrentRssBytes());
    ctx.report.Set("peak_rss_bytes", PeakRssBytes());

    const std::string out = ctx.file + ".bench-save";
    const double saveMs = BestOfMs(3, [&] {
        FileStream stream(out, FileStream::kWrite);
        ctx.buffer->SaveToStream(stream);
        stream.Close();
    });
    ::unlink(out.c_str());
    ctx.report.Set("save_ms", saveMs);
    std::fprintf(stderr, "loaded %d lines\n", ctx.buffer->LineCount());
}

}  // namespace tarnwick::bench
