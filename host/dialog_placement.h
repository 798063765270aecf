#pragma once
// Dialogs open on the monitor the user is working on: the one holding the active window.

#include <QRect>

class QWidget;

namespace tarnwick {

// The rectangle of the monitor that holds the active window (the primary one when no window
// is active).
QRect ActiveMonitorRect();
// Message dialogs: centred. File dialogs: centred across, a third of the way down.
void CenterOnActiveMonitor(QWidget* dialog);
void PlaceFileDialogOnActiveMonitor(QWidget* dialog);

}  // namespace tarnwick
