#include "textengine/print/memo_print_progress.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace tarnwick {

namespace {

constexpr int kClientWidth = 353, kClientHeight = 129;
constexpr int kGap = 2;
constexpr int kStepsPerPage = 4;

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(8, top, kClientWidth - 32, 17);
    return label;
}

}  // namespace

TMemoPrintProgress::TMemoPrintProgress(const QWidget* mainWindow) {
    setObjectName("MemoPrintProgress");
    setWindowTitle("Printing Status");
    setModal(false);
    if (mainWindow != nullptr)
        setFont(mainWindow->font());
    setFixedSize(kClientWidth, kClientHeight);

    labelPanel_ = new QFrame(this);
    labelPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    labelPanel_->setGeometry(8, 8, kClientWidth - 16, 72);
    lblPrinter_ = AddLabel(labelPanel_, "lblPrinter", "Searching printers ...", 4);
    lblFileName_ = AddLabel(labelPanel_, "lblFileName", QString(), 26);
    lblProgress_ = AddLabel(labelPanel_, "lblProgress", "Printing pages:    calculation ...", 48);

    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar");
    progress_->setTextVisible(false);
    progress_->setGeometry(8, 84, kClientWidth - 16, 14);
    progress_->setValue(0);

    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("CancelButton");
    cancel_->setGeometry((kClientWidth - 75) / 2, 100, 75, 25);
    // Only asks: the printout looks at it before each page and closes the window itself.
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelRequested_ = true; });
}

void TMemoPrintProgress::SetPrinterName(const QString& name) {
    lblPrinter_->setText("Printing on printer " + name);
}

void TMemoPrintProgress::SetFileName(const QString& name) { lblFileName_->setText(name); }

void TMemoPrintProgress::SetPage(int32_t page, const QString& pageCount) {
    lblProgress_->setText(QString("Printing page %1 from %2").arg(page).arg(pageCount));
}

void TMemoPrintProgress::FitToPages(int32_t pageCount) {
    const QRect label = lblProgress_->geometry();
    labelPanel_->resize(labelPanel_->width(), label.bottom() + 1 + 4);
    const int barTop = labelPanel_->geometry().bottom() + 1 + kGap;
    progress_->move(progress_->x(), barTop);
    cancel_->move(cancel_->x(), progress_->geometry().bottom() + 1 + kGap);
    setFixedSize(kClientWidth, cancel_->geometry().bottom() + 1 + kGap);
    progress_->setRange(0, kStepsPerPage * pageCount);
    progress_->setValue(0);
}

void TMemoPrintProgress::StepProgress() {
    progress_->setValue(std::min(progress_->value() + 1, progress_->maximum()));
}

}  // namespace tarnwick
