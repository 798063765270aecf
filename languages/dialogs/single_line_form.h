#pragma once
// The one-line input: a caption, a label and a value of at most 255 characters. OK is taken only
// when the value holds more than blanks (the focus goes back to the edit otherwise); the value
// comes back as typed, blanks included.

#include <optional>
#include <string>

#include "host/server_dialog.h"

class QLabel;
class QLineEdit;

namespace tarnwick {

class TSingleLineForm : public TServerDialog {
    Q_OBJECT
public:
    TSingleLineForm(const std::string& caption, const std::string& label, const std::string& value,
                    QWidget* owner = nullptr);

    [[nodiscard]] std::string Value() const;

    // Shows it modally: the value after OK, nothing after Cancel.
    static std::optional<std::string> Ask(const std::string& caption, const std::string& label,
                                          const std::string& value, QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OkButtonClick();

    QLabel* DelimiterLabel;
    QLineEdit* DelimiterEdit;
};

}  // namespace tarnwick
