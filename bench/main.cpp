// tarnwick-bench --generate MB [--long-line] --out PATH   writes a generated EDIF file of about
//     MB MiB, with --long-line without its line breaks
// tarnwick-bench --file PATH [--long-line | --view-only] [--NAME VALUE]   measures and prints one
//     JSON object; --view-only measures loading and the view alone
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "bench/bench_steps.h"

namespace tarnwick::bench {

namespace {

// The steps after it edit as the editor's text window does.
void UseTextWindowUndoLimit(BenchContext& ctx) { ctx.buffer->SetUndoLimit(kTextWindowUndoLimit); }

// Runs in this order; a step adds its keys to the report.
// clang-format off
constexpr BenchStep kSteps[] = {
    RunBaselines, RunLoadAndSave,         RunHighlighting,
    RunView,  // on the text as loaded, like the highlighting it is compared with
    RunOpenDocument,
    RunPrinting,
    UseTextWindowUndoLimit,
    RunEditing,
    RunDeepKeys,
    RunSearch,
    RunPanel,
    RunEdifIndex,
    RunOutline,
};
// On a file that is one line the steps that work by lines have nothing to measure.
constexpr BenchStep kLongLineSteps[] = {
    RunBaselines, RunLoadAndSave, RunHighlighting, RunLongLineView, UseTextWindowUndoLimit, RunSearch,
};
// --view-only: what a far jump in a file too large for the whole run needs.
constexpr BenchStep kViewOnlySteps[] = {RunBaselines, RunLoadAndSave, RunView};
// clang-format on

int Usage() {
    std::fprintf(
        stderr,
        "usage: tarnwick-bench --generate MB [--long-line] --out PATH\n"
        "       tarnwick-bench --file PATH [--long-line | --view-only] [--word WORD] [--regex PATTERN]\n");
    return 2;
}

}  // namespace

int64_t CurrentRssBytes() {
    std::ifstream statm("/proc/self/statm");
    int64_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

int64_t PeakRssBytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return int64_t(usage.ru_maxrss) * 1024;  // KiB on Linux
}

int Main(int argc, char** argv) {
    BenchContext ctx;
    bool viewOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--long-line" || name == "--view-only") {
            (name == "--long-line" ? ctx.longLine : viewOnly) = true;
            continue;
        }
        if (name.rfind("--", 0) != 0 || i + 1 >= argc)
            return Usage();
        ctx.options[name.substr(2)] = argv[++i];
    }
    if (ctx.options.count("generate")) {
        const std::string out = ctx.Option("out", "");
        const int megabytes = std::atoi(ctx.Option("generate", "0").c_str());
        if (out.empty() || megabytes <= 0)
            return Usage();
        GenerateEdif(out, megabytes, ctx.longLine);
        return 0;
    }
    ctx.file = ctx.Option("file", "");
    if (ctx.file.empty())
        return Usage();
    ctx.report.Set("file", ctx.file);
    const auto run = [&ctx](const auto& steps) {
        for (BenchStep step : steps)
            step(ctx);
    };
    if (ctx.longLine)
        run(kLongLineSteps);
    else if (viewOnly)
        run(kViewOnlySteps);
    else
        run(kSteps);
    ctx.report.Set("peak_rss_bytes", PeakRssBytes());
    std::fputs(ctx.report.ToJson().c_str(), stdout);
    return 0;
}

}  // namespace tarnwick::bench

int main(int argc, char** argv) {
    try {
        return tarnwick::bench::Main(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnwick-bench: %s\n", e.what());
        return 1;
    }
}
