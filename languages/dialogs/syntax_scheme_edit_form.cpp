#include "languages/dialogs/syntax_scheme_edit_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "languages/dialogs/delimiter_entry_form.h"
#include "languages/dialogs/delimiter_page.h"
#include "languages/dialogs/dialog_text.h"
#include "languages/dialogs/keywords_page.h"

namespace tarnwick {

namespace {

// The first style number of a list that has one; -1 for none.
template <class Tokens>
int FirstFontID(const Tokens& tokens) {
    return tokens.empty() ? -1 : tokens.front().FontID;
}

}  // namespace

TSyntaxSchemeEditForm::TSyntaxSchemeEditForm(const TSyntaxScheme& scheme, TColorValue fontColor,
                                             TColorValue backColor, QWidget* owner)
    : TServerDialog(owner), styles_(working_, fontColor, backColor) {
    setWindowTitle(QStringLiteral("Syntax Editor"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    working_.Assign(scheme);
    if (working_.SyntaxBlocks.empty())
        working_.SyntaxBlocks.emplace_back().ID = 0;
    PrepareStyles();

    SyntaxPageControl = Named(new QTabWidget(this), "SyntaxPageControl");
    SyntaxPageControl->addTab(BuildOptionsPage(), QStringLiteral("Options"));
    SyntaxPageControl->addTab(BuildCommentsPage(), QStringLiteral("Comments"));
    SyntaxPageControl->addTab(BuildStringsPage(), QStringLiteral("Strings"));
    SyntaxPageControl->addTab(BuildNumbersPage(), QStringLiteral("Numbers"));
    SyntaxPageControl->addTab(Named(new TKeywordsPage(B(), styles_, SyntaxPageControl), "KeywordsPage"),
                              QStringLiteral("Keywords"));

    auto* buttons = OkCancelRow(this, [this] { OkButtonClick(); });
    auto* page = new QVBoxLayout(this);
    page->addWidget(SyntaxPageControl);
    page->addLayout(buttons);
    resize(470, 420);
}

bool TSyntaxSchemeEditForm::Execute(QWidget* owner, TColorValue fontColor, TColorValue backColor,
                                    TSyntaxScheme& scheme) {
    TSyntaxSchemeEditForm form(scheme, fontColor, backColor, owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    scheme.Assign(form.WorkingScheme());
    return true;
}

// Every class gets a style to edit, and every list is switched on; the tidy on OK takes back
// what stays unused.
void TSyntaxSchemeEditForm::PrepareStyles() {
    TSyntaxBlock& b = B();
    b.FIText = -1;
    for (int* style : {&b.FISymbol, &b.FIDirective, &b.FIIdentifier})
        if (*style == -1)
            *style = styles_.NewStyle();

    commentStyle_ = FirstFontID(b.SingleLineCommentDelimiters);
    if (b.SingleLineCommentDelimiters.empty())
        commentStyle_ = !b.MultiLineCommentDelimiters.empty() ? FirstFontID(b.MultiLineCommentDelimiters)
                                                              : FirstFontID(b.FullLineCommentDelimiters);
    stringStyle_ = b.SingleLineStringDelimiters.empty() ? FirstFontID(b.MultiLineStringDelimiters)
                                                        : FirstFontID(b.SingleLineStringDelimiters);
    if (b.FIIntNum > 0)
        numberStyle_ = b.FIIntNum;
    else if (b.FIFloatNum > 0)
        numberStyle_ = b.FIFloatNum;
    else if (b.FIHexNum > 0)
        numberStyle_ = b.FIHexNum;
    else if (!b.NumPrefixes.empty())
        numberStyle_ = FirstFontID(b.NumPrefixes);
    else if (!b.NumSuffixes.empty())
        numberStyle_ = FirstFontID(b.NumSuffixes);
    else
        numberStyle_ = FirstFontID(b.NumPrefixesSuffixes);
    for (int* style : {&commentStyle_, &stringStyle_, &numberStyle_})
        if (*style == -1)
            *style = styles_.NewStyle();
    b.FIIntNum = b.FIFloatNum = b.FIHexNum = numberStyle_;

    for (bool* list : {&b.UseSingleLineComments, &b.UseMultiLineComments, &b.UseFullLineComments,
                       &b.UseSingleLineStrings, &b.UseMultiLineStrings, &b.UsePrefixedNumbers,
                       &b.UseSuffixedNumbers, &b.UsePrefixedSuffixedNumbers})
        *list = true;
    for (TKeywordSet& set : b.KeywordSets)
        if (set.FontID == -1)
            set.FontID = styles_.NewStyle();
}

QWidget* TSyntaxSchemeEditForm::BuildOptionsPage() {
    auto* page = new QWidget(this);
    TSyntaxBlock& b = B();
    const auto check = [this](QWidget* parent, const char* name, const char* caption, bool& field) {
        auto* box = Named(new QCheckBox(QString::fromLatin1(caption), parent), name);
        box->setChecked(field);
        connect(box, &QCheckBox::toggled, this, [this, &field](bool on) {
            field = on;
            UpdateOptions();
        });
        return box;
    };
    const auto styleButton = [this](QWidget* parent, const char* name, const char* caption, int& style) {
        auto* button = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
        connect(button, &QPushButton::clicked, this, [this, &style] { styles_.EditStyle(style, this); });
        return button;
    };

    auto* syntax = Named(new QGroupBox(QStringLiteral(" Syntax Options "), page), "SyntaxOptionsGroup");
    auto* caseCheck = check(syntax, "CaseSensitiveCheck", "C&ase sensitive", b.CaseSensitive);
    MetaSymbolCheck = check(syntax, "MetaSymbolCheck", "Use &meta symbol for escapes", b.UseMetaSymbol);
    MetaSymbolEdit = Named(new QLineEdit(syntax), "MetaSymbolEdit");
    MetaSymbolEdit->setMaxLength(1);
    MetaSymbolEdit->setFixedWidth(30);
    MetaSymbolEdit->setText(b.MetaSymbol == '\0' ? QString() : Latin1Text(std::string(1, b.MetaSymbol)));
    connect(MetaSymbolEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        const std::string bytes = Latin1Bytes(text);
        B().MetaSymbol = bytes.empty() ? '\0' : bytes.front();
    });
    MetaSymbolWrapCheck =
        check(syntax, "MetaSymbolWrapCheck", "And to &wrap long lines", b.UseMetaToWrapLines);
    auto* syntaxGrid = new QGridLayout(syntax);
    syntaxGrid->addWidget(caseCheck, 0, 0, 1, 2);
    syntaxGrid->addWidget(MetaSymbolCheck, 1, 0);
    syntaxGrid->addWidget(MetaSymbolEdit, 1, 1);
    syntaxGrid->addWidget(MetaSymbolWrapCheck, 2, 0, 1, 2);

    auto* nameGroup = Named(new QGroupBox(QStringLiteral(" Language Name "), page), "LanguageNameGroup");
    auto* nameEdit = Named(new QLineEdit(Latin1Text(working_.Name), nameGroup), "SyntaxNameEdit");
    nameEdit->setReadOnly(true);
    (new QVBoxLayout(nameGroup))->addWidget(nameEdit);

    auto* directive =
        Named(new QGroupBox(QStringLiteral(" Directive Options "), page), "DirectiveOptionsGroup");
    DirectiveCheck = check(directive, "DirectiveCheck", "Highlight &Directives", b.UseLineDirectives);
    DirectivePrefixLabel = Named(new QLabel(QStringLiteral("Prefix "), directive), "DirectivePrefixLabel");
    DirectivePrefixEdit =
        Named(new QLineEdit(Latin1Text(b.LineDirectivePrefix), directive), "DirectivePrefixEdit");
    DirectivePrefixEdit->setMaxLength(kShortTextLength);
    const auto copyPrefix = [this] { B().LineDirectivePrefix = Latin1Bytes(DirectivePrefixEdit->text()); };
    connect(DirectivePrefixEdit, &QLineEdit::textChanged, this, copyPrefix);
    connect(DirectivePrefixEdit, &QLineEdit::editingFinished, this, copyPrefix);
    DirectiveStyleButton = styleButton(directive, "DirectiveStyleButton", "S&tyle...", b.FIDirective);
    auto* directiveGrid = new QGridLayout(directive);
    directiveGrid->addWidget(DirectiveCheck, 0, 0, 1, 3);
    directiveGrid->addWidget(DirectivePrefixLabel, 1, 0);
    directiveGrid->addWidget(DirectivePrefixEdit, 1, 1);
    directiveGrid->addWidget(DirectiveStyleButton, 1, 2);

    auto* misc =
        Named(new QGroupBox(QStringLiteral(" Miscellaneous Styles "), page), "MiscellaneousStylesGroup");
    SymbolCheck = check(misc, "SymbolCheck", "Use Sym&bols", b.UseSymbols);
    SymbolStyleButton = styleButton(misc, "SymbolStyleButton", "&Style...", b.FISymbol);
    IdentifierCheck = check(misc, "IdentifierCheck", "Use &Identifiers", b.UseIdentifiers);
    IdentifierStyleButton = styleButton(misc, "IdentifierStyleButton", "St&yle...", b.FIIdentifier);
    auto* miscGrid = new QGridLayout(misc);
    miscGrid->addWidget(SymbolCheck, 0, 0);
    miscGrid->addWidget(SymbolStyleButton, 0, 1);
    miscGrid->addWidget(IdentifierCheck, 1, 0);
    miscGrid->addWidget(IdentifierStyleButton, 1, 1);

    auto* grid = new QGridLayout(page);
    grid->addWidget(syntax, 0, 0);
    grid->addWidget(nameGroup, 0, 1);
    grid->addWidget(directive, 1, 0);
    grid->addWidget(misc, 1, 1);
    grid->setRowStretch(2, 1);
    UpdateOptions();
    return page;
}

void TSyntaxSchemeEditForm::UpdateOptions() {
    const bool meta = MetaSymbolCheck->isChecked();
    MetaSymbolWrapCheck->setEnabled(meta);
    MetaSymbolEdit->setEnabled(meta);
    const bool directive = DirectiveCheck->isChecked();
    DirectivePrefixLabel->setEnabled(directive);
    DirectivePrefixEdit->setEnabled(directive);
    DirectiveStyleButton->setEnabled(directive);
    SymbolStyleButton->setEnabled(SymbolCheck->isChecked());
    IdentifierStyleButton->setEnabled(IdentifierCheck->isChecked());
}

QWidget* TSyntaxSchemeEditForm::BuildCommentsPage() {
    TSyntaxBlock& b = B();
    return new TDelimiterPage(
        {"CommentCheck",
         "Highlight &Comments",
         &b.UseComments,
         "CommentStringGrid",
         "CommentHeader",
         "CommentAddButton",
         "CommentRemoveButton",
         "CommentEditButton",
         "CommentStyleButton",
         nullptr,
         {{"Single line", &b.SingleLineCommentDelimiters, nullptr, {}},
          {"Multi line", nullptr, &b.MultiLineCommentDelimiters, {}},
          {"Full line", &b.FullLineCommentDelimiters, nullptr, {}}},
         &commentStyle_,
         [](const TDelimiterEntry& e, QWidget* owner) { return AskEntry<TCommentForm>(e, owner); }},
        styles_, this);
}

QWidget* TSyntaxSchemeEditForm::BuildStringsPage() {
    TSyntaxBlock& b = B();
    return new TDelimiterPage(
        {"StringCheck",
         "Highlight S&trings",
         &b.UseStrings,
         "StringsStringGrid",
         "StringHeader",
         "StringAddButton",
         "StringRemoveButton",
         "StringEditButton",
         "StringStyleButton",
         nullptr,
         {{"Single line", nullptr, &b.SingleLineStringDelimiters, {}},
          {"Multi line", nullptr, &b.MultiLineStringDelimiters, {}}},
         &stringStyle_,
         [](const TDelimiterEntry& e, QWidget* owner) { return AskEntry<TStringForm>(e, owner); }},
        styles_, this);
}

// Prefix-and-suffix pairs are listed, and offered, only while composition is off.
QWidget* TSyntaxSchemeEditForm::BuildNumbersPage() {
    TSyntaxBlock& b = B();
    const auto pairsShown = [&b] { return !b.UsePSNumComposition; };
    auto* page = new TDelimiterPage({"NumberCheck",
                                     "Highlight &Numbers",
                                     &b.UseNumbers,
                                     "NumberStringGrid",
                                     "NumberHeader",
                                     "NumberAddButton",
                                     "NumberRemoveButton",
                                     "NumberEditButton",
                                     "NumberStyleButton",
                                     " Special numbers ",
                                     {{"Prefix", &b.NumPrefixes, nullptr, {}},
                                      {"Suffix", &b.NumSuffixes, nullptr, {}},
                                      {"Prefix and Suffix", nullptr, &b.NumPrefixesSuffixes, pairsShown}},
                                     &numberStyle_,
                                     [&b](const TDelimiterEntry& e, QWidget* owner) {
                                         return AskEntry<TNumbersForm>(e, owner, !b.UsePSNumComposition);
                                     }},
                                    styles_, this);
    auto* options = Named(new QGroupBox(QStringLiteral(" Number Options "), page), "NumberOptionsGroup");
    auto* multiple =
        Named(new QCheckBox(QStringLiteral("Use m&ultiple suffixes"), options), "MultipleSuffixCheck");
    auto* composition = Named(new QCheckBox(QStringLiteral("Use &prefix and suffix composition"), options),
                              "PrefixSuffixCompositionCheck");
    multiple->setChecked(b.UseMultipleNumSuffixes);
    composition->setChecked(b.UsePSNumComposition);
    connect(multiple, &QCheckBox::toggled, this, [&b](bool on) { b.UseMultipleNumSuffixes = on; });
    connect(composition, &QCheckBox::toggled, this, [&b, page](bool on) {
        b.UsePSNumComposition = on;
        page->Refill(0);
    });
    auto* column = new QVBoxLayout(options);
    column->addWidget(multiple);
    column->addWidget(composition);
    page->AddOptions(options);
    return page;
}

void TSyntaxSchemeEditForm::OkButtonClick() {
    working_.Tidy();
    accept();
}

}  // namespace tarnwick
