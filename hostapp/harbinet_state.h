#pragma once
// Harbinet's own state from one session to the next: the window's geometry and dock layout,
// the files that were open with their caret lines, and the recent files. It lives in a file of
// its own in the user's configuration folder, apart from the preferences the editors share.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace harbinet {

struct TSessionFile {
    QString path;
    int caretLine = 0;  // 0-based
};

struct THarbinetState {
    QByteArray geometry;                  // as QWidget::saveGeometry gives it
    QByteArray windowState;               // as QMainWindow::saveState gives it: the docks and their places
    std::vector<TSessionFile> openFiles;  // in tab order
    int currentFile = -1;                 // index into openFiles
    QStringList recentFiles;              // most recent first
};

// <configuration folder>/Harbinet/harbinet-state.json
QString HarbinetStatePath();

// The state in the file; a missing file is the empty state. A file that cannot be read or
// holds no state (damaged, cut short, not ours) gives the empty state and says why in problem;
// entries of the wrong kind are skipped.
THarbinetState ReadHarbinetState(const QString& path, QString& problem);

// Replaces the file atomically, so a failure leaves the old one whole; false, saying why in
// problem, when it failed.
bool WriteHarbinetState(const QString& path, const THarbinetState& state, QString& problem);

}  // namespace harbinet
