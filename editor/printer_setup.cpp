#include "editor/printer_setup.h"

#include <QFileDialog>
#include <QLocale>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace tarnwick {

const QString TPrinterSetup::kPdfPrinter = "PDF file";

TPrinterSetup::TPrinterSetup()
    : AskPdfFileName([](const QString& suggested) {
          return QFileDialog::getSaveFileName(nullptr, "Print to PDF file", suggested, "PDF files (*.pdf)");
      }),
      SystemPrinterNames([] { return QPrinterInfo::availablePrinterNames(); }),
      DefaultPrinterName([] { return QPrinterInfo::defaultPrinterName(); }),
      layout_(QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                           : QPageSize::A4),
              QPageLayout::Portrait, QMarginsF(12.7, 12.7, 12.7, 12.7), QPageLayout::Millimeter) {}

QStringList TPrinterSetup::PrinterNames() const {
    QStringList names = SystemPrinterNames();
    if (OfferPdf)
        names.append(kPdfPrinter);
    return names;
}

QString TPrinterSetup::CurrentPrinter() const {
    const QStringList names = PrinterNames();
    if (names.contains(current_))
        return current_;
    const QString system = DefaultPrinterName();
    if (names.contains(system))
        return system;
    return names.isEmpty() ? QString() : names.first();
}

void TPrinterSetup::SetCurrentPrinter(const QString& name) {
    if (PrinterNames().contains(name))
        current_ = name;
}

std::unique_ptr<QPrinter> TPrinterSetup::NewPrinter(const QString& pdfFileName) const {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (IsPdfCurrent()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfFileName);
    } else {
        printer->setPrinterName(CurrentPrinter());
    }
    printer->setPageLayout(layout_);
    return printer;
}

void TPrinterSetup::TakeSettings(const QPrinter& printer) {
    layout_ = printer.pageLayout();
    if (printer.outputFormat() == QPrinter::NativeFormat)
        SetCurrentPrinter(printer.printerName());
}

TPrinterSetup& ProcessPrinterSetup() {
    static TPrinterSetup setup;
    return setup;
}

}  // namespace tarnwick
