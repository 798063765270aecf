#include "languages/dialogs/associations_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <optional>

#include "languages/dialogs/dialog_text.h"
#include "languages/dialogs/list_keys.h"
#include "languages/dialogs/single_line_form.h"

namespace tarnwick {

TAssociationsForm::TAssociationsForm(const std::vector<std::string>& extensions, QWidget* owner)
    : TServerDialog(owner), extensions_(extensions) {
    setWindowTitle(QStringLiteral(" Edit Associations"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    AssociationsListBox = Named(new QListWidget(this), "AssociationsListBox");
    AddButton = Named(new QPushButton(QStringLiteral("&Add..."), this), "AddButton");
    EditButton = Named(new QPushButton(QStringLiteral("&Edit..."), this), "EditButton");
    RemoveButton = Named(new QPushButton(QStringLiteral("&Remove"), this), "RemoveButton");
    connect(AddButton, &QPushButton::clicked, this, &TAssociationsForm::AddButtonClick);
    connect(EditButton, &QPushButton::clicked, this, &TAssociationsForm::EditButtonClick);
    connect(RemoveButton, &QPushButton::clicked, this, &TAssociationsForm::RemoveButtonClick);
    TListKeys::Install(AssociationsListBox,
                       {WhenEnabled(AddButton), WhenEnabled(RemoveButton), WhenEnabled(EditButton)});

    auto* grid = new QGridLayout(this);
    grid->addWidget(AssociationsListBox, 0, 0, 5, 1);
    grid->addWidget(AddButton, 0, 1);
    grid->addWidget(EditButton, 1, 1);
    grid->addWidget(RemoveButton, 2, 1);
    grid->setRowStretch(3, 1);
    auto* buttons = OkCancelRow(this, [this] { accept(); });
    grid->addLayout(buttons, 5, 0, 1, 2);
    resize(330, 260);
    Refill(0);
}

bool TAssociationsForm::Execute(std::vector<std::string>& extensions, QWidget* owner) {
    TAssociationsForm form(extensions, owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    extensions = form.Extensions();
    return true;
}

int TAssociationsForm::Selected() const { return AssociationsListBox->currentRow(); }

void TAssociationsForm::Refill(int index) {
    AssociationsListBox->clear();
    for (const std::string& extension : extensions_.Items())
        AssociationsListBox->addItem(Latin1Text(extension));
    const int count = extensions_.Count();
    if (count > 0)
        AssociationsListBox->setCurrentRow(std::clamp(index, 0, count - 1));
    EditButton->setEnabled(count > 0);
    RemoveButton->setEnabled(count > 0);
}

void TAssociationsForm::AddButtonClick() {
    const std::optional<std::string> typed = TSingleLineForm::Ask("Add Association", "Association", "", this);
    if (!typed)
        return;
    extensions_.Add(*typed);
    Refill(extensions_.IndexOf(*typed));
}

void TAssociationsForm::EditButtonClick() {
    const int index = Selected();
    if (index < 0)
        return;
    const std::optional<std::string> typed = TSingleLineForm::Ask(
        "Edit Association", "Association", extensions_.Items()[std::size_t(index)], this);
    if (!typed)
        return;
    extensions_.Delete(index);
    extensions_.Add(*typed);
    Refill(extensions_.IndexOf(*typed));
}

void TAssociationsForm::RemoveButtonClick() {
    const int index = Selected();
    if (index < 0)
        return;
    extensions_.Delete(index);
    Refill(index);
}

}  // namespace tarnwick
