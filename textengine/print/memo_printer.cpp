#include "textengine/print/memo_printer.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPicture>
#include <QPointer>
#include <QPrinter>
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "textengine/byte_stream.h"
#include "textengine/print/memo_print_progress.h"
#include "textengine/print/page_metrics.h"
#include "textengine/print/print_parser.h"
#include "textengine/tab_stops.h"
#include "textengine/view/custom_dc_memo.h"

namespace tarnwick {

namespace {

constexpr TColorValue kWhite = 0xFFFFFF;
constexpr TColorValue kBlack = 0x000000;

// Keeps the buffer's views from being told of changes while the printout runs; a user's edit
// in that time reaches them when the lock goes. The found match stays marked.
class TBufferLock {
public:
    explicit TBufferLock(TCustomDCMemo& view) : view_(&view), source_(view.MemoSource()) {
        const TFoundRect found = source_.FoundRect();
        source_.BeginChange(ccNone);
        source_.SetFoundRect(found);
    }
    // A view destroyed meanwhile took its buffer with it (a text window owns both).
    ~TBufferLock() {
        if (view_)
            source_.EndChange();
    }
    TBufferLock(const TBufferLock&) = delete;
    TBufferLock& operator=(const TBufferLock&) = delete;

private:
    QPointer<TCustomDCMemo> view_;
    TCustomMemoSource& source_;
};

// Lines handed to a buffer's loader one at a time, joined with LF, so that the copy never holds
// the text twice.
class TLinesStream final : public TByteStream {
public:
    TLinesStream(int32_t count, std::function<std::string_view(int32_t)> lineAt)
        : count_(count), lineAt_(std::move(lineAt)) {}
    int64_t Read(void* buffer, int64_t count) override {
        auto* out = static_cast<char*>(buffer);
        int64_t written = 0;
        while (written < count && line_ < count_) {
            const std::string_view line = lineAt_(line_);
            if (offset_ < line.size()) {
                const size_t n = std::min<size_t>(line.size() - offset_, size_t(count - written));
                std::memcpy(out + written, line.data() + offset_, n);
                offset_ += n;
                written += int64_t(n);
                continue;
            }
            out[written++] = '\n';  // after every line, so that a last empty line is kept
            ++line_;
            offset_ = 0;
        }
        return written;
    }
    int64_t Write(const void*, int64_t) override { return 0; }

private:
    int32_t count_;
    std::function<std::string_view(int32_t)> lineAt_;
    int32_t line_ = 0;
    size_t offset_ = 0;
};

// The hidden view that is painted onto the pages, with its own text and a highlighter that
// parses with the view's one but paints for paper.
class TPrintCopy {
public:
    TPrintCopy(TCustomDCMemo& view, const TPrintSettings& settings);
    TCustomDCMemo& Memo() { return *memo_; }

private:
    void CopySettings(TCustomDCMemo& view, const TPrintSettings& settings);
    void SetUpForPaper(const TPrintSettings& settings);
    void CopyText(TCustomDCMemo& view, const TPrintSettings& settings);

