// What the benchmark's widget steps share: an application, on the offscreen platform unless
// another one is asked for, and the shipped EDIF highlighter with the font the views use.
#pragma once

#include <QApplication>

#include "bench/bench_steps.h"
#include "languages/syntax_parser.h"
#include "languages/syntax_scheme.h"

namespace tarnwick::bench {

class BenchApplication {
public:
    BenchApplication() : app_((SetPlatform(), argc_), argv_) {}

private:
    static void SetPlatform() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int argc_ = 1;
    char name_[15] = "tarnwick-bench";
    char* argv_[2] = {name_, nullptr};
    QApplication app_;
};

// The scheme of --scheme, or the shipped one, in DejaVu Sans Mono 10.
struct BenchHighlighter {
    explicit BenchHighlighter(const BenchContext& ctx) {
        TSyntaxScheme scheme;
        scheme.LoadFromFile(ctx.Option("scheme", DefaultSchemePath()));
        parser.SetSyntaxScheme(scheme);
        font.Name = "DejaVu Sans Mono";
        font.Size = 10;
        parser.SetDefaultFont(font);
    }
    TFontDesc font;
    TSyntaxParser parser;
};

}  // namespace tarnwick::bench
