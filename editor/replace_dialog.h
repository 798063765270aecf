#pragma once
// The replace dialog: the find dialog's controls plus the replace text, the prompt option and a
// Replace All button. OK stores ReplaceAll off, Replace All stores it on; both close with OK.
// Unlike the search text, the replace text loaded at creation stays when the dialog is shown.

#include "editor/search_dialog.h"

namespace tarnwick {

class TReplaceDialog : public TSearchDialog {
    Q_OBJECT
public:
    explicit TReplaceDialog(TSearchOptions& shared = TSearchOptions::Shared(), QWidget* owner = nullptr);

protected:
    void LoadControls(const TSearchOptions& options) override;
    void StoreControls(TSearchOptions& options) const override;
    void OkClicked() override { ConfirmWithReplaceAll(false); }

private:
    void ConfirmWithReplaceAll(bool replaceAll);

    TLatin1Edit* ReplText;
    QCheckBox* PromptRepl;
    QPushButton* ReplaceAllButton;
    bool replaceAll_ = false;  // which button confirmed
};

}  // namespace tarnwick
