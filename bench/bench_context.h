// What every benchmark step shares: the file, the options, the loaded buffer and the report.
// A step is a function that measures one group of operations and adds its keys to the report.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/json_report.h"
#include "textengine/memo_source.h"

namespace tarnwick::bench {

struct BenchContext {
    std::string file;
    std::map<std::string, std::string> options;  // --name value pairs from the command line
    bool longLine = false;                       // --long-line: the file is one line
    JsonReport report;
    // Loaded by the load step; later steps work on it and leave its text as they found it.
    std::unique_ptr<TMemoSource> buffer;

    std::string Option(const std::string& name, const std::string& fallback) const {
        const auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
};

using BenchStep = void (*)(BenchContext&);

// The undo limit the editor's text window sets; the editing and replace-all steps run with it.
constexpr int32_t kTextWindowUndoLimit = 10000;

// Wall-clock milliseconds of work.
template <class Work>
double TimeMs(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// The best of runs repetitions, for steps cheap enough to repeat.
template <class Work>
double BestOfMs(int runs, Work&& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, TimeMs(work));
    return best;
}

int64_t CurrentRssBytes();
int64_t PeakRssBytes();

}  // namespace tarnwick::bench
