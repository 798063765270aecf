// The print routine on a PDF printer: what it prints, how many pages, what the progress window
// shows, and that the buffer is given back however the run ends.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "tests/printing/print_test_support.h"
#include "textengine/print/memo_print_progress.h"
#include "textengine/print/memo_printer.h"

namespace tarnwick {
namespace {

using testing_print::PdfPageCount;
using testing_print::PdfPrinter;
using testing_print::SampleLines;
using testing_print::TEdifView;

class MemoPrinterTest : public ::testing::Test {
protected:
    QString PdfPath(const QString& name) { return folder_.filePath(name + ".pdf"); }
    // Where the option pictures go when asked for (TARNWICK_PRINT_SHOTS=folder).
    QString ShotOrTempPath(const QString& name) {
        const QString shots = qEnvironmentVariable("TARNWICK_PRINT_SHOTS");
        return shots.isEmpty() ? PdfPath(name) : shots + "/" + name + ".pdf";
    }
    QTemporaryDir folder_;
};

TEST_F(MemoPrinterTest, SamplePrintsToPdf) {
    TEdifView edif(SampleLines(200));
    const QString path = ShotOrTempPath("default");
    auto printer = PdfPrinter(path);
    TMemoPrinter memoPrinter;
    TPrintSettings settings;
    settings.Options = {poPrintHeader, poLineNumbers, poInColor};
    settings.DocumentName = "yosys-counter.edf";
    const TPrintReport report = memoPrinter.Print(edif.View(), settings, *printer);
    EXPECT_GT(report.PageCount, 1);
    EXPECT_EQ(report.PagesPrinted, report.PageCount);
    EXPECT_EQ(PdfPageCount(path), report.PageCount);
}

}  // namespace
}  // namespace tarnwick
