// memo-viewer FILE [--screenshot OUT.png] [--select-stream] [--select-column] [--wrap]
//              [--margin N] [--special-symbols] [--overwrite] [--end] [--middle] [--size WxH]
//              [--scheme PATH]
//
// Shows one editor view over a file coloured with the EDIF scheme, with gutter, line numbers,
// a bookmark and a breakpoint mark, so the view can be looked at on its own. With --screenshot
// it writes a picture of the view and exits (works on the offscreen platform); when rows were
// painted before their colours were known, a second one (OUT-caught-up.png) after idle time
// coloured them. --middle puts the caret in the middle of the first line.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <QApplication>
#include <QTimer>

#include "languages/syntax_parser.h"
#include "languages/syntax_scheme.h"
#include "textengine/memory_stream.h"
#include "textengine/view/dc_memo.h"
#include "widgets/application_idle.h"

namespace {

struct ViewerOptions {
    std::string file;
    std::string screenshot;
    std::string scheme = std::string(TARNWICK_SOURCE_DIR) + "/data/System/Languages/EDIF.syn";
    bool selectStream = false;
    bool selectColumn = false;
    bool wrap = false;
    int margin = 80;
    bool specialSymbols = false;
    bool overwrite = false;
    bool atEnd = false;
    bool middle = false;
    int width = 1000;
    int height = 800;
};

int Usage() {
    std::fprintf(
        stderr,
        "usage: memo-viewer FILE [--screenshot OUT.png] [--select-stream] [--select-column]\n"
        "                   [--wrap] [--margin N] [--special-symbols] [--overwrite] [--end] [--middle]\n"
        "                   [--size WxH] [--scheme PATH]\n");
    return 2;
}

bool Parse(int argc, char** argv, ViewerOptions& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (a == "--screenshot")
            o.screenshot = next();
        else if (a == "--scheme")
            o.scheme = next();
        else if (a == "--select-stream")
            o.selectStream = true;
        else if (a == "--select-column")
            o.selectColumn = true;
        else if (a == "--wrap")
            o.wrap = true;
        else if (a == "--margin")
            o.margin = std::atoi(next().c_str());
        else if (a == "--special-symbols")
            o.specialSymbols = true;
        else if (a == "--overwrite")
            o.overwrite = true;
        else if (a == "--end")
            o.atEnd = true;
        else if (a == "--middle")
            o.middle = true;
        else if (a == "--size") {
            if (std::sscanf(next().c_str(), "%dx%d", &o.width, &o.height) != 2)
                return false;
        } else if (!a.empty() && a[0] != '-' && o.file.empty())
            o.file = a;
        else
            return false;
    }
    return !o.file.empty();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ViewerOptions o;
    if (!Parse(argc, argv, o))
        return Usage();
    using namespace tarnwick;
    try {
        TSyntaxScheme scheme;
        scheme.LoadFromFile(o.scheme);
        TSyntaxParser parser;
        parser.SetSyntaxScheme(scheme);

        TDCMemo view;
        TFontDesc font;
        font.Name = "DejaVu Sans Mono";
        font.Size = 10;
        parser.SetDefaultFont(font);
        view.SetFont(font);
        TMemoSource& buffer = static_cast<TMemoSource&>(view.MemoSource());
        TMemoryStream stream(ReadFile(o.file));
        buffer.LoadFromStream(stream);
        view.SetSyntaxParser(&parser);  // measures the scheme's fonts too

        // As the editor preferences arrange it: numbers inside the gutter.
        view.SetOptions(view.Options()
                            .With(moDrawGutter)
                            .With(moLineNumbers)
                            .With(moLineNumbersOnGutter)
                            .With(moDrawMargin)
                            .With(moOverwriteCaret)
                            .Set(moDrawSpecialSymbols, o.specialSymbols)
                            .Set(moBreakWordAtMargin, o.wrap));
        view.SetMarginPos(o.margin);
        view.SetWordWrap(o.wrap);
        view.SetScrollBars(ssBoth);
        view.LineHighlight.Visible = true;
        view.GutterLineIndent = 16;
        view.LineHighlight.Shape = shSingleLine;
        if (o.specialSymbols) {
            view.SpecialSymbols.SpaceChar = char(0xB7);
            view.SpecialSymbols.TabChar = char(0xBB);
        }
        view.resize(o.width, o.height);

        // A few marks so the gutter shows its images.
        if (buffer.LineCount() > 12) {
            buffer.SetCaret(0, 3);
            buffer.ToggleBookmark(1);
            buffer.SetLineMark(7, 0, true);
        }
        if (o.selectStream && buffer.LineCount() > 14) {
            buffer.SetCaret(6, 9);
            buffer.ExtendSelection(stStream, [&] { buffer.SetCaret(17, 14); });
        }
        if (o.selectColumn && buffer.LineCount() > 20) {
            buffer.SetCaret(4, 10);
            buffer.ExtendSelection(stColumn, [&] { buffer.SetCaret(22, 20); });
        }
        if (!o.selectStream && !o.selectColumn)
            buffer.SetCaret(10, 5);
        if (o.overwrite)
            buffer.SetOverwriteMode();
        if (o.middle)
            buffer.SetCaret(buffer.LineLength(0) / 2, 0);
        if (o.atEnd) {
            buffer.TextEnd();
            view.ScrollLineDown();  // the end-of-text row, when there is one
        }

        view.show();
        if (o.screenshot.empty())
            return app.exec();
        QTimer::singleShot(0, [&] {
            QApplication::processEvents();
            view.MakeCaretVisible();
            bool saved = view.grab().save(QString::fromStdString(o.screenshot));
            // Rows painted before their colours were known: once idle time caught up, again.
            if (TApplicationIdle::HasWork()) {
                while (TApplicationIdle::HasWork())
                    QApplication::processEvents();
                QString caughtUp = QString::fromStdString(o.screenshot);
                caughtUp.insert(caughtUp.lastIndexOf('.'), "-caught-up");
                saved = view.grab().save(caughtUp) && saved;
            }
            app.exit(saved ? 0 : 1);
        });
        return app.exec();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "memo-viewer: %s\n", e.what());
        return 1;
    }
}
