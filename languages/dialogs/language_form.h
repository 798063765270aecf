#pragma once
// The language dialog: the languages of a catalogue, created, removed, duplicated and renamed,
// with their schemes, templates and file associations edited from its menu. Every action is
// carried out on disk at once, so the one closing button, Exit, has nothing left to apply; the
// caller saves the catalogue's list file afterwards.

#include <string>

#include "host/server_dialog.h"
#include "textengine/font_desc.h"

class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace tarnwick {

class TLanguageManager;

class TLanguageForm : public TServerDialog {
    Q_OBJECT
public:
    // Selects the language of languageKey, or the first one. The colours are those of the
    // editor, handed on to the scheme and template editors.
    TLanguageForm(TLanguageManager& manager, TColorValue fontColor, TColorValue backColor,
                  const std::string& languageKey, QWidget* owner = nullptr);

    static bool Execute(TLanguageManager& manager, TColorValue fontColor, TColorValue backColor,
                        const std::string& languageKey, QWidget* owner = nullptr);

    [[nodiscard]] QMenu* PopupMenu() const { return PopupMenu_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildPopupMenu();
    // Refills the list and selects name (ignoring case), or the item at index when name is
    // not listed.
    void Refill(const std::string& name, int index = 0);
    void UpdateControls();
    [[nodiscard]] std::string SelectedName() const;
    // Runs an action; a file that cannot be read or written reaches the user as a message.
    template <class Action>
    void Guarded(Action&& action);

    void NewPopupClick();
    void RemovePopupClick();
    void DuplicatePopupClick();
    void RenamePopupClick();
    void SyntaxPopupClick();
    void TemplatePopupClick();
    void AssociationsPopupClick();
    // Asks before a language of that name is replaced; Yes deletes it with its files.
    bool MayOverwrite(const std::string& name);
    // The selected language's scheme file, or nothing after "Unable to find ..." was shown.
    [[nodiscard]] std::string ExistingSchemeFile(const std::string& name);

    TLanguageManager& manager_;
    TColorValue fontColor_;
    TColorValue backColor_;
    std::string languageKey_;

    QListWidget* LanguagesListBox;
    QLineEdit* AssociationsEdit;
    QPushButton* AssociationsButton;
    QPushButton* MenuButton;
    QMenu* PopupMenu_;
    QAction* NewPopup;
    QAction* RemovePopup;
    QAction* DuplicatePopup;
    QAction* RenamePopup;
    QAction* SyntaxPopup;
    QAction* TemplatePopup;
    QAction* AssociationsPopup;
};

// A language name holds more than blanks and none of . \ / : * ? " > < | nor a control
// character, so that it can name its files; otherwise the message that says so.
[[nodiscard]] std::string LanguageNameError(const std::string& name);

}  // namespace tarnwick
