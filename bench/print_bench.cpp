// Printing the first lines of the loaded file (10,000, or --print-lines N) to a PDF file with
// header, line numbers and the EDIF colours, as the editor prints: the pages, the time, and the
// process's peak memory during the printout alone (the peak is reset to the current size just
// before it), which is what shows that memory does not grow with the page count.
#include <unistd.h>

#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/bench_steps.h"
#include "bench/offscreen_widgets.h"
#include "textengine/memory_stream.h"
#include "textengine/print/memo_printer.h"
#include "textengine/view/dc_memo.h"

namespace tarnwick::bench {

namespace {

// Linux keeps the peak resident size as VmHWM; writing 5 to clear_refs resets it.
void ResetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

int64_t PeakRssSinceReset() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;  // kB
    return PeakRssBytes();
}

std::string FirstLines(TMemoSource& buffer, int32_t count) {
    std::string text;
    for (int32_t i = 0; i < std::min(count, buffer.LineCount()); ++i) {
        text += buffer.StoredLine(i);
        text += '\n';
    }
    return text;
}

}  // namespace

void RunPrinting(BenchContext& ctx) {
    const OffscreenApplication app;
    BenchHighlighter edif(ctx);
    TSyntaxParser& highlighter = edif.parser;
    const TFontDesc& font = edif.font;

    const int32_t lines = std::stoi(ctx.Option("print-lines", "10000"));
    TDCMemo view;
    view.SetFont(font);
    view.SetUseMonoFont(false);  // as the text window has it
    TMemoryStream stream(FirstLines(*ctx.buffer, lines));
    view.MemoSource().LoadFromStream(stream);
    view.SetSyntaxParser(&highlighter);

    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("print.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    TPrintSettings settings;
    settings.Options = {poPrintHeader, poLineNumbers, poInColor};
    settings.DocumentName = ctx.file;

    ResetPeakRss();
    TPrintReport report;
    const double ms = TimeMs([&] { report = TMemoPrinter().Print(view, settings, printer); });
    const int64_t peak = PeakRssSinceReset();
    view.MemoSource().SetSyntaxParser(nullptr);

    ctx.report.Set("print_lines", int64_t(view.MemoSource().LineCount()));
    ctx.report.Set("print_pages", int64_t(report.PagesPrinted));
    ctx.report.Set("print_ms", ms);
    ctx.report.Set("print_peak_rss_bytes", peak);
    std::fprintf(stderr, "print: %d pages, %.0f pages/s\n", report.PagesPrinted,
                 ms > 0 ? report.PagesPrinted * 1000.0 / ms : 0.0);
}

}  // namespace tarnwick::bench
