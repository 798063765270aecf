// The print-options dialog through its controls, and printing a text view with it or at once,
// on a PDF printer; message boxes are answered from queued calls.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <memory>

#include "editor/print_form.h"
#include "editor/printer_setup.h"
#include "editor/text_printing.h"
#include "editor/text_view.h"
#include "tests/printing/print_test_support.h"
#include "textengine/memory_stream.h"

namespace tarnwick {
namespace {

using TPrefs = TTextEditorPreferences;
using testing_print::PdfPageCount;
using testing_print::SampleLines;

struct TCheckField {
    const char* name;
    bool TPrefs::*field;
};
const TCheckField kChecks[] = {
    {"HeaderCheck", &TPrefs::PrintHeader},
    {"LineNumbersCheck", &TPrefs::PrintLineNumbers},
    {"SyntaxPrintCheck", &TPrefs::PrintSyntax},
    {"UseColorCheck", &TPrefs::PrintInColour},
    {"ShowPrintProgress", &TPrefs::ShowPrintProgress},
    {"WrapLinesCheck", &TPrefs::WrapLinesForPrinting},
};

template <class Widget>
Widget* Control(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void TypeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// The message of the next error box, answered as soon as it is up.
std::shared_ptr<QString> AnswerNextMessage(QWidget* besides) {
    auto shown = std::make_shared<QString>();
    auto* poll = new QTimer(qApp);  // goes with the application if no box comes
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [shown, besides, poll] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box || box == besides)
            return;
        if (auto* message = box->findChild<QLabel*>("Message"))
            *shown = message->text();
        box->reject();
        poll->stop();
        poll->deleteLater();
    });
    poll->start();
    return shown;
}

// Two system printers and the PDF printer, which writes into a temporary folder.
class PrintFormTest : public ::testing::Test {
protected:
    PrintFormTest() {
        printers_.SystemPrinterNames = [] { return QStringList{"Laser A", "Laser B"}; };
        printers_.DefaultPrinterName = [] { return QString("Laser A"); };
        printers_.AskPdfFileName = [this](const QString&) {
            ++pdfQuestions_;
            return pdfPath_;
        };
        pdfPath_ = folder_.filePath("out.pdf");
    }

    // Runs the form on record and hands it to drive once it is up; what drive leaves open is
    // cancelled.
    bool RunForm(TPrefs& record, TPrintForm& form, const std::function<void(TPrintForm&)>& drive) {
        QTimer::singleShot(0, [&] {
            drive(form);
            if (form.isVisible())
                form.reject();
        });
        return form.Execute();
    }

    // A text view over lines of the sample, printing on PDF only.
    std::unique_ptr<TTextView> SampleView(int lines) {
        printers_.SystemPrinterNames = [] { return QStringList{}; };
        auto view = std::make_unique<TTextView>();
        TMemoryStream stream(SampleLines(lines));
        view->MemoSource().LoadFromStream(stream);
        view->ApplyPreferences(TPrefs{});
        return view;
    }

    QTemporaryDir folder_;
    QString pdfPath_;
    int pdfQuestions_ = 0;
    TPrinterSetup printers_;
};

TEST_F(PrintFormTest, ShowsTheRecordTheTitleAndThePrinters) {
    TPrefs record;
    record.PrintHeader = false;
    record.PrintLineNumbers = true;
    record.WrapLinesForPrinting = true;
    record.PrintIndent = 0.5;
    TPrintForm form(record, printers_);
    form.Title = "/work/counter.edf";
    form.PrintSelection = true;
    form.HasSelection = false;
    RunForm(record, form, [&](TPrintForm& f) {
        EXPECT_EQ(f.windowTitle(), "Print Options");
        for (const TCheckField& c : kChecks)
            EXPECT_EQ(Control<QCheckBox>(f, c.name)->isChecked(), record.*c.field) << c.name;
        EXPECT_EQ(Control<QLineEdit>(f, "MarginEdit")->text(), "0.50");
        EXPECT_EQ(Control<QLabel>(f, "lblFileName")->text(), "/work/counter.edf");
        auto* printSel = Control<QCheckBox>(f, "PrintSelCheck");
        EXPECT_FALSE(printSel->isEnabled());
        EXPECT_TRUE(printSel->isChecked());
        auto* combo = Control<QComboBox>(f, "ChoosePrinterCombo");
        ASSERT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->itemText(2), "PDF file");
        EXPECT_EQ(combo->currentText(), "Laser A");
        for (QPushButton* button : f.findChildren<QPushButton*>())
            EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->objectName().toStdString();
    });
}

