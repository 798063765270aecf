#include "languages/dialogs/language_form.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "host/abi/parameter_list.h"
#include "host/message_dialog.h"
#include "languages/code_templates.h"
#include "languages/dialogs/associations_form.h"
#include "languages/dialogs/code_template_editor_form.h"
#include "languages/dialogs/dialog_text.h"
#include "languages/dialogs/list_keys.h"
#include "languages/dialogs/single_line_form.h"
#include "languages/dialogs/syntax_scheme_edit_form.h"
#include "languages/language_manager.h"
#include "languages/prepared_scheme.h"
#include "languages/syntax_scheme.h"
#include "languages/text_file.h"

namespace tarnwick {

namespace {

// The characters a file name may not hold.
constexpr std::string_view kIllegalNameCharacters = ".\\/:*?\"><|";

// Message boxes take "&&" for an ampersand.
QString MessageText(const std::string& bytes) {
    return Latin1Text(bytes).replace(QLatin1Char('&'), QLatin1String("&&"));
}
QString PathMessage(const std::string& text) {
    return PathText(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

bool SameName(const std::string& a, const std::string& b) {
    return SameParameterName(TrimParameterText(a), TrimParameterText(b));
}

}  // namespace

std::string LanguageNameError(const std::string& name) {
    const bool illegal = std::any_of(name.begin(), name.end(), [](char c) {
        return kIllegalNameCharacters.find(c) != std::string_view::npos ||
               static_cast<unsigned char>(c) < ' ' || c == '\x7F';
    });
    if (!illegal && !TrimParameterText(name).empty())
        return {};
    std::string message = "Illegal character in language name: " + name +
                          "\nLanguage names cannot contain any of the following characters:\n";
    for (char c : kIllegalNameCharacters)
        message.append(1, c).append(" ");
    return message;
}

TLanguageForm::TLanguageForm(TLanguageManager& manager, TColorValue fontColor, TColorValue backColor,
                             const std::string& languageKey, QWidget* owner)
    : TServerDialog(owner),
      manager_(manager),
      fontColor_(fontColor),
      backColor_(backColor),
      languageKey_(languageKey) {
    setWindowTitle(QStringLiteral(" Language Setup"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    BuildPopupMenu();
    BuildControls();
    Refill(manager_.LanguageOf(languageKey_));
}

bool TLanguageForm::Execute(TLanguageManager& manager, TColorValue fontColor, TColorValue backColor,
                            const std::string& languageKey, QWidget* owner) {
    TLanguageForm form(manager, fontColor, backColor, languageKey, owner);
    return form.exec() == QDialog::Accepted;
}

void TLanguageForm::BuildPopupMenu() {
    PopupMenu_ = Named(new QMenu(this), "PopupMenu");
    const auto add = [this](const char* name, const char* caption, void (TLanguageForm::*click)()) {
        QAction* action = Named(PopupMenu_->addAction(QString::fromLatin1(caption)), name);
        connect(action, &QAction::triggered, this,
                [this, click] { Guarded([this, click] { (this->*click)(); }); });
        return action;
    };
    NewPopup = add("NewPopup", "&New...", &TLanguageForm::NewPopupClick);
    RemovePopup = add("RemovePopup", "&Remove", &TLanguageForm::RemovePopupClick);
    DuplicatePopup = add("DuplicatePopup", "&Duplicate...", &TLanguageForm::DuplicatePopupClick);
    RenamePopup = add("RenamePopup", "Rename...", &TLanguageForm::RenamePopupClick);
    PopupMenu_->addSeparator();
    SyntaxPopup = add("SyntaxPopup", "&Syntax...", &TLanguageForm::SyntaxPopupClick);
    TemplatePopup = add("TemplatePopup", "Templates...", &TLanguageForm::TemplatePopupClick);
    PopupMenu_->addSeparator();
    AssociationsPopup = add("AssociationsPopup", "Associations...", &TLanguageForm::AssociationsPopupClick);
}

void TLanguageForm::BuildControls() {
    auto* pages = Named(new QTabWidget(this), "LanguagePage");
    auto* tab = Named(new QWidget(pages), "LanguageTab");
    pages->addTab(tab, QStringLiteral("Languages"));
    LanguagesListBox = Named(new QListWidget(tab), "LanguagesListBox");
    LanguagesListBox->setContextMenuPolicy(Qt::CustomContextMenu);
    LanguagesListBox->viewport()->installEventFilter(this);
    connect(LanguagesListBox, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu_->popup(LanguagesListBox->viewport()->mapToGlobal(at)); });
    connect(LanguagesListBox, &QListWidget::currentRowChanged, this, [this] { UpdateControls(); });
    TListKeys::Install(LanguagesListBox,
                       {WhenEnabled(NewPopup), WhenEnabled(RemovePopup), WhenEnabled(SyntaxPopup)});

    auto* group = Named(new QGroupBox(QStringLiteral("Associations"), tab), "TeThemeGroupBox1");
    AssociationsEdit = Named(new QLineEdit(group), "AssociationsEdit");
    AssociationsButton = Named(new QPushButton(QStringLiteral("..."), group), "AssociationsButton");
    AssociationsButton->setFixedWidth(28);
    connect(AssociationsButton, &QPushButton::clicked, AssociationsPopup, &QAction::trigger);
    auto* row = new QHBoxLayout(group);
    row->addWidget(AssociationsEdit);
    row->addWidget(AssociationsButton);

    MenuButton = Named(new QPushButton(QStringLiteral("&Menu"), tab), "MenuButton");
    connect(MenuButton, &QPushButton::clicked, this,
            [this] { PopupMenu_->popup(MenuButton->mapToGlobal(QPoint(0, MenuButton->height()))); });
    auto* tabLayout = new QGridLayout(tab);
    tabLayout->addWidget(LanguagesListBox, 0, 0, 1, 2);
    tabLayout->addWidget(group, 1, 0);
    tabLayout->addWidget(MenuButton, 1, 1, Qt::AlignBottom);

    auto* exit = Named(new QPushButton(QStringLiteral("Exit"), this), "OKButton");
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exit);
    auto* page = new QVBoxLayout(this);
    page->addWidget(pages);
    page->addLayout(buttons);
    resize(340, 360);
}

// A right click selects the language under the pointer before the menu opens.
bool TLanguageForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LanguagesListBox->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            if (QListWidgetItem* item = LanguagesListBox->itemAt(mouse->position().toPoint()))
                LanguagesListBox->setCurrentItem(item);
    }
    return TServerDialog::eventFilter(watched, event);
}

void TLanguageForm::Refill(const std::string& name, int index) {
    const QSignalBlocker quiet(LanguagesListBox);
    LanguagesListBox->clear();
    int selected = -1;
    for (int i = 0; i < manager_.LanguageCount(); ++i) {
        const std::string& language = manager_.Languages(i)->Name;
        LanguagesListBox->addItem(Latin1Text(language));
        if (selected < 0 && !name.empty() && SameName(language, name))
            selected = i;
    }
    const int count = LanguagesListBox->count();
    if (selected < 0 && count > 0)
        selected = std::clamp(index, 0, count - 1);
    LanguagesListBox->setCurrentRow(selected);
    UpdateControls();
}

void TLanguageForm::UpdateControls() {
    const bool any = LanguagesListBox->count() > 0;
    LanguagesListBox->setEnabled(any);
    for (QAction* action : {DuplicatePopup, RemovePopup, SyntaxPopup, TemplatePopup, AssociationsPopup})
        action->setEnabled(any);
    AssociationsButton->setEnabled(any);
    const std::string name = SelectedName();
    std::vector<std::string> extensions;
    if (!name.empty())
        manager_.ExtensionsOf(name, extensions);
    AssociationsEdit->setText(Latin1Text(JoinCommaText(extensions)));
    AssociationsEdit->setEnabled(!name.empty());
}

std::string TLanguageForm::SelectedName() const {
    const QListWidgetItem* item = LanguagesListBox->currentItem();
    return item ? Latin1Bytes(item->text()) : std::string();
}

template <class Action>
void TLanguageForm::Guarded(Action&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowErrorMessage(PathMessage(error.what()));
        Refill(SelectedName(), LanguagesListBox->currentRow());
    }
}

