#include "host/server_dialog.h"

#include <QHelpEvent>
#include <QKeyEvent>

#include "host/abi/client_interfaces.h"
#include "host/client.h"
#include "host/dialog_placement.h"
#include "host/external_form.h"

namespace tarnwick {

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
    }
    QDialog::showEvent(event);
}

// In "What's this?" mode a control without a text of its own passes the query and the click on
// to its parents, so they arrive here for every control, however late it was added; the click
// position, mapped to the dialog, names the control.
bool TServerDialog::event(QEvent* event) {
    if (event->type() == QEvent::QueryWhatsThis) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::WhatsThis) {
        const auto* help = static_cast<QHelpEvent*>(event);
        ShowWhatsThisHelp(this, childAt(help->pos()), help->globalPos());
        event->accept();
        return true;
    }
    return QDialog::event(event);
}

}  // namespace tarnwick
