#include "languages/dialogs/keywords_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include "host/abi/parameter_list.h"
#include "host/common_dialog_requests.h"
#include "host/message_dialog.h"
#include "languages/dialogs/dialog_text.h"
#include "languages/dialogs/list_keys.h"
#include "languages/dialogs/scheme_styles.h"
#include "languages/dialogs/single_line_form.h"
#include "languages/prepared_scheme.h"
#include "languages/syntax_block.h"
#include "languages/text_file.h"

namespace tarnwick {

namespace {

constexpr const char* kLoadRequest =
    "Dialog=FileOpenSave|Mode=0|Prompt=Load Keyword Text File|DocumentType=All|FileType1=Text File "
    "(*.txt)|FileType2=All Files (*.*)";
constexpr const char* kSaveRequest =
    "Dialog=FileOpenSave|Mode=1|Prompt=Save Keyword Text File|DocumentType=All|FileType1=Text File "
    "(*.txt)|FileType2=All Files (*.*)";

// The keywords of a text: items of comma text, whatever line they stand on.
TSortedTextList KeywordsOf(std::string_view text) {
    TSortedTextList keywords;
    for (const std::string& item : SplitCommaText(text))
        if (!item.empty())
            keywords.Add(item);
    return keywords;
}

}  // namespace

TKeywordsPage::TKeywordsPage(TSyntaxBlock& block, TSchemeStyles& styles, QWidget* parent)
    : QWidget(parent), block_(block), styles_(styles) {
    KeywordCheck = Named(new QCheckBox(QStringLiteral("Highlight &Keywords"), this), "KeywordCheck");
    KeywordCheck->setChecked(block_.UseKeywords);
    connect(KeywordCheck, &QCheckBox::toggled, this, [this](bool on) {
        block_.UseKeywords = on;
        UpdateControls();
    });

    auto* setGroup = Named(new QGroupBox(QStringLiteral(" Keyword Sets "), this), "KeywordSetGroup");
    KeywordSetListBox = Named(new QListWidget(setGroup), "KeywordSetListBox");
    const auto button = [this](QWidget* parent, const char* name, const char* caption,
                               void (TKeywordsPage::*click)()) {
        auto* b = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
        connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    KeyWordSetAddButton = button(setGroup, "KeyWordSetAddButton", "Ad&d...", &TKeywordsPage::SetAddClick);
    KeyWordSetRemoveButton =
        button(setGroup, "KeyWordSetRemoveButton", "Remo&ve", &TKeywordsPage::SetRemoveClick);
    KeyWordSetEditButton = button(setGroup, "KeyWordSetEditButton", "E&dit...", &TKeywordsPage::SetEditClick);
    connect(KeywordSetListBox, &QListWidget::currentRowChanged, this, &TKeywordsPage::SelectSet);
    auto* sets = new QGridLayout(setGroup);
    sets->addWidget(KeywordSetListBox, 0, 0, 4, 1);
    sets->addWidget(KeyWordSetAddButton, 0, 1);
    sets->addWidget(KeyWordSetRemoveButton, 1, 1);
    sets->addWidget(KeyWordSetEditButton, 2, 1);
    sets->setRowStretch(3, 1);

    auto* keywordGroup = Named(new QGroupBox(QStringLiteral(" Keywords "), this), "KeywordGroup");
    KeyWordListBox = Named(new QListWidget(keywordGroup), "KeyWordListBox");
    KeywordAddButton = button(keywordGroup, "KeywordAddButton", "&Add...", &TKeywordsPage::KeywordAddClick);
    KeyWordRemoveButton =
        button(keywordGroup, "KeyWordRemoveButton", "&Remove", &TKeywordsPage::KeywordRemoveClick);
    KeyWordEditButton =
        button(keywordGroup, "KeyWordEditButton", "&Edit...", &TKeywordsPage::KeywordEditClick);
    KeywordLoadButton =
        button(keywordGroup, "KeywordLoadButton", "&Load...", &TKeywordsPage::KeywordLoadClick);
    KeywordSaveButton =
        button(keywordGroup, "KeywordSaveButton", "&Save...", &TKeywordsPage::KeywordSaveClick);
    KeywordSyntaxButton =
        button(keywordGroup, "KeywordSyntaxButton", "St&yle...", &TKeywordsPage::KeywordStyleClick);
    TListKeys::Install(KeyWordListBox, {WhenEnabled(KeywordAddButton), WhenEnabled(KeyWordRemoveButton),
                                        WhenEnabled(KeyWordEditButton)});
    auto* words = new QGridLayout(keywordGroup);
    words->addWidget(KeyWordListBox, 0, 0, 7, 1);
    int row = 0;
    for (QPushButton* b : {KeywordAddButton, KeyWordRemoveButton, KeyWordEditButton, KeywordLoadButton,
                           KeywordSaveButton, KeywordSyntaxButton})
        words->addWidget(b, row++, 1);
    words->setRowStretch(6, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(setGroup, 2);
    page->addWidget(keywordGroup, 3);
    page->addWidget(KeywordCheck);
    RefillSets(0);
}

TKeywordSet* TKeywordsPage::CurrentSet() {
    return currentSet_ >= 0 && currentSet_ < int(block_.KeywordSets.size())
               ? &block_.KeywordSets[std::size_t(currentSet_)]
               : nullptr;
}

void TKeywordsPage::UpdateControls() {
    const bool on = KeywordCheck->isChecked();
    const bool anySet = !block_.KeywordSets.empty();
    KeywordSetListBox->setEnabled(on);
    KeyWordSetAddButton->setEnabled(KeywordSetListBox->isEnabled());
    KeyWordSetRemoveButton->setEnabled(KeywordSetListBox->isEnabled() && anySet);
    KeyWordSetEditButton->setEnabled(KeywordSetListBox->isEnabled() && anySet);
    KeyWordListBox->setEnabled(on && anySet);
    const bool listOn = KeyWordListBox->isEnabled();
    const bool anyKeyword = keywords_.Count() > 0;
    KeywordAddButton->setEnabled(listOn);
    KeywordSyntaxButton->setEnabled(listOn);
    KeywordLoadButton->setEnabled(listOn);
    KeyWordRemoveButton->setEnabled(listOn && anyKeyword);
    KeyWordEditButton->setEnabled(listOn && anyKeyword);
    KeywordSaveButton->setEnabled(listOn && anyKeyword);
}

void TKeywordsPage::RefillSets(int index) {
    {
        const QSignalBlocker quiet(KeywordSetListBox);
        KeywordSetListBox->clear();
        for (const TKeywordSet& set : block_.KeywordSets)
            KeywordSetListBox->addItem(Latin1Text(set.Name));
    }
    const int count = int(block_.KeywordSets.size());
    const int selected = count > 0 ? std::clamp(index, 0, count - 1) : -1;
    {
        const QSignalBlocker quiet(KeywordSetListBox);
        KeywordSetListBox->setCurrentRow(selected);
    }
    SelectSet(selected);
}

void TKeywordsPage::SelectSet(int index) {
    currentSet_ = index;
    const TKeywordSet* set = CurrentSet();
    keywords_ = KeywordsOf(set ? set->Keywords : std::string());
    RefillKeywords(0);
}

// The list shows the set's style: its font style and colour, on its background.
void TKeywordsPage::RefillKeywords(int index) {
    const TKeywordSet* set = CurrentSet();
    const int style = set ? set->FontID : -1;
    KeyWordListBox->clear();
    const QFont font = styles_.Font(style, this->font());
    for (const std::string& keyword : keywords_.Items()) {
        auto* item = new QListWidgetItem(Latin1Text(keyword), KeyWordListBox);
        item->setFont(font);
        item->setForeground(styles_.Foreground(style));
    }
    styles_.PaintBackground(KeyWordListBox, style);
    if (keywords_.Count() > 0)
        KeyWordListBox->setCurrentRow(std::clamp(index, 0, keywords_.Count() - 1));
    UpdateControls();
}

void TKeywordsPage::StoreKeywords() {
    if (TKeywordSet* set = CurrentSet())
        set->Keywords = JoinCommaText(keywords_.Items());
}

void TKeywordsPage::SetAddClick() {
    const std::optional<std::string> name =
        TSingleLineForm::Ask("New Keyword Set Properties", "Keyword", "", this);
    if (!name)
        return;
    TKeywordSet set;
    set.Name = *name;
    set.FontID = styles_.NewStyle();
    block_.KeywordSets.push_back(set);
    RefillSets(int(block_.KeywordSets.size()) - 1);
}

void TKeywordsPage::SetEditClick() {
    TKeywordSet* set = CurrentSet();
    if (!set)
        return;
    const std::optional<std::string> name =
        TSingleLineForm::Ask("Edit Keyword Set Properties", "Keyword", set->Name, this);
    if (!name)
        return;
    set->Name = *name;
    RefillSets(currentSet_);
}

void TKeywordsPage::SetRemoveClick() {
    if (!CurrentSet())
        return;
    const int index = currentSet_;
    block_.KeywordSets.erase(block_.KeywordSets.begin() + index);
    RefillSets(index);
}

void TKeywordsPage::KeywordAddClick() {
    const std::optional<std::string> typed =
        TSingleLineForm::Ask("New Keyword Properties", "A Keyword", "", this);
    if (!typed)
        return;
    const std::string keyword(TrimParameterText(*typed));
    if (keyword.empty() || keywords_.IndexOf(keyword) >= 0)
        return;
    const int index = keywords_.Add(keyword);
    StoreKeywords();
    RefillKeywords(index);
}

void TKeywordsPage::KeywordEditClick() {
    const int row = KeyWordListBox->currentRow();
    if (row < 0 || row >= keywords_.Count())
        return;
    const std::optional<std::string> typed = TSingleLineForm::Ask("Edit Keyword Properties", "A Keyword",
                                                                  keywords_.Items()[std::size_t(row)], this);
    if (!typed)
        return;
    const std::string keyword(TrimParameterText(*typed));
    if (keyword.empty() || keywords_.IndexOf(keyword) >= 0)
        return;
    keywords_.Delete(row);
    const int index = keywords_.Add(keyword);
    StoreKeywords();
    RefillKeywords(index);
}

void TKeywordsPage::KeywordRemoveClick() {
    const int row = KeyWordListBox->currentRow();
    if (row < 0 || row >= keywords_.Count())
        return;
    keywords_.Delete(row);
    StoreKeywords();
    RefillKeywords(row);
}

// A missing file empties the set; one that cannot be read changes nothing and says why.
void TKeywordsPage::KeywordLoadClick() {
    const std::optional<std::string> path = AskHostForFile(kLoadRequest);
    if (!path)
        return;
    try {
        keywords_ = KeywordsOf(IsExistingFile(*path) ? ReadTextFile(*path) : std::string());
    } catch (const std::exception& error) {
        ShowErrorMessage(PathText(error.what()));
        return;
    }
    StoreKeywords();
    RefillKeywords(0);
}

void TKeywordsPage::KeywordSaveClick() {
    const std::optional<std::string> path = AskHostForFile(kSaveRequest);
    if (!path)
        return;
    std::string text;
    for (const std::string& keyword : keywords_.Items())
        text += keyword + "\n";
    try {
        WriteTextFile(*path, text);
    } catch (const std::exception& error) {
        ShowErrorMessage(PathText(error.what()));
    }
}

void TKeywordsPage::KeywordStyleClick() {
    TKeywordSet* set = CurrentSet();
    if (set && styles_.EditStyle(set->FontID, this))
        RefillKeywords(KeyWordListBox->currentRow());
}

}  // namespace tarnwick
