#include "host/document_notification.h"

#include "host/abi/client_interfaces.h"
#include "host/client.h"

namespace tarnwick {

void BroadcastDocumentNotification(int32_t code, IServerDocument* document, std::string text) {
    IClient* client = GlobalClient();
    if (!client)
        return;
    auto note =
        TComPtr<IDocumentNotification>::Share(new TDocumentNotification(code, document, std::move(text)));
    client->BroadcastNotification(note.Get());
}

}  // namespace tarnwick
