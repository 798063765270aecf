// Editing in the middle of the loaded file, one command at a time as a user would, then undo
// and redo of everything. The text is back as it was loaded when the step ends.
#include <cstdio>
#include <stdexcept>

#include "bench_steps.h"

namespace tarnwick::bench {

namespace {

constexpr int kCommands = 1000;

}  // namespace

void RunEditing(BenchContext& ctx) {
    TMemoSource& buffer = *ctx.buffer;
    const int32_t middle = buffer.LineCount() / 2;
    const std::string before = buffer.LineText(middle);
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
    if (buffer.LineText(middle) != before)
        throw std::runtime_error("undo did not restore the edited line");
    int redoSteps = 0;
    const double redoMs = TimeMs([&] {
        while (buffer.CanRedo()) {
            buffer.Redo();
            ++redoSteps;
        }
    });
    while (buffer.CanUndo())
        buffer.Undo();
    std::fprintf(stderr, "editing: %d undo steps, %d redo steps, %d lines\n", undoSteps, redoSteps, buffer.LineCount());
    ctx.report.Set("type_1000_ms", typeMs);
    ctx.report.Set("enter_delete_1000_ms", enterDeleteMs);
    ctx.report.Set("undo_all_ms", undoMs);
    ctx.report.Set("redo_all_ms", redoMs);
}

}  // namespace tarnwick::bench
