#pragma once
// A filled rectangle in a colour value's colour.

#include <QWidget>

#include "textengine/font_desc.h"

namespace tarnwick {

class TColorSwatch final : public QWidget {
public:
    using QWidget::QWidget;
    [[nodiscard]] TColorValue Color() const { return color_; }
    void SetColor(TColorValue color);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    TColorValue color_ = 0;
};

}  // namespace tarnwick
