#include "languages/dialogs/scheme_styles.h"

#include <QPalette>
#include <QWidget>

#include "languages/dialogs/syntax_style_form.h"
#include "languages/syntax_scheme.h"
#include "widgets/colors.h"

namespace tarnwick {

int TSchemeStyles::NewStyle() {
    if (scheme_.FontTable.LowestFreeFontID() < 0)
        return -1;
    TAttrItem& attr = scheme_.FontTable.Add();
    attr.UseDefFont = true;
    attr.UseDefBack = true;
    attr.BackColor = backColor_;
    attr.Font.Color = fontColor_;
    return attr.FontID;
}

const TAttrItem* TSchemeStyles::Find(int style) const { return scheme_.FontTable.FindByFontID(style); }

TAttrItem& TSchemeStyles::Attr(int& style) {
    if (style < 0)
        style = NewStyle();
    for (TAttrItem& attr : scheme_.FontTable)
        if (attr.FontID == style)
            return attr;
    TAttrItem attr;
    attr.FontID = style;
    attr.BackColor = backColor_;
    attr.Font.Color = fontColor_;
    return scheme_.FontTable.Append(attr);
}

bool TSchemeStyles::EditStyle(int& style, QWidget* owner) {
    return TSyntaxStyleForm::Execute(Attr(style), backColor_, owner);
}

QColor TSchemeStyles::Background(int style) const {
    const TAttrItem* attr = Find(style);
    return ResolveColor(!attr || attr->UseDefBack ? backColor_ : attr->BackColor);
}

QColor TSchemeStyles::Foreground(int style) const {
    const TAttrItem* attr = Find(style);
    return ResolveColor(attr ? attr->Font.Color : fontColor_);
}

QFont TSchemeStyles::Font(int style, QFont base) const {
    const TAttrItem* attr = Find(style);
    const uint8_t bits = attr ? attr->Font.Style : 0;
    base.setBold(bits & fsBold);
    base.setItalic(bits & fsItalic);
    base.setUnderline(bits & fsUnderline);
    base.setStrikeOut(bits & fsStrikeOut);
    return base;
}

void TSchemeStyles::PaintBackground(QWidget* list, int style) const {
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, Background(style));
    list->setPalette(palette);
}

}  // namespace tarnwick