TEST_F(PrintFormTest, OkAndPrintStoreTheControlsAndOnlyPrintAsksToPrint) {
    for (const char* button : {"OkButton", "PrintButton"}) {
        SCOPED_TRACE(button);
        TPrefs record;
        TPrintForm form(record, printers_);
        form.HasSelection = true;
        const bool confirmed = RunForm(record, form, [&](TPrintForm& f) {
            QTest::mouseClick(Control<QCheckBox>(f, "UseColorCheck"), Qt::LeftButton, {}, QPoint(6, 10));
            QTest::mouseClick(Control<QCheckBox>(f, "PrintSelCheck"), Qt::LeftButton, {}, QPoint(6, 10));
            TypeInto(Control<QLineEdit>(f, "MarginEdit"), "1.25");
            QTest::mouseClick(Control<QPushButton>(f, button), Qt::LeftButton);
        });
        EXPECT_TRUE(confirmed);
        EXPECT_EQ(form.PrintNow, std::string(button) == "PrintButton");
        EXPECT_TRUE(form.PrintSelection);
        EXPECT_TRUE(record.PrintInColour);
        EXPECT_DOUBLE_EQ(record.PrintIndent, 1.25);
    }
}

TEST_F(PrintFormTest, ChoosingAPrinterMakesItCurrentAndCancelGivesTheOldOneBack) {
    TPrefs record;
    const TPrefs before = record;
    TPrintForm form(record, printers_);
    const bool confirmed = RunForm(record, form, [&](TPrintForm& f) {
        auto* combo = Control<QComboBox>(f, "ChoosePrinterCombo");
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        EXPECT_EQ(printers_.CurrentPrinter(), "Laser B");
        QTest::mouseClick(Control<QCheckBox>(f, "HeaderCheck"), Qt::LeftButton, {}, QPoint(6, 10));
        QTest::mouseClick(Control<QPushButton>(f, "CancelButton"), Qt::LeftButton);
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(printers_.CurrentPrinter(), "Laser A");
    EXPECT_EQ(record.PrintHeader, before.PrintHeader);
}

TEST_F(PrintFormTest, AMarginThatIsNoNumberIsRefusedWithTheFocusBackOnIt) {
    TPrefs record;
    record.PrintIndent = 0.25;
    TPrintForm form(record, printers_);
    std::shared_ptr<QString> onLeaving, onOk;
    bool stillOpen = false;
    RunForm(record, form, [&](TPrintForm& f) {
        auto* margin = Control<QLineEdit>(f, "MarginEdit");
        // The window system hands the activation to the dialog in its own time.
        EXPECT_TRUE(QTest::qWaitFor([&f] { return QApplication::activeWindow() == &f; }));
        TypeInto(margin, "1,5x");
        EXPECT_TRUE(QTest::qWaitFor([margin] { return margin->hasFocus(); }));
        onLeaving = AnswerNextMessage(&f);
        QTest::keyClick(margin, Qt::Key_Tab);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !onLeaving->isEmpty(); }));
        EXPECT_TRUE(QTest::qWaitFor([margin] { return margin->hasFocus(); }));
        onOk = AnswerNextMessage(&f);
        QTest::mouseClick(Control<QPushButton>(f, "PrintButton"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !onOk->isEmpty(); }));
        EXPECT_TRUE(QTest::qWaitFor([margin] { return margin->hasFocus(); }));
        stillOpen = f.isVisible();
        TypeInto(margin, "");
        QTest::mouseClick(Control<QPushButton>(f, "OkButton"), Qt::LeftButton);
    });
    EXPECT_EQ(*onLeaving, "Please enter a number");
    EXPECT_EQ(*onOk, "Please enter a number");
    EXPECT_TRUE(stillOpen);
    EXPECT_DOUBLE_EQ(record.PrintIndent, 0.0);  // an empty margin counts as 0
}

