#pragma once
// The editor preferences dialog: two pages of controls over one preferences record. The
// record is only written when the dialog closes with OK and every field is valid; Cancel, the
// close button and Escape leave it as it was.

#include <QString>
#include <vector>

#include "editor/text_editor_preferences.h"
#include "host/server_dialog.h"
#include "textengine/font_desc.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tarnwick {

class TColorSwatch;

class TPreferencesDialog final : public TServerDialog {
    Q_OBJECT
public:
    // Builds the dialog over record (which must outlive it) and loads the controls from it.
    explicit TPreferencesDialog(TTextEditorPreferences& record, QWidget* owner = nullptr);

    // Shows the dialog modally on record. On OK the controls are stored into record and the
    // answer is true; otherwise record is untouched. owner defaults to the host's main window.
    static bool Show(TTextEditorPreferences& record, QWidget* owner = nullptr);

private:
    struct TCheckControl {
        QCheckBox* box;
        bool TTextEditorPreferences::*field;
    };

    QWidget* BuildOptionsPage();
    QWidget* BuildGeneralPage();
    void BuildButtons();

    void LoadControls(const TTextEditorPreferences& source);
    void StoreControls();
    // Shows the first error (message box, focus on the field at fault); true when all is valid.
    bool Validate();
    void Refuse(QLineEdit* field, const QString& message);

    void ApplyWrapRule();
    void ChangeBackgroundColor();
    void ChangeFont();
    void SetDialogFont(const TFontDesc& font);

    TTextEditorPreferences& record_;
    TFontDesc font_;  // the font chosen so far; the record gets it on OK

    QTabWidget* pages_ = nullptr;
    QWidget* generalPage_ = nullptr;
    std::vector<TCheckControl> checks_;
    QCheckBox* wrapCheck_ = nullptr;
    QRadioButton* marginWrapRadio_ = nullptr;
    QRadioButton* windowWrapRadio_ = nullptr;
    QComboBox* keyMapping_ = nullptr;
    QLineEdit* blockIndentEdit_ = nullptr;
    QLineEdit* marginEdit_ = nullptr;
    QLineEdit* tabStopEdit_ = nullptr;
    TColorSwatch* swatch_ = nullptr;
    QLabel* currentFont_ = nullptr;
};

}  // namespace tarnwick
