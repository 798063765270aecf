#pragma once
// Insert, Delete and Enter (and a double click) on a list or grid run the commands its dialog
// gives them; a command that is not given leaves the key to the list.

#include <QObject>
#include <functional>

class QAbstractButton;
class QAbstractItemView;
class QAction;

namespace tarnwick {

class TListKeys : public QObject {
public:
    struct TCommands {
        std::function<void()> Insert;
        std::function<void()> Delete;
        std::function<void()> Enter;  // also a double click
    };

    // Lives as long as the list.
    static void Install(QAbstractItemView* list, TCommands commands);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TListKeys(QAbstractItemView* list, TCommands commands);

    TCommands commands_;
};

// A key's command that presses a button, or runs an action, only while it is enabled.
[[nodiscard]] std::function<void()> WhenEnabled(QAbstractButton* button);
[[nodiscard]] std::function<void()> WhenEnabled(QAction* action);

}  // namespace tarnwick