    std::unique_ptr<TPrintParser> parser_;  // outlives the copy, whose buffer refers to it
    std::unique_ptr<TCustomDCMemo> memo_;
    std::vector<std::string> selection_;
};

TPrintCopy::TPrintCopy(TCustomDCMemo& view, const TPrintSettings& settings)
    : memo_(std::make_unique<TCustomDCMemo>()) {
    // Not a child of the view's window: the printout outlives a window closed while it runs.
    memo_->setAttribute(Qt::WA_DontShowOnScreen);
    CopySettings(view, settings);
    SetUpForPaper(settings);
    CopyText(view, settings);
    if (settings.Options.Has(poLineNumbers))
        memo_->SetOptions(memo_->Options().With(moLineNumbers));
    memo_->MemoSource().SetCaret(0, 0);
}

void TPrintCopy::CopySettings(TCustomDCMemo& view, const TPrintSettings& settings) {
    TCustomDCMemo& copy = *memo_;
    TCustomMemoSource& from = view.MemoSource();
    TCustomMemoSource& to = copy.MemoSource();
    // Stored tabs stay tabs and expand at the view's stops.
    to.SetOptions(from.Options().With(soUseTabCharacter));
    try {
        to.SetTabStops(from.TabStops());
    } catch (const ETabStopsError&) {
    }
    to.SetDelimeters(from.Delimeters());
    to.SetHighlightUrls(from.HighlightUrls());
    copy.LineNumColor = view.LineNumColor;
    copy.LineNumAlign = view.LineNumAlign;
    copy.SelColor = view.SelColor;
    copy.SelBackColor = view.SelBackColor;
    copy.MatchColor = view.MatchColor;
    copy.MatchBackColor = view.MatchBackColor;
    copy.SpecialSymbols = view.SpecialSymbols;
    copy.LineSeparator = view.LineSeparator;
    TMemoOptions options = view.Options();
    if (options.Has(moLeftIndent)) {
        copy.LeftIndent = view.LeftIndent;
    } else if (settings.PrintIndentPx != 0) {
        options = options.With(moLeftIndent);
        copy.LeftIndent = settings.PrintIndentPx;
    }
    copy.SetUseMonoFont(view.UseMonoFont());
    copy.SetFont(InScreenPixels(view.Font(), view.logicalDpiY()));
    copy.Color = view.Color;
    copy.SetOptions(options.Without(moDrawMargin).Without(moDrawGutter).Without(moLineNumbers));
    copy.SetHideCaret(true);
    if (settings.Options.Has(poWrapLines))
        copy.SetMarginPos(view.MarginPos());  // the wrap itself waits for the page width
}

void TPrintCopy::SetUpForPaper(const TPrintSettings& settings) {
    TCustomDCMemo& copy = *memo_;
    copy.Color = kWhite;
    copy.LineNumBackColor = kWhite;
    copy.LineNumColor = kBlack;
    copy.SetOptions(copy.Options().With(moColorSyntax));
    TCustomMemoSource& to = copy.MemoSource();
    to.SetOptions(to.Options().Without(soBeyondFileEnd));
    if (!settings.Options.Has(poInColor)) {
        TFontDesc font = copy.Font();
        font.Color = kBlack;
        copy.SetFont(font);
    }
}

// The selection, or the whole text. The highlighter starts the selection in the state the
// view's text is in at its first line; an empty last line (a selection that ends at a line
// start) is not printed.
void TPrintCopy::CopyText(TCustomDCMemo& view, const TPrintSettings& settings) {
    TCustomMemoSource& from = view.MemoSource();
    int32_t firstLine = 0;
    const bool selectionOnly = settings.Options.Has(poPrintSel) && from.HasSelection();
    if (selectionOnly) {
        firstLine = from.SelStart().LinePos;
        selection_ = from.SelectionStoredLines();
        if (!selection_.empty() && selection_.back().empty())
            selection_.pop_back();
    }
    if (TSimpleParser* screen = from.SyntaxParser()) {
        uint32_t state = screen->DefaultState();
        if (firstLine > 0) {
            from.UpdateColours(firstLine - 1);  // parses up to there
            state = from.Store().EndState(firstLine - 1);
        }
        parser_ = std::make_unique<TPrintParser>(*screen, settings.Options.Has(poInColor), firstLine, state,
                                                 view.logicalDpiY());
        memo_->SetSyntaxParser(parser_.get());
    }
    TLinesStream stream =
        selectionOnly ? TLinesStream(int32_t(selection_.size()),
                                     [this](int32_t i) { return std::string_view(selection_[size_t(i)]); })
                      : TLinesStream(from.LineCount(), [&from](int32_t i) { return from.StoredLine(i); });
    memo_->MemoSource().LoadFromStream(stream);
}

TPageMetrics MeasurePages(TCustomDCMemo& copy, const QWidget& screen, const QPrinter& printer,
                          const TPrintSettings& settings) {
    TPageMetricsInput in;
    in.printerDpiX = printer.logicalDpiX();
    in.printerDpiY = printer.logicalDpiY();
    in.screenDpiX = screen.logicalDpiX();
    in.screenDpiY = screen.logicalDpiY();
    in.printerPageWidth = printer.width();
    in.printerPageHeight = printer.height();
    in.lineHeight = copy.RowHeight();
    in.charWidth = copy.CharWidth();
    in.monoFont = copy.UseMonoFont();
    in.header = settings.Options.Has(poPrintHeader);
    return ComputePageMetrics(in);
}

QString PrinterLabel(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName();
    return printer.printerName();
}

[[noreturn]] void ThrowPrinterError(const QPrinter& printer) {
    const QString message = printer.outputFormat() == QPrinter::PdfFormat
                                ? "Cannot write the PDF file " + printer.outputFileName() + "."
                                : "Cannot print on the printer " + printer.printerName() + ".";
    throw EPrintError(message.toLocal8Bit().toStdString());
}

// One run: the pages of the copy onto the printer, with the header and the progress window.
class TPrintRun {
public:
    TPrintRun(TCustomDCMemo& view, const TPrintSettings& settings, QPrinter& printer, TMemoPrinter& owner)
        : view_(&view), settings_(settings), printer_(printer), owner_(owner) {}

