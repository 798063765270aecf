#pragma once
// What the comment, string and number entry dialogs share: a left and a right string of at most
// 255 characters and the entry's type, chosen with radio buttons. OK is taken only when the left
// string, and the right one where the type needs it, hold more than blanks; the focus goes to
// the first that does not. TCommentForm, TStringForm and TNumbersForm say which type needs what.

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "host/server_dialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace tarnwick {

struct TDelimiterEntry {
    std::string Left;
    std::string Right;
    int Type = 0;
};

class TDelimiterEntryForm : public TServerDialog {
    Q_OBJECT
public:
    [[nodiscard]] TDelimiterEntry Entry() const;

protected:
    struct TLayout {
        const char* caption;
        const char* leftLabel;
        const char* rightLabel;
        const char* typeGroupName;
        const char* typeGroupCaption;
        QStringList typeCaptions;
        std::vector<const char*> typeNames;  // names of the radio buttons, or none
    };

    TDelimiterEntryForm(const TLayout& layout, const TDelimiterEntry& entry, QWidget* owner);

    // Called by the subclass constructor once it is ready, and at every change of type.
    virtual void TypeChanged(int type) = 0;
    [[nodiscard]] virtual bool NeedsRight(int type) const = 0;
    void Start();
    void showEvent(QShowEvent* event) override;

    QLabel* LeftLabel;
    QLineEdit* LeftEdit;
    QLabel* RightLabel;
    QLineEdit* RightEdit;
    std::vector<QRadioButton*> typeButtons_;

private:
    void OkButtonClick();
    [[nodiscard]] int Type() const;

    int initialType_;
};

// Shows an entry form modally: the entry after OK, nothing after Cancel.
template <class Form, class... Extra>
std::optional<TDelimiterEntry> AskEntry(const TDelimiterEntry& entry, QWidget* owner, Extra... extra) {
    Form form(entry, extra..., owner);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.Entry();
}

// Comments: type 0 single line, 1 multi line (with a right string), 2 full line.
class TCommentForm final : public TDelimiterEntryForm {
    Q_OBJECT
public:
    TCommentForm(const TDelimiterEntry& entry, QWidget* owner = nullptr);

private:
    void TypeChanged(int type) override;
    bool NeedsRight(int type) const override { return type == 1; }
};

// Strings: type 0 single line, 1 multi line; both need both strings.
class TStringForm final : public TDelimiterEntryForm {
    Q_OBJECT
public:
    TStringForm(const TDelimiterEntry& entry, QWidget* owner = nullptr);

private:
    void TypeChanged(int) override {}
    bool NeedsRight(int) const override { return true; }
};

// Numbers: type 0 prefix, 1 suffix, 2 prefix and suffix (a pair, offered only when pairs are
// allowed or the entry is one).
class TNumbersForm final : public TDelimiterEntryForm {
    Q_OBJECT
public:
    TNumbersForm(const TDelimiterEntry& entry, bool pairsAllowed, QWidget* owner = nullptr);

private:
    void TypeChanged(int type) override;
    bool NeedsRight(int type) const override { return type == 2; }
};

}  // namespace tarnwick
