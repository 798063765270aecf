// The editor view on the offscreen platform, 1000 x 800 pixels, over the loaded file with the
// EDIF colours: what a keystroke in the middle costs with its repaint, the first paint after a
// jump to the last line (which has to colour everything above it), and a page-down repaint near
// the start and two million lines in. The text is left as it was found.
#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QKeyEvent>

#include "bench_steps.h"
#include "dc_memo.h"
#include "syntax_parser.h"

namespace tarnwick::bench {

namespace {

constexpr int kKeystrokes = 200;
constexpr int kPageDowns = 20;
constexpr int32_t kDeepLine = 2000000;

// Counts the paint events the view receives, to show that a measurement includes its repaint.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// Delivers the pending update requests, so the dirty rows are painted now.
void Flush() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void Press(QWidget& view, Qt::Key key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&view, &press);
}

double PageDownMs(TDCMemo& view, TMemoSource& buffer, int32_t line) {
    buffer.SetCaret(0, line);
    view.SetTopRow(line);
    Flush();
    double total = 0;
    for (int i = 0; i < kPageDowns; ++i) {
        total += TimeMs([&] {
            Press(view, Qt::Key_PageDown);
            Flush();
        });
    }
    return total / kPageDowns;
}

}  // namespace

void RunView(BenchContext& ctx) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "tarnwick-bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    TSyntaxScheme scheme;
    scheme.LoadFromFile(ctx.Option("scheme", DefaultSchemePath()));
    TSyntaxParser highlighter;
    highlighter.SetSyntaxScheme(scheme);
    TMemoSource& buffer = *ctx.buffer;
    buffer.SetSyntaxParser(&highlighter);  // nothing coloured yet
    {
        TDCMemo view;
        TFontDesc font;
        font.Name = "DejaVu Sans Mono";
        font.Size = 10;
        highlighter.SetDefaultFont(font);
        view.SetFont(font);
        view.SetOptions(view.Options().With(moDrawGutter).With(moLineNumbers).With(moLineNumbersOnGutter));
        view.SetMemoSource(&buffer);
        view.resize(1000, 800);
        PaintCounter counter;
        view.installEventFilter(&counter);
        view.show();

        // The first paint of the view happens at the end of the text.
        const double gotoEndMs = TimeMs([&] {
            buffer.TextEnd();
            Flush();
        });
        const int endPaints = counter.paints;

        const int32_t middle = buffer.LineCount() / 2;
        buffer.SetCaret(10, middle);
        Flush();
        const int before = counter.paints;
        const double typingMs = TimeMs([&] {
            for (int i = 0; i < kKeystrokes; ++i) {
                Press(view, Qt::Key_A, QStringLiteral("a"));
                Flush();
            }
        });
        const int typingPaints = counter.paints - before;
        while (buffer.CanUndo())
            buffer.Undo();

        const int32_t deep = std::min(kDeepLine, std::max(buffer.LineCount() - 200, 0));
        const double pageNearMs = PageDownMs(view, buffer, 10);
        const double pageDeepMs = PageDownMs(view, buffer, deep);
        view.removeEventFilter(&counter);
        buffer.SetSelectionKind(stNone);

        ctx.report.Set("keystroke_repaint_avg_ms", typingMs / kKeystrokes);
        ctx.report.Set("goto_end_first_paint_ms", gotoEndMs);
        ctx.report.Set("page_down_at_10_ms", pageNearMs);
        ctx.report.Set("page_down_at_2000000_ms", pageDeepMs);
        std::fprintf(stderr, "view: %d paints for the end, %d for %d keystrokes, deep page at line %d\n", endPaints,
                     typingPaints, kKeystrokes, deep);
    }
    buffer.SetSyntaxParser(nullptr);
}

}  // namespace tarnwick::bench
