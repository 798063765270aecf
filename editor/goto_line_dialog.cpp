#include "editor/goto_line_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <charconv>
#include <string_view>

#include "editor/latin1_edit.h"
#include "host/abi/ascii_text.h"
#include "host/message_dialog.h"

namespace tarnwick {

namespace {

// Digits with an optional sign, blanks around, whose value no 64-bit line number can hold.
bool IsNumberOutOfRange(std::string_view text) {
    text = ascii::Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc::result_out_of_range && stop == end;
}

}  // namespace

TSearchgotoLineNumber::TSearchgotoLineNumber(int64_t lineNumber, QWidget* owner) : TServerDialog(owner) {
    setWindowTitle(QStringLiteral("Go to Line Number"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);

    LineNumberEdit = new TLatin1Edit(this);
    LineNumberEdit->setObjectName(QStringLiteral("LineNumberEdit"));
    LineNumberEdit->SetBytes(std::to_string(lineNumber));
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OkButton, &QPushButton::clicked, this, &TSearchgotoLineNumber::Confirm);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(new QLabel(QStringLiteral("New Line Number "), this));
    numberRow->addWidget(LineNumberEdit, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(OkButton);
    buttonRow->addWidget(CancelButton);
    auto* page = new QVBoxLayout(this);
    page->addLayout(numberRow);
    page->addStretch();
    page->addLayout(buttonRow);
    setFixedSize(QSize(277, 117).expandedTo(minimumSizeHint()));
}

std::string TSearchgotoLineNumber::LineNumberText() const { return LineNumberEdit->Bytes(); }

std::optional<std::string> TSearchgotoLineNumber::Ask(int64_t lineNumber, QWidget* owner) {
    TSearchgotoLineNumber dialog(lineNumber, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.LineNumberText();
}

void TSearchgotoLineNumber::showEvent(QShowEvent* event) {
    TServerDialog::showEvent(event);
    LineNumberEdit->selectAll();
    LineNumberEdit->setFocus();
}

void TSearchgotoLineNumber::Confirm() {
    const std::string text = LineNumberText();
    if (IsNumberOutOfRange(text)) {
        const std::string_view number = ascii::Trim(text);
        ShowErrorMessage(QStringLiteral("The line number %1 is out of range.")
                             .arg(QString::fromLatin1(number.data(), qsizetype(number.size()))));
        LineNumberEdit->selectAll();
        LineNumberEdit->setFocus();
        return;
    }
    accept();
}

}  // namespace tarnwick
