#pragma once
// Script steps for the language dialogs: the one-line input answered with a text, a button of a
// message box or dialog pressed, and a message box read before it is closed.

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <string>

#include "tests/support/dialog_driving.h"

namespace tarnwick {

// Types text into the one-line input (as set by a paste, so any byte goes in) and presses OK.
inline ModalScript::Step Answer(const std::string& text) {
    return [text](QDialog& d) {
        Find<QLineEdit>(d, "DelimiterEdit")
            ->setText(QString::fromLatin1(text.data(), qsizetype(text.size())));
        Click(d, "OkButton");
    };
}

inline ModalScript::Step Press(const char* button) {
    return [button](QDialog& d) { Click(d, button); };
}

// Notes the message box's text, then presses button.
inline ModalScript::Step Read(QString& message, const char* button = "OK") {
    return [&message, button](QDialog& d) {
        message = MessageOf(d);
        Click(d, button);
    };
}

inline void Trigger(QWidget& dialog, const char* action) { Find<QAction>(dialog, action)->trigger(); }

}  // namespace tarnwick
