// What the steps that measure widgets share: an application on the offscreen platform (unless
// another platform is asked for) for the step's lifetime, a way to have the pending paints
// done now, so a measurement includes them, and the shipped EDIF highlighter with the font the
// views use.
#pragma once

#include <QApplication>

#include "bench/bench_steps.h"
#include "languages/syntax_parser.h"
#include "languages/syntax_scheme.h"

namespace tarnwick::bench {

class OffscreenApplication {
public:
    OffscreenApplication() : app_(ChoosePlatform(argc_), argv_) {}

private:
    // The platform has to be chosen before the application is made.
    static int& ChoosePlatform(int& argc) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }
    int argc_ = 1;
    char name_[15] = "tarnwick-bench";
    char* argv_[2] = {name_, nullptr};
    QApplication app_;
};

// Delivers the pending update requests, so the dirty rows are painted now.
inline void Flush() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

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
