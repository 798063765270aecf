#include "widgets/crisp_pixmap.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace tarnwick {

qreal ScreenPixelRatio() { return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0; }

QPixmap CrispPixmap(QSize size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap LoadCrispPicture(const QString& path, qreal ratio) {
    QPixmap picture;
    if (ratio >= 1.5) {
        const QFileInfo file(path);
        if (picture.load(file.path() + "/" + file.completeBaseName() + "@2x." + file.suffix())) {
            picture.setDevicePixelRatio(2);
            return picture;
        }
    }
    picture.load(path);
    return picture;
}

}  // namespace tarnwick
