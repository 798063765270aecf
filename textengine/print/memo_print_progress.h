// The small window a printout shows while it runs: the printer, the document, the page being
// printed and a progress bar. Its Cancel button asks the printout to stop after the current
// page; the window stays open until the printout ends.
#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

namespace tarnwick {

class TMemoPrintProgress final : public QDialog {
public:
    // Not a child of mainWindow, whose font it takes: the printout owns it and may outlive a
    // window closed while it runs.
    explicit TMemoPrintProgress(const QWidget* mainWindow = nullptr);

    [[nodiscard]] bool CancelRequested() const { return cancelRequested_; }

    void SetPrinterName(const QString& name);
    void SetFileName(const QString& name);
    // "Printing page %d from %s"
    void SetPage(int32_t page, const QString& pageCount);
    // Fits the window to its labels once the page count is known; the bar gets 4 steps a page.
    void FitToPages(int32_t pageCount);
    void StepProgress();

private:
    QFrame* labelPanel_ = nullptr;
    QLabel* lblPrinter_ = nullptr;
    QLabel* lblFileName_ = nullptr;
    QLabel* lblProgress_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool cancelRequested_ = false;
};

}  // namespace tarnwick
