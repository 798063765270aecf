#pragma once
// The printers a user can print on and the one that is current, with its page settings. A PDF
// file counts as a printer ("PDF file"), so that printing works on a machine without a system
// printer; where its file goes is asked when a printout starts.
//
// The current printer is the process's, as the system's current printer would be: every
// document prints on it, and choosing another one in the print dialog changes it for all.

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;

namespace tarnwick {

class TPrinterSetup {
public:
    static const QString kPdfPrinter;  // "PDF file"

    TPrinterSetup();

    // The system's printers, then the PDF printer when it is offered.
    [[nodiscard]] QStringList PrinterNames() const;
    // False where nothing can be printed at all.
    [[nodiscard]] bool HasPrinters() const { return !PrinterNames().isEmpty(); }
    // The system's default printer at first, else the first one listed.
    [[nodiscard]] QString CurrentPrinter() const;
    // A name that is not listed changes nothing.
    void SetCurrentPrinter(const QString& name);
    [[nodiscard]] bool IsPdfCurrent() const { return CurrentPrinter() == kPdfPrinter; }

    // A printer for one job or one setup dialog: the current printer with the page settings.
    // The PDF printer writes to pdfFileName.
    [[nodiscard]] std::unique_ptr<QPrinter> NewPrinter(const QString& pdfFileName = QString()) const;
    // Keeps what a setup dialog changed on a printer from NewPrinter.
    void TakeSettings(const QPrinter& printer);

    // Where the PDF of a printout goes, asked with the suggested name; empty when the user
    // cancels. The default asks with a save dialog.
    std::function<QString(const QString& suggested)> AskPdfFileName;
    // The system's printers; tests give their own.
    std::function<QStringList()> SystemPrinterNames;
    std::function<QString()> DefaultPrinterName;
    bool OfferPdf = true;

private:
    QString current_;  // empty: not chosen yet
    QPageLayout layout_;
};

// The process's printers.
TPrinterSetup& ProcessPrinterSetup();

}  // namespace tarnwick
