// Editing in the middle of the loaded file, one command at a time as a user would, then undo
// and redo of everything; and the keys that align with an earlier line, deep in the file. The
// text is back as it was loaded when each step ends.
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "bench/bench_steps.h"
#include "textengine/external_strings.h"

namespace tarnwick::bench {

namespace {

constexpr int kCommands = 1000;
constexpr int32_t kDeepLine = 2'000'000;
// Past the end of every line of a generated netlist, so smart Tab finds no longer line above.
constexpr int32_t kPastEveryLine = 200;

// The best of a few presses of a key at the caret that prepare() sets; after each press undo
// runs until the line is as it was. The first press is in first.
template <class Prepare, class Press>
double BestPressMs(TMemoSource& buffer, int32_t line, double& first, Prepare&& prepare, Press&& press) {
    const std::string before(buffer.StoredLine(line));
    const int32_t lines = buffer.LineCount();
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        prepare();
        const double ms = TimeMs(press);
        if (run == 0)
            first = ms;
        best = std::min(best, ms);
        for (int undo = 0; undo < 10 && (buffer.StoredLine(line) != before || buffer.LineCount() != lines);
             ++undo)
            buffer.Undo();
        if (buffer.StoredLine(line) != before || buffer.LineCount() != lines)
            throw std::runtime_error("undo did not restore the line of the deep keys");
    }
    return best;
}

struct DeepKeyTimes {
    double smartTab = 0, backspace = 0, enter = 0;
    double firstSmartTab = 0, firstBackspace = 0, firstEnter = 0;
};

// Smart Tab past the end of every line above (no line above is longer: the whole text above
// is passed); Backspace on the first non-blank character of a line indented by 4, which
// unindents to the nearest line indented less (in a netlist, a library line near the top);
// Enter at the end of enterLine, which indents like the nearest line with text at or above it.
DeepKeyTimes PressDeepKeys(TMemoSource& buffer, int32_t line, int32_t enterLine) {
    DeepKeyTimes t;
    t.smartTab = BestPressMs(
        buffer, line, t.firstSmartTab, [&] { buffer.SetCaret(kPastEveryLine, line); },
        [&] { buffer.TabKey(); });
    t.backspace = BestPressMs(
        buffer, line, t.firstBackspace,
        [&] {
            // Down to an indent of 4.
            buffer.SetCaret(0, line);
            const std::string text = buffer.LineText(line);
            const int32_t indent = int32_t(std::min(text.find_first_not_of(' '), text.size()));
            buffer.DeleteChars(std::max(indent - 4, 0));
            buffer.SetCaret(std::min(indent, 4), line);
        },
        [&] { buffer.BackSpace(); });
    t.enter = BestPressMs(
        buffer, enterLine, t.firstEnter, [&] { buffer.SetCaret(buffer.LineLength(enterLine), enterLine); },
        [&] { buffer.NewLine(); });
    return t;
}

// The same keys at the end of a text whose lines above are blank for a long way: only its
// first line holds text, and Enter is pressed on the last blank line.
DeepKeyTimes PressKeysBelowBlankLines(int32_t blankLines) {
    TMemoSource buffer;
    buffer.Lines().SetText("    first line\n" + std::string(size_t(blankLines), '\n') + "        x");
    return PressDeepKeys(buffer, buffer.LineCount() - 1, buffer.LineCount() - 2);
}

}  // namespace

void RunEditing(BenchContext& ctx) {
    TMemoSource& buffer = *ctx.buffer;
    const int32_t middle = buffer.LineCount() / 2;
    const std::string before(buffer.StoredLine(middle));
    const int32_t lines = buffer.LineCount();
    buffer.SetCaret(int32_t(before.size() / 2), middle);

    const double typeMs = TimeMs([&] {
        for (int i = 0; i < kCommands; ++i)
            buffer.TypeChar(char('a' + i % 26));
    });
    const double enterDeleteMs = TimeMs([&] {
        for (int i = 0; i < kCommands; ++i)
            buffer.NewLine();
        for (int i = 0; i < kCommands; ++i)
            buffer.DeleteLine();
    });
    int undoSteps = 0;
    const double undoMs = TimeMs([&] {
        while (buffer.CanUndo()) {
            buffer.Undo();
            ++undoSteps;
        }
    });
    int redoSteps = 0;
    const double redoMs = TimeMs([&] {
        while (buffer.CanRedo()) {
            buffer.Redo();
            ++redoSteps;
        }
    });
    while (buffer.CanUndo())
        buffer.Undo();
    // Under the undo limit the oldest commands, the first characters typed, are gone from the
    // undo list; everything else is undone.
    if (buffer.LineCount() != lines)
        throw std::runtime_error("undo did not restore the lines");
    if (buffer.StoredLine(middle) != before) {
        std::fprintf(stderr, "editing: beyond the undo limit, %d typed characters stay\n",
                     int(buffer.StoredLine(middle).size() - before.size()));
        buffer.Lines().Put(middle, before);
    }
    std::fprintf(stderr, "editing: %d undo steps, %d redo steps, %d lines\n", undoSteps, redoSteps,
                 buffer.LineCount());
    ctx.report.Set("type_1000_ms", typeMs);
    ctx.report.Set("enter_delete_1000_ms", enterDeleteMs);
    ctx.report.Set("undo_all_ms", undoMs);
    ctx.report.Set("redo_all_ms", redoMs);
}

void RunDeepKeys(BenchContext& ctx) {
    TMemoSource& buffer = *ctx.buffer;
    const TStringsOptions savedOptions = buffer.Options();
    buffer.SetOptions(buffer.Options().With(soSmartTab).With(soBackUnindents).With(soAutoIndent));
    const int32_t line = std::min(kDeepLine, buffer.LineCount() - 1);
    const DeepKeyTimes deep = PressDeepKeys(buffer, line, line);
    buffer.SetOptions(savedOptions);
    std::fprintf(stderr,
                 "deep keys at line %d, first press: smart tab %.3f ms, backspace %.3f ms, enter %.3f ms\n",
                 line, deep.firstSmartTab, deep.firstBackspace, deep.firstEnter);
    const DeepKeyTimes blank = PressKeysBelowBlankLines(kDeepLine);
    std::fprintf(stderr,
                 "keys below %d blank lines (best): smart tab %.3f ms, backspace %.3f ms, enter %.3f ms\n",
                 kDeepLine, blank.smartTab, blank.backspace, blank.enter);
    ctx.report.Set("smart_tab_deep_ms", deep.smartTab);
    ctx.report.Set("backspace_unindent_deep_ms", deep.backspace);
    ctx.report.Set("enter_autoindent_deep_ms", deep.enter);
}

}  // namespace tarnwick::bench
