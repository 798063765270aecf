// The code template choice list: a popup list at the caret with one line per offered template,
// its description followed by its name in the emphasis font. Enter or a double click chooses;
// Esc or losing the focus closes it without a choice.
#pragma once

#include <functional>
#include <vector>

#include <QListWidget>

namespace tarnwick {

struct TMemoCodeTemplate;

class TTemplateChoiceList : public QListWidget {
public:
    explicit TTemplateChoiceList(QWidget* owner);

    void Popup(const std::vector<const TMemoCodeTemplate*>& offered, QPoint atInOwner, const QFont& font);
    // The template of a list row, null for a row that does not designate one.
    [[nodiscard]] const TMemoCodeTemplate* Offered(int row) const;
    // Chooses the current row, as Enter does.
    void ChooseCurrent();

    std::function<void(int row)> OnChoose;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* owner_;
    std::vector<const TMemoCodeTemplate*> offered_;
};

// Splits a choice-list text "Description|~Name~" into its plain and emphasised parts.
struct TChoiceTextParts {
    QString plain;
    QString emphasis;
};
TChoiceTextParts SplitChoiceText(const QString& text);

}  // namespace tarnwick
