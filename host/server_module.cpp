#include "host/server_module.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>

#include "host/client.h"
#include "widgets/application_idle.h"

namespace tarnwick {

TServerModule::TServerModule(IClient* client, std::string moduleName)
    : Client(client),
      ModuleName(std::move(moduleName)),
      CommandLauncher(std::make_unique<TCommandLauncher>()),
      ProcessControl(std::make_unique<TProcessControl>()) {
    SetGlobalClient(client);
}

TServerModule::~TServerModule() {
    Views.clear();
    CommandLauncher.reset();
    Documents.clear();
    ProcessControl.reset();
}

int32_t TServerModule::QueryInterface(const TGUID& iid, void** out) {
    return QueryResult(OfferInterface<IServerModule>(iid, out, this, TAnswersUnknown::Yes), out);
}

void TServerModule::ApplicationIdle() {
    // Qt has no idle hook; what waits for idle time here are objects queued for deletion and
    // the application's idle work (highlighting the views have not got to yet).
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TApplicationIdle::RunOnce();
}

IServerDocument* TServerModule::CreateDocument(const char* kind, const char* fileName) {
    try {
        TComPtr<IServerDocument> document = NewDocument(kind ? kind : "", fileName ? fileName : "");
        if (!document)
            return nullptr;
        Documents.push_back(document);
        return document.Detach();
    } catch (...) {
        return nullptr;
    }
}

void TServerModule::DestroyDocument(IServerDocument* document) {
    const auto it = std::find_if(Documents.begin(), Documents.end(),
                                 [document](const auto& d) { return d.Get() == document; });
    if (it == Documents.end())
        return;
    TComPtr<IServerDocument> last = std::move(*it);  // released after the list is consistent
    Documents.erase(it);
}

IClient* TServerModule::GetClient() {
    if (Client)
        Client->AddRef();
    return Client;
}

IServerDocument* TServerModule::GetDocument(int32_t index) {
    if (index < 0 || index >= GetDocumentCount())
        return nullptr;
    return TComPtr<IServerDocument>(Documents[index]).Detach();
}

IServerView* TServerModule::GetView(int32_t index) {
    if (index < 0 || index >= GetViewCount())
        return nullptr;
    return TComPtr<IServerView>(Views[index]).Detach();
}

intptr_t TServerModule::GetInstanceHandle() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&SetGlobalClient), &info) == 0)
        return 0;
    return reinterpret_cast<intptr_t>(info.dli_fbase);
}

}  // namespace tarnwick
