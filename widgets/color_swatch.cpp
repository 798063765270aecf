#include "widgets/color_swatch.h"

#include <QPainter>

#include "widgets/colors.h"

namespace tarnwick {

void TColorSwatch::SetColor(TColorValue color) {
    color_ = color;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), ResolveColor(color_)); }

}  // namespace tarnwick
