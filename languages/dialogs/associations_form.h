#pragma once
// The associations dialog: the file-name extensions of one language, kept sorted and each once
// (ignoring case), added, edited and removed with the one-line input. OK hands the list back;
// Cancel leaves the caller's list as it was.

#include <string>
#include <vector>

#include "host/server_dialog.h"
#include "languages/dialogs/sorted_text_list.h"

class QListWidget;
class QPushButton;

namespace tarnwick {

class TAssociationsForm : public TServerDialog {
    Q_OBJECT
public:
    explicit TAssociationsForm(const std::vector<std::string>& extensions, QWidget* owner = nullptr);

    [[nodiscard]] std::vector<std::string> Extensions() const { return extensions_.Items(); }

    // Runs it modally on extensions, which take the dialog's list after OK; answers OK.
    static bool Execute(std::vector<std::string>& extensions, QWidget* owner);

private:
    void AddButtonClick();
    void EditButtonClick();
    void RemoveButtonClick();
    // Shows the list and selects the item at index (clamped; none when empty).
    void Refill(int index);
    [[nodiscard]] int Selected() const;

    TSortedTextList extensions_;
    QListWidget* AssociationsListBox;
    QPushButton* AddButton;
    QPushButton* EditButton;
    QPushButton* RemoveButton;
};

}  // namespace tarnwick
