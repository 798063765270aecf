#include "host/server_view_form.h"

#include <QKeyEvent>

#include "host/abi/client_interfaces.h"
#include "host/abi/com_ptr.h"
#include "host/client.h"
#include "widgets/virtual_keys.h"

namespace tarnwick {

TServerViewForm::TServerViewForm(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }

bool TServerViewForm::OfferKeyToHost(const QKeyEvent& event) {
    IClient* client = GlobalClient();
    if (!client)
        return false;
    const auto ui = TComPtr<IClientUserInterface>::Adopt(client->GetUserInterface());
    if (!ui)
        return false;
    const TVirtualKey key = TranslateKeyEvent(event);
    if (key.code == 0)
        return false;
    if (ui->AddKeyStroke(key.code, ToBool32(key.alt), ToBool32(key.shift), ToBool32(key.ctrl)) == 0)
        return false;
    ui->LaunchCurrentHotkey();
    return true;
}

void TServerViewForm::keyPressEvent(QKeyEvent* event) {
    if (HandleHelpKey(this, event->key()) || OfferKeyToHost(*event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tarnwick