TEST_F(PrintFormTest, WithoutAnyPrinterNothingIsShownOrPrinted) {
    auto view = SampleView(20);
    printers_.OfferPdf = false;
    const auto dialogMessage = AnswerNextMessage(nullptr);
    EXPECT_FALSE(ChoosePrintOptions(*view, "counter.edf", printers_).confirmed);
    EXPECT_EQ(*dialogMessage, "There are no printers setup on your computer.");
    const auto nowMessage = AnswerNextMessage(nullptr);
    EXPECT_EQ(PrintTextNow(*view, "counter.edf", printers_).PageCount, 0);
    EXPECT_EQ(*nowMessage, "There are no printers setup on your computer.");
    EXPECT_EQ(pdfQuestions_, 0);
}

TEST_F(PrintFormTest, OkWithoutPrintStoresTheSettingsAndALaterPrintNowUsesThem) {
    auto view = SampleView(200);
    QTimer::singleShot(0, [] {
        auto* form = qobject_cast<TPrintForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        QTest::mouseClick(Control<QCheckBox>(*form, "LineNumbersCheck"), Qt::LeftButton, {}, QPoint(6, 10));
        QTest::mouseClick(Control<QCheckBox>(*form, "ShowPrintProgress"), Qt::LeftButton, {}, QPoint(6, 10));
        TypeInto(Control<QLineEdit>(*form, "MarginEdit"), "0.5");
        QTest::mouseClick(Control<QPushButton>(*form, "OkButton"), Qt::LeftButton);
    });
    const TPrintChoice choice = ChoosePrintOptions(*view, "counter.edf", printers_);
    EXPECT_TRUE(choice.confirmed);
    EXPECT_FALSE(choice.printNow);
    EXPECT_TRUE(view->ViewPreferences.PrintLineNumbers);
    EXPECT_TRUE(view->PrintOptions.Has(poLineNumbers));
    EXPECT_FALSE(view->PrintOptions.Has(poShowProgress));
    EXPECT_EQ(view->PrintIndent, int(std::lrint(0.5 * view->logicalDpiX())));  // 48 at 96 dpi
    EXPECT_EQ(pdfQuestions_, 0);
    EXPECT_FALSE(QFile::exists(pdfPath_));

    const TPrintReport report = PrintTextNow(*view, "counter.edf", printers_);
    EXPECT_EQ(pdfQuestions_, 1);
    EXPECT_EQ(report.Rows, 200);
    EXPECT_EQ(PdfPageCount(pdfPath_), report.PageCount);
}

TEST_F(PrintFormTest, PrintNowPrintsTheSelectionOnlyWhenThereIsOne) {
    auto view = SampleView(200);
    view->PrintOptions = view->PrintOptions.With(poPrintSel);
    EXPECT_EQ(PrintTextNow(*view, "counter.edf", printers_).Rows, 200);
    TCustomMemoSource& buffer = view->MemoSource();
    buffer.SetCaret(0, 5);
    buffer.ExtendSelection(stStream, [&] { buffer.SetCaret(0, 25); });
    EXPECT_EQ(PrintTextNow(*view, "counter.edf", printers_).Rows, 20);
}

TEST_F(PrintFormTest, NoPdfFileChosenPrintsNothing) {
    auto view = SampleView(20);
    pdfPath_.clear();
    EXPECT_EQ(PrintTextNow(*view, "counter.edf", printers_).PageCount, 0);
    EXPECT_EQ(pdfQuestions_, 1);
}

}  // namespace
}  // namespace tarnwick
