// A second server module, "Probe", for tests that need another server beside Tarnwick: it
// launches Tarnwick's processes from its own, announces preferences changes about a document
// of its own, and prints what reaches it.

#include <cstdio>
#include <string>

#include "host/abi/client_interfaces.h"
#include "host/abi/parameter_list.h"
#include "host/client.h"
#include "host/document_notification.h"
#include "host/server_document.h"
#include "host/server_module.h"

namespace tarnwick {

namespace {

class TProbeDocument final : public TServerDocument {
public:
    TProbeDocument(IServerModule* module) : TServerDocument(module, "probe", "Probe") {}

private:
    void BuildViews() override {}
};

class TProbeModule final : public TServerModule {
public:
    explicit TProbeModule(IClient* client) : TServerModule(client, "Probe") {
        CommandLauncher->RegisterCommand("RunViewError",
                                         [this](IServerView* view, char* params, int32_t capacity) {
                                             return RunInHost("Tarnwick:ViewError", params, capacity, view);
                                         });
        CommandLauncher->RegisterCommand("Echo", [](IServerView* view, char* params, int32_t) {
            std::printf("Probe:Echo %s context=%s\n", params ? params : "",
                        view ? view->GetViewName() : "none");
            std::fflush(stdout);
            return 1;
        });
        CommandLauncher->RegisterCommand("AnnouncePreferences", [this](IServerView*, char* params,
                                                                       int32_t capacity) {
            auto document = TServerDocument::Create<TProbeDocument>(this);
            BroadcastDocumentNotification(kNotifyPreferencesChanged, document.Get());
            StoreParameter(params, "Received", std::to_string(received_), static_cast<std::size_t>(capacity));
            return 1;
        });
    }

    void ReceiveNotification(INotification* note) override {
        if (note && note->GetCode() == kNotifyPreferencesChanged)
            ++received_;
    }

private:
    int32_t RunInHost(const char* process, char* params, int32_t capacity, IServerView* view) {
        auto launcher = TComPtr<IClient>::Share(Client).As<IProcessLauncher>();
        return launcher ? launcher->RunProcess(process, params, capacity, view) : 0;
    }

    TComPtr<IServerDocument> NewDocument(const std::string&, const std::string&) override { return {}; }

    int received_ = 0;
};

}  // namespace

}  // namespace tarnwick

extern "C" __attribute__((visibility("default"))) void ServerFactory(IServerModule** module,
                                                                     IClient* client) {
    if (module)
        *module = TComPtr<IServerModule>::Share(new tarnwick::TProbeModule(client)).Detach();
}
