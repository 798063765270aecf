// The search panel beside a text window over the file, offscreen, with the EDIF colours: filling
// the found list with every line that holds the word (whole word, case ignored, so it lists what
// find_lines_word counts), and a click on an entry near the end: the window's jump to its line
// with the editor's repaint. The click reaches the window as the host would pass the panel's
// request on; the entry is selected first, as the mouse press does.
//
// The window holds a text of its own; the loaded buffer is let go meanwhile, so the process
// never holds two, and is loaded again as it was afterwards.
#include <QCheckBox>
#include <QItemSelectionModel>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/bench_steps.h"
#include "bench/file_stream.h"
#include "bench/offscreen_widgets.h"
#include "editor/found_line_model.h"
#include "editor/latin1_edit.h"
#include "editor/text_editor_preferences.h"
#include "editor/text_panel.h"
#include "editor/text_view.h"
#include "editor/text_window.h"
#include "editor/uniform_list_view.h"
#include "languages/syntax_parser.h"
#include "languages/text_source.h"

namespace tarnwick::bench {

namespace {

constexpr int kFillRuns = 3;
constexpr int kJumps = 5;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A shown panel and a shown 1000 x 800 window over the file, coloured with the EDIF scheme.
struct PanelAndWindow {
    explicit PanelAndWindow(const std::string& file) {
        window->View().ApplyPreferences(GlobalPreferences);
        TSyntaxScheme scheme;
        scheme.LoadFromFile(DefaultSchemePath());
        window->SyntaxParser().SetSyntaxScheme(scheme);
        FileStream in(file, FileStream::kRead);
        window->TextSource().LoadFromStream(in);
        window->resize(1000, 800);
        window->show();
        panel.show();
        Flush();
    }
    TTextPanel panel;
    std::unique_ptr<TTextWindow> window{TTextWindow::Create(nullptr, &panel)};
};

// Selects the entry of row and jumps there; answers the milliseconds of the jump and its paint.
double JumpMs(PanelAndWindow& shown, int row) {
    TUniformListView& list = *shown.panel.lbFoundInstanceList;
    list.selectionModel()->setCurrentIndex(shown.panel.FoundLines().index(row),
                                           QItemSelectionModel::ClearAndSelect);
    Flush();
    return TimeMs([&] {
        shown.window->JumpToLineFromPanel();
        Flush();
    });
}

void ReloadBuffer(BenchContext& ctx, TOutFormatType outFormat, int32_t undoLimit,
                  const std::string& delimiters) {
    ctx.buffer = std::make_unique<TMemoSource>();
    ctx.buffer->SetOutFormat(outFormat);
    FileStream in(ctx.file, FileStream::kRead);
    ctx.buffer->LoadFromStream(in);
    ctx.buffer->SetUndoLimit(undoLimit);
    ctx.buffer->SetDelimeters(delimiters);
}

}  // namespace

void RunPanel(BenchContext& ctx) {
    const OffscreenApplication app;
    const TOutFormatType outFormat = ctx.buffer->OutFormat();
    const int32_t undoLimit = ctx.buffer->UndoLimit();
    const std::string delimiters = ctx.buffer->Delimeters();
    ctx.buffer.reset();
    {
        PanelAndWindow shown(ctx.file);
        TTextPanel& panel = shown.panel;
        const std::string word = ctx.Option("word", "portRef");
        panel.ebSearchText->SetBytes(word);
        panel.chkWholeWord->setChecked(true);
        const double fillMs = BestOfMs(kFillRuns, [&] {
            shown.window->UpdateFoundInstanceList();
            Flush();
        });
        const int count = panel.FoundLines().rowCount();
        ctx.report.Set("panel_fill_ms", fillMs);
        ctx.report.Set("panel_fill_count", int64_t(count));

        if (count > kJumps + 1) {
            // The first paint near the end colours every line above it; goto_end_first_paint_ms
            // measures that on its own. The clicks after it are what the panel costs.
            const double firstMs = JumpMs(shown, count - 1);
            std::vector<double> jumps;
            for (int i = 0; i < kJumps; ++i)
                jumps.push_back(JumpMs(shown, count - 2 - i * 2));
            ctx.report.Set("panel_jump_ms", Median(jumps));
            std::fprintf(
                stderr,
                "panel: %d entries, first jump near the end %.1f ms, then %.2f..%.2f ms, caret at %d\n",
                count, firstMs, *std::min_element(jumps.begin(), jumps.end()),
                *std::max_element(jumps.begin(), jumps.end()), shown.window->TextSource().Caret().LinePos);
        }
    }
    ReloadBuffer(ctx, outFormat, undoLimit, delimiters);
}

}  // namespace tarnwick::bench
