#pragma once
// The object that stands for a whole plug-in towards the host: it makes and keeps documents,
// names itself, takes idle time and notifications, and runs its named processes.

#include <memory>
#include <string>
#include <vector>

#include "host/abi/client_interfaces.h"
#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/interfaced_object.h"
#include "host/abi/server_interfaces.h"
#include "host/command_launcher.h"
#include "host/process_control.h"

namespace tarnwick {

class TServerModule : public TInterfacedObject, public IServerModule {
public:
    TServerModule(IClient* client, std::string moduleName);
    ~TServerModule() override;

    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return AddReference(); }
    int32_t Release() override { return ReleaseReference(); }

    void ApplicationIdle() override;
    void ReceiveNotification(INotification* notification) override {}
    IServerDocument* CreateDocument(const char* kind, const char* fileName) override;
    void DestroyDocument(IServerDocument* document) override;
    IClient* GetClient() override;
    ICommandLauncher* GetCommandLauncher() override { return CommandLauncher.get(); }
    int32_t GetDocumentCount() override { return static_cast<int32_t>(Documents.size()); }
    IServerDocument* GetDocument(int32_t index) override;
    intptr_t GetInstanceHandle() override;
    const char* GetModuleName() override { return ModuleName.c_str(); }
    IProcessControl* GetProcessControl() override { return ProcessControl.get(); }
    int32_t GetViewCount() override { return static_cast<int32_t>(Views.size()); }
    IServerView* GetView(int32_t index) override;
    int32_t ModuleReserved16() override { return 0; }

protected:
    // Makes the document for a host request, or none.
    virtual TComPtr<IServerDocument> NewDocument(const std::string& kind, const std::string& fileName) = 0;

    IClient* Client;  // not counted: the host outlives the module
    std::vector<TComPtr<IServerDocument>> Documents;
    std::string ModuleName;
    std::vector<TComPtr<IServerView>> Views;  // nothing here adds to it
    std::unique_ptr<TCommandLauncher> CommandLauncher;
    std::unique_ptr<TProcessControl> ProcessControl;
};

}  // namespace tarnwick
