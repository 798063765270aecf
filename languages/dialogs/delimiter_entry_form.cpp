#include "languages/dialogs/delimiter_entry_form.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "host/abi/parameter_list.h"
#include "languages/dialogs/dialog_text.h"

namespace tarnwick {

TDelimiterEntryForm::TDelimiterEntryForm(const TLayout& layout, const TDelimiterEntry& entry, QWidget* owner)
    : TServerDialog(owner), initialType_(entry.Type) {
    setWindowTitle(QString::fromLatin1(layout.caption));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    LeftEdit = ShortTextEdit(this, "LeftEdit", entry.Left, 180);
    RightEdit = ShortTextEdit(this, "RightEdit", entry.Right, 180);
    LeftLabel = Named(new QLabel(QString::fromLatin1(layout.leftLabel), this), "LeftLabel");
    RightLabel = Named(new QLabel(QString::fromLatin1(layout.rightLabel), this), "RightLabel");

    auto* group =
        Named(new QGroupBox(QString::fromLatin1(layout.typeGroupCaption), this), layout.typeGroupName);
    auto* exclusive = new QButtonGroup(group);
    auto* column = new QVBoxLayout(group);
    for (int i = 0; i < layout.typeCaptions.size(); ++i) {
        auto* button = new QRadioButton(layout.typeCaptions[i], group);
        if (std::size_t(i) < layout.typeNames.size())
            button->setObjectName(QString::fromLatin1(layout.typeNames[std::size_t(i)]));
        exclusive->addButton(button, i);
        column->addWidget(button);
        typeButtons_.push_back(button);
        connect(button, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                TypeChanged(i);
        });
    }
    const int type = std::clamp(entry.Type, 0, int(typeButtons_.size()) - 1);
    {
        const QSignalBlocker quiet(typeButtons_[std::size_t(type)]);
        typeButtons_[std::size_t(type)]->setChecked(true);
    }

    auto* fields = new QGridLayout;
    fields->addWidget(LeftLabel, 0, 0);
    fields->addWidget(LeftEdit, 0, 1);
    fields->addWidget(RightLabel, 1, 0);
    fields->addWidget(RightEdit, 1, 1);
    fields->addWidget(group, 2, 0, 1, 2);
    auto* buttons = OkCancelRow(this, [this] { OkButtonClick(); });
    auto* page = new QVBoxLayout(this);
    page->addLayout(fields);
    page->addLayout(buttons);
}

void TDelimiterEntryForm::Start() {
    TypeChanged(Type());
    layout()->setSizeConstraint(QLayout::SetFixedSize);  // the number form shows and hides a row
}

int TDelimiterEntryForm::Type() const {
    for (std::size_t i = 0; i < typeButtons_.size(); ++i)
        if (typeButtons_[i]->isChecked())
            return int(i);
    return initialType_;
}

TDelimiterEntry TDelimiterEntryForm::Entry() const {
    return {Latin1Bytes(LeftEdit->text()), Latin1Bytes(RightEdit->text()), Type()};
}

void TDelimiterEntryForm::showEvent(QShowEvent* event) {
    TServerDialog::showEvent(event);
    LeftEdit->selectAll();
    LeftEdit->setFocus();
}

void TDelimiterEntryForm::OkButtonClick() {
    const TDelimiterEntry entry = Entry();
    if (TrimParameterText(entry.Left).empty())
        return LeftEdit->setFocus();
    if (NeedsRight(entry.Type) && TrimParameterText(entry.Right).empty())
        return RightEdit->setFocus();
    accept();
}

// ---- The three entry dialogs ----------------------------------------------------------------

TCommentForm::TCommentForm(const TDelimiterEntry& entry, QWidget* owner)
    : TDelimiterEntryForm({" Edit Comment",
                           "Left Delimeter ",
                           "Right Delimeter ",
                           "CommentTypeRG",
                           "Comment type ",
                           {QStringLiteral("Single line comment"), QStringLiteral("Multi line comment"),
                            QStringLiteral("Full line comment")},
                           {}},
                          entry, owner) {
    Start();
}

void TCommentForm::TypeChanged(int type) {
    RightEdit->setEnabled(type == 1);
    RightLabel->setEnabled(type == 1);
}

TStringForm::TStringForm(const TDelimiterEntry& entry, QWidget* owner)
    : TDelimiterEntryForm({" Edit String",
                           "Left Delimeter :",
                           "Right Delimeter :",
                           "StringTypeRG",
                           "String type :",
                           {QStringLiteral("Single line string"), QStringLiteral("Multi line string")},
                           {}},
                          entry, owner) {
    Start();
}

TNumbersForm::TNumbersForm(const TDelimiterEntry& entry, bool pairsAllowed, QWidget* owner)
    : TDelimiterEntryForm(
          {"Edit Number",
           "Prefix :",
           "Suffix :",
           "NumberTypeGroup",
           "Special Number Type",
           {QStringLiteral("Prefix"), QStringLiteral("Suffix"), QStringLiteral("Prefix and Suffix")},
           {"PrefixRadio", "SuffixRadio", "PrefixAndSuffixRadio"}},
          entry, owner) {
    typeButtons_[2]->setEnabled(pairsAllowed || entry.Type == 2);
    Start();
}

void TNumbersForm::TypeChanged(int type) {
    LeftLabel->setText(type == 1 ? QStringLiteral("Suffix :") : QStringLiteral("Prefix :"));
    RightLabel->setVisible(type == 2);
    RightEdit->setVisible(type == 2);
}

}  // namespace tarnwick
