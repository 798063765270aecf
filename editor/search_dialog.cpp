#include "editor/search_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/latin1_edit.h"
#include "widgets/radio_group.h"

namespace tarnwick {

namespace {

template <class Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

}  // namespace

TSearchDialog::TSearchDialog(TSearchOptions& shared, QWidget* owner)
    : TSearchDialog(shared, owner, QStringLiteral(" Find Text"), QStringLiteral("&Regular expressions")) {
    LoadControls(options_);
    FixClientSize({318, 265});
}

TSearchDialog::TSearchDialog(TSearchOptions& shared, QWidget* owner, const QString& caption,
                             const QString& regExprCaption)
    : TServerDialog(owner), shared_(shared), options_(shared) {
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);

    SearText = Named(new TLatin1Edit(this), "SearText");
    auto* searLabel = new QLabel(QStringLiteral("&Text to find :"), this);
    searLabel->setBuddy(SearText);
    textRows_ = new QGridLayout;
    textRows_->addWidget(searLabel, 0, 0);
    textRows_->addWidget(SearText, 0, 1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(textRows_);
    page->addLayout(MakeOptionGroups(regExprCaption));
    page->addStretch();
    page->addLayout(MakeButtonRow());
}

QGridLayout* TSearchDialog::MakeOptionGroups(const QString& regExprCaption) {
    auto* optionsGroup = Named(new QGroupBox(QStringLiteral("Options"), this), "OptionsGroup");
    CaseSens = Named(new QCheckBox(QStringLiteral("&Case sensitive"), optionsGroup), "CaseSens");
    WholeWord = Named(new QCheckBox(QStringLiteral("&Whole words only"), optionsGroup), "WholeWord");
    RegExpr = Named(new QCheckBox(regExprCaption, optionsGroup), "RegExpr");
    optionColumn_ = new QVBoxLayout(optionsGroup);
    optionColumn_->addWidget(CaseSens);
    optionColumn_->addWidget(WholeWord);
    optionColumn_->addWidget(RegExpr);

    auto* directionGroup = Named(new QGroupBox(QStringLiteral("Direction"), this), "DirectionGroup");
    dirForward = Named(new QRadioButton(QStringLiteral("Forward"), directionGroup), "dirForward");
    dirBackward = Named(new QRadioButton(QStringLiteral("Backward"), directionGroup), "dirBackward");
    auto* directionColumn = new QVBoxLayout(directionGroup);
    directionColumn->addWidget(dirForward);
    directionColumn->addWidget(dirBackward);
    directionColumn->addStretch();

    ScopeGroup = Named(new TRadioGroup(QStringLiteral("Scope"),
                                       {QStringLiteral("Global"), QStringLiteral("Selected text")}, this),
                       "ScopeGroup");
    OriginGroup =
        Named(new TRadioGroup(QStringLiteral("Origin"),
                              {QStringLiteral("From cursor"), QStringLiteral("Entire scope")}, this),
              "OriginGroup");

    auto* groups = new QGridLayout;
    groups->addWidget(optionsGroup, 0, 0);
    groups->addWidget(directionGroup, 0, 1);
    groups->addWidget(ScopeGroup, 1, 0);
    groups->addWidget(OriginGroup, 1, 1);
    return groups;
}

QHBoxLayout* TSearchDialog::MakeButtonRow() {
    OkButton = Named(new QPushButton(QStringLiteral("OK"), this), "OkButton");
    OkButton->setDefault(true);
    CancelButton = Named(new QPushButton(QStringLiteral("Cancel"), this), "CancelButton");
    connect(OkButton, &QPushButton::clicked, this, [this] { OkClicked(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    buttonRow_ = new QHBoxLayout;
    buttonRow_->addStretch();
    buttonRow_->addWidget(OkButton);
    buttonRow_->addWidget(CancelButton);
    return buttonRow_;
}

TModalResult TSearchDialog::ShowModal() {
    return exec() == QDialog::Accepted ? TModalResult::Ok : TModalResult::Cancel;
}

void TSearchDialog::LoadControls(const TSearchOptions& options) {
    SearText->SetBytes(options.TextToFind);
    CaseSens->setChecked(options.CaseSensitive);
    WholeWord->setChecked(options.WholeWordsOnly);
    RegExpr->setChecked(options.RegularExpr);
    dirForward->setChecked(options.Direction == sdForward);
    dirBackward->setChecked(options.Direction == sdBackward);
    ScopeGroup->SetItemIndex(options.Scope == ssSelectedText ? 1 : 0);
    OriginGroup->SetItemIndex(options.Origin == soEntireScope ? 1 : 0);
}

void TSearchDialog::StoreControls(TSearchOptions& options) const {
    options.TextToFind = SearText->Bytes();
    options.CaseSensitive = CaseSens->isChecked();
    options.WholeWordsOnly = WholeWord->isChecked();
    options.RegularExpr = RegExpr->isChecked();
    options.Direction = dirBackward->isChecked() ? sdBackward : sdForward;
    options.Scope = ScopeGroup->ItemIndex() == 1 ? ssSelectedText : ssGlobal;
    options.Origin = OriginGroup->ItemIndex() == 1 ? soEntireScope : soFromCursor;
}

void TSearchDialog::Confirm() {
    if (SearText->text().isEmpty()) {
        SearText->setFocus();
        return;
    }
    StoreControls(options_);
    shared_ = options_;
    accept();
}

void TSearchDialog::FixClientSize(QSize clientSize) {
    setFixedSize(clientSize.expandedTo(minimumSizeHint()));
}

void TSearchDialog::showEvent(QShowEvent* event) {
    TServerDialog::showEvent(event);
    SearText->clear();
    SearText->setFocus();
}

}  // namespace tarnwick
