// The editor view on the offscreen platform, 1000 x 800 pixels, over the loaded file with the
// EDIF colours: what a keystroke in the middle costs with its repaint, the first paint after a
// jump to the last line (which has to colour everything above it), and a page-down repaint near
// the start and two million lines in. The text is left as it was found.
#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QKeyEvent>

#include "bench/bench_steps.h"
#include "bench/offscreen_widgets.h"
#include "languages/syntax_parser.h"
#include "textengine/view/dc_memo.h"
#include "widgets/application_idle.h"

namespace tarnwick::bench {

namespace {

constexpr int kKeystrokes = 200;
constexpr int kPageDowns = 20;
constexpr int32_t kDeepLine = 2000000;

// A shown 1000 x 800 view with gutter and line numbers over a buffer (its own when null) that
// counts the paint events it receives, to show that a measurement includes its repaint.
class BenchView : public QObject {
public:
    BenchView(const TFontDesc& font, TMemoSource* buffer) {
        view.SetFont(font);
        view.SetOptions(view.Options().With(moDrawGutter).With(moLineNumbers).With(moLineNumbersOnGutter));
        view.resize(1000, 800);
        if (buffer != nullptr)
            view.SetMemoSource(buffer);
        view.installEventFilter(this);
        view.show();
    }
    ~BenchView() override { view.removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    TDCMemo view;
    int paints = 0;
};

void Press(QWidget& view, Qt::Key key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&view, &press);
}

// Lets the idle time colour the rows that were painted before their colours were known, so the
// measurement that follows sees the cost of its own work.
void Settle() {
    Flush();
    while (TApplicationIdle::HasWork())
        Flush();
}

// The average of keystrokes typed at the caret, each with its repaint; paints says how many
// repaints they caused. The typing is undone afterwards.
double KeystrokeMs(BenchView& shown, TMemoSource& buffer, int keystrokes, int& paints) {
    const int before = shown.paints;
    const double typingMs = TimeMs([&] {
        for (int i = 0; i < keystrokes; ++i) {
            Press(shown.view, Qt::Key_A, QStringLiteral("a"));
            Flush();
        }
    });
    paints = shown.paints - before;
    while (buffer.CanUndo())
        buffer.Undo();
    return typingMs / keystrokes;
}

double PageDownMs(TDCMemo& view, TMemoSource& buffer, int32_t line) {
    buffer.SetCaret(0, line);
    view.SetTopRow(line);
    Settle();
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
    const OffscreenApplication app;
    BenchHighlighter edif(ctx);
    TSyntaxParser& highlighter = edif.parser;
    const TFontDesc& font = edif.font;
    TMemoSource& buffer = *ctx.buffer;
    {
        // Fonts and the window system are set up once by a view over a small text, so the
        // measurements below see the engine and not the toolkit's first start.
        BenchView warmUp(font, nullptr);
        warmUp.view.MemoSource().Lines().Assign({"(edif warm (up 1))"});
        Flush();
    }
    // A fresh view whose first paint is at the end of a text nobody has coloured yet; best of
    // two, as highlight_all_ms is.
    double gotoEndMs = 1e300;
    int endPaints = 0;
    for (int run = 0; run < 2; ++run) {
        buffer.SetSyntaxParser(nullptr);
        buffer.SetSyntaxParser(&highlighter);
        buffer.TextStart();
        BenchView fresh(font, &buffer);
        gotoEndMs = std::min(gotoEndMs, TimeMs([&] {
                                 buffer.TextEnd();
                                 Flush();
                             }));
        endPaints = fresh.paints;
    }
    {
        BenchView shown(font, &buffer);
        TDCMemo& view = shown.view;
        Flush();

        const int32_t middle = buffer.LineCount() / 2;
        buffer.SetCaret(10, middle);
        Settle();
        int typingPaints = 0;
        const double keystrokeMs = KeystrokeMs(shown, buffer, kKeystrokes, typingPaints);

        const int32_t deep = std::min(kDeepLine, std::max(buffer.LineCount() - 200, 0));
        const double pageNearMs = PageDownMs(view, buffer, 10);
        const double pageDeepMs = PageDownMs(view, buffer, deep);
        buffer.SetSelectionKind(stNone);

        ctx.report.Set("keystroke_repaint_avg_ms", keystrokeMs);
        ctx.report.Set("goto_end_first_paint_ms", gotoEndMs);
        ctx.report.Set("page_down_at_10_ms", pageNearMs);
        ctx.report.Set("page_down_at_2000000_ms", pageDeepMs);
        std::fprintf(stderr, "view: %d paints for the end, %d for %d keystrokes, deep page at line %d\n",
                     endPaints, typingPaints, kKeystrokes, deep);
    }
    buffer.SetSyntaxParser(nullptr);
}

void RunLongLineView(BenchContext& ctx) {
    constexpr int kLongLineKeystrokes = 20;
    const OffscreenApplication app;
    BenchHighlighter edif(ctx);
    TMemoSource& buffer = *ctx.buffer;
    buffer.SetSyntaxParser(&edif.parser);
    {
        BenchView shown(edif.font, &buffer);
        buffer.SetCaret(buffer.LineLength(0) / 2, 0);
        shown.view.MakeCaretVisible();
        Settle();
        int typingPaints = 0;
        const double keystrokeMs = KeystrokeMs(shown, buffer, kLongLineKeystrokes, typingPaints);
        ctx.report.Set("long_line_keystroke_repaint_ms", keystrokeMs);
        std::fprintf(stderr, "long line: %.1f ms a keystroke, %d paints for %d keystrokes at column %d\n",
                     keystrokeMs, typingPaints, kLongLineKeystrokes, buffer.LineLength(0) / 2);
    }
    buffer.SetSyntaxParser(nullptr);
}

}  // namespace tarnwick::bench
