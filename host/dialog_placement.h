#pragma once
// Dialogs open on the monitor the user is working on: the one holding the active window.

class QWidget;

// Message dialogs: centred. File dialogs: centred across, a third of the way down.
void CenterOnActiveMonitor(QWidget* dialog);
void PlaceFileDialogOnActiveMonitor(QWidget* dialog);
