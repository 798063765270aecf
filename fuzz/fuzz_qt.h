#pragma once
// The one application object the widget targets need, made at the first input on the offscreen
// platform (libFuzzer and the replay program both reach it through the entry point).

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace tarnwick::fuzz {

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "tarnwick-fuzz";
    static char* argv[] = {name, nullptr};
    static const QApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);  // lives as long as the process
    }();
    (void)application;
}

// Closes whatever modal window opens (an error box, a dialog) as a user would dismiss it, so
// that an input which opens one goes on instead of waiting for a click.
inline void DismissModalWindows() {
    static QTimer* timer = [] {
        auto* t = new QTimer;  // lives as long as the process
        t->setInterval(0);
        QObject::connect(t, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        t->start();
        return t;
    }();
    (void)timer;
}

}  // namespace tarnwick::fuzz
