#include "host/server_dialog.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QWhatsThisClickedEvent>

#include "host/client.h"
#include "host/abi/client_interfaces.h"
#include "host/dialog_placement.h"
#include "host/external_form.h"

QWidget* HostOwnerWindow() {
    IClient* client = GlobalClient();
    return client ? WidgetFromHandle(client->GetOwnerWindow()) : nullptr;
}

TServerDialog::TServerDialog(QWidget* owner) : QDialog(owner ? owner : HostOwnerWindow()) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
}

void TServerDialog::keyPressEvent(QKeyEvent* event) {
    if (HandleHelpKey(this, event->key())) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TServerDialog::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        CenterOnActiveMonitor(this);
        // Clicks in "What's this?" mode reach each control; answer them from the help files.
        for (QWidget* child : findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    QDialog::showEvent(event);
}

bool TServerDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* control = qobject_cast<QWidget*>(watched);
    if (control && event->type() == QEvent::QueryWhatsThis) {
        event->accept();
        return true;
    }
    if (control && event->type() == QEvent::WhatsThis) {
        ShowWhatsThisHelp(this, control, static_cast<QHelpEvent*>(event)->globalPos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
