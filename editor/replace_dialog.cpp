#include "editor/replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/latin1_edit.h"

namespace tarnwick {

TReplaceDialog::TReplaceDialog(TSearchOptions& shared, QWidget* owner)
    : TSearchDialog(shared, owner, QStringLiteral(" Replace Text"), QStringLiteral("Regular e&xpressions")) {
    ReplText = new TLatin1Edit(this);
    ReplText->setObjectName(QStringLiteral("ReplText"));
    auto* replLabel = new QLabel(QStringLiteral("&Replace with :"), this);
    replLabel->setBuddy(ReplText);
    textRows_->addWidget(replLabel, 1, 0);
    textRows_->addWidget(ReplText, 1, 1);

    PromptRepl = new QCheckBox(QStringLiteral("&Prompt on replace"), RegExpr->parentWidget());
    PromptRepl->setObjectName(QStringLiteral("PromptRepl"));
    optionColumn_->addWidget(PromptRepl);

    ReplaceAllButton = new QPushButton(QStringLiteral("Replace All"), this);
    ReplaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
    buttonRow_->insertWidget(buttonRow_->indexOf(CancelButton), ReplaceAllButton);

    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { ConfirmWithReplaceAll(true); });

    setTabOrder(SearText, ReplText);
    setTabOrder(RegExpr, PromptRepl);
    setTabOrder(OkButton, ReplaceAllButton);

    LoadControls(shared);
    FixClientSize({315, 360});
}

void TReplaceDialog::LoadControls(const TSearchOptions& options) {
    TSearchDialog::LoadControls(options);
    ReplText->SetBytes(options.ReplaceWith);
    PromptRepl->setChecked(options.PromptOnReplace);
}

void TReplaceDialog::StoreControls(TSearchOptions& options) const {
    TSearchDialog::StoreControls(options);
    options.ReplaceWith = ReplText->Bytes();
    options.PromptOnReplace = PromptRepl->isChecked();
    options.ReplaceAll = replaceAll_;
}

void TReplaceDialog::ConfirmWithReplaceAll(bool replaceAll) {
    replaceAll_ = replaceAll;
    Confirm();
}

}  // namespace tarnwick
