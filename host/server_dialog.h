#pragma once
// Base of every dialog: owned by the host window, with a title-bar help button, and centred
// on the monitor of the active window when it is created.

#include <QDialog>

#include "host/form_with_help.h"

namespace tarnwick {

class TServerDialog : public QDialog, public TFormWithHelp {
    Q_OBJECT
public:
    explicit TServerDialog(QWidget* owner = nullptr);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};

// The host window that owns dialogs and message boxes, from the host client; may be null.
QWidget* HostOwnerWindow();

}  // namespace tarnwick
