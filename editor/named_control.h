#pragma once
// Dialogs place their controls at fixed positions and find them again by name (tests, help).

#include <QRect>
#include <QWidget>

namespace tarnwick {

template <class Widget>
Widget* MakeNamed(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace tarnwick