bool TLanguageForm::MayOverwrite(const std::string& name) {
    if (!manager_.HasLanguage(name))
        return true;
    if (!ConfirmMessage(MessageText("Language " + name + " already exists, do you wish to overwrite it?")))
        return false;
    manager_.DeleteLanguage(name);
    return true;
}

std::string TLanguageForm::ExistingSchemeFile(const std::string& name) {
    const std::string path = manager_.SyntaxFileOf(name);
    if (IsExistingFile(path))
        return path;
    ShowErrorMessage(PathMessage("Unable to find " + path));
    return {};
}

// The name is trimmed once it passed the check, so that no language is named by its blanks.
void TLanguageForm::NewPopupClick() {
    const std::optional<std::string> typed = TSingleLineForm::Ask("New Language Name", "Name :", "", this);
    if (!typed)
        return;
    if (const std::string error = LanguageNameError(*typed); !error.empty())
        return ShowErrorMessage(MessageText(error));
    const std::string name(TrimParameterText(*typed));
    if (!MayOverwrite(name))
        return Refill(name);
    const std::unique_ptr<TSyntaxScheme> scheme = TLanguageManager::NewScheme();
    scheme->Name = name;
    const std::string path = manager_.SyntaxPathFor(name);
    scheme->SaveToFile(path);
    manager_.AddLanguage(name);
    manager_.SetSyntaxFile(name, path);
    Refill(name);
}

