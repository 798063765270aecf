#include "languages/dialogs/list_keys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QKeyEvent>

namespace tarnwick {

TListKeys::TListKeys(QAbstractItemView* list, TCommands commands)
    : QObject(list), commands_(std::move(commands)) {
    list->installEventFilter(this);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QObject::connect(list, &QAbstractItemView::doubleClicked, this, [this] {
        if (commands_.Enter)
            commands_.Enter();
    });
}

void TListKeys::Install(QAbstractItemView* list, TCommands commands) {
    new TListKeys(list, std::move(commands));
}

bool TListKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const std::function<void()>* command = nullptr;
    switch (key->key()) {
        case Qt::Key_Insert:
            command = &commands_.Insert;
            break;
        case Qt::Key_Delete:
            command = &commands_.Delete;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            command = &commands_.Enter;
            break;
        default:
            return false;
    }
    if (!*command)
        return false;
    (*command)();
    return true;
}

std::function<void()> WhenEnabled(QAbstractButton* button) {
    return [button] {
        if (button->isEnabled())
            button->click();
    };
}

std::function<void()> WhenEnabled(QAction* action) {
    return [action] {
        if (action->isEnabled())
            action->trigger();
    };
}

}  // namespace tarnwick
