#include "languages/dialogs/dialog_text.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace tarnwick {

QLineEdit* ShortTextEdit(QWidget* parent, const char* name, const std::string& value, int minimumWidth) {
    auto* edit = Named(new QLineEdit(parent), name);
    edit->setMaxLength(kShortTextLength);
    edit->setText(Latin1Text(value));
    edit->setMinimumWidth(minimumWidth);
    return edit;
}

QHBoxLayout* OkCancelRow(QDialog* dialog, const std::function<void()>& ok) {
    auto* okButton = Named(new QPushButton(QStringLiteral("OK"), dialog), "OkButton");
    auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), dialog), "CancelButton");
    okButton->setDefault(true);
    QObject::connect(okButton, &QPushButton::clicked, dialog, ok);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(okButton);
    row->addWidget(cancel);
    return row;
}

}  // namespace tarnwick
