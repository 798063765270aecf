#pragma once
// Base of every window shown as a view. It takes all keys (arrows and Tab included), and a key
// stroke that reaches the form itself is offered to the host's shortcuts first.

#include <QWidget>

#include "host/form_with_help.h"

namespace tarnwick {

class TServerViewForm : public QWidget, public TFormWithHelp {
    Q_OBJECT
public:
    explicit TServerViewForm(QWidget* parent = nullptr);

    // Offers a key stroke to the host; true when a host shortcut took it and ran.
    static bool OfferKeyToHost(const QKeyEvent& event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }  // Tab is a key like any other
};

}  // namespace tarnwick
