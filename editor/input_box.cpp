#include "editor/input_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/latin1_edit.h"

namespace tarnwick {

namespace {

QString Text(const std::string& bytes) { return QString::fromLatin1(bytes.data(), qsizetype(bytes.size())); }

}  // namespace

TInputBox::TInputBox(const TInputBoxRequest& request, QWidget* owner) : TServerDialog(owner) {
    setWindowTitle(Text(request.Caption));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    edit_ = new TLatin1Edit(this);
    edit_->setObjectName(QStringLiteral("InputEdit"));
    edit_->SetBytes(request.Value);
    auto* prompt = new QLabel(Text(request.Prompt), this);
    prompt->setBuddy(edit_);

    auto* ok = new QPushButton(QString::fromLatin1(request.Buttons[0]), this);
    auto* cancel = new QPushButton(QString::fromLatin1(request.Buttons[1]), this);
    auto* help = new QPushButton(QString::fromLatin1(request.Buttons[2]), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    cancel->setObjectName(QStringLiteral("CancelButton"));
    help->setObjectName(QStringLiteral("HelpButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelpForControl(this, edit_); });

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok);
    buttonRow->addWidget(cancel);
    buttonRow->addWidget(help);
    auto* page = new QVBoxLayout(this);
    page->addWidget(prompt);
    page->addWidget(edit_);
    page->addLayout(buttonRow);
    setFixedSize(sizeHint());
}

std::string TInputBox::Value() const { return edit_->Bytes(); }

void TInputBox::showEvent(QShowEvent* event) {
    TServerDialog::showEvent(event);
    edit_->selectAll();
    edit_->setFocus();
}

}  // namespace tarnwick
