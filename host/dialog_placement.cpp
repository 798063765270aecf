#include "host/dialog_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tarnwick {

QRect ActiveMonitorRect() {
    QWidget* active = QApplication::activeWindow();
    QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

namespace {

// Integer division that rounds towards zero, as the placement rules state.
void PlaceAt(QWidget* dialog, int yDivisor) {
    const QRect m = ActiveMonitorRect();
    const int left = m.left(), top = m.top(), right = m.left() + m.width(), bottom = m.top() + m.height();
    dialog->move((left + right - dialog->width()) / 2, (top + bottom - dialog->height()) / yDivisor);
}

}  // namespace

void CenterOnActiveMonitor(QWidget* dialog) { PlaceAt(dialog, 2); }

void PlaceFileDialogOnActiveMonitor(QWidget* dialog) { PlaceAt(dialog, 3); }

}  // namespace tarnwick
