#pragma once
// Pictures that stay sharp on a high-density screen: made, or loaded, with as many device
// pixels as the screen has per logical pixel, instead of being enlarged when painted.

#include <QPixmap>
#include <QSize>
#include <QString>

namespace tarnwick {

// Device pixels per logical pixel on the densest screen; 1 before the application exists.
qreal ScreenPixelRatio();

// A transparent pixmap of `size` logical pixels with `ratio` device pixels to each.
QPixmap CrispPixmap(QSize size, qreal ratio = ScreenPixelRatio());

// The picture in `path`; for a ratio of 1.5 or more its twice as large sibling "name@2x.png"
// when there is one. Null when neither can be read.
QPixmap LoadCrispPicture(const QString& path, qreal ratio = ScreenPixelRatio());

// The size a picture covers on the screen, in logical pixels.
inline QSize LogicalSize(const QPixmap& picture) { return picture.deviceIndependentSize().toSize(); }

}  // namespace tarnwick