    TPrintReport Run();

private:
    void Step();
    bool ShouldStop() const { return !view_ || (progress_ && progress_->CancelRequested()); }
    void PrintPage(QPainter& painter, TCustomDCMemo& copy, int32_t page);
    void PaintHeader(QPainter& painter, const TCustomDCMemo& copy, int32_t page);

    QPointer<TCustomDCMemo> view_;
    const TPrintSettings& settings_;
    QPrinter& printer_;
    TMemoPrinter& owner_;
    std::unique_ptr<TMemoPrintProgress> progress_;
    TPageMetrics metrics_;
    TPrintReport report_;
    QString printName_;
    int32_t screenDpiY_ = 96;  // kept: the view may go while the pages print
};

// The window stays responsive: what is pending is handled after every step.
void TPrintRun::Step() {
    if (!progress_)
        return;
    progress_->StepProgress();
    QCoreApplication::processEvents();
}

// A picture replays its fonts at the resolution of the device it is drawn on, before the
// stretch: at a printer's 1200 dpi every glyph would come out 12.5 times too large. So the job
// runs at the screen's resolution, where the stretch is close to 1; the paper keeps its size.
class TScreenResolution {
public:
    TScreenResolution(QPrinter& printer, const QWidget& screen)
        : printer_(printer), old_(printer.resolution()) {
        printer_.setResolution(screen.logicalDpiY());
    }
    ~TScreenResolution() { printer_.setResolution(old_); }
    TScreenResolution(const TScreenResolution&) = delete;
    TScreenResolution& operator=(const TScreenResolution&) = delete;

private:
    QPrinter& printer_;
    int old_;
};

TPrintReport TPrintRun::Run() {
    TBufferLock lock(*view_);
    TScreenResolution resolution(printer_, *view_);
    screenDpiY_ = view_->logicalDpiY();
    printName_ = QString::fromLocal8Bit(TMemoPrinter::PrintName(settings_).c_str());
    if (settings_.Options.Has(poShowProgress)) {
        progress_ = std::make_unique<TMemoPrintProgress>(view_->window());
        progress_->SetPrinterName(PrinterLabel(printer_));
        progress_->SetPage(1, " ... ");
        progress_->show();
        QCoreApplication::processEvents();
    }
    if (!view_)
        return report_;
    TPrintCopy copy(*view_, settings_);
    if (progress_)
        progress_->SetFileName(printName_);
    metrics_ = MeasurePages(copy.Memo(), *view_, printer_, settings_);
    copy.Memo().resize(metrics_.pageWidth, metrics_.linesPerPage * metrics_.lineHeight);
    if (settings_.Options.Has(poWrapLines))
        copy.Memo().SetWordWrap(true);  // wraps at the page width just set
    report_.Rows = copy.Memo().RowCount();
    report_.LinesPerPage = metrics_.linesPerPage;
    report_.PageCount = metrics_.PageCount(report_.Rows);
    if (progress_) {
        progress_->SetPage(1, QString::number(report_.PageCount));
        progress_->FitToPages(report_.PageCount);
        QCoreApplication::processEvents();
    }
    QPainter painter;
    for (int32_t page = 0; page < report_.PageCount; ++page) {
        if (ShouldStop())
            break;
        if (page == 0 && !painter.begin(&printer_))
            ThrowPrinterError(printer_);
        if (page > 0 && !printer_.newPage())
            ThrowPrinterError(printer_);
        PrintPage(painter, copy.Memo(), page);
        ++report_.PagesPrinted;
        if (owner_.OnPagePrinted)
            owner_.OnPagePrinted(report_.PagesPrinted, progress_.get());
    }
    report_.Stopped = report_.PagesPrinted < report_.PageCount;
    if (painter.isActive() && !painter.end())
        ThrowPrinterError(printer_);
    if (printer_.printerState() == QPrinter::Error)
        ThrowPrinterError(printer_);
    return report_;
}

void TPrintRun::PrintPage(QPainter& painter, TCustomDCMemo& copy, int32_t page) {
    if (progress_)
        progress_->SetPage(page + 1, QString::number(report_.PageCount));
    Step();
    const int32_t firstRow = page * metrics_.linesPerPage;
    const int32_t rows = std::min(metrics_.linesPerPage, copy.RowCount() - firstRow);
    QPicture picture;
    {
        QPainter canvas(&picture);
        copy.PaintRows(canvas, firstRow, rows);
    }
    picture.setBoundingRect(QRect(0, 0, metrics_.pageWidth, metrics_.pageHeight));
    Step();
    const TPrinterRect& target = metrics_.target;
    painter.save();
    painter.translate(target.left, target.top);
    painter.scale(double(target.Width()) / metrics_.pageWidth, double(target.Height()) / metrics_.pageHeight);
    painter.drawPicture(0, 0, picture);
    painter.restore();
    Step();
    if (settings_.Options.Has(poPrintHeader))
        PaintHeader(painter, copy, page);
    Step();
}

// In the copy's font made bold, at the printer's resolution: the name at the left, the page
// number at the right, one average character width before the edge.
void TPrintRun::PaintHeader(QPainter& painter, const TCustomDCMemo& copy, int32_t page) {
    QFont font = ToQFont(copy.Font(), copy.UseMonoFont());
    font.setBold(true);
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, font.pixelSize() * printer_.logicalDpiY() / std::max(screenDpiY_, 1)));
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics fm = painter.fontMetrics();
    painter.drawText(0, fm.ascent(), printName_);
    const QString number = QString("Page %1/%2").arg(page + 1).arg(report_.PageCount);
    const int width = fm.horizontalAdvance(number);
    const int averageChar = width / std::max<int>(int(number.size()), 1);
    painter.drawText(printer_.width() - width - averageChar, fm.ascent(), number);
    painter.restore();
}

}  // namespace

std::string TMemoPrinter::PrintName(const TPrintSettings& settings) {
    if (settings.Options.Has(poPrintSel))
        return "<Selected block>";
    return settings.DocumentName.empty() ? "<Unknown>" : settings.DocumentName;
}

TPrintReport TMemoPrinter::Print(TCustomDCMemo& view, const TPrintSettings& settings, QPrinter& printer) {
    if (view.MemoSource().LineCount() == 0)
        return {};
    TPrintRun run(view, settings, printer, *this);
    return run.Run();
}

}  // namespace tarnwick
