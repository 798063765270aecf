#include "editor/text_printing.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QPrinter>

#include "editor/print_form.h"
#include "editor/printer_setup.h"
#include "editor/text_view.h"
#include "host/message_dialog.h"
#include "textengine/print/memo_printer.h"

namespace tarnwick {

namespace {

const QString kNoPrintersMessage = "There are no printers setup on your computer.";
constexpr size_t kMaxTitleLength = 255;

bool ReportNoPrinters(const TPrinterSetup& printers) {
    if (printers.HasPrinters())
        return false;
    ShowErrorMessage(kNoPrintersMessage);
    return true;
}

// The title, a blank, the date and a blank and the time, as the system writes them.
std::string PrintName(const std::string& title) {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    const QString stamp = locale.toString(now.date(), QLocale::ShortFormat) + " " +
                          locale.toString(now.time(), QLocale::LongFormat);
    return title.substr(0, kMaxTitleLength) + " " + stamp.toLocal8Bit().toStdString();
}

// Beside the document, named after it; the home folder without a title.
QString SuggestedPdfName(const std::string& title) {
    const QString name = QString::fromLocal8Bit(title.c_str());
    if (name.isEmpty())
        return QDir::home().filePath("Untitled.pdf");
    const int dot = int(name.lastIndexOf('.'));
    const int slash = int(name.lastIndexOf('/'));
    return (dot > slash ? name.left(dot) : name) + ".pdf";
}

}  // namespace

TPrintChoice ChoosePrintOptions(TTextView& view, const std::string& title, TPrinterSetup& printers) {
    if (ReportNoPrinters(printers))
        return {};
    TPrintForm form(view.ViewPreferences, printers, view.window());
    form.PrintSelection = view.PrintOptions.Has(poPrintSel);
    form.HasSelection = view.MemoSource().HasSelection();
    form.Title = QString::fromLocal8Bit(title.substr(0, kMaxTitleLength).c_str());
    if (!form.Execute())
        return {};
    view.PrintOptions = view.PrintOptions.Set(poPrintSel, form.PrintSelection);
    view.ApplyPreferences(TTextEditorPreferences(view.ViewPreferences));
    return {true, form.PrintNow};
}

TPrintReport PrintTextNow(TTextView& view, const std::string& title, TPrinterSetup& printers) {
    if (ReportNoPrinters(printers))
        return {};
    TPrintSettings settings;
    settings.Options = view.PrintOptions;
    if (!view.MemoSource().HasSelection())
        settings.Options = settings.Options.Without(poPrintSel);
    settings.PrintIndentPx = view.PrintIndent;
    settings.DocumentName = PrintName(title);
    QString pdfFile;
    if (printers.IsPdfCurrent()) {
        pdfFile = printers.AskPdfFileName(SuggestedPdfName(title));
        if (pdfFile.isEmpty())
            return {};
    }
    const std::unique_ptr<QPrinter> printer = printers.NewPrinter(pdfFile);
    return TMemoPrinter().Print(view, settings, *printer);
}

}  // namespace tarnwick
