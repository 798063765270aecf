#pragma once
// One page of the scheme editor for a class of delimited tokens (comments, strings, numbers):
// its switch, a grid of the entries of the class's lists with their types, and Add, Edit,
// Remove and Style. Entries of one type go to one list; an edited entry moves to the end of the
// list of its (possibly new) type. New entries take the class's shared style.

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <QWidget>

#include "languages/dialogs/delimiter_entry_form.h"
#include "languages/syntax_token.h"

class QCheckBox;
class QLayout;
class QPushButton;
class QTableWidget;

namespace tarnwick {

class TSchemeStyles;

class TDelimiterPage : public QWidget {
    Q_OBJECT
public:
    // One list of the class; the entry type with the same index goes to it.
    struct TTokenList {
        const char* typeName;
        std::vector<TLineToken>* lines = nullptr;   // one string per entry
        std::vector<TBlockToken>* pairs = nullptr;  // left and right strings
        std::function<bool()> shown;                // listed in the grid; always when not given
    };
    struct TSetup {
        const char* checkName;
        const char* checkCaption;
        bool* classSwitch;
        const char* gridName;
        const char* headerName;
        const char* addName;
        const char* removeName;
        const char* editName;
        const char* styleName;
        const char* gridGroupCaption;  // the grid and its buttons in a group, or nullptr
        std::vector<TTokenList> lists;
        int* sharedStyle;
        std::function<std::optional<TDelimiterEntry>(const TDelimiterEntry&, QWidget* owner)> askEntry;
    };

    TDelimiterPage(TSetup setup, TSchemeStyles& styles, QWidget* parent = nullptr);

    // Lists the entries again and selects the row at index (clamped).
    void Refill(int index);
    // The page's own options below the grid (the number options); they follow the switch.
    void AddOptions(QWidget* options);

private:
    void UpdateControls();
    void AddClick();
    void EditClick();
    void RemoveClick();
    void StyleClick();
    // Appends an entry to the list of its type and answers its row.
    int Append(const TDelimiterEntry& entry);
    [[nodiscard]] TDelimiterEntry EntryAt(int row) const;
    void Erase(int row);

    TSetup setup_;
    TSchemeStyles& styles_;
    std::vector<std::pair<int, int>> rows_;  // (list, index in it) of each grid row
    QCheckBox* check_;
    QTableWidget* grid_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* edit_;
    QPushButton* style_;
    QLayout* page_;
    std::vector<QWidget*> options_;
};

}  // namespace tarnwick
