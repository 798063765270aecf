#pragma once
// The two-line input: a caption and two labelled values of at most 255 characters each. OK is
// taken only when both hold more than blanks (the focus goes to the first that does not); the
// values come back as typed.

#include <optional>
#include <string>
#include <utility>

#include "host/server_dialog.h"

class QLabel;
class QLineEdit;

namespace tarnwick {

class TDualLineForm : public TServerDialog {
    Q_OBJECT
public:
    struct TValues {
        std::string Left;
        std::string Right;
    };

    TDualLineForm(const std::string& caption, const std::string& leftLabel, const std::string& rightLabel,
                  const TValues& values, QWidget* owner = nullptr);

    [[nodiscard]] TValues Values() const;

    // Shows it modally: the values after OK, nothing after Cancel.
    static std::optional<TValues> Ask(const std::string& caption, const std::string& leftLabel,
                                      const std::string& rightLabel, const TValues& values, QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OkButtonClick();

    QLabel* LeftDelimiterLabel;
    QLineEdit* LeftDelimiterEdit;
    QLabel* RightDelimiterLabel;
    QLineEdit* RightDelimiterEdit;
};

}  // namespace tarnwick
