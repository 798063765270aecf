#include "editor/print_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <optional>

#include "editor/printer_setup.h"
#include "host/message_dialog.h"

namespace tarnwick {

namespace {

using TPrefs = TTextEditorPreferences;

const QString kNotANumberMessage = "Please enter a number";

// An empty field counts as 0.
std::optional<double> MarginInches(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0.0;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);  // the dialog has no default button
    return button;
}

}  // namespace

TPrintForm::TPrintForm(TTextEditorPreferences& record, TPrinterSetup& printers, QWidget* owner)
    : TServerDialog(owner), record_(record), printers_(printers) {
    setObjectName("PrintForm");
    setWindowTitle("Print Options");
    setFixedSize(460, 345);
    BuildPrinterGroup();
    BuildFileGroup();
    BuildOptionsGroup();
    BuildButtons();
}

void TPrintForm::BuildPrinterGroup() {
    auto* group = new QGroupBox("Choose Prin&ter", this);
    group->setGeometry(8, 8, 444, 62);
    printerCombo_ = new QComboBox(group);
    printerCombo_->setObjectName("ChoosePrinterCombo");
    printerCombo_->setEditable(true);
    printerCombo_->setInsertPolicy(QComboBox::NoInsert);
    printerCombo_->setGeometry(12, 24, 320, 26);
    connect(printerCombo_, &QComboBox::activated, this,
            [this](int index) { printers_.SetCurrentPrinter(printerCombo_->itemText(index)); });
    QPushButton* setup = AddButton(group, "SetupButton", "P&roperties...", QRect(340, 23, 92, 28));
    connect(setup, &QPushButton::clicked, this, &TPrintForm::ShowPrinterSetup);
}

void TPrintForm::BuildFileGroup() {
    auto* group = new QGroupBox("&File To Print", this);
    group->setGeometry(8, 78, 444, 74);
    fileName_ = new QLabel(group);
    fileName_->setObjectName("lblFileName");
    fileName_->setGeometry(12, 22, 420, 20);
    printSelCheck_ = new QCheckBox("Print &selected block", group);
    printSelCheck_->setObjectName("PrintSelCheck");
    printSelCheck_->setGeometry(12, 46, 300, 22);
}

void TPrintForm::BuildOptionsGroup() {
    auto* group = new QGroupBox("Opt&ions", this);
    group->setGeometry(8, 160, 444, 136);
    struct TRow {
        const char* name;
        const char* caption;
        bool TPrefs::*field;
    };
    const TRow rows[] = {
        {"HeaderCheck", "Header/page &number", &TPrefs::PrintHeader},
        {"LineNumbersCheck", "&Line numbers", &TPrefs::PrintLineNumbers},
        {"SyntaxPrintCheck", "Synta&x print", &TPrefs::PrintSyntax},
        {"UseColorCheck", "Us&e color", &TPrefs::PrintInColour},
        {"ShowPrintProgress", "Show print pro&gress", &TPrefs::ShowPrintProgress},
        {"WrapLinesCheck", "&Wrap lines", &TPrefs::WrapLinesForPrinting},
    };
    for (int i = 0; i < 6; ++i) {
        auto* box = new QCheckBox(rows[i].caption, group);
        box->setObjectName(rows[i].name);
        box->setGeometry(i < 3 ? 12 : 230, 24 + (i % 3) * 26, 200, 22);
        checks_.push_back({box, rows[i].field});
    }
    auto* label = new QLabel("Left &margin (inches):", group);
    label->setGeometry(12, 104, 170, 22);
    marginEdit_ = new QLineEdit(group);
    marginEdit_->setObjectName("MarginEdit");
    marginEdit_->setGeometry(185, 102, 70, 26);
    marginEdit_->installEventFilter(this);
    label->setBuddy(marginEdit_);
}

void TPrintForm::BuildButtons() {
    QPushButton* print = AddButton(this, "PrintButton", "&Print", QRect(214, 308, 75, 28));
    QPushButton* ok = AddButton(this, "OkButton", "OK", QRect(295, 308, 75, 28));
    QPushButton* cancel = AddButton(this, "CancelButton", "Cancel", QRect(376, 308, 75, 28));
    connect(print, &QPushButton::clicked, this, [this] {
        PrintNow = true;
        accept();
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        PrintNow = false;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TPrintForm::Execute() {
    printerAtShow_ = printers_.CurrentPrinter();
    LoadControls();
    PrintNow = false;
    return exec() == QDialog::Accepted;
}

void TPrintForm::LoadControls() {
    printSelCheck_->setEnabled(HasSelection);
    printSelCheck_->setChecked(PrintSelection);
    for (const TCheckControl& c : checks_)
        c.box->setChecked(record_.*c.field);
    fileName_->setText(Title);
    marginEdit_->setText(QString::number(record_.PrintIndent, 'f', 2));
    FillPrinterList();
}

void TPrintForm::StoreControls() {
    PrintSelection = printSelCheck_->isChecked();
    for (const TCheckControl& c : checks_)
        record_.*c.field = c.box->isChecked();
    record_.PrintIndent = MarginInches(marginEdit_->text()).value_or(0.0);
}

void TPrintForm::FillPrinterList() {
    printerCombo_->clear();
    printerCombo_->addItems(printers_.PrinterNames());
    printerCombo_->setCurrentIndex(printerCombo_->findText(printers_.CurrentPrinter()));
}

// The setup dialog may choose another printer as well as the page.
void TPrintForm::ShowPrinterSetup() {
    const std::unique_ptr<QPrinter> printer = printers_.NewPrinter();
    QPageSetupDialog setup(printer.get(), this);
    if (setup.exec() == QDialog::Accepted)
        printers_.TakeSettings(*printer);
    FillPrinterList();
}

bool TPrintForm::CheckMargin() {
    if (MarginInches(marginEdit_->text()))
        return true;
    // A click on OK or Print leaves the field first: one message for both.
    if (checkingMargin_)
        return false;
    checkingMargin_ = true;
    ShowErrorMessage(kNotANumberMessage);
    // After the focus change that may be under way (leaving the field) has finished. The box
    // belongs to the host window, which may take the activation back when it closes.
    QTimer::singleShot(0, marginEdit_, [this] {
        checkingMargin_ = false;
        activateWindow();
        marginEdit_->setFocus(Qt::OtherFocusReason);
        marginEdit_->selectAll();
    });
    return false;
}

// Leaving the margin with text that is no number is refused, except toward Cancel.
bool TPrintForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == marginEdit_ && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool leftInDialog = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                                  reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
        QWidget* next = QApplication::focusWidget();
        if (leftInDialog && !(next && next->objectName() == "CancelButton"))
            CheckMargin();
    }
    return TServerDialog::eventFilter(watched, event);
}

// OK and Print store the controls; a margin that is no number keeps the dialog open.
void TPrintForm::done(int result) {
    if (result == QDialog::Accepted) {
        if (!CheckMargin()) {
            PrintNow = false;
            return;
        }
        StoreControls();
    } else {
        printers_.SetCurrentPrinter(printerAtShow_);
    }
    TServerDialog::done(result);
}

}  // namespace tarnwick
