#include "languages/dialogs/syntax_style_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "host/common_dialog_requests.h"
#include "languages/attr_item.h"
#include "languages/dialogs/dialog_text.h"
#include "widgets/color_swatch.h"

namespace tarnwick {

TSyntaxStyleForm::TSyntaxStyleForm(const TAttrItem& attr, TColorValue editorBack, QWidget* owner)
    : TServerDialog(owner), editorBack_(editorBack), backColor_(attr.BackColor) {
    setWindowTitle(QStringLiteral("Edit Style"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);

    auto* fontGroup = Named(new QGroupBox(QStringLiteral("Font Style"), this), "FontStyleGroup");
    const auto check = [fontGroup](const char* name, const char* caption, bool on) {
        auto* box = Named(new QCheckBox(QString::fromLatin1(caption), fontGroup), name);
        box->setChecked(on);
        return box;
    };
    const uint8_t style = attr.Font.Style;
    StyleBoldCheck = check("StyleBoldCheck", "&Bold", style & fsBold);
    StyleItalicCheck = check("StyleItalicCheck", "&Italic", style & fsItalic);
    StyleUnderlineCheck = check("StyleUnderlineCheck", "&Underline", style & fsUnderline);
    StyleStrikeoutCheck = check("StyleStrikeoutCheck", "&Strikeout", style & fsStrikeOut);
    auto* fontColumn = new QVBoxLayout(fontGroup);
    for (QCheckBox* box : {StyleBoldCheck, StyleItalicCheck, StyleUnderlineCheck, StyleStrikeoutCheck})
        fontColumn->addWidget(box);

    auto* colorGroup = Named(new QGroupBox(QStringLiteral("Colors"), this), "ColorsGroup");
    ForegroundPaintBox = Named(new TColorSwatch(colorGroup), "ForegroundPaintBox");
    BackgroundPaintBox = Named(new TColorSwatch(colorGroup), "BackgroundPaintBox");
    for (TColorSwatch* swatch : {ForegroundPaintBox, BackgroundPaintBox})
        swatch->setFixedSize(40, 20);
    ForegroundPaintBox->SetColor(attr.Font.Color);
    auto* foregroundButton =
        Named(new QPushButton(QStringLiteral("&Color..."), colorGroup), "ForegroundColorButton");
    BackgroundColorButton =
        Named(new QPushButton(QStringLiteral("Col&or..."), colorGroup), "BackgroundColorButton");
    DefaultBackgroundCheck =
        Named(new QCheckBox(QStringLiteral("Use &default background"), colorGroup), "DefaultBackgroundCheck");
    DefaultBackgroundCheck->setChecked(attr.UseDefBack);
    connect(foregroundButton, &QPushButton::clicked, this, [this] { ChooseColor(ForegroundPaintBox); });
    connect(BackgroundColorButton, &QPushButton::clicked, this, [this] { ChooseColor(BackgroundPaintBox); });
    connect(DefaultBackgroundCheck, &QCheckBox::toggled, this, &TSyntaxStyleForm::ShowBackground);
    auto* colors = new QGridLayout(colorGroup);
    colors->addWidget(new QLabel(QStringLiteral("Foreground :"), colorGroup), 0, 0);
    colors->addWidget(ForegroundPaintBox, 0, 1);
    colors->addWidget(foregroundButton, 0, 2);
    colors->addWidget(new QLabel(QStringLiteral("Background :"), colorGroup), 1, 0);
    colors->addWidget(BackgroundPaintBox, 1, 1);
    colors->addWidget(BackgroundColorButton, 1, 2);
    colors->addWidget(DefaultBackgroundCheck, 2, 0, 1, 3);
    ShowBackground();

    auto* groups = new QHBoxLayout;
    groups->addWidget(fontGroup);
    groups->addWidget(colorGroup);
    auto* buttons = OkCancelRow(this, [this] { accept(); });
    auto* page = new QVBoxLayout(this);
    page->addLayout(groups);
    page->addLayout(buttons);
    setFixedSize(sizeHint());
}

bool TSyntaxStyleForm::Execute(TAttrItem& attr, TColorValue editorBack, QWidget* owner) {
    TSyntaxStyleForm form(attr, editorBack, owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    form.Store(attr);
    return true;
}

void TSyntaxStyleForm::Store(TAttrItem& attr) const {
    attr.Font.Color = ForegroundPaintBox->Color();
    attr.BackColor = backColor_;
    attr.UseDefBack = DefaultBackgroundCheck->isChecked();
    attr.Font.Style =
        uint8_t((StyleBoldCheck->isChecked() ? fsBold : 0) | (StyleItalicCheck->isChecked() ? fsItalic : 0) |
                (StyleUnderlineCheck->isChecked() ? fsUnderline : 0) |
                (StyleStrikeoutCheck->isChecked() ? fsStrikeOut : 0));
}

void TSyntaxStyleForm::ShowBackground() {
    const bool useDefault = DefaultBackgroundCheck->isChecked();
    BackgroundColorButton->setEnabled(!useDefault);
    BackgroundPaintBox->SetColor(useDefault ? editorBack_ : backColor_);
}

// The host's colour dialog is modal over this one; nothing here changes meanwhile.
void TSyntaxStyleForm::ChooseColor(TColorSwatch* swatch) {
    const std::optional<TColorValue> chosen = AskHostForColor(swatch->Color());
    if (!chosen)
        return;
    if (swatch == BackgroundPaintBox)
        backColor_ = *chosen;
    swatch->SetColor(*chosen);
}

}  // namespace tarnwick
