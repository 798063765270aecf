#pragma once
// The print-options dialog: the printer to print on, what to print and how. It edits the print
// fields of a preferences record, stored only when the dialog closes with OK or Print; Cancel
// also makes the printer current again that was current when the dialog opened.

#include <QString>

#include "editor/text_editor_preferences.h"
#include "host/server_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarnwick {

class TPrinterSetup;

class TPrintForm final : public TServerDialog {
    Q_OBJECT
public:
    // record and printers must outlive the dialog.
    TPrintForm(TTextEditorPreferences& record, TPrinterSetup& printers, QWidget* owner = nullptr);

    bool PrintSelection = false;  // the print-selection flag
    QString Title;                // the file to print, as shown
    bool HasSelection = false;
    bool PrintNow = false;  // closed with Print

    // Loads the controls and shows the dialog modally; true for OK or Print.
    bool Execute();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TCheckControl {
        QCheckBox* box;
        bool TTextEditorPreferences::*field;
    };

    void BuildPrinterGroup();
    void BuildFileGroup();
    void BuildOptionsGroup();
    void BuildButtons();
    void LoadControls();
    void StoreControls();
    void FillPrinterList();
    void ShowPrinterSetup();
    // Shows "Please enter a number" and puts the focus back; false then.
    bool CheckMargin();

    TTextEditorPreferences& record_;
    TPrinterSetup& printers_;
    QString printerAtShow_;

    QComboBox* printerCombo_ = nullptr;
    QLabel* fileName_ = nullptr;
    QCheckBox* printSelCheck_ = nullptr;
    std::vector<TCheckControl> checks_;
    QLineEdit* marginEdit_ = nullptr;
    bool checkingMargin_ = false;
};

}  // namespace tarnwick
