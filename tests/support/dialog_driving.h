#pragma once
// Driving dialogs as a user does: controls found by their names, clicks on buttons, and the
// modal dialogs a command opens answered one by one from a script.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

namespace tarnwick {

// Answers the modal dialogs a command opens, one step per dialog in the order they open. A
// poll notices each new dialog and queues its step on a timer of its own, so a step that opens
// a further box (a click on OK that leads to a message) is answered from inside that box's loop.
// A dialog beyond the script is recorded and closed: no test can wait on one forever.
class ModalScript {
public:
    using Step = std::function<void(QDialog&)>;

    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
        poll_.start(5);
    }

    std::vector<QString> titles;      // of every dialog that opened
    std::vector<QString> unexpected;  // of those the script had no step for
    bool Finished() const { return next_ == steps_.size(); }

private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool())
            return;
        dialog->setProperty("answered", true);
        titles.push_back(dialog->windowTitle());
        if (next_ == steps_.size()) {
            unexpected.push_back(dialog->windowTitle());
            dialog->reject();
            return;
        }
        const std::size_t step = next_++;
        QTimer::singleShot(0, dialog, [this, dialog, step] { steps_[step](*dialog); });
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QTimer poll_;
};

template <class Control = QWidget>
Control* Find(QWidget& dialog, const char* name) {
    auto* control = dialog.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

// A check box or radio button takes clicks on its box and label only, which its middle may lie
// beyond; a push button anywhere.
inline void ClickButton(QAbstractButton* button) {
    const bool labelled = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
    const QPoint at = labelled ? QPoint(6, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

inline void Click(QWidget& dialog, const char* button) { ClickButton(Find<QAbstractButton>(dialog, button)); }

// The text of a host-style message box.
inline QString MessageOf(QDialog& box) { return Find<QLabel>(box, "Message")->text(); }

}  // namespace tarnwick
