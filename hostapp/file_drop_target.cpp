#include "hostapp/file_drop_target.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace harbinet {

QStringList LocalFilesOf(const QMimeData& data) {
    QStringList files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            files << QFileInfo(url.toLocalFile()).absoluteFilePath();
    return files;
}

TFileDropTarget::TFileDropTarget(QWidget& window, TOpen open) : QObject(&window), open_(std::move(open)) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

bool TFileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData() && !LocalFilesOf(*drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = drop->mimeData() ? LocalFilesOf(*drop->mimeData()) : QStringList();
        if (!files.isEmpty()) {
            drop->acceptProposedAction();
            // Opened after the drop has ended, so that a message about a file that cannot be
            // opened does not hold the dragging program's drag open.
            QTimer::singleShot(0, this, [this, files] { open_(files); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace harbinet
