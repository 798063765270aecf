#pragma once
// The hourglass for the lifetime of a scope.

#include <QGuiApplication>

namespace tarnwick {

class TWaitCursor {
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace tarnwick
