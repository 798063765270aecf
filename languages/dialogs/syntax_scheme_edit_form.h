#pragma once
// The scheme editor: the options, comments, strings, numbers and keyword sets of a scheme's
// first block, each class with its style. It works on a copy; OK tidies the copy and the caller
// takes it over, Cancel leaves the scheme as it was, styles made meanwhile included. Blocks
// other than the first pass through unchanged.

#include "host/server_dialog.h"
#include "languages/dialogs/scheme_styles.h"
#include "languages/syntax_scheme.h"
#include "textengine/font_desc.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tarnwick {

class TSyntaxSchemeEditForm : public TServerDialog {
    Q_OBJECT
public:
    // New styles take the editor's font colour and background.
    TSyntaxSchemeEditForm(const TSyntaxScheme& scheme, TColorValue fontColor, TColorValue backColor,
                          QWidget* owner = nullptr);

    // The edited scheme, tidied as it is saved.
    [[nodiscard]] const TSyntaxScheme& WorkingScheme() const noexcept { return working_; }

    // Runs it modally; after OK the scheme is replaced by the tidied copy and the answer is true.
    static bool Execute(QWidget* owner, TColorValue fontColor, TColorValue backColor, TSyntaxScheme& scheme);

private:
    TSyntaxBlock& B() { return working_.SyntaxBlocks.front(); }
    void PrepareStyles();
    QWidget* BuildOptionsPage();
    QWidget* BuildCommentsPage();
    QWidget* BuildStringsPage();
    QWidget* BuildNumbersPage();
    void UpdateOptions();
    void OkButtonClick();

    TSyntaxScheme working_;
    TSchemeStyles styles_;
    int commentStyle_ = -1;
    int stringStyle_ = -1;
    int numberStyle_ = -1;

    QTabWidget* SyntaxPageControl;
    QCheckBox* MetaSymbolCheck;
    QLineEdit* MetaSymbolEdit;
    QCheckBox* MetaSymbolWrapCheck;
    QCheckBox* DirectiveCheck;
    QLabel* DirectivePrefixLabel;
    QLineEdit* DirectivePrefixEdit;
    QPushButton* DirectiveStyleButton;
    QCheckBox* SymbolCheck;
    QPushButton* SymbolStyleButton;
    QCheckBox* IdentifierCheck;
    QPushButton* IdentifierStyleButton;
};

}  // namespace tarnwick
