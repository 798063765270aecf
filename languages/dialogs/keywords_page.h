#pragma once
// The Keywords page of the scheme editor: the block's keyword sets, each with its style, and the
// keywords of the current set, kept sorted and each once (ignoring case) and stored back into
// the set as comma text after every change. Keyword lists load from and save to text files
// chosen in the host's file dialog.

#include <QWidget>

#include "languages/dialogs/sorted_text_list.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace tarnwick {

class TSchemeStyles;
struct TKeywordSet;
struct TSyntaxBlock;

class TKeywordsPage : public QWidget {
    Q_OBJECT
public:
    TKeywordsPage(TSyntaxBlock& block, TSchemeStyles& styles, QWidget* parent = nullptr);

private:
    void UpdateControls();
    void RefillSets(int index);
    void SelectSet(int index);
    void RefillKeywords(int index);
    // The set's keywords become the list's comma text.
    void StoreKeywords();
    [[nodiscard]] TKeywordSet* CurrentSet();

    void SetAddClick();
    void SetEditClick();
    void SetRemoveClick();
    void KeywordAddClick();
    void KeywordEditClick();
    void KeywordRemoveClick();
    void KeywordLoadClick();
    void KeywordSaveClick();
    void KeywordStyleClick();

    TSyntaxBlock& block_;
    TSchemeStyles& styles_;
    int currentSet_ = -1;
    TSortedTextList keywords_;

    QCheckBox* KeywordCheck;
    QListWidget* KeywordSetListBox;
    QPushButton* KeyWordSetAddButton;
    QPushButton* KeyWordSetRemoveButton;
    QPushButton* KeyWordSetEditButton;
    QListWidget* KeyWordListBox;
    QPushButton* KeywordAddButton;
    QPushButton* KeyWordRemoveButton;
    QPushButton* KeyWordEditButton;
    QPushButton* KeywordLoadButton;
    QPushButton* KeywordSaveButton;
    QPushButton* KeywordSyntaxButton;
};

}  // namespace tarnwick
