#pragma once
// The find dialog. It edits a private copy of the shared search options and copies it back only
// when it closes with OK, so Cancel leaves the next search as it was. Each time it is shown the
// search text starts empty with the focus in it, and OK on an empty text keeps the dialog open.

#include <QSize>

#include "host/server_dialog.h"
#include "textengine/search_dialogs.h"
#include "textengine/search_options.h"

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace tarnwick {

class TLatin1Edit;
class TRadioGroup;

class TSearchDialog : public TServerDialog, public TSearchOptionsDialog {
    Q_OBJECT
public:
    explicit TSearchDialog(TSearchOptions& shared = TSearchOptions::Shared(), QWidget* owner = nullptr);

    TModalResult ShowModal() override;

protected:
    // The controls both search dialogs share, not yet loaded.
    TSearchDialog(TSearchOptions& shared, QWidget* owner, const QString& caption,
                  const QString& regExprCaption);

    virtual void LoadControls(const TSearchOptions& options);
    virtual void StoreControls(TSearchOptions& options) const;
    // OK and its kin: with an empty search text the focus goes there and the dialog stays;
    // otherwise the controls go to the private options, those to the shared ones, and the
    // dialog closes with OK.
    void Confirm();
    virtual void OkClicked() { Confirm(); }
    // The given client area, or more when the controls need it; the border is fixed.
    void FixClientSize(QSize clientSize);
    void showEvent(QShowEvent* event) override;

    TLatin1Edit* SearText;
    QCheckBox* CaseSens;
    QCheckBox* WholeWord;
    QCheckBox* RegExpr;
    QRadioButton* dirForward;
    QRadioButton* dirBackward;
    TRadioGroup* ScopeGroup;
    TRadioGroup* OriginGroup;
    QPushButton* OkButton;
    QPushButton* CancelButton;

    // Where the replace dialog adds its controls.
    QGridLayout* textRows_;
    QVBoxLayout* optionColumn_;
    QHBoxLayout* buttonRow_;

private:
    QGridLayout* MakeOptionGroups(const QString& regExprCaption);
    QHBoxLayout* MakeButtonRow();

    TSearchOptions& shared_;
    TSearchOptions options_;
};

}  // namespace tarnwick
