#pragma once
// The text styles of the scheme being edited, as the scheme editor's pages use them: new styles
// take the editor's colours, and a class shows its style's font style, colour and background.

#include <QColor>
#include <QFont>

#include "textengine/font_desc.h"

class QWidget;

namespace tarnwick {

class TSyntaxScheme;
struct TAttrItem;

class TSchemeStyles {
public:
    TSchemeStyles(TSyntaxScheme& scheme, TColorValue fontColor, TColorValue backColor)
        : scheme_(scheme), fontColor_(fontColor), backColor_(backColor) {}

    // A new attribute with the lowest free style number, the editor's font colour and
    // background, and both defaults on; answers its style number (-1 when all are taken).
    int NewStyle();
    // The attribute of a style number; -1 first gets a new style, and a number without an
    // attribute gets one of that number.
    TAttrItem& Attr(int& style);
    // Runs the style dialog on the style's attribute; answers OK.
    bool EditStyle(int& style, QWidget* owner);

    [[nodiscard]] TColorValue EditorBack() const noexcept { return backColor_; }
    // The background a class of this style is shown on: the editor's under the default.
    [[nodiscard]] QColor Background(int style) const;
    [[nodiscard]] QColor Foreground(int style) const;
    // base with the style's bold, italic, underline and strike-out.
    [[nodiscard]] QFont Font(int style, QFont base) const;
    // Gives a list or grid the style's background.
    void PaintBackground(QWidget* list, int style) const;

private:
    [[nodiscard]] const TAttrItem* Find(int style) const;

    TSyntaxScheme& scheme_;
    TColorValue fontColor_;
    TColorValue backColor_;
};

}  // namespace tarnwick
