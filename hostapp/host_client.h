#pragma once
// Harbinet's IClient: what plug-ins see of the host. It routes processes to the module that
// registered them, broadcasts notifications to every module, and leaves documents, windows
// and views to the shell (the main window).

#include <functional>
#include <map>
#include <string>

#include "host/abi/client_interfaces.h"
#include "host/abi/document_interfaces.h"
#include "hostapp/host_user_interface.h"
#include "hostapp/module_loader.h"

namespace harbinet {

// What the client needs from the program's window layer.
class THostShell {
public:
    virtual ~THostShell() = default;
    virtual IServerDocument* OpenDocument(const std::string& kind, const std::string& path) = 0;
    virtual void ShowDocument(IServerDocument* document) = 0;
    virtual IServerView* CurrentView() = 0;  // with a reference, or nullptr
    virtual intptr_t OwnerWindow() = 0;
};

class THostClient final : public IClient, public IProcessLauncher {
public:
    // A process the host itself serves, such as "Client:RunHelpTopic" or the text-editing
    // service's "TextEdit:..." processes; names match ignoring ASCII case.
    using THostProcess = std::function<int32_t(char* params, int32_t capacity, IServerView* context)>;

    THostClient() = default;

    TModuleLoader& Modules() noexcept { return modules_; }
    THostUserInterface& UserInterface() noexcept { return userInterface_; }
    void SetShell(THostShell* shell) noexcept { shell_ = shell; }
    void AddHostProcess(const std::string& fullName, THostProcess process);

    // IUnknown: the client lives as long as the program, so counting changes nothing.
    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }

    void BroadcastNotification(INotification* notification) override;
    intptr_t GetHelpOwnerWindow() override { return GetOwnerWindow(); }
    IServerView* GetCurrentView() override;
    intptr_t GetOwnerWindow() override;
    IClientUserInterface* GetUserInterface() override;
    IServerDocument* OpenDocument(const char* kind, const char* path) override;
    void ShowDocument(IServerDocument* document) override;
    const char* GetServerFileName(const char* name) override;

    int32_t RunProcess(const char* process, char* params, int32_t capacity, IServerView* context) override;

private:
    TModuleLoader modules_;
    THostUserInterface userInterface_;
    THostShell* shell_ = nullptr;
    std::map<std::string, THostProcess> hostProcesses_;  // keys upper-cased
    std::string serverFileName_;  // the last GetServerFileName answer, kept for the caller
};

}  // namespace harbinet
