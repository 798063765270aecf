#include "hostapp/host_client.h"

#include <algorithm>

#include "host/abi/ascii_text.h"
#include "host/abi/interfaced_object.h"
#include "host/abi/parameter_list.h"
#include "host/abi/server_interfaces.h"

namespace harbinet {

namespace {

// "Server:Process" split at its first colon; no colon gives an empty server.
std::pair<std::string, std::string> SplitProcessName(const std::string& full) {
    const auto colon = full.find(':');
    if (colon == std::string::npos)
        return {"", full};
    return {full.substr(0, colon), full.substr(colon + 1)};
}

}  // namespace

void THostClient::AddHostProcess(const std::string& fullName, THostProcess process) {
    hostProcesses_[ascii::Upper(fullName)] = std::move(process);
}

int32_t THostClient::QueryInterface(const TGUID& iid, void** out) {
    const bool found = OfferInterface<IClient>(iid, out, static_cast<IClient*>(this), TAnswersUnknown::Yes) ||
                       OfferInterface<IProcessLauncher>(iid, out, static_cast<IProcessLauncher*>(this));
    return QueryResult(found, out);
}

void THostClient::BroadcastNotification(INotification* notification) {
    // A module may open or close documents while it is told; walk a snapshot of the list.
    std::vector<TComPtr<IServerModule>> targets;
    for (const TLoadedModule& m : modules_.Modules())
        targets.push_back(m.module);
    for (const auto& module : targets)
        module->ReceiveNotification(notification);
}

IServerView* THostClient::GetCurrentView() { return shell_ ? shell_->CurrentView() : nullptr; }

intptr_t THostClient::GetOwnerWindow() { return shell_ ? shell_->OwnerWindow() : 0; }

IClientUserInterface* THostClient::GetUserInterface() { return &userInterface_; }

IServerDocument* THostClient::OpenDocument(const char* kind, const char* path) {
    if (!shell_ || !path)
        return nullptr;
    return shell_->OpenDocument(kind ? kind : "", path);
}

void THostClient::ShowDocument(IServerDocument* document) {
    if (shell_ && document)
        shell_->ShowDocument(document);
}

const char* THostClient::GetServerFileName(const char* name) {
    const auto [server, process] = SplitProcessName(name ? name : "");
    const TLoadedModule* module = modules_.Find(server.empty() ? process : server);
    serverFileName_ = module ? module->path : std::string();
    return serverFileName_.c_str();
}

int32_t THostClient::RunProcess(const char* process, char* params, int32_t capacity, IServerView* context) {
    const std::string full = process ? process : "";
    const auto own = hostProcesses_.find(ascii::Upper(full));
    if (own != hostProcesses_.end())
        return own->second(params, capacity, context) ? kTrue : kFalse;
    const auto [server, name] = SplitProcessName(full);
    if (SameParameterName(server, "Client"))
        return kFalse;
    const TLoadedModule* module = modules_.Find(server);
    if (!module)
        return kFalse;
    ICommandLauncher* launcher = module->module->GetCommandLauncher();
    if (!launcher)
        return kFalse;
    return launcher->LaunchCommand(name.c_str(), params, capacity, context) != 0 ? kTrue : kFalse;
}

}  // namespace harbinet