void TLanguageForm::RemovePopupClick() {
    const std::string name = SelectedName();
    if (name.empty() || !ConfirmMessage(MessageText("Are you sure you want to delete language " + name)))
        return;
    const int index = LanguagesListBox->currentRow();
    manager_.DeleteLanguage(name);
    Refill({}, index);
}

// Everything the copy is made of is read before a language of the new name is replaced, so a
// source that cannot be read costs nothing; a copy onto the language itself changes nothing.
void TLanguageForm::DuplicatePopupClick() {
    const std::string source = SelectedName();
    if (source.empty())
        return;
    const std::optional<std::string> typed =
        TSingleLineForm::Ask("New Language Name", "Name :", "Copy of " + source, this);
    if (!typed)
        return;
    if (const std::string error = LanguageNameError(*typed); !error.empty())
        return ShowErrorMessage(MessageText(error));
    const std::string name(TrimParameterText(*typed));
    if (SameName(name, source))
        return;
    const std::string schemeFile = ExistingSchemeFile(source);
    if (schemeFile.empty())
        return;
    const std::unique_ptr<TSyntaxScheme> scheme = TLanguageManager::NewScheme();
    scheme->LoadFromFile(schemeFile);
    const std::string templateFile = manager_.TemplateFileOf(source);
    std::optional<TMemoCodeTemplates> templates;
    if (IsExistingFile(templateFile))
        templates.emplace().LoadFromFile(templateFile);
    if (!MayOverwrite(name))
        return Refill(source);

    scheme->Name = name;
    const std::string schemePath = manager_.SyntaxPathFor(name);
    scheme->SaveToFile(schemePath);
    manager_.AddLanguage(name);
    manager_.SetSyntaxFile(name, schemePath);
    if (templates) {
        const std::string templatePath = manager_.TemplatePathFor(name);
        templates->SaveToFile(templatePath);
        manager_.SetTemplateFile(name, templatePath);
    }
    Refill(name);
}

// The current name is the selected language's, which is what names its files; a scheme whose
// own name was changed elsewhere would otherwise have no language to rename.
void TLanguageForm::RenamePopupClick() {
    const std::string current = SelectedName();
    if (current.empty())
        return;
    const std::string schemeFile = ExistingSchemeFile(current);
    if (schemeFile.empty())
        return;
    const std::unique_ptr<TSyntaxScheme> scheme = TLanguageManager::NewScheme();
    scheme->LoadFromFile(schemeFile);
    const std::optional<std::string> typed =
        TSingleLineForm::Ask("Edit Language Name", "Name :", current, this);
    if (!typed)
        return;
    if (const std::string error = LanguageNameError(*typed); !error.empty()) {
        ShowErrorMessage(MessageText(error));
        return Refill(current);
    }
    const std::string name(TrimParameterText(*typed));
    if (SameName(name, current))
        return;
    if (!MayOverwrite(name))
        return Refill(current);
    manager_.RenameLanguage(current, name);
    scheme->Name = name;
    scheme->SaveToFile(manager_.SyntaxFileOf(name));
    Refill(name);
}

void TLanguageForm::SyntaxPopupClick() {
    const std::string name = SelectedName();
    if (name.empty())
        return;
    const std::string schemeFile = ExistingSchemeFile(name);
    if (schemeFile.empty())
        return;
    const std::unique_ptr<TSyntaxScheme> scheme = TLanguageManager::NewScheme();
    scheme->LoadFromFile(schemeFile);
    if (!TSyntaxSchemeEditForm::Execute(this, fontColor_, backColor_, *scheme))
        return;
    scheme->SaveToFile(schemeFile);
    Refill(name);
}

void TLanguageForm::TemplatePopupClick() {
    const std::string name = SelectedName();
    if (name.empty())
        return;
    std::string path = manager_.TemplateFileOf(name);
    TMemoCodeTemplates templates;
    if (IsExistingFile(path))
        templates.LoadFromFile(path);
    else
        path = manager_.TemplatePathFor(name);
    if (!TCodeTemplateEditorForm::Execute(this, fontColor_, backColor_, templates, name,
                                          manager_.SyntaxFileOf(name)))
        return;
    templates.SaveToFile(path);
    manager_.SetTemplateFile(name, path);
}

void TLanguageForm::AssociationsPopupClick() {
    const std::string name = SelectedName();
    if (name.empty())
        return;
    std::vector<std::string> extensions = SplitCommaText(Latin1Bytes(AssociationsEdit->text()));
    if (!TAssociationsForm::Execute(extensions, this))
        return;
    manager_.RemoveAssociations(name);
    for (const std::string& extension : extensions)
        manager_.SetAssociation(extension, name);
    UpdateControls();
}

}  // namespace tarnwick
