#pragma once
// The bar at the top of a document's tab that says its file changed or went away on disk,
// and offers to reload it or to keep the text in the editor.

#include <QFrame>

#include "hostapp/disk_watcher.h"

class QLabel;
class QPushButton;

namespace harbinet {

class TDiskChangeBar final : public QFrame {
    Q_OBJECT
public:
    explicit TDiskChangeBar(QWidget* parent = nullptr);

    // Shows the bar for a file that changed or was deleted; hides it for one that is unchanged.
    void ShowState(const QString& fileName, TDiskWatcher::TState state, bool hasUnsavedChanges);

signals:
    void ReloadClicked();
    void KeepMineClicked();

private:
    QLabel* message_ = nullptr;
    QPushButton* reload_ = nullptr;
};

}  // namespace harbinet
