#pragma once
// The go-to-line dialog: asks for a line number, showing the one it is given. OK hands back
// whatever was typed, for the caller to read; only a number too long for any line is refused
// here, with a message, keeping the dialog open on it.

#include <cstdint>
#include <optional>
#include <string>

#include "host/server_dialog.h"

class QPushButton;

namespace tarnwick {

class TLatin1Edit;

class TSearchgotoLineNumber : public TServerDialog {
    Q_OBJECT
public:
    explicit TSearchgotoLineNumber(int64_t lineNumber, QWidget* owner = nullptr);

    [[nodiscard]] std::string LineNumberText() const;

    // Shows the dialog modally: the text entered on OK, nullopt after Cancel.
    static std::optional<std::string> Ask(int64_t lineNumber, QWidget* owner = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Confirm();

    TLatin1Edit* LineNumberEdit;
    QPushButton* OkButton;
    QPushButton* CancelButton;
};

}  // namespace tarnwick
