#pragma once
// The style dialog: the font style and the colours of one text style. The background shows the
// editor's while "Use default background" is checked; the colour buttons ask the host's colour
// dialog. OK writes the four values back into the attribute.

#include "host/server_dialog.h"
#include "textengine/font_desc.h"

class QCheckBox;
class QPushButton;

namespace tarnwick {

class TColorSwatch;
struct TAttrItem;

class TSyntaxStyleForm : public TServerDialog {
    Q_OBJECT
public:
    TSyntaxStyleForm(const TAttrItem& attr, TColorValue editorBack, QWidget* owner = nullptr);

    // Writes foreground, background, default-background switch and font style into attr.
    void Store(TAttrItem& attr) const;

    // Runs it modally on attr; answers OK.
    static bool Execute(TAttrItem& attr, TColorValue editorBack, QWidget* owner);

private:
    void ShowBackground();
    void ChooseColor(TColorSwatch* swatch);

    TColorValue editorBack_;
    TColorValue backColor_;  // the attribute's own background, kept while the default is shown
    QCheckBox* StyleBoldCheck;
    QCheckBox* StyleItalicCheck;
    QCheckBox* StyleUnderlineCheck;
    QCheckBox* StyleStrikeoutCheck;
    TColorSwatch* ForegroundPaintBox;
    TColorSwatch* BackgroundPaintBox;
    QPushButton* BackgroundColorButton;
    QCheckBox* DefaultBackgroundCheck;
};

}  // namespace tarnwick
