#include "languages/dialogs/single_line_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "host/abi/parameter_list.h"
#include "languages/dialogs/dialog_text.h"

namespace tarnwick {

TSingleLineForm::TSingleLineForm(const std::string& caption, const std::string& label,
                                 const std::string& value, QWidget* owner)
    : TServerDialog(owner) {
    setWindowTitle(Latin1Text(caption));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    DelimiterEdit = ShortTextEdit(this, "DelimiterEdit", value, 260);
    DelimiterLabel = Named(new QLabel(Latin1Text(label), this), "DelimiterLabel");
    DelimiterLabel->setBuddy(DelimiterEdit);

    auto* buttons = OkCancelRow(this, [this] { OkButtonClick(); });
    auto* page = new QVBoxLayout(this);
    page->addWidget(DelimiterLabel);
    page->addWidget(DelimiterEdit);
    page->addLayout(buttons);
    setFixedSize(sizeHint());
}

std::string TSingleLineForm::Value() const { return Latin1Bytes(DelimiterEdit->text()); }

std::optional<std::string> TSingleLineForm::Ask(const std::string& caption, const std::string& label,
                                                const std::string& value, QWidget* owner) {
    TSingleLineForm form(caption, label, value, owner);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.Value();
}

void TSingleLineForm::showEvent(QShowEvent* event) {
    TServerDialog::showEvent(event);
    DelimiterEdit->selectAll();
    DelimiterEdit->setFocus();
}

void TSingleLineForm::OkButtonClick() {
    if (TrimParameterText(Value()).empty()) {
        DelimiterEdit->setFocus();
        return;
    }
    accept();
}

}  // namespace tarnwick
