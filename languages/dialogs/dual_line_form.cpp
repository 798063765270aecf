#include "languages/dialogs/dual_line_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "host/abi/parameter_list.h"
#include "languages/dialogs/dialog_text.h"

namespace tarnwick {

TDualLineForm::TDualLineForm(const std::string& caption, const std::string& leftLabel,
                             const std::string& rightLabel, const TValues& values, QWidget* owner)
    : TServerDialog(owner) {
    setWindowTitle(Latin1Text(caption));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    LeftDelimiterEdit = ShortTextEdit(this, "LeftDelimiterEdit", values.Left, 260);
    RightDelimiterEdit = ShortTextEdit(this, "RightDelimiterEdit", values.Right, 260);
    LeftDelimiterLabel = Named(new QLabel(Latin1Text(leftLabel), this), "LeftDelimiterLabel");
    RightDelimiterLabel = Named(new QLabel(Latin1Text(rightLabel), this), "RightDelimiterLabel");
    LeftDelimiterLabel->setBuddy(LeftDelimiterEdit);
    RightDelimiterLabel->setBuddy(RightDelimiterEdit);

    auto* fields = new QGridLayout;
    fields->addWidget(LeftDelimiterLabel, 0, 0);
    fields->addWidget(LeftDelimiterEdit, 0, 1);
    fields->addWidget(RightDelimiterLabel, 1, 0);
    fields->addWidget(RightDelimiterEdit, 1, 1);
    auto* buttons = OkCancelRow(this, [this] { OkButtonClick(); });
    auto* page = new QVBoxLayout(this);
    page->addLayout(fields);
    page->addLayout(buttons);
    setFixedSize(sizeHint());
}

TDualLineForm::TValues TDualLineForm::Values() const {
    return {Latin1Bytes(LeftDelimiterEdit->text()), Latin1Bytes(RightDelimiterEdit->text())};
}

std::optional<TDualLineForm::TValues> TDualLineForm::Ask(const std::string& caption,
                                                         const std::string& leftLabel,
                                                         const std::string& rightLabel, const TValues& values,
                                                         QWidget* owner) {
    TDualLineForm form(caption, leftLabel, rightLabel, values, owner);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.Values();
}

void TDualLineForm::showEvent(QShowEvent* event) {
    TServerDialog::showEvent(event);
    LeftDelimiterEdit->selectAll();
    LeftDelimiterEdit->setFocus();
}

void TDualLineForm::OkButtonClick() {
    const TValues values = Values();
    if (TrimParameterText(values.Left).empty())
        return LeftDelimiterEdit->setFocus();
    if (TrimParameterText(values.Right).empty())
        return RightDelimiterEdit->setFocus();
    accept();
}

}  // namespace tarnwick
